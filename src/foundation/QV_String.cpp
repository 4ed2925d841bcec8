#include "foundation/QV_String.hpp"

#include "Win32.hpp"

#include <algorithm>
#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <limits>
#include <vector>

namespace {

constexpr uint32_t kMaxUnits = 0x3FFFFFFF;  // keeps unit and byte counts inside 32 bits
constexpr uint32_t kMaxFormatField = 400;   // width and precision cap of the number formatters
constexpr double kNoNumber = DBL_MAX;       // 1.7976931348623157e308: "no number"

bool IsDigit(uint32_t c) { return c >= '0' && c <= '9'; }

GS::UniChar Identity(GS::UniChar u) { return u; }
GS::UniChar Lower(GS::UniChar u) { return CharLowerW(u); }

// Number test over any NUL-terminated run of units (bytes or UTF-16).
template <typename Unit>
int32_t ClassifyUnits(const Unit* p) {
    if (p == nullptr) return 0;
    while (*p == ' ') ++p;
    if (*p == '+' || *p == '-') ++p;
    while (*p == ' ') ++p;
    if (*p == 0) return 0;
    bool separator = false;
    for (; *p != 0; ++p) {
        if (IsDigit(static_cast<uint32_t>(*p))) continue;
        if ((*p == '.' || *p == ',') && !separator && IsDigit(static_cast<uint32_t>(p[1]))) {
            separator = true;
            continue;
        }
        return 0;
    }
    return separator ? 2 : 1;
}

}  // namespace

// ---------------------------------------------------------------------------------------------------------
// storage helpers

bool QV_String::AllocateExactly(uint32_t units, GS::UniChar*& block) const {
    block = nullptr;
    if (units == 0 || units > kMaxUnits) return false;
    block = static_cast<GS::UniChar*>(GS::MemoryManager::Allocate(GSSize(units) * GSSize(sizeof(GS::UniChar))));
    return block != nullptr;
}

void QV_String::Adopt(GS::UniChar* block, uint32_t newLength, uint32_t newCapacity) {
    if (block != buffer) GS::MemoryManager::Free(buffer);
    buffer = block;
    length = newLength;
    capacity = newCapacity;
}

void QV_String::Swap(QV_String& other) noexcept {
    std::swap(buffer, other.buffer);
    std::swap(length, other.length);
    std::swap(capacity, other.capacity);
}

// Builds `out` from `count` units (which may lie inside `out` itself): always with a buffer.
static void SetFromUnits(QV_String& out, const GS::UniChar* units, uint32_t count) {
    QV_String result;
    if (result.Reserve(count + 1, false) && count > 0) result.AppendWide(units, count);
    out.Swap(result);
}

// ---------------------------------------------------------------------------------------------------------
// construction, assignment

QV_String::QV_String(const QV_String& other) {
    if (other.buffer == nullptr) return;
    GS::UniChar* block = nullptr;
    if (!AllocateExactly(other.length + 1, block)) return;
    std::memcpy(block, other.buffer, size_t(other.length) * sizeof(GS::UniChar));
    block[other.length] = 0;
    Adopt(block, other.length, other.length + 1);
}

QV_String::QV_String(QV_String&& other) noexcept { Swap(other); }

QV_String::QV_String(const void* bytes, uint32_t byteCount, int32_t encoding) { SetBytes(bytes, byteCount, encoding); }

QV_String::QV_String(const char* bytes, int32_t encoding) { SetBytes(bytes, 0, encoding); }

QV_String::~QV_String() { Clear(); }

void QV_String::Clear() {
    GS::MemoryManager::Free(buffer);
    InitEmpty();
}

void QV_String::InitEmpty() {
    buffer = nullptr;
    length = 0;
    capacity = 0;
}

QV_String& QV_String::operator=(const QV_String& other) {
    if (this == &other) return *this;
    if (other.buffer == nullptr) {
        Clear();
        return *this;
    }
    if (!Reserve(other.length + 1, false)) return *this;
    std::memmove(buffer, other.buffer, size_t(other.length) * sizeof(GS::UniChar));
    length = other.length;
    buffer[length] = 0;
    return *this;
}

QV_String& QV_String::operator=(QV_String&& other) noexcept {
    if (this != &other) {
        Clear();
        Swap(other);
    }
    return *this;
}

