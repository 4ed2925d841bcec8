#pragma once
// The module's call log: one line per noted call, written into the host's report log.
namespace ModuleLog {
// Notes that the named function ran ("call: <name>").
void LogCall(const char* name);
// Writes a free line.
void Log(const char* text);
}  // namespace ModuleLog
