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
