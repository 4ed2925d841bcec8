#include "UniString.hpp"

#include <ostream>

namespace GS {

namespace {

constexpr char16_t Replacement = 0xFFFD;

void AppendCodePoint(std::u16string& out, uint32_t cp) {
    if (cp < 0x10000) {
        out.push_back(static_cast<char16_t>(cp));
    } else {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    }
}

// Decodes one UTF-8 sequence at bytes[i]; answers its length, 0 when malformed.
uint32_t DecodeOne(const unsigned char* bytes, uint32_t count, uint32_t i, uint32_t* cp) {
    const unsigned char b0 = bytes[i];
    if (b0 < 0x80) {
        *cp = b0;
        return 1;
    }
    uint32_t length;
    uint32_t value;
    uint32_t minimum;
    if ((b0 & 0xE0) == 0xC0) {
        length = 2, value = b0 & 0x1F, minimum = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        length = 3, value = b0 & 0x0F, minimum = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        length = 4, value = b0 & 0x07, minimum = 0x10000;
    } else {
        return 0;
    }
    if (count - i < length) return 0;
    for (uint32_t k = 1; k < length; ++k) {
        const unsigned char b = bytes[i + k];
        if ((b & 0xC0) != 0x80) return 0;
        value = (value << 6) | (b & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
    *cp = value;
    return length;
}

std::u16string DecodeLenient(const char* text, size_t size) {
    std::u16string out;
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    const uint32_t count = static_cast<uint32_t>(size);
    for (uint32_t i = 0; i < count;) {
        uint32_t cp = 0;
        const uint32_t used = DecodeOne(bytes, count, i, &cp);
        if (used == 0) {
            out.push_back(Replacement);
            ++i;
        } else {
            AppendCodePoint(out, cp);
            i += used;
        }
    }
    return out;
}

}  // namespace

UniString::UniString(const char16_t* units, uint32_t length) {
    if (units != nullptr) units_.assign(units, length);
}

UniString::UniString(const char16_t* nulTerminated) {
    if (nulTerminated != nullptr) units_ = nulTerminated;
}

UniString::UniString(const char* utf8) {
    if (utf8 != nullptr) units_ = DecodeLenient(utf8, std::char_traits<char>::length(utf8));
}

UniString::UniString(const std::string& utf8) : units_(DecodeLenient(utf8.data(), utf8.size())) {}

UniString::UniString(const std::u16string& units) : units_(units) {}

bool UniString::DecodeUtf8(const char* bytes, uint32_t byteCount, UniString* out) {
    if (bytes == nullptr && byteCount != 0) return false;
    std::u16string result;
    const auto* b = reinterpret_cast<const unsigned char*>(bytes);
    for (uint32_t i = 0; i < byteCount;) {
        uint32_t cp = 0;
        const uint32_t used = DecodeOne(b, byteCount, i, &cp);
        if (used == 0) return false;
        AppendCodePoint(result, cp);
        i += used;
    }
    if (out != nullptr) out->units_ = std::move(result);
    return true;
}

char16_t UniString::operator[](uint32_t index) const {
    if (index >= GetLength())
        throw OutOfRangeException("GS::UniString index " + std::to_string(index) + " out of range (length " +
                                  std::to_string(GetLength()) + ")");
    return units_[index];
}

void UniString::SetAt(uint32_t index, char16_t unit) {
    (void)(*this)[index];
    units_[index] = unit;
}

std::string UniString::ToUtf8() const {
    std::string out;
    out.reserve(units_.size());
    for (size_t i = 0; i < units_.size(); ++i) {
        uint32_t cp = units_[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < units_.size() && units_[i + 1] >= 0xDC00 &&
            units_[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (units_[i + 1] - 0xDC00);
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
    return out;
}

UniString& UniString::Append(const UniString& other) {
    units_ += other.units_;
    return *this;
}

UniString& UniString::Append(const char16_t* units, uint32_t length) {
    if (units != nullptr) units_.append(units, length);
    return *this;
}

UniString& UniString::Append(char16_t unit) {
    units_.push_back(unit);
    return *this;
}

int32_t UniString::Compare(const UniString& other) const {
    const int c = units_.compare(other.units_);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

UniString operator+(const UniString& a, const UniString& b) {
    UniString result(a);
    result.Append(b);
    return result;
}

std::ostream& operator<<(std::ostream& os, const UniString& s) { return os << '"' << s.ToUtf8() << '"'; }

}  // namespace GS
