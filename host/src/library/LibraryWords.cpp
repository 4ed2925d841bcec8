#include "library/LibraryWords.hpp"

#include "UniString.hpp"

#include <algorithm>
#include <cctype>
#include <sstream>

namespace {
bool IsNameStart(char c) { return std::isalpha(uint8_t(c)) || c == '_' || c == '~'; }
bool IsNameChar(char c) { return std::isalnum(uint8_t(c)) || c == '_' || c == '~'; }
}  // namespace

std::string LowerCase(std::string s) {
    for (char& c : s) c = char(std::tolower(uint8_t(c)));
    return s;
}

std::string UpperCase(std::string s) {
    for (char& c : s) c = char(std::toupper(uint8_t(c)));
    return s;
}

std::string TrimBlanks(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
    return s.substr(b, e - b);
}

bool Utf8ToUtf16(const std::string& in, std::u16string* out) {
    GS::UniString text;
    if (!GS::UniString::DecodeUtf8(in.data(), static_cast<uint32_t>(in.size()), &text)) return false;
    *out = text.ToU16String();
    return true;
}

bool IsParamName(const std::string& name) {
    return !name.empty() && IsNameStart(name[0]) && std::all_of(name.begin(), name.end(), IsNameChar);
}

bool ItemWords(const std::string& text, std::string* kind, std::vector<std::string>* words, std::string* why) {
    std::istringstream in(text);
    std::string word;
    in >> *kind;
    words->clear();
    while (in >> word) {
        if (!IsParamName(word) || word.size() > 31) {
            *why = "'" + word + "' is not a parameter name";
            return false;
        }
        words->push_back(word);
    }
    return true;
}
