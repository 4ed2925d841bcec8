// Code-page conversion of the Windows stand-in, from tables of our own (no iconv).
#include "Win32.hpp"
#include "Utf8Codec.hpp"

#include <cstring>
#include <string>

namespace {

using HostUtf8::AppendCodePoint;
using HostUtf8::DecodeUtf8;
using HostUtf8::EncodeUtf8;

thread_local DWORD g_lastError = ERROR_SUCCESS;

constexpr char16_t kUndefined = 0xFFFF;    // table mark: the code page has no character for this byte
constexpr char16_t kReplacement = 0xFFFD;  // decoding of undefined or malformed input

// Upper halves (bytes 0x80 to 0xFF) of the single-byte code pages; the lower halves are ASCII.
const char16_t kWindows1252High[128] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98
    0x00A0, 0x00A1, 0x00A2, 0x00A3, 0x00A4, 0x00A5, 0x00A6, 0x00A7,  // A0
    0x00A8, 0x00A9, 0x00AA, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00AF,  // A8
    0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x00B4, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x00B8, 0x00B9, 0x00BA, 0x00BB, 0x00BC, 0x00BD, 0x00BE, 0x00BF,  // B8
    0x00C0, 0x00C1, 0x00C2, 0x00C3, 0x00C4, 0x00C5, 0x00C6, 0x00C7,  // C0
    0x00C8, 0x00C9, 0x00CA, 0x00CB, 0x00CC, 0x00CD, 0x00CE, 0x00CF,  // C8
    0x00D0, 0x00D1, 0x00D2, 0x00D3, 0x00D4, 0x00D5, 0x00D6, 0x00D7,  // D0
    0x00D8, 0x00D9, 0x00DA, 0x00DB, 0x00DC, 0x00DD, 0x00DE, 0x00DF,  // D8
    0x00E0, 0x00E1, 0x00E2, 0x00E3, 0x00E4, 0x00E5, 0x00E6, 0x00E7,  // E0
    0x00E8, 0x00E9, 0x00EA, 0x00EB, 0x00EC, 0x00ED, 0x00EE, 0x00EF,  // E8
    0x00F0, 0x00F1, 0x00F2, 0x00F3, 0x00F4, 0x00F5, 0x00F6, 0x00F7,  // F0
    0x00F8, 0x00F9, 0x00FA, 0x00FB, 0x00FC, 0x00FD, 0x00FE, 0x00FF,  // F8
};

const char16_t kMacRomanHigh[128] = {
    0x00C4, 0x00C5, 0x00C7, 0x00C9, 0x00D1, 0x00D6, 0x00DC, 0x00E1,  // 80
    0x00E0, 0x00E2, 0x00E4, 0x00E3, 0x00E5, 0x00E7, 0x00E9, 0x00E8,  // 88
    0x00EA, 0x00EB, 0x00ED, 0x00EC, 0x00EE, 0x00EF, 0x00F1, 0x00F3,  // 90
    0x00F2, 0x00F4, 0x00F6, 0x00F5, 0x00FA, 0x00F9, 0x00FB, 0x00FC,  // 98
    0x2020, 0x00B0, 0x00A2, 0x00A3, 0x00A7, 0x2022, 0x00B6, 0x00DF,  // A0
    0x00AE, 0x00A9, 0x2122, 0x00B4, 0x00A8, 0x2260, 0x00C6, 0x00D8,  // A8
    0x221E, 0x00B1, 0x2264, 0x2265, 0x00A5, 0x00B5, 0x2202, 0x2211,  // B0
    0x220F, 0x03C0, 0x222B, 0x00AA, 0x00BA, 0x03A9, 0x00E6, 0x00F8,  // B8
    0x00BF, 0x00A1, 0x00AC, 0x221A, 0x0192, 0x2248, 0x2206, 0x00AB,  // C0
    0x00BB, 0x2026, 0x00A0, 0x00C0, 0x00C3, 0x00D5, 0x0152, 0x0153,  // C8
    0x2013, 0x2014, 0x201C, 0x201D, 0x2018, 0x2019, 0x00F7, 0x25CA,  // D0
    0x00FF, 0x0178, 0x2044, 0x20AC, 0x2039, 0x203A, 0xFB01, 0xFB02,  // D8
    0x2021, 0x00B7, 0x201A, 0x201E, 0x2030, 0x00C2, 0x00CA, 0x00C1,  // E0
    0x00CB, 0x00C8, 0x00CD, 0x00CE, 0x00CF, 0x00CC, 0x00D3, 0x00D4,  // E8
    0xF8FF, 0x00D2, 0x00DA, 0x00DB, 0x00D9, 0x0131, 0x02C6, 0x02DC,  // F0
    0x00AF, 0x02D8, 0x02D9, 0x02DA, 0x00B8, 0x02DD, 0x02DB, 0x02C7,  // F8
};

