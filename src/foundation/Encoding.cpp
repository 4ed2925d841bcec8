#include "foundation/Encoding.hpp"

#include "Win32.hpp"

#include <cstring>
#include <limits>
#include <string>

namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

uint32_t ReadUnit(const unsigned char* p, uint32_t unitSize, bool bigEndian) {
    uint32_t value = 0;
    for (uint32_t k = 0; k < unitSize; ++k) {
        const uint32_t b = p[bigEndian ? k : unitSize - 1 - k];
        value = (value << 8) | b;
    }
    return value;
}

void WriteUnit(unsigned char* p, uint32_t value, uint32_t unitSize, bool bigEndian) {
    for (uint32_t k = 0; k < unitSize; ++k) {
        const unsigned char b = static_cast<unsigned char>(value >> (8 * k));
        p[bigEndian ? unitSize - 1 - k : k] = b;
    }
}

// Units of a UTF-16 / UTF-32 source: srcBytes / unitSize of them, or up to the first zero unit (srcBytes 0:
// only the zero unit ends it).
uint32_t CountWideUnits(const unsigned char* s, uint32_t srcBytes, uint32_t unitSize, bool bigEndian) {
    const uint64_t limit = srcBytes != 0 ? srcBytes / unitSize : std::numeric_limits<uint64_t>::max();
    uint64_t n = 0;
    while (n < limit && ReadUnit(s + n * unitSize, unitSize, bigEndian) != 0) ++n;
    return static_cast<uint32_t>(n);
}

// Decodes the source into UTF-16. False when the code-page conversion fails.
bool DecodeToUtf16(int32_t encoding, const unsigned char* s, uint32_t srcBytes, std::u16string& out) {
    switch (encoding) {
        case Encoding_UTF16LE:
        case Encoding_UTF16BE: {
            const bool be = encoding == Encoding_UTF16BE;
            const uint32_t n = CountWideUnits(s, srcBytes, 2, be);
            out.resize(n);
            for (uint32_t i = 0; i < n; ++i) out[i] = static_cast<char16_t>(ReadUnit(s + 2 * i, 2, be));
            return true;
        }
        case Encoding_UTF32LE:
        case Encoding_UTF32BE: {
            const bool be = encoding == Encoding_UTF32BE;
            const uint32_t n = CountWideUnits(s, srcBytes, 4, be);
            size_t units = 0;
            for (uint32_t i = 0; i < n; ++i)
                units += ReadUnit(s + 4 * i, 4, be) >= 0x10000 && ReadUnit(s + 4 * i, 4, be) <= 0x10FFFF ? 2 : 1;
            out.resize(units);
            size_t w = 0;
            for (uint32_t i = 0; i < n; ++i) {
                const uint32_t cp = ReadUnit(s + 4 * i, 4, be);
                if (cp < 0x10000) {
                    out[w++] = cp >= 0xD800 && cp <= 0xDFFF ? kReplacement : static_cast<char16_t>(cp);
                } else if (cp <= 0x10FFFF) {
                    out[w++] = static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
                    out[w++] = static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
                } else {
                    out[w++] = kReplacement;
                }
            }
            return true;
        }
        default: {
            if (srcBytes > static_cast<uint32_t>(std::numeric_limits<int32_t>::max())) return false;
            const UINT codePage = EncodingToCodePage(encoding);
            const char* bytes = reinterpret_cast<const char*>(s);
            const int32_t count = srcBytes != 0 ? static_cast<int32_t>(srcBytes) : -1;
            const int32_t needed = MultiByteToWideChar(codePage, 0, bytes, count, nullptr, 0);
            if (needed <= 0) return false;
            out.resize(static_cast<size_t>(needed) + 1);
            const int32_t written = MultiByteToWideChar(codePage, 0, bytes, count, &out[0], needed + 1);
            if (written <= 0) return false;
            out.resize(static_cast<size_t>(written));
            if (count == -1 && !out.empty()) out.pop_back();  // the converted terminator
            return true;
        }
    }
}

// UTF-16 to UTF-32 code points; an unpaired surrogate becomes U+FFFD and the unit after it is kept.
template <typename Sink>
void ForEachCodePoint(const std::u16string& text, Sink sink) {
    const size_t n = text.size();
    for (size_t i = 0; i < n; ++i) {
        const char16_t u = text[i];
        if (IsHighSurrogate(u) && i + 1 < n && IsLowSurrogate(text[i + 1])) {
            sink(0x10000u + ((static_cast<uint32_t>(u) - 0xD800u) << 10) + (text[i + 1] - 0xDC00u));
            ++i;
        } else if (IsHighSurrogate(u) || IsLowSurrogate(u)) {
            sink(kReplacement);
        } else {
            sink(u);
        }
    }
}

