#pragma once
// The add-on's libraries.
#include "GSRoot.hpp"

// Loads the add-on's library folder into the project (with `check`, only when it is not loaded yet). For now
// it notes its call and loads nothing.
bool LoadAddOnLibraries(bool check);

// Counts the parameters of the library part "GIS_SUBTYPE"; 0 on success. For now it notes its call.
GSErrCode CountGISSubtypeParams();