QV_String& QV_String::operator=(const char* bytes) {
    SetBytes(bytes, 0, Encoding_System);
    return *this;
}

bool QV_String::SetBytes(const void* bytes, uint32_t byteCount, int32_t encoding) {
    if (bytes == nullptr) {
        Clear();
        return true;
    }
    const int32_t size = ConvertEncoding(encoding, bytes, byteCount, Encoding_UTF16LE, nullptr, 0, true);
    if (size < 2) return false;
    const uint32_t units = uint32_t(size) / 2;
    if (buffer != nullptr && capacity >= units) {
        // Converted into the buffer in place; a conversion that fails writes nothing.
        const int32_t written =
            ConvertEncoding(encoding, bytes, byteCount, Encoding_UTF16LE, buffer, capacity * 2, true);
        if (written < 2) return false;
        length = uint32_t(written) / 2 - 1;
        buffer[length] = 0;
        return true;
    }
    GS::UniChar* block = nullptr;
    if (!AllocateExactly(units, block)) return false;
    const int32_t written = ConvertEncoding(encoding, bytes, byteCount, Encoding_UTF16LE, block, units * 2, true);
    if (written < 2) {
        GS::MemoryManager::Free(block);
        return false;
    }
    Adopt(block, uint32_t(written) / 2 - 1, units);
    buffer[length] = 0;
    return true;
}

void QV_String::AssignJoin3(const char* a, uint32_t maxA, const char* b, uint32_t maxB, const char* c, uint32_t maxC) {
    Clear();
    const char* parts[3] = {a, b, c};
    const uint32_t limits[3] = {maxA, maxB, maxC};
    for (int k = 0; k < 3; ++k) {
        if (parts[k] == nullptr) continue;
        const uint32_t textLength = uint32_t(std::strlen(parts[k]));
        const uint32_t take = limits[k] == 0 || limits[k] > textLength ? textLength : limits[k];
        if (take == 0)
            AppendBytes("", 0, Encoding_System);  // an empty part still gives the string a buffer
        else
            AppendBytes(parts[k], take, Encoding_System);
    }
}

int32_t QV_String::SetDetectEncoding(const void* bytes, uint32_t byteCount, bool analyse, int32_t defaultEncoding) {
    const auto* b = static_cast<const unsigned char*>(bytes);
    if (b == nullptr) byteCount = 0;
    auto decode = [this](const unsigned char* p, uint32_t n, int32_t encoding) {
        if (n == 0)
            SetBytes("", 0, Encoding_System);  // an empty text, with a buffer
        else
            SetBytes(p, n, std::max<int32_t>(encoding, Encoding_System));
    };

    int32_t bom = 0;
    const uint32_t markLength = DetectBom(b, byteCount, bom);
    if (markLength > 0) {
        decode(b + markLength, byteCount - markLength, bom);
        return bom;
    }
    if (!analyse) {
        decode(b, byteCount, defaultEncoding);
        return defaultEncoding;
    }

    int32_t found = 0;
    if (byteCount % 4 == 0) {
        bool littleEndian = true;
        bool bigEndian = true;
        for (uint32_t i = 0; i < byteCount; i += 4) {
            const uint32_t unit =
                uint32_t(b[i]) | uint32_t(b[i + 1]) << 8 | uint32_t(b[i + 2]) << 16 | uint32_t(b[i + 3]) << 24;
            if (unit >= 0x110000) littleEndian = false;
            if (b[i] != 0 || b[i + 1] > 0x10) bigEndian = false;
        }
        if (littleEndian)
            found = Encoding_UTF32LE;
        else if (bigEndian)
            found = Encoding_UTF32BE;
    }
    if (found == 0 && byteCount > 0) {
        uint32_t evenZeros = 0;
        uint32_t oddZeros = 0;
        for (uint32_t i = 0; i < byteCount; ++i)
            if (b[i] == 0) (i % 2 == 0 ? evenZeros : oddZeros)++;
        const double even = 2.0 * evenZeros / byteCount;
        const double odd = 2.0 * oddZeros / byteCount;
        if (even < 0.2 && odd > 0.6)
            found = Encoding_UTF16LE;
        else if (odd < 0.2 && even > 0.6)
            found = Encoding_UTF16BE;
    }
    if (found == 0 && IsValidUtf8(b != nullptr ? b : reinterpret_cast<const unsigned char*>(""), byteCount, false))
        found = Encoding_UTF8;
    decode(b, byteCount, found);
    return found;
}

