#include "foundation/ModuleLog.hpp"

#include "foundation/ACAPI.hpp"

#include <string>

namespace ModuleLog {
void LogCall(const char* name) {
    const std::string line = std::string("call: ") + (name != nullptr ? name : "?");
    ACAPI_WriteReport(line.c_str());
}

void Log(const char* text) { ACAPI_WriteReport(text); }
}  // namespace ModuleLog
