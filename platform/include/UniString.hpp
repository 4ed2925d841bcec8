// GS::UniString: the host's Unicode string, UTF-16 code units (char16_t) and a length.
#pragma once

#if __has_include("GSRoot.hpp")
#include "GSRoot.hpp"
#else
#include <cstdint>
using GSErrCode = int32_t;
#endif
#include "GSArray.hpp"

#include <cstdint>
#include <iosfwd>
#include <string>

namespace GS {

class UniString {
public:
    UniString() = default;
    // Copies `length` units; a null pointer gives an empty string.
    UniString(const char16_t* units, uint32_t length);
    // A NUL-terminated UTF-16 text; a null pointer gives an empty string.
    UniString(const char16_t* nulTerminated);
    // A NUL-terminated UTF-8 text; invalid sequences become U+FFFD; a null pointer gives an empty string.
    UniString(const char* utf8);
    explicit UniString(const std::string& utf8);
    explicit UniString(const std::u16string& units);

    // Strict UTF-8 decoding: false (and `out` untouched) on a malformed or overlong sequence or a surrogate.
    static bool DecodeUtf8(const char* bytes, uint32_t byteCount, UniString* out);

    uint32_t GetLength() const { return static_cast<uint32_t>(units_.size()); }
    bool IsEmpty() const { return units_.empty(); }
    // The units, always followed by a NUL unit (not counted in the length).
    const char16_t* ToUStr() const { return units_.c_str(); }
    const std::u16string& ToU16String() const { return units_; }
    // Checked access: throws GS::OutOfRangeException for an index at or past the length.
    char16_t operator[](uint32_t index) const;
    void SetAt(uint32_t index, char16_t unit);

    // UTF-8 form (logs, file system paths); unpaired surrogates become U+FFFD.
    std::string ToUtf8() const;

    UniString& Append(const UniString& other);
    UniString& Append(const char16_t* units, uint32_t length);
    UniString& Append(char16_t unit);
    UniString& operator+=(const UniString& other) { return Append(other); }
    void Clear() { units_.clear(); }

    // Ordinal comparison of code units: negative, 0 or positive.
    int32_t Compare(const UniString& other) const;
    bool operator==(const UniString& other) const { return units_ == other.units_; }
    bool operator!=(const UniString& other) const { return units_ != other.units_; }
    bool operator<(const UniString& other) const { return units_ < other.units_; }

private:
    std::u16string units_;
};

UniString operator+(const UniString& a, const UniString& b);
std::ostream& operator<<(std::ostream& os, const UniString& s);

}  // namespace GS
