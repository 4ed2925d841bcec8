#include "foundation/ModuleLog.hpp"

#include "foundation/ACAPI.hpp"

#include <charconv>
#include <cmath>
#include <string>

namespace ModuleLog {
void LogCall(const char* name) {
    const std::string line = std::string("call: ") + (name != nullptr ? name : "?");
    ACAPI_WriteReport(line.c_str());
}

void Log(const char* text) { ACAPI_WriteReport(text); }

std::string Number(double value) {
    char buffer[64];
    // Plain decimals at the sizes coordinates have (500000, not 5e+05); an exponent only far from them.
    const double size = std::fabs(value);
    const bool plain = size >= 1e-5 && size < 1e16;
    const std::to_chars_result r = plain
        ? std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed)
        : std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, r.ptr);
}
}  // namespace ModuleLog
