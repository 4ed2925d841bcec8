#include "GSGuid.hpp"

#include "RuntimeDriver.hpp"

#include <cstdio>
#include <cstring>
#include <random>

namespace GS {

namespace {

// Byte i of the text form (0..15): data1 and the 16-bit fields big-endian as written, then data4.
uint8_t TextByte(const Guid& g, int i) {
    if (i < 4) return static_cast<uint8_t>(g.data1 >> (8 * (3 - i)));
    if (i < 6) return static_cast<uint8_t>(g.data2 >> (8 * (5 - i)));
    if (i < 8) return static_cast<uint8_t>(g.data3 >> (8 * (7 - i)));
    return g.data4[i - 8];
}

void SetTextByte(Guid& g, int i, uint8_t b) {
    if (i < 4) {
        const int shift = 8 * (3 - i);
        g.data1 = (g.data1 & ~(0xFFu << shift)) | (static_cast<uint32_t>(b) << shift);
    } else if (i < 6) {
        const int shift = 8 * (5 - i);
        g.data2 = static_cast<uint16_t>((g.data2 & ~(0xFFu << shift)) | (static_cast<uint32_t>(b) << shift));
    } else if (i < 8) {
        const int shift = 8 * (7 - i);
        g.data3 = static_cast<uint16_t>((g.data3 & ~(0xFFu << shift)) | (static_cast<uint32_t>(b) << shift));
    } else {
        g.data4[i - 8] = b;
    }
}

bool IsDashPosition(size_t pos) { return pos == 8 || pos == 13 || pos == 18 || pos == 23; }

int HexValue(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

std::mt19937_64& Generator() {
    static std::mt19937_64 generator = [] {
        std::random_device device;
        std::seed_seq seed{device(), device(), device(), device()};
        return std::mt19937_64(seed);
    }();
    return generator;
}

}  // namespace

Guid Guid::Generate() {
    Guid g;
    do {
        const uint64_t a = Generator()();
        const uint64_t b = Generator()();
        for (int i = 0; i < 16; ++i) SetTextByte(g, i, static_cast<uint8_t>((i < 8 ? a : b) >> (8 * (i % 8))));
        SetTextByte(g, 6, static_cast<uint8_t>((TextByte(g, 6) & 0x0F) | 0x40));  // version 4
        SetTextByte(g, 8, static_cast<uint8_t>((TextByte(g, 8) & 0x3F) | 0x80));  // variant 1
    } while (g.IsNull());
    return g;
}

bool Guid::IsNull() const {
    for (int i = 0; i < 16; ++i)
        if (TextByte(*this, i) != 0) return false;
    return true;
}

GSErrCode Guid::ConvertToString(char* buffer, size_t bufferSize) const {
    if (buffer == nullptr || bufferSize < TextLength + 1) return ErrBufferTooSmall;
    static const char digits[] = "0123456789ABCDEF";
    size_t pos = 0;
    for (int i = 0; i < 16; ++i) {
        if (IsDashPosition(pos)) buffer[pos++] = '-';
        const uint8_t b = TextByte(*this, i);
        buffer[pos++] = digits[b >> 4];
        buffer[pos++] = digits[b & 0x0F];
    }
    buffer[pos] = '\0';
    return 0;
}

GSErrCode Guid::ConvertToString(UniString* text) const {
    if (text == nullptr) return ErrBufferTooSmall;
    char buffer[TextLength + 1];
    const GSErrCode err = ConvertToString(buffer, sizeof buffer);
    if (err == 0) *text = UniString(buffer);
    return err;
}

UniString Guid::ToUniString() const {
    UniString text;
    ConvertToString(&text);
    return text;
}

GSErrCode Guid::ConvertFromString(const UniString& text) {
    if (text.GetLength() != TextLength) return ErrBadText;
    Guid result;
    size_t pos = 0;
    for (int i = 0; i < 16; ++i) {
        if (IsDashPosition(pos)) {
            if (text[static_cast<uint32_t>(pos)] != u'-') return ErrBadText;
            ++pos;
        }
        const int hi = HexValue(text[static_cast<uint32_t>(pos)]);
        const int lo = HexValue(text[static_cast<uint32_t>(pos + 1)]);
        if (hi < 0 || lo < 0) return ErrBadText;
        SetTextByte(result, i, static_cast<uint8_t>(hi * 16 + lo));
        pos += 2;
    }
    *this = result;
    return 0;
}

GSErrCode Guid::ConvertFromString(const char* text) {
    if (text == nullptr) return ErrBadText;
    return ConvertFromString(UniString(text));
}

bool Guid::operator==(const Guid& other) const {
    return data1 == other.data1 && data2 == other.data2 && data3 == other.data3 &&
        std::memcmp(data4, other.data4, sizeof data4) == 0;
}

bool Guid::operator<(const Guid& other) const {
    for (int i = 0; i < 16; ++i) {
        const uint8_t a = TextByte(*this, i);
        const uint8_t b = TextByte(other, i);
        if (a != b) return a < b;
    }
    return false;
}

}  // namespace GS

namespace RuntimeDriver {

void SeedGuids(uint64_t seed) {
    std::seed_seq sequence{uint32_t(seed), uint32_t(seed >> 32)};
    GS::Generator().seed(sequence);
}

}  // namespace RuntimeDriver
