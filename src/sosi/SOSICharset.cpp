#include "sosi/SOSICharset.hpp"

#include "foundation/Encoding.hpp"
#include "foundation/QV_String.hpp"

#include <cctype>
#include <cstring>
#include <string>

namespace {

// 0xA0 to 0xFF of ISO 8859-10 (Latin 6, with the Sami letters).
const uint16_t Latin6High[96] = {
    0x00A0, 0x0104, 0x0112, 0x0122, 0x012A, 0x0128, 0x0136, 0x00A7, 0x013B, 0x0110, 0x0160, 0x0166, 0x017D, 0x00AD,
    0x016A, 0x014A, 0x00B0, 0x0105, 0x0113, 0x0123, 0x012B, 0x0129, 0x0137, 0x00B7, 0x013C, 0x0111, 0x0161, 0x0167,
    0x017E, 0x2015, 0x016B, 0x014B, 0x0100, 0x00C1, 0x00C2, 0x00C3, 0x00C4, 0x00C5, 0x00C6, 0x012E, 0x010C, 0x00C9,
    0x0118, 0x00CB, 0x0116, 0x00CD, 0x00CE, 0x00CF, 0x00D0, 0x0145, 0x014C, 0x00D3, 0x00D4, 0x00D5, 0x00D6, 0x0168,
    0x00D8, 0x0172, 0x00DA, 0x00DB, 0x00DC, 0x00DD, 0x00DE, 0x00DF, 0x0101, 0x00E1, 0x00E2, 0x00E3, 0x00E4, 0x00E5,
    0x00E6, 0x012F, 0x010D, 0x00E9, 0x0119, 0x00EB, 0x0117, 0x00ED, 0x00EE, 0x00EF, 0x00F0, 0x0146, 0x014D, 0x00F3,
    0x00F4, 0x00F5, 0x00F6, 0x0169, 0x00F8, 0x0173, 0x00FA, 0x00FB, 0x00FC, 0x00FD, 0x00FE, 0x0138};

// 0x80 to 0xFF of the Nordic DOS code page 865 ("DOSN8").
const uint16_t Dos865High[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE,
    0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, 0x00FF, 0x00D6,
    0x00DC, 0x00F8, 0x00A3, 0x00D8, 0x20A7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA,
    0x00BA, 0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00A4, 0x2591, 0x2592, 0x2593, 0x2502,
    0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510, 0x2514,
    0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550,
    0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C,
    0x2588, 0x2584, 0x258C, 0x2590, 0x2580, 0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4,
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229, 0x2261, 0x00B1, 0x2265, 0x2264, 0x2320,
    0x2321, 0x00F7, 0x2248, 0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0};

// The header is short; a declaration further on than this is no header's.
constexpr uint32_t HeaderScanBytes = 1u << 20;

std::string Upper(const uint8_t* p, size_t n) {
    std::string s(reinterpret_cast<const char*>(p), n);
    for (char& c : s) c = char(std::toupper(uint8_t(c)));
    return s;
}

// The 256 characters of a single-byte set.
void SingleByteTable(SOSICharset set, GS::UniChar table[256]) {
    for (int b = 0; b < 256; ++b)
        table[b] = b < 0x80 ? GS::UniChar(b) : QV_String::WideFromAnsiChar(char(b), Encoding_System);
    switch (set) {
        case SOSICharset::ISO8859_1:
            for (int b = 0x80; b < 256; ++b) table[b] = GS::UniChar(b);
            break;
        case SOSICharset::ISO8859_10:
            for (int b = 0x80; b < 0xA0; ++b) table[b] = GS::UniChar(b);
            for (int b = 0xA0; b < 256; ++b) table[b] = GS::UniChar(Latin6High[b - 0xA0]);
            break;
        case SOSICharset::DOSN8:
            for (int b = 0x80; b < 256; ++b) table[b] = GS::UniChar(Dos865High[b - 0x80]);
            break;
        case SOSICharset::ND7: {
            // The Norwegian 7-bit set: the brackets, bar and backslash are the Norwegian letters.
            const char* from = "[\\]{|}";
            const char16_t to[] = u"\u00C6\u00D8\u00C5\u00E6\u00F8\u00E5";
            for (int k = 0; k < 6; ++k) table[uint8_t(from[k])] = to[k];
            break;
        }
        default: break;
    }
}

// Walks UTF-8, handing each UTF-16 unit to `put`. A byte that starts no well-formed sequence stands for itself
// in the system code page: one stray byte of another set costs one letter, not the file.
template <typename Put>
void WalkUtf8(const uint8_t* p, uint32_t n, const GS::UniChar (&fallback)[256], Put put) {
    uint32_t i = 0;
    while (i < n) {
        const uint8_t c = p[i];
        if (c < 0x80) {
            put(GS::UniChar(c));
            ++i;
            continue;
        }
        uint32_t need = 0, cp = 0, min = 0;
        if ((c & 0xE0) == 0xC0)
            need = 1, cp = c & 0x1F, min = 0x80;
        else if ((c & 0xF0) == 0xE0)
            need = 2, cp = c & 0x0F, min = 0x800;
        else if ((c & 0xF8) == 0xF0)
            need = 3, cp = c & 0x07, min = 0x10000;
        bool ok = need > 0;
        for (uint32_t k = 1; ok && k <= need; ++k) {
            if (i + k >= n || (p[i + k] & 0xC0) != 0x80)
                ok = false;
            else
                cp = (cp << 6) | (p[i + k] & 0x3F);
        }
        if (!ok || cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            put(fallback[c]);
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            put(GS::UniChar(0xD800 + (cp >> 10)));
            put(GS::UniChar(0xDC00 + (cp & 0x3FF)));
        } else {
            put(GS::UniChar(cp));
        }
        i += need + 1;
    }
}

// UTF-8 from `from` on: in place into single bytes when every character allows, else into `wide`.
void DecodeUtf8(std::vector<uint8_t>& bytes, uint32_t from, std::vector<GS::UniChar>& wide, bool& narrow) {
    GS::UniChar fallback[256];
    SingleByteTable(SOSICharset::ANSI, fallback);
    const uint8_t* p = bytes.data() + from;
    const uint32_t n = uint32_t(bytes.size()) - from;
    bool small = true;
    WalkUtf8(p, n, fallback, [&](GS::UniChar u) { small = small && u < 0x100; });
    narrow = small;
    if (small) {
        // Never longer than its bytes: written behind the reading.
        size_t to = 0;
        WalkUtf8(p, n, fallback, [&](GS::UniChar u) { bytes[to++] = uint8_t(u); });
        bytes.resize(to);
        return;
    }
    wide.clear();
    wide.reserve(n);
    WalkUtf8(p, n, fallback, [&](GS::UniChar u) { wide.push_back(u); });
    std::vector<uint8_t>().swap(bytes);
}

// A single-byte set from `from` on, likewise.
void DecodeSingleByte(std::vector<uint8_t>& bytes, uint32_t from, SOSICharset set, std::vector<GS::UniChar>& wide,
                      bool& narrow) {
    GS::UniChar table[256];
    SingleByteTable(set, table);
    bool small = true;
    for (size_t i = from; i < bytes.size() && small; ++i) small = table[bytes[i]] < 0x100;
    narrow = small;
    if (small) {
        for (size_t i = from; i < bytes.size(); ++i) bytes[i - from] = uint8_t(table[bytes[i]]);
        bytes.resize(bytes.size() - from);
        return;
    }
    wide.resize(bytes.size() - from);
    for (size_t i = from; i < bytes.size(); ++i) wide[i - from] = table[bytes[i]];
    std::vector<uint8_t>().swap(bytes);
}

}  // namespace

