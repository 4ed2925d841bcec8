// GS::Guid: a 16-byte globally unique identifier in the host's layout (32-bit, two 16-bit fields, 8 bytes),
// so a memcpy to or from the host's API_Guid keeps the value and its text form.
#pragma once

#include "UniString.hpp"

#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace GS {

class Guid {
public:
    // Answer of ConvertFromString for a text that is not "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX".
    static constexpr GSErrCode ErrBadText = static_cast<GSErrCode>(0x81000302u);
    // Answer of ConvertToString(char*, ...) for a buffer shorter than 37 bytes.
    static constexpr GSErrCode ErrBufferTooSmall = static_cast<GSErrCode>(0x81000303u);
    static constexpr uint32_t TextLength = 36;

    Guid() = default;  // the null GUID

    // A new random GUID (version 4).
    static Guid Generate();

    bool IsNull() const;
    void Clear() { *this = Guid(); }

    // Upper-case text "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX".
    UniString ToUniString() const;
    GSErrCode ConvertToString(UniString* text) const;
    // Writes the 36 characters and a NUL into `buffer` (at least 37 bytes).
    GSErrCode ConvertToString(char* buffer, size_t bufferSize) const;
    // Accepts upper or lower case hex digits; the GUID is unchanged on error.
    GSErrCode ConvertFromString(const UniString& text);
    GSErrCode ConvertFromString(const char* text);

    bool operator==(const Guid& other) const;
    bool operator!=(const Guid& other) const { return !(*this == other); }
    bool operator<(const Guid& other) const;

    uint32_t data1 = 0;
    uint16_t data2 = 0;
    uint16_t data3 = 0;
    uint8_t data4[8] = {0, 0, 0, 0, 0, 0, 0, 0};
};

static_assert(sizeof(Guid) == 16, "GS::Guid is 16 bytes");
static_assert(std::is_trivially_copyable<Guid>::value, "GS::Guid is copied as bytes");

}  // namespace GS
