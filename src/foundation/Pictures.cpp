#include "foundation/Pictures.hpp"

#include "foundation/ACAPI.hpp"

#include "APISelectors.hpp"
#include "IO.hpp"
#include "UniString.hpp"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct ExtensionKind {
    const char* extension;
    int32_t kind;
};
constexpr ExtensionKind kExtensions[] = {
    {"bmp", ImageKind_BMP},        {"dib", ImageKind_BMP},   {"gif", ImageKind_GIF},      {"tif", ImageKind_TIFF},
    {"tiff", ImageKind_TIFF},      {"jpg", ImageKind_JPEG},  {"jpeg", ImageKind_JPEG},    {"pic", ImageKind_PICT},
    {"pict", ImageKind_PICT},      {"pct", ImageKind_PICT},  {"sgi", ImageKind_SGI},      {"rgb", ImageKind_SGI},
    {"psd", ImageKind_Photoshop},  {"png", ImageKind_PNG},   {"pnt", ImageKind_MacPaint}, {"pntg", ImageKind_MacPaint},
    {"mac", ImageKind_MacPaint},   {"tga", ImageKind_Targa}, {"targa", ImageKind_Targa},  {"qti", ImageKind_QuickTime},
    {"qtif", ImageKind_QuickTime}, {"mpo", ImageKind_MPO},
};

// The host's storage format code of a picture format; 0 for none.
uint32_t StorageCode(uint32_t format) {
    switch (format) {
        case PictureFormat_Bitmap: return APIPictFormat_Bitmap;
        case PictureFormat_GIF: return APIPictFormat_GIF;
        case PictureFormat_TIFF: return APIPictFormat_TIFF;
        case PictureFormat_JPEG: return APIPictFormat_JPEG;
        case PictureFormat_PICT: return APIPictFormat_PICT;
        default: return 0;
    }
}

bool Matches(const uint8_t* data, uint64_t size, uint64_t at, const char* text) {
    const uint64_t n = std::strlen(text);
    return size >= at + n && std::memcmp(data + at, text, n) == 0;
}

uint64_t HandleSize(GSConstHandle handle) { return handle != nullptr ? uint64_t(BMGetHandleSize(handle)) : 0; }

uint32_t ReadU32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint16_t ReadU16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

// The host's conversion of `picture` into the storage format `target`: a new handle, null when refused.
GSHandle ConvertThroughHost(const PictureRecord& picture, uint32_t target) {
    const uint32_t source = StorageCode(picture.format);
    if (source == 0 || picture.data == nullptr) return nullptr;
    API_PictureHandle from = {source, 0, picture.data};
    API_PictureHandle to = {target, 0, nullptr};
    if (ACAPI_Goodies(APIAny_ConvertPictureID, &from, &to) != NoError) {
        BMKillHandle(&to.pictHdl);
        return nullptr;
    }
    return to.pictHdl;
}

GSHandle PngToBitmap(GSHandle png) {
    API_MimePicture from = {};
    API_MimePicture to = {};
    std::strcpy(from.mimeType, "image/png");
    std::strcpy(to.mimeType, "image/x-bmp");
    from.data = png;
    if (ACAPI_Goodies(APIAny_ConvertMimePictureID, &from, &to) != NoError) {
        BMKillHandle(&to.data);
        return nullptr;
    }
    return to.data;
}

bool BitmapFits(GSConstHandle handle) {
    DibLayout layout;
    return handle != nullptr && DibLayoutOf(reinterpret_cast<const uint8_t*>(*handle), HandleSize(handle), &layout);
}

// The fixed head every picture of the format has; fewer bytes are no picture of it.
uint64_t HeadBytes(uint32_t format) {
    switch (format) {
        case PictureFormat_Bitmap: return 14 + 40;
        case PictureFormat_GIF: return 13;  // signature, version and screen descriptor
        case PictureFormat_TIFF: return 8;
        case PictureFormat_JPEG: return 4;
        case PictureFormat_PICT: return 512 + 10;  // the unused file header and the picture's own header
        default: return 1;
    }
}

int32_t ReduceOpenError(GSErrCode error) {
    switch (uint32_t(error)) {
        case 0x81000100u: return PictureRead_General;
        case 0x81010100u: return PictureRead_IO;
        case 0x81010102u: return PictureRead_NotFound;
        case 0x81010103u: return PictureRead_AccessDenied;
        default: return PictureRead_Other;
    }
}

