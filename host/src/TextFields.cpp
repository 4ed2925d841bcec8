#include "TextFields.hpp"

#include <cstdint>
#include <cstring>

std::string FieldText(const char* field, size_t fieldSize) { return std::string(field, strnlen(field, fieldSize)); }

void CopyFieldText(char* field, size_t fieldSize, const std::string& text) {
    size_t n = text.size() < fieldSize - 1 ? text.size() : fieldSize - 1;
    while (n > 0 && n < text.size() && (uint8_t(text[n]) & 0xC0) == 0x80) --n;
    std::memcpy(field, text.data(), n);
    field[n] = '\0';
}

std::string QuotedText(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default: out += c;
        }
    }
    return out + "\"";
}
