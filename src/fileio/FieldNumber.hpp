#pragma once
// Numbers in the fields of grid and point files. '.' and ',' both mark decimals; the number starts at the first
// digit, sign or decimal mark, so a leading label or unit is passed over. A field with no number in it (empty,
// a header word, "n/a") or one beyond the range of a double answers false: such a field makes no point.
#include <cstdint>

bool ParseFieldNumber(const char* begin, const char* end, double& value);
// The integer part of the field's number, false also outside the 32-bit range.
bool ParseFieldInteger(const char* begin, const char* end, int32_t& value);
