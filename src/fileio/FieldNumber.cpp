#include "fileio/FieldNumber.hpp"

#include <charconv>
#include <cmath>
#include <limits>

namespace {
inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

bool ParseFieldNumberSlow(const char* begin, const char* end, double& value) {
    // The whole field is the number, blanks around it aside: "abc12", "1010abc" or "1.2.3" hold none, so no part
    // of them can become a coordinate.
    while (begin < end && (*begin == ' ' || *begin == '\t')) ++begin;
    while (end > begin && (end[-1] == ' ' || end[-1] == '\t')) --end;
    const char* p = begin;
    // Most fields are plain numbers with a decimal point: read in place.
    if (p < end && (IsDigit(*p) || (*p == '-' && p + 1 < end && IsDigit(p[1])))) {
        double parsed = 0.0;
        const std::from_chars_result r = std::from_chars(p, end, parsed);
        if (r.ec == std::errc() && r.ptr == end && std::isfinite(parsed)) {
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
    if (digits == 0) return false;
    if (p < end && (*p == 'e' || *p == 'E')) {
        text[n++] = 'e';
        ++p;
        if (p < end && (*p == '-' || *p == '+')) text[n++] = *p++;
        const char* firstDigit = p;
        while (p < end && IsDigit(*p) && n < sizeof text - 1) text[n++] = *p++;
        if (p == firstDigit) return false;
    }
    if (p != end) return false;
    double parsed = 0.0;
    const std::from_chars_result r = std::from_chars(text, text + n, parsed);
    if (r.ec != std::errc() || r.ptr != text + n || !std::isfinite(parsed)) return false;
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