SOSICharset DeclaredSOSICharset(const uint8_t* bytes, uint32_t count) {
    const uint32_t n = count < HeaderScanBytes ? count : HeaderScanBytes;
    uint32_t i = 0;
    while (i < n) {
        uint32_t start = i;
        while (i < n && bytes[i] != '\n' && bytes[i] != '\r') ++i;
        uint32_t end = i;
        while (i < n && (bytes[i] == '\n' || bytes[i] == '\r')) ++i;
        while (start < end && (bytes[start] == ' ' || bytes[start] == '\t')) ++start;
        const uint8_t* line = bytes + start;
        const uint32_t len = end - start;
        // The first object ends the header.
        if (len >= 2 && line[0] == '.' && line[1] != '.' && !(len >= 5 && std::memcmp(line, ".HODE", 5) == 0))
            return SOSICharset::None;
        if (len < 10 || std::memcmp(line, "..TEGNSETT", 10) != 0) continue;
        uint32_t a = 10;
        while (a < len && (line[a] == ' ' || line[a] == '\t')) ++a;
        uint32_t b = a;
        while (b < len && line[b] != ' ' && line[b] != '\t' && line[b] != '!') ++b;
        const std::string name = Upper(line + a, b - a);
        if (name == "UTF-8" || name == "UTF8") return SOSICharset::UTF8;
        if (name == "ISO8859-1" || name == "ISO-8859-1") return SOSICharset::ISO8859_1;
        if (name == "ISO8859-10" || name == "ISO-8859-10") return SOSICharset::ISO8859_10;
        if (name == "ANSI") return SOSICharset::ANSI;
        if (name == "DOSN8") return SOSICharset::DOSN8;
        if (name == "ND7" || name == "DECN7") return SOSICharset::ND7;
        return SOSICharset::None;
    }
    return SOSICharset::None;
}

