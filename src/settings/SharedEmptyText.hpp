#pragma once
// The text that every settings text getter answers for an id it does not know. It is const, so a caller that
// holds the reference cannot change what later misses read.
#include "foundation/QV_String.hpp"

const QV_String& SharedEmptyText();
