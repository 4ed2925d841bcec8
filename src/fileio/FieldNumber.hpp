#pragma once
// Numbers in the fields of grid and point files. '.' and ',' both mark decimals; the field is the number, blanks
// around it aside. A field that is not wholly a number (empty, a header word, "n/a", "abc12", "1010abc", "1.2.3")
// or one beyond the range of a double answers false: such a field makes no point.
#include <cstdint>

bool ParseFieldNumberSlow(const char* begin, const char* end, double& value);
inline bool ParseFieldNumber(const char* begin, const char* end, double& value) {
    // A field that is a plain integer of up to 15 digits (most grid cells) is exact digit by digit.
    const char* q = begin;
    const bool negative = q < end && *q == '-';
    if (negative) ++q;
    const char* digits = q;
    uint64_t whole = 0;
    while (q < end && q - digits < 15 && *q >= '0' && *q <= '9') whole = whole * 10 + uint64_t(*q++ - '0');
    if (q == end && q > digits) {
        value = negative ? -double(whole) : double(whole);
        return true;
    }
    return ParseFieldNumberSlow(begin, end, value);
}
// The integer part of the field's number, false also outside the 32-bit range.
bool ParseFieldInteger(const char* begin, const char* end, int32_t& value);
