#pragma once
// The module's call log: one line per noted call, written into the host's report log.
#include <string>

namespace ModuleLog {
// Notes that the named function ran ("call: <name>").
void LogCall(const char* name);
// Writes a free line.
void Log(const char* text);
// The shortest text that reads back as the same double, in plain decimals from 1e-5 to 1e16: a line's figures
// carry every digit.
std::string Number(double value);
}  // namespace ModuleLog