int32_t CheckedSize(uint64_t bytes) {
    return bytes > static_cast<uint64_t>(std::numeric_limits<int32_t>::max()) ? ConvertEncoding_Failed
                                                                              : static_cast<int32_t>(bytes);
}

}  // namespace

uint32_t EncodingToCodePage(int32_t selector) {
    switch (selector) {
        case Encoding_UTF7: return CP_UTF7;
        case Encoding_UTF8: return CP_UTF8;
        case Encoding_UTF16LE: return 1200;
        case Encoding_UTF16BE: return 1201;
        case Encoding_UTF32LE: return 12000;
        case Encoding_UTF32BE: return 12001;
        case Encoding_USASCII: return CP_US_ASCII;
        case Encoding_MacRoman: return CP_MAC_ROMAN;
        case Encoding_Windows1252: return CP_WINDOWS_1252;
        case Encoding_ISO8859_1: return CP_ISO_8859_1;
        default: return CP_ACP;
    }
}

uint32_t EncodingUnitSize(int32_t selector) {
    if (selector == Encoding_UTF16LE || selector == Encoding_UTF16BE) return 2;
    if (selector == Encoding_UTF32LE || selector == Encoding_UTF32BE) return 4;
    return 1;
}

int32_t ConvertEncoding(int32_t srcEncoding, const void* src, uint32_t srcBytes, int32_t dstEncoding, void* dst,
                        uint32_t dstBytes, bool addTerminator) {
    if (src == nullptr) return ConvertEncoding_NullSource;
    if (srcEncoding < Encoding_System) return ConvertEncoding_BadSourceEncoding;
    if (dstEncoding < Encoding_System) return ConvertEncoding_BadDestinationEncoding;

    const auto* s = static_cast<const unsigned char*>(src);
    auto* d = static_cast<unsigned char*>(dst);
    const uint32_t srcUnit = EncodingUnitSize(srcEncoding);
    const uint32_t dstUnit = EncodingUnitSize(dstEncoding);
    const uint32_t terminator = addTerminator ? dstUnit : 0;

    // An empty source: its first unit is 0, or the byte count is too short for one unit.
    const bool empty = (srcBytes != 0 && srcBytes < srcUnit) || ReadUnit(s, srcUnit, false) == 0;
    if (empty) {
        if (d != nullptr) {
            if (dstBytes < terminator) return ConvertEncoding_DestinationTooSmall;
            std::memset(d, 0, terminator);
        }
        return static_cast<int32_t>(terminator);
    }

    std::u16string wide;
    if (!DecodeToUtf16(srcEncoding, s, srcBytes, wide)) return ConvertEncoding_Failed;

    switch (dstEncoding) {
        case Encoding_UTF16LE:
        case Encoding_UTF16BE: {
            const int32_t needed = CheckedSize((static_cast<uint64_t>(wide.size()) + (addTerminator ? 1 : 0)) * 2);
            if (needed < 0 || d == nullptr) return needed;
            if (dstBytes < static_cast<uint32_t>(needed)) return ConvertEncoding_DestinationTooSmall;
            const bool be = dstEncoding == Encoding_UTF16BE;
            for (size_t i = 0; i < wide.size(); ++i) WriteUnit(d + 2 * i, wide[i], 2, be);
            if (addTerminator) WriteUnit(d + 2 * wide.size(), 0, 2, be);
            return needed;
        }
        case Encoding_UTF32LE:
        case Encoding_UTF32BE: {
            uint64_t count = 0;
            ForEachCodePoint(wide, [&count](uint32_t) { ++count; });
            const int32_t needed = CheckedSize((count + (addTerminator ? 1 : 0)) * 4);
            if (needed < 0 || d == nullptr) return needed;
            if (dstBytes < static_cast<uint32_t>(needed)) return ConvertEncoding_DestinationTooSmall;
            const bool be = dstEncoding == Encoding_UTF32BE;
            unsigned char* p = d;
            ForEachCodePoint(wide, [&p, be](uint32_t cp) {
                WriteUnit(p, cp, 4, be);
                p += 4;
            });
            if (addTerminator) WriteUnit(p, 0, 4, be);
            return needed;
        }
        default: {
            if (wide.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max())) return ConvertEncoding_Failed;
            const UINT codePage = EncodingToCodePage(dstEncoding);
            const auto units = static_cast<int32_t>(wide.size());
            int32_t bytes = 0;
            if (units > 0) {
                bytes = WideCharToMultiByte(codePage, 0, wide.data(), units, nullptr, 0, nullptr, nullptr);
                if (bytes <= 0) return ConvertEncoding_Failed;
            }
            const int32_t needed = CheckedSize(static_cast<uint64_t>(bytes) + terminator);
            if (needed < 0 || d == nullptr) return needed;
            if (dstBytes < static_cast<uint32_t>(needed)) return ConvertEncoding_DestinationTooSmall;
            if (units > 0) {
                const int32_t written = WideCharToMultiByte(codePage, 0, wide.data(), units, reinterpret_cast<char*>(d),
                                                            bytes, nullptr, nullptr);
                if (written != bytes) return ConvertEncoding_Failed;
            }
            if (addTerminator) d[bytes] = 0;
            return needed;
        }
    }
}

