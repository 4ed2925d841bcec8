#pragma once
// Library-part parameter lists as the host hands them out: handles of API_AddParType records (arrays as handles
// of their cells), read back with every rule of a description checked; and the sizes A and B.
#include "GSRoot.hpp"
#include "library/LibraryPart.hpp"

#include <string>
#include <vector>

// Builds records from parameter definitions (null when memory fails).
GSHandle MakeParamHandle(const std::vector<LibParamDef>& params);
// Releases a parameter list and the cell handles of its array records.
void DisposeParamHandle(GSHandle* params);
// Parameter definitions from a handle of records (what a description file can hold): false with `why` for a
// name that is not a name or is given twice, an unknown type, bad sizes, array cells the handle lacks, a number
// that is not finite, a text with a NUL or a scalar text without its terminator.
bool ParamsFromRecords(const API_AddParType* const* records, std::vector<LibParamDef>* params, std::string* why);
// The rules every parameter list meets (names, types, sizes, one value per cell, count); false with `why`.
bool ValidParams(const std::vector<LibParamDef>& params, std::string* why);
// Sets parameters "A" and "B" to the sizes (added at the front, B after A, when missing).
void SetSizeParams(std::vector<LibParamDef>* params, double a, double b);
// The sizes A and B of a parameter list (0 for a missing one).
void GetSizeParams(const std::vector<LibParamDef>& params, double* a, double* b);
