#pragma once
// Records of the host's picture conversions (Goodies family): 'CPIC' converts between the host's picture storage
// formats, 'CMPI' between pictures named by their MIME type.
#include "GSRoot.hpp"

#include <cstdint>
#include <type_traits>

// Storage formats of 'CPIC' (four-character codes, first character in the high byte).
constexpr uint32_t APIPictFormatCode(const char (&code)[5]) {
    return uint32_t(uint8_t(code[0])) << 24 | uint32_t(uint8_t(code[1])) << 16 | uint32_t(uint8_t(code[2])) << 8 |
        uint32_t(uint8_t(code[3]));
}
// A bitmap is a whole BMP file: file header, information header, colour table, pixels.
constexpr uint32_t APIPictFormat_Bitmap = APIPictFormatCode("BMP ");
constexpr uint32_t APIPictFormat_GIF = APIPictFormatCode("GIFF");
constexpr uint32_t APIPictFormat_TIFF = APIPictFormatCode("TIFF");
constexpr uint32_t APIPictFormat_JPEG = APIPictFormatCode("JPEG");
constexpr uint32_t APIPictFormat_PICT = APIPictFormatCode("PICT");

// One picture. As a conversion's target: the caller sets storageFormat, the host answers a new handle that the
// caller kills.
struct API_PictureHandle {
    uint32_t storageFormat;
    uint32_t reserved;
    GSHandle pictHdl;
};
static_assert(std::is_trivially_copyable<API_PictureHandle>::value, "API_PictureHandle is a plain record");

// A picture named by its MIME type ("image/png", "image/x-bmp" ...), NUL-ended.
struct API_MimePicture {
    char mimeType[64];
    GSHandle data;
};
static_assert(std::is_trivially_copyable<API_MimePicture>::value, "API_MimePicture is a plain record");
