#include "drawing/PictureCalls.hpp"

#include "APISelectors.hpp"
#include "HostCalls.hpp"

#include <Magick++.h>

#include <cstring>
#include <mutex>

namespace {

// Bounds on what a picture may claim, so that a forged header costs a refusal, not the machine's memory.
constexpr size_t PixelsPerSideMax = 16384;
constexpr size_t PixelAreaMax = size_t(64) << 20;

void InitMagickOnce() {
    static std::once_flag once;
    std::call_once(once, [] {
        Magick::InitializeMagick(nullptr);
        Magick::ResourceLimits::width(PixelsPerSideMax);
        Magick::ResourceLimits::height(PixelsPerSideMax);
        Magick::ResourceLimits::area(PixelAreaMax);
        Magick::ResourceLimits::memory(size_t(512) << 20);
        Magick::ResourceLimits::disk(0);
        Magick::ResourceLimits::thread(1);
    });
}

// The storage formats the host reads and writes, by code.
const char* CoderOfFormat(uint32_t format) {
    if (format == APIPictFormat_Bitmap) return "BMP";
    if (format == APIPictFormat_GIF) return "GIF";
    if (format == APIPictFormat_TIFF) return "TIFF";
    if (format == APIPictFormat_JPEG) return "JPEG";
    if (format == APIPictFormat_PICT) return "PICT";
    return nullptr;
}

const char* CoderOfMime(const std::string& mime) {
    if (mime == "image/png") return "PNG";
    if (mime == "image/x-bmp" || mime == "image/bmp") return "BMP";
    if (mime == "image/gif") return "GIF";
    if (mime == "image/jpeg") return "JPEG";
    if (mime == "image/tiff") return "TIFF";
    return nullptr;
}

// Bitmaps are written as plain Windows 3 bitmaps (40-byte header, no alpha) that every reader draws.
std::string WriteCoder(const char* coder) { return std::strcmp(coder, "BMP") == 0 ? "BMP3" : coder; }

std::string HandleBytes(GSConstHandle handle) {
    if (handle == nullptr || *handle == nullptr) return std::string();
    return std::string(*handle, size_t(BMGetHandleSize(handle)));
}

GSErrCode Answer(HostCalls& host, const char* selector, const std::string& source, const char* from, const char* to,
                 GSHandle* out) {
    *out = nullptr;
    if (from == nullptr || to == nullptr) {
        host.Log(std::string("  host: '") + selector + "' refused: a picture format the host does not convert");
        return APIERR_BADPARS;
    }
    std::string bytes;
    std::string why;
    if (!ConvertPictureBytes(source, from, WriteCoder(to), &bytes, &why)) {
        host.Log(std::string("  host: '") + selector + "' refused: " + why);
        return APIERR_GENERAL;
    }
    GSHandle handle = BMAllocateHandle(GSSize(bytes.size()), 0, 0);
    if (handle == nullptr) return ErrMemoryFull;
    std::memcpy(*handle, bytes.data(), bytes.size());
    *out = handle;
    return NoError;
}

GSErrCode ConvertPicture(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord("Goodies", call, sizeof(API_PictureHandle), sizeof(API_PictureHandle)))
        return APIERR_BADPARS;
    const auto* source = static_cast<const API_PictureHandle*>(call->par1);
    auto* target = static_cast<API_PictureHandle*>(call->par2);
    return Answer(host, "CPIC", HandleBytes(source->pictHdl), CoderOfFormat(source->storageFormat),
                  CoderOfFormat(target->storageFormat), &target->pictHdl);
}

GSErrCode ConvertMimePicture(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord("Goodies", call, sizeof(API_MimePicture), sizeof(API_MimePicture)))
        return APIERR_BADPARS;
    const auto* source = static_cast<const API_MimePicture*>(call->par1);
    auto* target = static_cast<API_MimePicture*>(call->par2);
    const std::string from(source->mimeType, strnlen(source->mimeType, sizeof source->mimeType));
    const std::string to(target->mimeType, strnlen(target->mimeType, sizeof target->mimeType));
    return Answer(host, "CMPI", HandleBytes(source->data), CoderOfMime(from), CoderOfMime(to), &target->data);
}

}  // namespace

bool ConvertPictureBytes(const std::string& source, const std::string& fromCoder, const std::string& toCoder,
                         std::string* result, std::string* why) {
    InitMagickOnce();
    if (source.empty()) return (*why = "no picture data", false);
    try {
        Magick::Blob in(source.data(), source.size());
        Magick::Image image;
        image.quiet(true);
        // The format named decides how the bytes are read; ImageMagick would otherwise guess from the content.
        if (!fromCoder.empty()) image.magick(fromCoder);
        image.read(in);
        if (image.columns() == 0 || image.rows() == 0) return (*why = "the picture has no pixels", false);
        if (toCoder == "BMP3") {
            image.alphaChannel(Magick::RemoveAlphaChannel);
            image.compressType(Magick::NoCompression);
        }
        image.magick(toCoder);
        Magick::Blob out;
        image.write(&out);
        result->assign(static_cast<const char*>(out.data()), out.length());
        return true;
    } catch (const Magick::Exception& e) {
        *why = std::string("cannot convert the picture: ") + e.what();
        return false;
    }
}

void InstallPictureCalls(HostFunctionSet& set) {
    set.AddSelector(SelectorFamily::Goodies, APIAny_ConvertPictureID.code, ConvertPicture);
    set.AddSelector(SelectorFamily::Goodies, APIAny_ConvertMimePictureID.code, ConvertMimePicture);
}