// ---------------------------------------------------------------------------------------------------------
// concatenation and storage

QV_String operator+(const QV_String& a, const QV_String& b) {
    QV_String result;
    if (a.buffer == nullptr && b.buffer == nullptr) return result;
    if (uint64_t(a.length) + b.length + 1 > kMaxUnits) return result;
    if (!result.Reserve(a.length + b.length + 1, false)) return result;
    result.AppendWide(a.buffer, a.length);
    result.AppendWide(b.buffer, b.length);
    return result;
}

QV_String operator+(const char* a, const QV_String& b) { return QV_String(a) + b; }

QV_String operator+(const QV_String& a, const char* b) { return a + QV_String(b); }

QV_String& QV_String::operator+=(const QV_String& other) {
    AppendWide(other.buffer, other.length);
    return *this;
}

QV_String& QV_String::operator+=(const char* bytes) {
    AppendBytes(bytes, 0, Encoding_System);
    return *this;
}

bool QV_String::AppendBytes(const void* bytes, uint32_t byteCount, int32_t encoding) {
    if (bytes == nullptr) return true;
    const int32_t size = ConvertEncoding(encoding, bytes, byteCount, Encoding_UTF16LE, nullptr, 0, true);
    if (size < 2) return false;
    const uint32_t units = uint32_t(size) / 2;  // terminator included
    if (uint64_t(length) + units > kMaxUnits) return false;
    const uint32_t needed = length + units;
    if (buffer != nullptr && capacity >= needed) {
        const int32_t written = ConvertEncoding(encoding, bytes, byteCount, Encoding_UTF16LE, buffer + length,
                                                (capacity - length) * 2, true);
        if (written < 2) return false;
        length += uint32_t(written) / 2 - 1;
        buffer[length] = 0;
        return true;
    }
    // A new block: the old text stays valid (and `bytes` may point into it) until the conversion is done.
    GS::UniChar* block = nullptr;
    if (!AllocateExactly(needed, block)) return false;
    if (length > 0) std::memcpy(block, buffer, size_t(length) * sizeof(GS::UniChar));
    const int32_t written =
        ConvertEncoding(encoding, bytes, byteCount, Encoding_UTF16LE, block + length, units * 2, true);
    if (written < 2) {
        GS::MemoryManager::Free(block);
        return false;
    }
    Adopt(block, length + uint32_t(written) / 2 - 1, needed);
    buffer[length] = 0;
    return true;
}

bool QV_String::AppendWide(const GS::UniChar* units, uint32_t count) {
    if (units == nullptr || count == 0) return true;
    if (uint64_t(length) + count + 1 > kMaxUnits) return false;
    const uint32_t needed = length + count + 1;
    if (buffer == nullptr || capacity < needed) {
        GS::UniChar* block = nullptr;
        if (!AllocateExactly(needed, block)) {
            Clear();  // no dangling buffer: the string ends empty without buffer
            return false;
        }
        if (length > 0) std::memcpy(block, buffer, size_t(length) * sizeof(GS::UniChar));
        // `units` may lie in the old buffer, which is freed only after the copy.
        std::memcpy(block + length, units, size_t(count) * sizeof(GS::UniChar));
        Adopt(block, length + count, needed);
    } else {
        std::memmove(buffer + length, units, size_t(count) * sizeof(GS::UniChar));
        length += count;
    }
    buffer[length] = 0;
    return true;
}

// The capacity holds the terminator, so a larger `n` keeps the whole text.
bool QV_String::Reserve(uint32_t n, bool keep) { return capacity >= n || Resize(n, keep); }

bool QV_String::Resize(uint32_t n, bool keep) {
    if (n == 0) n = 1;
    GS::UniChar* block = nullptr;
    if (!AllocateExactly(n, block)) {
        Clear();
        return false;
    }
    uint32_t kept = 0;
    if (keep && buffer != nullptr) {
        kept = std::min(length, n - 1);
        std::memcpy(block, buffer, size_t(kept) * sizeof(GS::UniChar));
    }
    block[kept] = 0;
    Adopt(block, kept, n);
    return true;
}