SOSIDecoding DecodeSOSIBytes(std::vector<uint8_t>& bytes, std::vector<GS::UniChar>& wide, bool& narrow,
                             int32_t& encoding) {
    wide.clear();
    narrow = true;
    encoding = Encoding_System;
    const uint32_t count = uint32_t(bytes.size());
    if (count == 0) return SOSIDecoding::Done;
    int32_t bomEncoding = 0;
    const uint32_t bom = DetectBom(bytes.data(), count, bomEncoding);
    const uint8_t* body = bytes.data() + bom;
    const uint32_t n = count - bom;
    if (bom > 0 && bomEncoding == Encoding_UTF8) {
        encoding = Encoding_UTF8;
        DecodeUtf8(bytes, bom, wide, narrow);
        return SOSIDecoding::Done;
    }
    uint32_t nuls = 0;
    for (uint32_t i = 0; i < n; ++i) nuls += body[i] == 0 ? 1 : 0;
    if ((bom > 0 && bomEncoding >= Encoding_System) || uint64_t(nuls) * 4 >= n) {
        // UTF-16 or UTF-32, by their mark or found from the content.
        narrow = false;
        QV_String text;
        if (bom > 0 && bomEncoding >= Encoding_System) {
            encoding = bomEncoding;
            if (n > 0 && !text.SetBytes(body, n, bomEncoding)) return SOSIDecoding::Failed;
        } else {
            encoding = text.SetDetectEncoding(body, n, true, Encoding_System);
            if (encoding == 0) encoding = Encoding_System;
        }
        std::vector<uint8_t>().swap(bytes);
        if (text.GetBuffer() != nullptr) wide.assign(text.GetBuffer(), text.GetBuffer() + text.GetLength());
        return SOSIDecoding::Done;
    }
    // Too many NULs for a stray one in 8-bit text, too few for wide text.
    if (uint64_t(nuls) * 100 > n) return SOSIDecoding::NotText;
    const SOSICharset declared = IsValidUtf8(body, n, false) ? SOSICharset::UTF8 : DeclaredSOSICharset(body, n);
    if (declared == SOSICharset::UTF8) {
        encoding = Encoding_UTF8;
        DecodeUtf8(bytes, bom, wide, narrow);
        return SOSIDecoding::Done;
    }
    if (declared == SOSICharset::ISO8859_1) encoding = Encoding_ISO8859_1;
    DecodeSingleByte(bytes, bom, declared, wide, narrow);
    return SOSIDecoding::Done;
}
