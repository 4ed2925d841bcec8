#pragma once
// Texts in the fixed-size char fields of the host's records.
#include <cstddef>
#include <string>

// The text of a field: up to its first NUL, never past its end.
std::string FieldText(const char* field, size_t fieldSize);
// Copies UTF-8 text into a field, cut at a character boundary, always NUL-ended.
void CopyFieldText(char* field, size_t fieldSize, const std::string& text);
// The text in double quotes as the script and the library descriptions read it: '"' and '\\' escaped, and LF,
// CR and tab written as \\n, \\r, \\t.
std::string QuotedText(const std::string& text);
