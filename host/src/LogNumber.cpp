#include "LogNumber.hpp"

#include <charconv>
#include <cmath>

std::string LogNumber(double value) {
    if (value == 0.0) return "0";  // no "-0"
    char buffer[64];
    // Plain decimals at the sizes coordinates have (500000, not 5e+05); an exponent only far from them.
    const double size = std::fabs(value);
    const bool plain = size >= 1e-5 && size < 1e16;
    const std::to_chars_result r = plain
        ? std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed)
        : std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, r.ptr);
}

std::string LogPoint(double x, double y, double z) {
    return "(" + LogNumber(x) + ", " + LogNumber(y) + ", " + LogNumber(z) + ")";
}
