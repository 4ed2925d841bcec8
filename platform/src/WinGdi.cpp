// GDI of the stand-in: bitmaps drawn into a dialog manager draw target are recorded, never rendered.
#include "WinGdi.hpp"

#include "DGInternal.hpp"

#include <array>
#include <cstdio>
#include <string>

using namespace dgimpl;

namespace {

DrawTarget* TargetOf(HDC deviceContext) {
    const auto context = reinterpret_cast<intptr_t>(deviceContext);
    State& state = GetState();
    if (context < 1 || static_cast<size_t>(context) > state.drawTargets.size()) return nullptr;
    return &state.drawTargets[static_cast<size_t>(context - 1)];
}

uint32_t Crc32(const uint8_t* bytes, uint64_t count) {
    static const auto table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    uint32_t crc = 0xFFFFFFFFu;
    for (uint64_t i = 0; i < count; ++i) crc = table[(crc ^ bytes[i]) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

}  // namespace

int32_t SetStretchBltMode(HDC deviceContext, int32_t mode) {
    DrawTarget* target = TargetOf(deviceContext);
    if (target == nullptr) {
        Warning("SetStretchBltMode outside an update message; ignored");
        return 0;
    }
    const int32_t previous = target->stretchMode;
    target->stretchMode = mode;
    // Windows answers the default (BLACKONWHITE) for a fresh context.
    return previous != 0 ? previous : 1;
}

int32_t StretchDIBits(HDC deviceContext, int32_t xDest, int32_t yDest, int32_t destWidth, int32_t destHeight,
                      int32_t xSrc, int32_t ySrc, int32_t srcWidth, int32_t srcHeight, const void* bits,
                      const BITMAPINFO* info, UINT usage, DWORD rop) {
    const DrawTarget* target = TargetOf(deviceContext);
    if (target == nullptr || info == nullptr || bits == nullptr || usage != DIB_RGB_COLORS || rop != SRCCOPY) {
        Warning("StretchDIBits refused: no update message, no bitmap or an unknown usage or operation");
        return 0;
    }
    const BITMAPINFOHEADER& h = info->bmiHeader;
    const uint16_t b = h.biBitCount;
    const bool bitfields = h.biCompression == BI_BITFIELDS && (b == 16 || b == 32);
    const bool known =
        (h.biCompression == BI_RGB && (b == 1 || b == 4 || b == 8 || b == 16 || b == 24 || b == 32)) || bitfields;
    if (h.biSize < 40 || h.biWidth <= 0 || h.biHeight == 0 || h.biPlanes != 1 || !known) {
        Warning("StretchDIBits refused: a bitmap header it does not know");
        return 0;
    }
    const uint64_t width = uint64_t(h.biWidth);
    const uint64_t height = h.biHeight < 0 ? uint64_t(-int64_t(h.biHeight)) : uint64_t(h.biHeight);
    const uint64_t stride = (width * b + 31) / 32 * 4;
    const uint32_t colours = h.biClrUsed != 0 ? h.biClrUsed : (b < 9 ? 1u << b : 0u);
    const uint32_t crc = Crc32(static_cast<const uint8_t*>(bits), stride * height);
    char text[200];
    std::snprintf(text, sizeof text, "dib %d %d bits %u colours %u%s from %d %d %d %d to %d %d %d %d mode %d crc %08x",
                  h.biWidth, h.biHeight, unsigned(b), colours, bitfields ? " bitfields" : "", xSrc, ySrc, srcWidth,
                  srcHeight, xDest, yDest, destWidth, destHeight, target->stretchMode, crc);
    DGDrawRecord(static_cast<DGDrawContext>(reinterpret_cast<intptr_t>(deviceContext)), text);
    return int32_t(height);
}