struct HighHalf {
    char16_t units[128];
};

constexpr HighHalf MakeLatin1() {
    HighHalf h{};
    for (int i = 0; i < 128; ++i) h.units[i] = static_cast<char16_t>(0x80 + i);
    return h;
}

constexpr HighHalf MakeUndefined() {
    HighHalf h{};
    for (int i = 0; i < 128; ++i) h.units[i] = kUndefined;
    return h;
}

constexpr HighHalf kLatin1High = MakeLatin1();
constexpr HighHalf kAsciiHigh = MakeUndefined();

enum class Kind { Invalid, SingleByte, Utf8, Utf7 };

struct CodePage {
    Kind kind;
    const char16_t* high;  // single-byte code pages only
};

CodePage Lookup(UINT codePage) {
    switch (codePage) {
        case CP_ACP:
        case CP_WINDOWS_1252: return {Kind::SingleByte, kWindows1252High};
        case CP_ISO_8859_1: return {Kind::SingleByte, kLatin1High.units};
        case CP_US_ASCII: return {Kind::SingleByte, kAsciiHigh.units};
        case CP_MAC_ROMAN: return {Kind::SingleByte, kMacRomanHigh};
        case CP_UTF8: return {Kind::Utf8, nullptr};
        case CP_UTF7: return {Kind::Utf7, nullptr};
        default: return {Kind::Invalid, nullptr};
    }
}

bool IsHighSurrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// ---- decoding (bytes to UTF-16); `malformed` tells whether a replacement character was produced ----

void DecodeSingleByte(const unsigned char* s, size_t n, const char16_t* high, std::u16string& out, bool& malformed) {
    out.reserve(n);
    for (size_t i = 0; i < n; ++i) {
        const unsigned char b = s[i];
        if (b < 0x80) {
            out.push_back(b);
        } else if (high[b - 0x80] == kUndefined) {
            out.push_back(kReplacement);
            malformed = true;
        } else {
            out.push_back(high[b - 0x80]);
        }
    }
}

