#pragma once
// Pictures of the dialogs: image files read into host pictures, image kinds told apart by content or extension,
// conversions through the host, and a device-independent bitmap drawn stretched into a rectangle.
#include "foundation/QV_String.hpp"

#include "GSRoot.hpp"
#include "WinGdi.hpp"

#include <cstdint>

// Host picture formats of a picture record.
enum PictureFormat : uint32_t {
    PictureFormat_None = 0,
    PictureFormat_Bitmap = 1,  // the handle holds a whole BMP file
    PictureFormat_GIF = 2,
    PictureFormat_TIFF = 3,
    PictureFormat_JPEG = 4,
    PictureFormat_PICT = 5,
};

// Image kinds of the kind tests.
enum ImageKind : int32_t {
    ImageKind_Unknown = 0,
    ImageKind_BMP = 1,
    ImageKind_GIF = 2,
    ImageKind_TIFF = 3,
    ImageKind_JPEG = 4,
    ImageKind_PICT = 5,
    ImageKind_SGI = 6,
    ImageKind_Photoshop = 7,
    ImageKind_PNG = 8,
    ImageKind_MacPaint = 9,
    ImageKind_Targa = 10,
    ImageKind_QuickTime = 11,
    ImageKind_MPO = 12,
};

// A picture: its host format and a handle of its bytes, owned by whoever holds the record.
struct PictureRecord {
    uint32_t format = PictureFormat_None;
    GSHandle data = nullptr;
};
void ReleasePicture(PictureRecord& picture);

// Rectangles of the drawing routines, as the dialogs keep them.
struct PictureRect {
    int16_t top;
    int16_t left;
    int16_t bottom;
    int16_t right;
};

// Files larger than this are no dialog pictures; they are refused before a byte is read.
constexpr uint64_t PictureFileBytesMax = uint64_t(32) << 20;

// Open errors of ReadPictureFile, reduced from the host's file errors.
enum PictureReadError : int32_t {
    PictureRead_OK = 0,
    PictureRead_NotFound = 2,
    PictureRead_IO = 3,
    PictureRead_AccessDenied = 4,
    PictureRead_General = 5,
    PictureRead_Other = 6,
};

// Case-insensitive; 0 for an extension not in the table.
int32_t ImageKindFromExtension(const QV_String& extension);
// The signature of the first `size` bytes (a test that needs more bytes than there are does not match), else
// the extension of `path` (after a last "." that follows every "\" or "/" and is not the last character).
int32_t ImageKindFromContent(const QV_String& path, const uint8_t* data, uint64_t size);

// Reads the whole file into `picture` (released first). Kinds BMP, GIF, TIFF, JPEG and PICT keep their bytes
// in their format, PNG is converted to a bitmap, other kinds get format 0. With `asBitmap` the result is always
// a bitmap (converted by the host). False, with `picture` empty, when the file cannot be opened (`openError`
// then tells why), is empty or too large, cannot be converted, or holds a bitmap whose header does not fit its
// bytes.
bool ReadPictureFile(const QV_String& path, PictureRecord& picture, bool asBitmap, int32_t* openError = nullptr);

// Converts the picture in place into a GIF (format 2). False, picture unchanged, when the host cannot.
bool ConvertPictureToGif(PictureRecord& picture);

// Where the pixels of a BMP held in `bytes` lie, checked against its `size`: the information header (with
// bit-field masks and colour table) and the pixels. False for a bitmap that does not fit, an unknown
// compression or an impossible size.
struct DibLayout {
    uint64_t infoOffset = 0;
    uint64_t infoBytes = 0;  // header, masks and colour table
    uint64_t pixelOffset = 0;
    uint64_t pixelBytes = 0;
    uint32_t colours = 0;
    int32_t width = 0;
    int32_t height = 0;  // negative: top-down rows
    uint16_t bitCount = 0;
};
bool DibLayoutOf(const uint8_t* bytes, uint64_t size, DibLayout* layout);

// Draws the picture stretched into the rectangle: left and top as given, width |right - left| + 1 and height
// |bottom - top| + 1. A picture that is no bitmap is converted by the host first. False when it cannot be drawn.
bool DrawDibPicture(HDC deviceContext, const PictureRect& rect, const PictureRecord& picture);
