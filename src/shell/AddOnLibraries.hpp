#pragma once
// The parameter count of the add-on library's GIS subtype part (the add-on's library folder itself is
// foundation/AddOnLibraryFolder's).
#include "GSRoot.hpp"

#include <cstdint>

// The number of parameters of "GIS_SUBTYPE" (read by the GIS import); 0 until counted.
extern int32_t GISSubtypeParamCount;

// Counts the parameters of the library part "GIS_SUBTYPE" into GISSubtypeParamCount; 0 on success,
// APIERR_BADNAME when the part is not loaded, else the host's error (a refused search: APIERR_GENERAL).
GSErrCode CountGISSubtypeParams();
