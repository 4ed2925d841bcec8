#pragma once
// The words of library descriptions and parameter lists: parameter names, letter case, blanks and UTF-8 texts.
#include <cstdint>
#include <string>
#include <vector>

std::string LowerCase(std::string s);
std::string UpperCase(std::string s);
// Without the blanks and tabs around it.
std::string TrimBlanks(const std::string& s);
// UTF-8 to UTF-16; false for malformed input (overlong forms, surrogates, values above U+10FFFF).
bool Utf8ToUtf16(const std::string& in, std::u16string* out);

// Letters, digits, '_' and '~', not starting with a digit (the length is checked apart).
bool IsParamName(const std::string& name);

// The words of a description item after its kind word; false with `why` for a word that is no parameter name of
// at most 31 bytes.
bool ItemWords(const std::string& text, std::string* kind, std::vector<std::string>* words, std::string* why);