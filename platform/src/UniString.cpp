#include "UniString.hpp"
#include "Utf8Codec.hpp"

#include <ostream>

namespace GS {

namespace {
// Malformed input never fails a string: it becomes U+FFFD.
std::u16string Decode(const char* text, size_t size) {
    std::u16string out;
    bool malformed = false;
    HostUtf8::DecodeUtf8(reinterpret_cast<const unsigned char*>(text), size, out, malformed);
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
    if (utf8 != nullptr) units_ = Decode(utf8, std::char_traits<char>::length(utf8));
}

UniString::UniString(const std::string& utf8) : units_(Decode(utf8.data(), utf8.size())) {}

UniString::UniString(const std::u16string& units) : units_(units) {}

bool UniString::DecodeUtf8(const char* bytes, uint32_t byteCount, UniString* out) {
    if (bytes == nullptr && byteCount != 0) return false;
    std::u16string result;
    bool malformed = false;
    HostUtf8::DecodeUtf8(reinterpret_cast<const unsigned char*>(bytes), byteCount, result, malformed);
    if (malformed) return false;
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
    HostUtf8::EncodeUtf8(units_.data(), units_.size(), out);
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
