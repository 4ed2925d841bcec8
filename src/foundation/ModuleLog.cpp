#include "foundation/ModuleLog.hpp"

#include "foundation/ACAPI.hpp"

#include <charconv>
#include <string>

namespace ModuleLog {
void LogCall(const char* name) {
    const std::string line = std::string("call: ") + (name != nullptr ? name : "?");
    ACAPI_WriteReport(line.c_str());
}

void Log(const char* text) { ACAPI_WriteReport(text); }

std::string Number(double value) {
    char buffer[64];
    const std::to_chars_result r = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, r.ptr);
}
}  // namespace ModuleLog
