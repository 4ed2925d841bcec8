#include "Utf8Codec.hpp"

namespace HostUtf8 {

namespace {
constexpr char16_t Replacement = 0xFFFD;
}

void AppendCodePoint(std::u16string& out, uint32_t cp) {
    if (cp < 0x10000) {
        out.push_back(static_cast<char16_t>(cp));
    } else {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    }
}

// UTF-8 with one U+FFFD for every maximal ill-formed subpart, as the Unicode standard recommends.
void DecodeUtf8(const unsigned char* s, size_t n, std::u16string& out, bool& malformed) {
    out.reserve(n);
    size_t i = 0;
    while (i < n) {
        const unsigned char b = s[i];
        if (b < 0x80) {
            out.push_back(b);
            ++i;
            continue;
        }
        int need = 0;
        uint32_t cp = 0;
        unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
        if (b >= 0xC2 && b <= 0xDF) {
            need = 1;
            cp = b & 0x1F;
        } else if (b >= 0xE0 && b <= 0xEF) {
            need = 2;
            cp = b & 0x0F;
            if (b == 0xE0) lo = 0xA0;
            if (b == 0xED) hi = 0x9F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            need = 3;
            cp = b & 0x07;
            if (b == 0xF0) lo = 0x90;
            if (b == 0xF4) hi = 0x8F;
        } else {
            out.push_back(Replacement);
            malformed = true;
            ++i;
            continue;
        }
        size_t j = i + 1;
        int got = 0;
        bool ok = true;
        while (got < need) {
            if (j >= n) {
                ok = false;
                break;
            }
            const unsigned char c = s[j];
            const unsigned char cl = got == 0 ? lo : 0x80;
            const unsigned char ch = got == 0 ? hi : 0xBF;
            if (c < cl || c > ch) {
                ok = false;
                break;
            }
            cp = (cp << 6) | (c & 0x3F);
            ++j;
            ++got;
        }
        if (ok) {
            AppendCodePoint(out, cp);
        } else {
            out.push_back(Replacement);
            malformed = true;
        }
        i = j;
    }
}

void EncodeUtf8(const char16_t* w, size_t n, std::string& out) {
    out.reserve(n);
    for (size_t i = 0; i < n; ++i) {
        uint32_t cp = w[i];
        if (w[i] >= 0xD800 && w[i] <= 0xDBFF && i + 1 < n && w[i + 1] >= 0xDC00 && w[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (w[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = Replacement;
        }
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
}

}  // namespace HostUtf8
