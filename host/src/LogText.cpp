#include "LogText.hpp"

#include <cstdint>

namespace {
// Windows-1252 0x80..0x9F; 0 where the code page leaves a byte undefined (shown as U+FFFD).
constexpr uint16_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
                                0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                                0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// Length of the valid UTF-8 sequence at `i` (no overlong forms, no surrogates, at most U+10FFFF), 0 when none.
size_t Utf8Length(const std::string& s, size_t i) {
    const auto byte = [&](size_t k) { return k < s.size() ? uint8_t(s[k]) : uint8_t(0); };
    const uint8_t b = byte(i);
    const auto cont = [&](size_t k) { return (byte(k) & 0xC0) == 0x80; };
    if (b < 0x80) return 1;
    if (b >= 0xC2 && b <= 0xDF) return cont(i + 1) ? 2 : 0;
    if (b >= 0xE0 && b <= 0xEF) {
        const uint8_t b1 = byte(i + 1);
        if ((b == 0xE0 && b1 < 0xA0) || (b == 0xED && b1 > 0x9F)) return 0;
        return cont(i + 1) && cont(i + 2) ? 3 : 0;
    }
    if (b >= 0xF0 && b <= 0xF4) {
        const uint8_t b1 = byte(i + 1);
        if ((b == 0xF0 && b1 < 0x90) || (b == 0xF4 && b1 > 0x8F)) return 0;
        return cont(i + 1) && cont(i + 2) && cont(i + 3) ? 4 : 0;
    }
    return 0;
}

void AppendUtf8(uint32_t c, std::string* out) {
    if (c < 0x80) {
        *out += char(c);
    } else if (c < 0x800) {
        *out += char(0xC0 | (c >> 6));
        *out += char(0x80 | (c & 0x3F));
    } else {
        *out += char(0xE0 | (c >> 12));
        *out += char(0x80 | ((c >> 6) & 0x3F));
        *out += char(0x80 | (c & 0x3F));
    }
}
}  // namespace

std::string LogText(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const size_t n = Utf8Length(text, i);
        if (n > 0) {
            out.append(text, i, n);
            i += n;
            continue;
        }
        const uint8_t b = uint8_t(text[i++]);
        const uint32_t c = b >= 0xA0 ? b : kHigh[b - 0x80];
        AppendUtf8(c == 0 ? 0xFFFD : c, &out);
    }
    return out;
}