uint32_t DetectBom(const void* bytes, uint32_t byteCount, int32_t& encoding) {
    encoding = 0;
    if (bytes == nullptr || byteCount < 2) return 0;
    const auto* b = static_cast<const unsigned char*>(bytes);
    auto starts = [b, byteCount](std::initializer_list<unsigned char> mark) {
        if (byteCount < mark.size()) return false;
        size_t i = 0;
        for (unsigned char m : mark)
            if (b[i++] != m) return false;
        return true;
    };
    auto found = [&encoding](int32_t selector, uint32_t length) {
        encoding = selector;
        return length;
    };
    if (starts({0xEF, 0xBB, 0xBF})) return found(Encoding_UTF8, 3);
    if (starts({0xFF, 0xFE, 0x00, 0x00})) return found(Encoding_UTF32LE, 4);
    if (starts({0xFF, 0xFE})) return found(Encoding_UTF16LE, 2);
    if (starts({0xFE, 0xFF})) return found(Encoding_UTF16BE, 2);
    if (starts({0x00, 0x00, 0xFE, 0xFF})) return found(Encoding_UTF32BE, 4);
    if (starts({0x2B, 0x2F, 0x76}) && byteCount >= 4 && (b[3] == 0x38 || b[3] == 0x39 || b[3] == 0x2B || b[3] == 0x2F))
        return found(Encoding_UTF7, b[3] == 0x38 && byteCount >= 5 && b[4] == 0x2D ? 5 : 4);
    if (starts({0xF7, 0x64, 0x4C}) || starts({0x0E, 0xFE, 0xFF}) || starts({0xFB, 0xEE, 0x28}))
        return found(Encoding_Unconvertible, 3);
    if (starts({0xDD, 0x73, 0x66, 0x73}) || starts({0x84, 0x31, 0x95, 0x33})) return found(Encoding_Unconvertible, 4);
    return 0;
}

bool IsValidUtf8(const void* bytes, uint32_t byteCount, bool needMultiByte) {
    if (bytes == nullptr) return false;
    const auto* b = static_cast<const unsigned char*>(bytes);
    bool sawMultiByte = false;
    uint32_t i = 0;
    while (i < byteCount) {
        const unsigned char c = b[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        sawMultiByte = true;
        uint32_t need = 0;
        unsigned char lo = 0x80, hi = 0xBF;
        if (c >= 0xC2 && c <= 0xDF) {
            need = 1;
        } else if (c >= 0xE0 && c <= 0xEF) {
            need = 2;
            if (c == 0xE0) lo = 0xA0;
            if (c == 0xED) hi = 0x9F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            need = 3;
            if (c == 0xF0) lo = 0x90;
            if (c == 0xF4) hi = 0x8F;
        } else {
            return false;
        }
        if (byteCount - i - 1 < need) return false;  // cut by the end of the range
        for (uint32_t k = 1; k <= need; ++k) {
            const unsigned char t = b[i + k];
            const unsigned char tlo = k == 1 ? lo : 0x80;
            const unsigned char thi = k == 1 ? hi : 0xBF;
            if (t < tlo || t > thi) return false;
        }
        i += need + 1;
    }
    return !needMultiByte || sawMultiByte;
}