// ---------------------------------------------------------------------------------------------------------
// access

GS::UniChar QV_String::GetAt(uint32_t i) const { return buffer != nullptr && i < length ? buffer[i] : 0; }

char QV_String::GetCharAnsi(uint32_t i) const {
    if (buffer == nullptr || i >= length) return 0;
    char bytes[8] = {};
    const GS::UniChar unit = buffer[i];
    if (ConvertEncoding(Encoding_UTF16LE, &unit, 2, Encoding_System, bytes, sizeof bytes, false) < 1) return 0;
    return bytes[0];
}

void QV_String::SetAt(uint32_t i, char byteChar) {
    if (buffer == nullptr || i >= length) return;
    buffer[i] = WideFromAnsiChar(byteChar, Encoding_System);
}

GS::UniChar QV_String::WideFromAnsiChar(char byteChar, int32_t encoding) {
    GS::UniChar units[4] = {};
    if (ConvertEncoding(encoding, &byteChar, 1, Encoding_UTF16LE, units, sizeof units, false) != 2) return 0;
    return units[0];
}

// ---------------------------------------------------------------------------------------------------------
// comparison

namespace {

// Unit-by-unit comparison that stops at a difference, at the terminators or after `maxCount` units.
int32_t CompareRuns(const GS::UniChar* a, const GS::UniChar* b, uint32_t maxCount, GS::UniChar (*map)(GS::UniChar)) {
    for (uint32_t k = 0; maxCount == 0 || k < maxCount; ++k) {
        const GS::UniChar ua = map(a[k]);
        const GS::UniChar ub = map(b[k]);
        if (ua != ub) return ua < ub ? -1 : 1;
        if (ua == 0) return 0;
    }
    return 0;
}

}  // namespace

int32_t QV_String::Compare(uint32_t startThis, const QV_String& other, uint32_t startOther, uint32_t maxCount) const {
    if (buffer == nullptr) return other.buffer != nullptr ? -1 : 0;
    if (other.buffer == nullptr) return 1;
    return CompareRuns(buffer + std::min(startThis, length), other.buffer + std::min(startOther, other.length),
                       maxCount, Identity);
}

int32_t QV_String::CompareNoCase(uint32_t startThis, const QV_String& other, uint32_t startOther,
                                 uint32_t maxCount) const {
    if (buffer == nullptr) return other.buffer != nullptr ? -1 : 0;
    if (other.buffer == nullptr) return 1;
    return CompareRuns(buffer + std::min(startThis, length), other.buffer + std::min(startOther, other.length),
                       maxCount, Lower);
}

bool QV_String::operator<(const QV_String& other) const {
    if (buffer == nullptr) return other.buffer != nullptr;
    if (other.buffer == nullptr) return false;
    return Compare(other) < 0;
}

bool QV_String::StartsWithAt(const QV_String& other, uint32_t index) const {
    if (buffer == nullptr || other.buffer == nullptr || other.length == 0) return false;
    if (index != 0 && index >= length) return false;
    if (uint64_t(index) + other.length > length) return false;
    return std::memcmp(buffer + index, other.buffer, size_t(other.length) * sizeof(GS::UniChar)) == 0;
}

bool QV_String::EndsWith(const QV_String& other) const {
    if (buffer == nullptr || other.buffer == nullptr || other.length == 0 || other.length > length) return false;
    return std::memcmp(buffer + (length - other.length), other.buffer, size_t(other.length) * sizeof(GS::UniChar)) == 0;
}

// ---------------------------------------------------------------------------------------------------------
// search

namespace {

bool MatchAt(const GS::UniChar* text, const GS::UniChar* sub, uint32_t count, GS::UniChar (*map)(GS::UniChar)) {
    for (uint32_t k = 0; k < count; ++k)
        if (map(text[k]) != map(sub[k])) return false;
    return true;
}

}  // namespace

int32_t QV_String::Find(const QV_String& sub, uint32_t start) const {
    if (buffer == nullptr || sub.buffer == nullptr || sub.length == 0 || start >= length || sub.length > length)
        return -1;
    for (uint32_t i = start; i + sub.length <= length; ++i)
        if (MatchAt(buffer + i, sub.buffer, sub.length, Identity)) return int32_t(i);
    return -1;
}

