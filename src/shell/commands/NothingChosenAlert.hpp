#pragma once
// The alert of an import whose choice dialog closed with nothing chosen (no layer, no object type): nothing is
// read, and the user is told why.
#include <cstdint>

// "The conditions do not exist to apply the command!!!" with entry `reasonIndex` of string table
// `reasonTableBase` (plus the language) beneath it.
void ShowNothingChosenAlert(int32_t reasonTableBase, int32_t reasonIndex);
