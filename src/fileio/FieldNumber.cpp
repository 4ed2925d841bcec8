#include "fileio/FieldNumber.hpp"

#include <charconv>
#include <cmath>
#include <limits>

namespace {
inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

bool ParseFieldNumberSlow(const char* begin, const char* end, double& value) {
    const char* p = begin;
    while (p < end && !IsDigit(*p) && *p != '-' && *p != '+' && *p != '.' && *p != ',') ++p;
    // Most fields are plain numbers with a decimal point: read in place.
    if (p < end && (IsDigit(*p) || (*p == '-' && p + 1 < end && IsDigit(p[1])))) {
        double parsed = 0.0;
        const std::from_chars_result r = std::from_chars(p, end, parsed);
        const bool plainEnd =
            r.ptr == end || (*r.ptr != ',' && *r.ptr != '.' && *r.ptr != 'e' && *r.ptr != 'E' && !IsDigit(*r.ptr));
        if (r.ec == std::errc() && plainEnd && std::isfinite(parsed)) {
            value = parsed;
            return true;
        }
    }
    // Copied with '.' as the only decimal mark; far longer numbers than any survey file holds are refused.
    char text[128];
    size_t n = 0;
    if (p < end && (*p == '-' || *p == '+')) {
        if (*p == '-') text[n++] = '-';
        ++p;
    }
    size_t digits = 0;
    while (p < end && IsDigit(*p) && n < sizeof text - 8) text[n++] = *p++, ++digits;
    if (p < end && (*p == '.' || *p == ',')) {
        ++p;
        text[n++] = '.';
        while (p < end && IsDigit(*p) && n < sizeof text - 8) text[n++] = *p++, ++digits;
    }
    if (digits == 0 || (p < end && IsDigit(*p))) return false;
    if (p < end && (*p == 'e' || *p == 'E')) {
        const char* q = p + 1;
        size_t m = n;
        char exponent[8];
        size_t e = 0;
        exponent[e++] = 'e';
        if (q < end && (*q == '-' || *q == '+')) exponent[e++] = *q++;
        const char* firstDigit = q;
        while (q < end && IsDigit(*q) && e < sizeof exponent) exponent[e++] = *q++;
        if (q > firstDigit && e < sizeof exponent && m + e < sizeof text) {
            for (size_t k = 0; k < e; ++k) text[m++] = exponent[k];
            n = m;
        }
    }
    double parsed = 0.0;
    const std::from_chars_result r = std::from_chars(text, text + n, parsed);
    if (r.ec != std::errc() || !std::isfinite(parsed)) return false;
    value = parsed;
    return true;
}

bool ParseFieldInteger(const char* begin, const char* end, int32_t& value) {
    double parsed = 0.0;
    if (!ParseFieldNumber(begin, end, parsed)) return false;
    parsed = std::trunc(parsed);
    if (parsed < double(std::numeric_limits<int32_t>::min()) || parsed > double(std::numeric_limits<int32_t>::max()))
        return false;
    value = static_cast<int32_t>(parsed);
    return true;
}