// The whole file in a new handle; null when it cannot be read, is empty or too large.
GSHandle ReadWholeFile(const QV_String& path, int32_t* openError) {
    *openError = PictureRead_OK;
    IO::File file(IO::Location(GS::UniString(path.GetBuffer(), path.GetLength())));
    const GSErrCode opened = file.GetStatus() != NoError ? file.GetStatus() : file.Open(IO::File::ReadMode);
    if (opened != NoError) {
        *openError = ReduceOpenError(opened);
        return nullptr;
    }
    uint64_t length = 0;
    GSHandle handle = nullptr;
    if (file.GetDataLength(&length) == NoError && length > 0 && length <= PictureFileBytesMax) {
        handle = BMAllocateHandle(GSSize(length), 0, 0);
        if (handle != nullptr && file.ReadBin(*handle, length) != NoError) BMKillHandle(&handle);
    }
    file.Close();
    return handle;
}

}  // namespace

void ReleasePicture(PictureRecord& picture) {
    BMKillHandle(&picture.data);
    picture.data = nullptr;
    picture.format = PictureFormat_None;
}

int32_t ImageKindFromExtension(const QV_String& extension) {
    std::string lower;
    for (uint32_t i = 0; i < extension.GetLength(); ++i) {
        const char16_t c = extension.GetBuffer()[i];
        if (c >= 0x80) return ImageKind_Unknown;
        lower += char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    for (const ExtensionKind& e : kExtensions)
        if (lower == e.extension) return e.kind;
    return ImageKind_Unknown;
}

int32_t ImageKindFromContent(const QV_String& path, const uint8_t* data, uint64_t size) {
    if (data == nullptr) size = 0;
    if (Matches(data, size, 0, "BM")) return ImageKind_BMP;
    if (Matches(data, size, 0, "GIF")) return ImageKind_GIF;
    if (Matches(data, size, 6, "JFIF")) return ImageKind_JPEG;
    if (Matches(data, size, 0, "II") || Matches(data, size, 0, "MM")) return ImageKind_TIFF;
    if (Matches(data, size, 0, "8BPS")) return ImageKind_Photoshop;
    if (Matches(data, size, 4, "idat")) return ImageKind_QuickTime;
    const uint32_t n = path.GetLength();
    if (n == 0) return ImageKind_Unknown;
    const GS::UniChar* p = path.GetBuffer();
    int64_t dot = -1;
    for (uint32_t i = 0; i < n; ++i) {
        if (p[i] == '.') dot = i;
        if (p[i] == '\\' || p[i] == '/') dot = -1;
    }
    if (dot < 0 || uint32_t(dot) + 1 >= n) return ImageKindFromExtension(QV_String());
    QV_String extension;
    path.Mid(extension, uint32_t(dot) + 1);
    return ImageKindFromExtension(extension);
}

bool DibLayoutOf(const uint8_t* bytes, uint64_t size, DibLayout* layout) {
    constexpr uint64_t FileHeader = 14;
    constexpr int64_t SideMax = 1 << 20;
    if (bytes == nullptr || size < FileHeader + 40 || bytes[0] != 'B' || bytes[1] != 'M') return false;
    const uint8_t* h = bytes + FileHeader;
    const uint32_t headerSize = ReadU32(h);
    if (headerSize < 40 || headerSize > 124 || headerSize > size - FileHeader) return false;
    const int32_t width = int32_t(ReadU32(h + 4));
    const int32_t height = int32_t(ReadU32(h + 8));
    const uint16_t planes = ReadU16(h + 12);
    const uint16_t bits = ReadU16(h + 14);
    const uint32_t compression = ReadU32(h + 16);
    const uint32_t used = ReadU32(h + 32);
    const int64_t rows = std::llabs(int64_t(height));
    if (width <= 0 || width > SideMax || rows == 0 || rows > SideMax || planes != 1) return false;
    const bool rgb =
        compression == 0 && (bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32);
    const bool bitfields = compression == 3 && (bits == 16 || bits == 32);
    if (!rgb && !bitfields) return false;  // run-length and embedded JPEG or PNG bitmaps are not drawn here
    // Without a used-colour count a palette bitmap has its full table.
    const uint32_t colours = used != 0 ? used : (bits < 9 ? 1u << bits : 0u);
    if (colours > 256 || (bits < 9 && colours > (1u << bits))) return false;
    // A 40-byte header is followed by the three masks; larger headers hold them.
    const uint64_t masks = bitfields && headerSize == 40 ? 12 : 0;
    const uint64_t infoBytes = headerSize + masks + uint64_t(colours) * 4;
    const uint64_t stride = (uint64_t(width) * bits + 31) / 32 * 4;
    const uint64_t pixelBytes = stride * uint64_t(rows);
    // The pixels start where the file header says, never inside the header or the colour table.
    uint64_t pixelOffset = ReadU32(bytes + 10);
    if (pixelOffset < FileHeader + infoBytes) pixelOffset = FileHeader + infoBytes;
    if (FileHeader + infoBytes > size || pixelOffset > size || pixelBytes > size - pixelOffset) return false;
    layout->infoOffset = FileHeader;
    layout->infoBytes = infoBytes;
    layout->pixelOffset = pixelOffset;
    layout->pixelBytes = pixelBytes;
    layout->colours = colours;
    layout->width = width;
    layout->height = height;
    layout->bitCount = bits;
    return true;
}

bool ReadPictureFile(const QV_String& path, PictureRecord& picture, bool asBitmap, int32_t* openError) {
    ReleasePicture(picture);
    int32_t error = PictureRead_OK;
    GSHandle data = ReadWholeFile(path, &error);
    if (openError != nullptr) *openError = error;
    if (data == nullptr) return false;
    PictureRecord read;
    const uint64_t size = HandleSize(data);
    const int32_t kind = ImageKindFromContent(path, reinterpret_cast<const uint8_t*>(*data), size);
    if (kind >= ImageKind_BMP && kind <= ImageKind_PICT) {
        read = {uint32_t(kind), data};
        if (size < HeadBytes(read.format)) {
            ReleasePicture(read);
            return false;
        }
    } else if (kind == ImageKind_PNG) {
        read = {PictureFormat_Bitmap, PngToBitmap(data)};
        BMKillHandle(&data);
        if (read.data == nullptr) return false;
    } else {
        read = {PictureFormat_None, data};
    }
    if (asBitmap && read.format != PictureFormat_Bitmap) {
        GSHandle bitmap = ConvertThroughHost(read, APIPictFormat_Bitmap);
        ReleasePicture(read);
        if (bitmap == nullptr) return false;
        read = {PictureFormat_Bitmap, bitmap};
    }
    // A bitmap whose header claims more than its bytes hold would be drawn from beyond them.
    if (read.format == PictureFormat_Bitmap && !BitmapFits(read.data)) {
        ReleasePicture(read);
        return false;
    }
    picture = read;
    return true;
}

bool ConvertPictureToGif(PictureRecord& picture) {
    GSHandle gif = ConvertThroughHost(picture, APIPictFormat_GIF);
    if (gif == nullptr) return false;
    ReleasePicture(picture);
    picture = {PictureFormat_GIF, gif};
    return true;
}

bool DrawDibPicture(HDC deviceContext, const PictureRect& rect, const PictureRecord& picture) {
    GSHandle converted = nullptr;
    GSConstHandle bitmap = picture.data;
    if (picture.format != PictureFormat_Bitmap) {
        converted = ConvertThroughHost(picture, APIPictFormat_Bitmap);
        if (converted == nullptr) return false;
        bitmap = converted;
    }
    DibLayout layout;
    const auto* bytes = bitmap != nullptr ? reinterpret_cast<const uint8_t*>(*bitmap) : nullptr;
    bool drawn = false;
    if (bytes != nullptr && DibLayoutOf(bytes, HandleSize(bitmap), &layout)) {
        // The header inside the file is not aligned for the structure: the call gets an aligned copy.
        std::vector<uint32_t> info((layout.infoBytes + 3) / 4);
        std::memcpy(info.data(), bytes + layout.infoOffset, layout.infoBytes);
        SetStretchBltMode(deviceContext, COLORONCOLOR);
        const int32_t width = std::abs(int32_t(rect.right) - rect.left) + 1;
        const int32_t height = std::abs(int32_t(rect.bottom) - rect.top) + 1;
        drawn = StretchDIBits(deviceContext, rect.left, rect.top, width, height, 0, 0, layout.width,
                              int32_t(std::llabs(int64_t(layout.height))), bytes + layout.pixelOffset,
                              reinterpret_cast<const BITMAPINFO*>(info.data()), DIB_RGB_COLORS, SRCCOPY) != 0;
    }
    BMKillHandle(&converted);
    return drawn;
}