int Base64Value(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

void DecodeUtf7(const unsigned char* s, size_t n, std::u16string& out, bool& malformed) {
    out.reserve(n);
    size_t i = 0;
    while (i < n) {
        const unsigned char b = s[i];
        if (b >= 0x80) {
            out.push_back(kReplacement);
            malformed = true;
            ++i;
            continue;
        }
        if (b != '+') {
            out.push_back(b);
            ++i;
            continue;
        }
        ++i;  // the shift character
        if (i < n && s[i] == '-') {
            out.push_back(u'+');
            ++i;
            continue;
        }
        uint32_t bits = 0;
        int bitCount = 0;
        while (i < n) {
            const int v = Base64Value(s[i]);
            if (v < 0) break;
            bits = (bits << 6) | static_cast<uint32_t>(v);
            bitCount += 6;
            if (bitCount >= 16) {
                bitCount -= 16;
                out.push_back(static_cast<char16_t>((bits >> bitCount) & 0xFFFF));
            }
            bits &= (1u << bitCount) - 1;
            ++i;
        }
        // A '-' that ends the base64 run is absorbed; any other byte is ordinary text again.
        if (i < n && s[i] == '-') ++i;
    }
}

bool Decode(const CodePage& cp, const unsigned char* s, size_t n, std::u16string& out, bool& malformed) {
    switch (cp.kind) {
        case Kind::SingleByte: DecodeSingleByte(s, n, cp.high, out, malformed); return true;
        case Kind::Utf8: DecodeUtf8(s, n, out, malformed); return true;
        case Kind::Utf7: DecodeUtf7(s, n, out, malformed); return true;
        default: return false;
    }
}

// ---- encoding (UTF-16 to bytes) ----

void EncodeSingleByte(const char16_t* w, size_t n, const char16_t* high, char defaultChar, std::string& out,
                      bool& usedDefault) {
    out.reserve(n);
    for (size_t i = 0; i < n; ++i) {
        const char16_t u = w[i];
        if (u < 0x80) {
            out.push_back(static_cast<char>(u));
            continue;
        }
        int found = -1;
        for (int k = 0; k < 128; ++k) {
            if (high[k] == u) {
                found = k;
                break;
            }
        }
        if (found >= 0) {
            out.push_back(static_cast<char>(0x80 + found));
            continue;
        }
        // One default character per code point: a surrogate pair is one character.
        if (IsHighSurrogate(u) && i + 1 < n && IsLowSurrogate(w[i + 1])) ++i;
        out.push_back(defaultChar);
        usedDefault = true;
    }
}

bool IsUtf7Direct(char16_t u) {
    if ((u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9')) return true;
    switch (u) {
        case '\'':
        case '(':
        case ')':
        case ',':
        case '-':
        case '.':
        case '/':
        case ':':
        case '?':
        case ' ':
        case '\t':
        case '\r':
        case '\n':
        case 0: return true;
        default: return false;
    }
}

void EncodeUtf7(const char16_t* w, size_t n, std::string& out) {
    static const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    out.reserve(n);
    size_t i = 0;
    while (i < n) {
        const char16_t u = w[i];
        if (IsUtf7Direct(u)) {
            out.push_back(static_cast<char>(u));
            ++i;
            continue;
        }
        if (u == u'+') {
            out += "+-";
            ++i;
            continue;
        }
        out.push_back('+');
        uint32_t bits = 0;
        int bitCount = 0;
        while (i < n && !IsUtf7Direct(w[i]) && w[i] != u'+') {
            bits = (bits << 16) | w[i];
            bitCount += 16;
            while (bitCount >= 6) {
                bitCount -= 6;
                out.push_back(kAlphabet[(bits >> bitCount) & 0x3F]);
            }
            bits &= (1u << bitCount) - 1;
            ++i;
        }
        if (bitCount > 0) out.push_back(kAlphabet[(bits << (6 - bitCount)) & 0x3F]);
        out.push_back('-');
    }
}

int32_t Fail(DWORD error) {
    g_lastError = error;
    return 0;
}

}  // namespace

DWORD GetLastError() { return g_lastError; }
void SetLastError(DWORD error) { g_lastError = error; }

int32_t MultiByteToWideChar(UINT codePage, DWORD flags, const char* multiByte, int32_t multiByteCount, WCHAR* wide,
                            int32_t wideCount) {
    const CodePage cp = Lookup(codePage);
    if (cp.kind == Kind::Invalid || multiByte == nullptr || multiByteCount == 0 || multiByteCount < -1 ||
        wideCount < 0 || (wideCount > 0 && wide == nullptr))
        return Fail(ERROR_INVALID_PARAMETER);
    const size_t n = multiByteCount == -1 ? std::strlen(multiByte) + 1 : static_cast<size_t>(multiByteCount);
    std::u16string text;
    bool malformed = false;
    Decode(cp, reinterpret_cast<const unsigned char*>(multiByte), n, text, malformed);
    if (malformed && (flags & MB_ERR_INVALID_CHARS) != 0) return Fail(ERROR_NO_UNICODE_TRANSLATION);
    if (text.size() > 0x7FFFFFFFu) return Fail(ERROR_INVALID_PARAMETER);
    const auto needed = static_cast<int32_t>(text.size());
    if (wideCount == 0) return needed;
    if (wideCount < needed) return Fail(ERROR_INSUFFICIENT_BUFFER);
    std::memcpy(wide, text.data(), text.size() * sizeof(WCHAR));
    return needed;
}

int32_t WideCharToMultiByte(UINT codePage, DWORD /*flags*/, const WCHAR* wide, int32_t wideCount, char* multiByte,
                            int32_t multiByteCount, const char* defaultChar, BOOL* usedDefaultChar) {
    const CodePage cp = Lookup(codePage);
    if (cp.kind == Kind::Invalid || wide == nullptr || wideCount == 0 || wideCount < -1 || multiByteCount < 0 ||
        (multiByteCount > 0 && multiByte == nullptr))
        return Fail(ERROR_INVALID_PARAMETER);
    if (cp.kind != Kind::SingleByte && (defaultChar != nullptr || usedDefaultChar != nullptr))
        return Fail(ERROR_INVALID_PARAMETER);
    size_t n = 0;
    if (wideCount == -1) {
        while (wide[n] != 0) ++n;
        ++n;  // the terminator is converted too
    } else {
        n = static_cast<size_t>(wideCount);
    }
    std::string bytes;
    bool usedDefault = false;
    switch (cp.kind) {
        case Kind::SingleByte:
            EncodeSingleByte(wide, n, cp.high, defaultChar != nullptr ? *defaultChar : '?', bytes, usedDefault);
            break;
        case Kind::Utf8: EncodeUtf8(wide, n, bytes); break;
        default: EncodeUtf7(wide, n, bytes); break;
    }
    if (bytes.size() > 0x7FFFFFFFu) return Fail(ERROR_INVALID_PARAMETER);
    const auto needed = static_cast<int32_t>(bytes.size());
    if (multiByteCount == 0) {
        if (usedDefaultChar != nullptr) *usedDefaultChar = usedDefault ? 1 : 0;
        return needed;
    }
    if (multiByteCount < needed) return Fail(ERROR_INSUFFICIENT_BUFFER);
    std::memcpy(multiByte, bytes.data(), bytes.size());
    if (usedDefaultChar != nullptr) *usedDefaultChar = usedDefault ? 1 : 0;
    return needed;
}
