#pragma once
// The few GDI services the module draws pictures with: a device-independent bitmap stretched into a rectangle.
//
// A device context of this stand-in is the dialog manager's draw context of a running update message
// (DGUserUpdateData::drawContext, cast with DeviceContextOf). Nothing is rendered: StretchDIBits records the
// bitmap's size, bit count, colour-table entries, the destination rectangle, the stretch mode in force and a
// CRC-32 of the pixel bytes on the item (or list cell) being updated. It reads exactly the bytes the header
// claims: the caller must hand over that many.
#include "DG.hpp"
#include "Win32.hpp"

#include <cstdint>

typedef struct HDC__* HDC;

inline HDC DeviceContextOf(DGDrawContext context) { return reinterpret_cast<HDC>(context); }

#pragma pack(push, 2)
struct BITMAPFILEHEADER {
    uint16_t bfType;  // "BM"
    uint32_t bfSize;
    uint16_t bfReserved1;
    uint16_t bfReserved2;
    uint32_t bfOffBits;
};
#pragma pack(pop)
static_assert(sizeof(BITMAPFILEHEADER) == 14, "BITMAPFILEHEADER is 14 bytes");

struct BITMAPINFOHEADER {
    uint32_t biSize;
    int32_t biWidth;
    int32_t biHeight;  // negative: rows run top down
    uint16_t biPlanes;
    uint16_t biBitCount;
    uint32_t biCompression;
    uint32_t biSizeImage;
    int32_t biXPelsPerMeter;
    int32_t biYPelsPerMeter;
    uint32_t biClrUsed;
    uint32_t biClrImportant;
};
static_assert(sizeof(BITMAPINFOHEADER) == 40, "BITMAPINFOHEADER is 40 bytes");

struct RGBQUAD {
    uint8_t rgbBlue;
    uint8_t rgbGreen;
    uint8_t rgbRed;
    uint8_t rgbReserved;
};

struct BITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
};

constexpr uint32_t BI_RGB = 0;
constexpr uint32_t BI_BITFIELDS = 3;
constexpr UINT DIB_RGB_COLORS = 0;
constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr int32_t COLORONCOLOR = 3;

// The previous mode, 0 when the context is none.
int32_t SetStretchBltMode(HDC deviceContext, int32_t mode);

// Answers the number of scan lines drawn, 0 on failure. Only BI_RGB (1, 4, 8, 16, 24, 32 bits) and BI_BITFIELDS
// (16, 32 bits; the three masks follow a 40-byte header) with DIB_RGB_COLORS are known. The colour table has
// biClrUsed entries, or 2^biBitCount below 9 bits when that is 0.
int32_t StretchDIBits(HDC deviceContext, int32_t xDest, int32_t yDest, int32_t destWidth, int32_t destHeight,
                      int32_t xSrc, int32_t ySrc, int32_t srcWidth, int32_t srcHeight, const void* bits,
                      const BITMAPINFO* info, UINT usage, DWORD rop);