int32_t QV_String::FindNoCase(const QV_String& sub, uint32_t start) const {
    if (buffer == nullptr || sub.buffer == nullptr || sub.length == 0 || start >= length || sub.length > length)
        return -1;
    for (uint32_t i = start; i + sub.length <= length; ++i)
        if (MatchAt(buffer + i, sub.buffer, sub.length, Lower)) return int32_t(i);
    return -1;
}

int32_t QV_String::FindChar(char byteChar, uint32_t start) const {
    const GS::UniChar unit = WideFromAnsiChar(byteChar, Encoding_System);
    if (unit == 0 || buffer == nullptr) return -1;
    for (uint32_t i = start; i < length; ++i)
        if (buffer[i] == unit) return int32_t(i);
    return -1;
}

int32_t QV_String::ReverseFind(const QV_String& sub) const {
    if (buffer == nullptr || sub.buffer == nullptr || sub.length == 0 || sub.length > length) return -1;
    for (uint32_t i = length - sub.length + 1; i-- > 0;)
        if (MatchAt(buffer + i, sub.buffer, sub.length, Identity)) return int32_t(i);
    return -1;
}

int32_t QV_String::ReverseFindChar(char byteChar) const {
    const GS::UniChar unit = WideFromAnsiChar(byteChar, Encoding_System);
    if (unit == 0 || buffer == nullptr) return -1;
    for (uint32_t i = length; i-- > 0;)
        if (buffer[i] == unit) return int32_t(i);
    return -1;
}

// ---------------------------------------------------------------------------------------------------------
// slicing and copies

void QV_String::SubString(QV_String& out, uint32_t start, uint32_t count) const {
    if (buffer == nullptr) {
        out.Clear();
        return;
    }
    if (start > length) {
        SetFromUnits(out, buffer, 0);
        return;
    }
    SetFromUnits(out, buffer + start, std::min(count, length - start));
}

void QV_String::Mid(QV_String& out, uint32_t start) const {
    if (buffer == nullptr) {
        out.Clear();
        return;
    }
    SubString(out, start, start <= length ? length - start : 0);
}

void QV_String::Right(QV_String& out, uint32_t count, uint32_t endOffset) const {
    if (buffer == nullptr) {
        out.Clear();
        return;
    }
    if (endOffset > length || count > length - endOffset) {
        SetFromUnits(out, buffer, 0);
        return;
    }
    SetFromUnits(out, buffer + (length - endOffset - count), count);
}

void QV_String::Replace(QV_String& out, const QV_String& from, const QV_String& to) const {
    if (buffer == nullptr || from.buffer == nullptr || to.buffer == nullptr) {
        out.Clear();
        return;
    }
    if (from.length == 0) {  // nothing to find: a plain copy (never an endless loop)
        SetFromUnits(out, buffer, length);
        return;
    }
    std::vector<uint32_t> hits;
    for (uint32_t i = 0; i + from.length <= length;) {
        if (MatchAt(buffer + i, from.buffer, from.length, Identity)) {
            hits.push_back(i);
            i += from.length;
        } else {
            ++i;
        }
    }
    const uint64_t total = uint64_t(length) - uint64_t(hits.size()) * from.length + uint64_t(hits.size()) * to.length;
    QV_String result;
    if (total + 1 > kMaxUnits || !result.Reserve(uint32_t(total) + 1, false)) {
        out.Swap(result);
        return;
    }
    uint32_t at = 0;
    for (uint32_t hit : hits) {
        result.AppendWide(buffer + at, hit - at);
        result.AppendWide(to.buffer, to.length);
        at = hit + from.length;
    }
    result.AppendWide(buffer + at, length - at);
    out.Swap(result);
}

void QV_String::ReplaceChar(QV_String& out, char fromChar, char toChar) const {
    if (buffer == nullptr) {
        out.Clear();
        return;
    }
    const GS::UniChar from = WideFromAnsiChar(fromChar, Encoding_System);
    const GS::UniChar to = WideFromAnsiChar(toChar, Encoding_System);
    QV_String result;
    SetFromUnits(result, buffer, length);
    if (from != 0 && result.buffer != nullptr)
        for (uint32_t i = 0; i < result.length; ++i)
            if (result.buffer[i] == from) result.buffer[i] = to;
    out.Swap(result);
}

