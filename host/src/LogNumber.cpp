#include "LogNumber.hpp"

#include <charconv>
#include <cmath>

std::string LogNumber(double value) {
    if (value == 0.0) return "0";  // no "-0"
    char buffer[32];
    const std::to_chars_result r = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, r.ptr);
}

std::string LogPoint(double x, double y, double z) {
    return "(" + LogNumber(x) + ", " + LogNumber(y) + ", " + LogNumber(z) + ")";
}
