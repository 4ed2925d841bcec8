#pragma once
// The log is UTF-8. The module writes some texts in Windows-1252 (its resource strings, names read from files):
// a byte that does not start a valid UTF-8 sequence is read as Windows-1252 and written as UTF-8.
#include <string>

std::string LogText(const std::string& text);