void QV_String::Trim(QV_String& out, bool left, bool right, bool tabsToo) const {
    if (buffer == nullptr) {
        out.Clear();
        return;
    }
    auto blank = [tabsToo](GS::UniChar u) { return u == u' ' || (tabsToo && u == u'\t'); };
    uint32_t first = 0;
    uint32_t last = length;
    if (left)
        while (first < last && blank(buffer[first])) ++first;
    if (right)
        while (last > first && blank(buffer[last - 1])) --last;
    SetFromUnits(out, buffer + first, last - first);
}

void QV_String::MapUnits(QV_String& out, GS::UniChar (*map)(GS::UniChar)) const {
    if (buffer == nullptr) {
        out.Clear();
        return;
    }
    QV_String result;
    SetFromUnits(result, buffer, length);
    for (uint32_t i = 0; i < result.length; ++i) result.buffer[i] = map(result.buffer[i]);
    out.Swap(result);
}

void QV_String::ToLower(QV_String& out) const {
    MapUnits(out, [](GS::UniChar u) -> GS::UniChar { return CharLowerW(u); });
}

void QV_String::ToUpper(QV_String& out) const {
    MapUnits(out, [](GS::UniChar u) -> GS::UniChar { return CharUpperW(u); });
}

// ---------------------------------------------------------------------------------------------------------
// numbers

bool QV_String::FromFormatted(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (needed < 0) {
        va_end(args);
        return false;
    }
    std::vector<char> text(size_t(needed) + 1);
    std::vsnprintf(text.data(), text.size(), format, args);
    va_end(args);
    // The decimal point is a full stop whatever the C locale says.
    const char* point = std::localeconv()->decimal_point;
    if (point != nullptr && point[0] != 0 && point[0] != '.' && point[1] == 0)
        std::replace(text.begin(), text.end(), point[0], '.');
    return SetBytes(text.data(), 0, Encoding_System);
}

void QV_String::FromLong(const int32_t& value, uint32_t width) {
    char format[32];
    if (width == 0)
        std::snprintf(format, sizeof format, "%%ld");
    else
        std::snprintf(format, sizeof format, "%c%uld", '%', std::min(width, kMaxFormatField));
    FromFormatted(format, static_cast<long>(value));
}

void QV_String::FromDouble(double value, uint32_t width, uint32_t precision) {
    char widthPart[16] = "";
    char precisionPart[16] = "g";
    if (width != 0) std::snprintf(widthPart, sizeof widthPart, "%u", std::min(width, kMaxFormatField));
    if (precision != 0)
        std::snprintf(precisionPart, sizeof precisionPart, ".%uf", std::min(precision, kMaxFormatField));
    char format[40];
    std::snprintf(format, sizeof format, "%c%s%s", '%', widthPart, precisionPart);
    FromFormatted(format, value);
}

void QV_String::FromDoublePrecision(double value, int32_t precision) {
    char format[24] = "%g";
    if (precision >= 0) std::snprintf(format, sizeof format, "%%.%uf", std::min(uint32_t(precision), kMaxFormatField));
    FromFormatted(format, value);
}

double QV_String::ToDouble() const {
    if (buffer == nullptr) return StrToDouble(nullptr);
    return StrToDouble(ToStdString(Encoding_System).c_str());
}

int32_t QV_String::ClassifyNumber() const { return ClassifyUnits(buffer); }

// ---------------------------------------------------------------------------------------------------------
// conversion out

MultiByteBuffer QV_String::ToMultiByte(int32_t encoding) const {
    MultiByteBuffer result;
    result.encoding = encoding;
    static const GS::UniChar kEmpty[1] = {0};
    const GS::UniChar* source = buffer != nullptr ? buffer : kEmpty;
    const uint32_t sourceBytes = length * 2;  // 0 for an empty text: then the terminator ends it
    const int32_t size = ConvertEncoding(Encoding_UTF16LE, source, sourceBytes, encoding, nullptr, 0, true);
    if (size <= 0) return result;
    char* bytes = static_cast<char*>(GS::MemoryManager::Allocate(size));
    if (bytes == nullptr) return result;
    const int32_t written =
        ConvertEncoding(Encoding_UTF16LE, source, sourceBytes, encoding, bytes, uint32_t(size), true);
    if (written <= 0) {
        GS::MemoryManager::Free(bytes);
        return result;
    }
    result.bytes = bytes;
    result.byteCount = uint32_t(written);
    return result;
}

std::string QV_String::ToStdString(int32_t encoding) const {
    if (buffer == nullptr || length == 0) return std::string();
    const int32_t size = ConvertEncoding(Encoding_UTF16LE, buffer, length * 2, encoding, nullptr, 0, false);
    if (size <= 0) return std::string();
    std::string text(size_t(size), '\0');
    const int32_t written =
        ConvertEncoding(Encoding_UTF16LE, buffer, length * 2, encoding, &text[0], uint32_t(size), false);
    if (written <= 0) return std::string();
    text.resize(size_t(written));
    return text;
}

// ---------------------------------------------------------------------------------------------------------
// free routines

double StrToDouble(const char* bytes) {
    if (bytes == nullptr || bytes[0] == 0) return 0.0;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes);
    while (*p != 0 && !IsDigit(*p) && *p != '-' && *p != '.' && *p != ',') ++p;
    if (*p == 0) return kNoNumber;

    double sign = 1.0;
    if (*p == '-') {
        sign = -1.0;
        ++p;
    }
    double value = 0.0;
    while (IsDigit(*p)) value = value * 10.0 + (*p++ - '0');
    if (*p == '.' || *p == ',') {
        ++p;
        if (!IsDigit(*p)) return kNoNumber;  // a separator must be followed by a digit
        double weight = 0.1;
        while (IsDigit(*p)) {
            value += (*p++ - '0') * weight;
            weight /= 10.0;
        }
    }
    if (*p == 'e' && (p[1] == '+' || p[1] == '-')) {
        const bool negative = p[1] == '-';
        p += 2;
        uint32_t exponent = 0;
        for (; IsDigit(*p); ++p)
            if (exponent < 100000) exponent = exponent * 10 + (*p - '0');  // saturates: far beyond any double
        // Scaled one power of ten at a time; the loop ends as soon as the value can no longer change.
        for (uint32_t k = 0; k < exponent && value != 0.0 && std::isfinite(value); ++k)
            value = negative ? value / 10.0 : value * 10.0;
    }
    if (!std::isfinite(value)) value = kNoNumber;  // overflow saturates to the largest double
    return sign * value;
}

int32_t StrToInt(const char* bytes) {
    if (bytes == nullptr || bytes[0] == 0) return 0;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes);
    while (*p != 0 && !IsDigit(*p) && *p != '-') ++p;
    if (*p == 0) return std::numeric_limits<int32_t>::max();
    bool negative = false;
    if (*p == '-') {
        negative = true;
        ++p;
        if (!IsDigit(*p)) return 0;
    }
    constexpr int64_t kLimit = int64_t(std::numeric_limits<int32_t>::max()) + 1;
    int64_t value = 0;
    for (; IsDigit(*p); ++p) value = std::min<int64_t>(value * 10 + (*p - '0'), kLimit);
    if (negative) return int32_t(-value);  // -kLimit is exactly INT32_MIN
    return int32_t(std::min<int64_t>(value, std::numeric_limits<int32_t>::max()));
}

int32_t ClassifyNumberText(const char* bytes) { return ClassifyUnits(reinterpret_cast<const unsigned char*>(bytes)); }

int32_t StrLen(const char* bytes) {
    if (bytes == nullptr) return 0;
    const size_t n = std::strlen(bytes);
    return n > size_t(std::numeric_limits<int32_t>::max()) ? std::numeric_limits<int32_t>::max() : int32_t(n);
}

bool StrEqual(const char* a, const char* b) { return a != nullptr && b != nullptr && std::strcmp(a, b) == 0; }

std::u16string TextUnits(const QV_String& text) {
    return text.GetBuffer() != nullptr ? std::u16string(text.GetBuffer(), text.GetLength()) : std::u16string();
}

QV_String TextOfUnits(const std::u16string& units) {
    QV_String text("");
    text.AppendWide(units.data(), uint32_t(units.size()));
    return text;
}
