// Picture files read through the host's conversions, the kind tests, and bitmaps drawn into a user item: every
// decoded bitmap is checked against a second decoder, every malformed file is refused without reading past it.
#include "InProcessHost.hpp"
#include "TestSupport.hpp"
#include "foundation/Pictures.hpp"

#include "DG.hpp"
#include "DGDriver.hpp"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#include <stb/stb_image.h>
#include <zlib.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace pictures_test {

std::string PicturePath(const std::string& name) { return TestSupport::DataDir() + "/pictures/" + name; }

std::vector<uint8_t> FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

struct Rgb {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;  // top-down rows, 3 bytes a pixel
};

Rgb Decode(const uint8_t* bytes, size_t size) {
    Rgb out;
    int channels = 0;
    stbi_uc* p = stbi_load_from_memory(bytes, int(size), &out.width, &out.height, &channels, 3);
    if (p != nullptr) out.pixels.assign(p, p + size_t(out.width) * out.height * 3);
    stbi_image_free(p);
    return out;
}
Rgb DecodeFile(const std::string& name) {
    const std::vector<uint8_t> bytes = FileBytes(PicturePath(name));
    return Decode(bytes.data(), bytes.size());
}
Rgb DecodeHandle(GSConstHandle handle) {
    return Decode(reinterpret_cast<const uint8_t*>(*handle), size_t(BMGetHandleSize(handle)));
}

int LargestDifference(const Rgb& a, const Rgb& b) {
    if (a.width != b.width || a.height != b.height || a.pixels.size() != b.pixels.size()) return 256;
    int worst = 0;
    for (size_t i = 0; i < a.pixels.size(); ++i) worst = std::max(worst, std::abs(int(a.pixels[i]) - b.pixels[i]));
    return worst;
}

QV_String Q(const std::string& text) { return QV_String(text.c_str(), Encoding_UTF8); }

class PicturesTest : public InProcessHostTest {
protected:
    void SetUp() override {
        InProcessHostTest::SetUp();
        ASSERT_TRUE(host->Attach());
        DGDriver::Reset();
    }
    void TearDown() override {
        ReleasePicture(picture);
        DGDriver::Reset();
        InProcessHostTest::TearDown();
    }

    // What DrawDibPicture records on the test dialog's user item (64 x 48) for `rect`; empty when it failed.
    std::vector<std::string> Draw(const PictureRecord& drawn, const PictureRect& rect, bool* result) {
        struct Context {
            const PictureRecord* picture;
            PictureRect rect;
            bool* result;
        } context{&drawn, rect, result};
        auto callback = [](int16_t message, int16_t, int16_t item, DGUserData userData, DGMessageData data) -> int16_t {
            auto* c = reinterpret_cast<Context*>(userData);
            if (message == DG_MSG_UPDATE && item == 9) {
                const auto* update = reinterpret_cast<const DGUserUpdateData*>(data);
                *c->result = DrawDibPicture(DeviceContextOf(update->drawContext), c->rect, *c->picture);
            }
            return message == DG_MSG_CLICK && item == 1 ? 1 : 0;
        };
        DGModalDialog(TestSupport::TestResources(), 32000, TestSupport::TestResources(), callback,
                      reinterpret_cast<DGUserData>(&context));
        for (const DGDriver::ItemState& item : DGDriver::Log().back().items)
            if (item.id == 9) return item.drawing;
        return {};
    }

    PictureRecord picture;
};

TEST(ImageKindTest, SignaturesNeedTheirBytesAndTheExtensionDecidesTheRest) {
    EXPECT_EQ(ImageKindFromExtension(Q("JPEG")), ImageKind_JPEG);
    EXPECT_EQ(ImageKindFromExtension(Q("Qtif")), ImageKind_QuickTime);
    EXPECT_EQ(ImageKindFromExtension(Q("webp")), ImageKind_Unknown);
    const uint8_t none[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    EXPECT_EQ(ImageKindFromContent(Q("C:\\pics\\photo.JPEG"), none, sizeof none), ImageKind_JPEG);
    EXPECT_EQ(ImageKindFromContent(Q("/a.png/photo"), none, sizeof none), ImageKind_Unknown);
    EXPECT_EQ(ImageKindFromContent(Q("photo."), none, sizeof none), ImageKind_Unknown);
    EXPECT_EQ(ImageKindFromContent(QV_String(), none, sizeof none), ImageKind_Unknown);
    // Each signature, then every shorter prefix of it, each in a block of exactly its own length: a test that
    // looked past the end would show under the address sanitizer, and a prefix falls back to the extension.
    const struct {
        std::string bytes;
        int32_t kind;
    } signatures[] = {{"BM", 1},
                      {"GIF", 2},
                      {std::string("\xff\xd8\xff\xe0\x00\x10JFIF", 10), 4},
                      {"II", 3},
                      {"MM", 3},
                      {"8BPS", 7},
                      {std::string("\0\0\0\x10idat", 8), 11}};
    for (const auto& s : signatures)
        for (size_t length = 0; length <= s.bytes.size(); ++length) {
            std::vector<uint8_t> block(s.bytes.begin(), s.bytes.begin() + length);
            const int32_t kind = ImageKindFromContent(Q("x.sgi"), block.empty() ? nullptr : block.data(), length);
            EXPECT_EQ(kind, length == s.bytes.size() ? s.kind : ImageKind_SGI) << s.bytes << " " << length;
        }
}

TEST_F(PicturesTest, BitmapsOfEveryReadableKindShowTheSamePixelsAsASecondDecoder) {
    // TIFF and PICT are no formats of the second decoder: they were written losslessly from the PNG.
    const struct {
        const char* file;
        const char* reference;
        int tolerance;
    } cases[] = {{"rgb7x5.png", "rgb7x5.png", 0}, {"palette.png", "palette.png", 0}, {"picture.gif", "picture.gif", 0},
                 {"jfif.jpg", "jfif.jpg", 2},     {"exif.jpg", "exif.jpg", 2},       {"photo.JPEG", "photo.JPEG", 2},
                 {"ii.tif", "rgb7x5.png", 0},     {"mm.tif", "rgb7x5.png", 0},       {"bmp24.bmp", "bmp24.bmp", 0},
                 {"bmp8.bmp", "rgb7x5.png", 0},   {"picture.pict", "rgb7x5.png", 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        ASSERT_TRUE(ReadPictureFile(Q(PicturePath(c.file)), picture, true));
        EXPECT_EQ(picture.format, PictureFormat_Bitmap);
        const Rgb reference = DecodeFile(c.reference);
        ASSERT_GT(reference.width, 0);
        EXPECT_LE(LargestDifference(DecodeHandle(picture.data), reference), c.tolerance);
    }
}

TEST_F(PicturesTest, KindsKeepTheirFormatAndBytesUnlessTheyArePng) {
    const struct {
        const char* file;
        uint32_t format;
    } cases[] = {{"bmp24.bmp", 1}, {"picture.gif", 2}, {"ii.tif", 3},      {"mm.tif", 3},
                 {"jfif.jpg", 4},  {"photo.JPEG", 4},  {"picture.pict", 5}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        ASSERT_TRUE(ReadPictureFile(Q(PicturePath(c.file)), picture, false));
        EXPECT_EQ(picture.format, c.format);
        const std::vector<uint8_t> bytes = FileBytes(PicturePath(c.file));
        ASSERT_EQ(size_t(BMGetHandleSize(picture.data)), bytes.size());
        EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), reinterpret_cast<const uint8_t*>(*picture.data)));
    }
    ASSERT_TRUE(ReadPictureFile(Q(PicturePath("rgb7x5.png")), picture, false));
    EXPECT_EQ(picture.format, PictureFormat_Bitmap);
    EXPECT_EQ(LargestDifference(DecodeHandle(picture.data), DecodeFile("rgb7x5.png")), 0);

    ASSERT_TRUE(ReadPictureFile(Q(PicturePath("bmp24.bmp")), picture, false));
    ASSERT_TRUE(ConvertPictureToGif(picture));
    EXPECT_EQ(picture.format, PictureFormat_GIF);
    EXPECT_EQ(LargestDifference(DecodeHandle(picture.data), DecodeFile("bmp24.bmp")), 0);
}

TEST_F(PicturesTest, MalformedOrMissingFilesAreRefusedWithoutReadingPastThem) {
    for (const char* bad : {"empty.bmp", "bm2.bmp", "five.gif", "short.bmp", "huge.bmp", "random.png"})
        for (bool asBitmap : {false, true}) {
            EXPECT_FALSE(ReadPictureFile(Q(PicturePath(std::string("bad/") + bad)), picture, asBitmap)) << bad;
            EXPECT_EQ(picture.data, nullptr);
        }
    const std::string large = UserFile("large.bmp");
    std::filesystem::copy_file(PicturePath("bmp24.bmp"), large);
    std::filesystem::resize_file(large, PictureFileBytesMax + 1);  // sparse: nothing is written
    EXPECT_FALSE(ReadPictureFile(Q(large), picture, false));
    // A kind the host keeps no format for is read as it is, but never becomes a bitmap.
    std::ofstream(UserFile("layers.psd"), std::ios::binary) << "8BPS and the rest of a Photoshop file";
    EXPECT_TRUE(ReadPictureFile(Q(UserFile("layers.psd")), picture, false));
    EXPECT_EQ(picture.format, PictureFormat_None);
    EXPECT_FALSE(ReadPictureFile(Q(UserFile("layers.psd")), picture, true));
    int32_t openError = 0;
    EXPECT_FALSE(ReadPictureFile(Q(UserFile("missing.gif")), picture, true, &openError));
    EXPECT_EQ(openError, PictureRead_NotFound);

    // Every prefix of every good bitmap, in a block of exactly its length: only the whole file has a layout.
    for (const char* file : {"bmp24.bmp", "bmp8.bmp", "bitfields.bmp"}) {
        const std::vector<uint8_t> bytes = FileBytes(PicturePath(file));
        DibLayout layout;
        for (size_t n = 0; n < bytes.size(); ++n) {
            const std::vector<uint8_t> prefix(bytes.begin(), bytes.begin() + n);
            EXPECT_FALSE(DibLayoutOf(prefix.data(), n, &layout)) << file << " " << n;
        }
        EXPECT_TRUE(DibLayoutOf(bytes.data(), bytes.size(), &layout)) << file;
    }
}

TEST_F(PicturesTest, DrawingRecordsTheBitmapTheRectangleAndTheExactPixels) {
    const struct {
        const char* file;
        const char* header;  // the record up to the destination
        size_t pixelOffset;
        size_t pixelBytes;
    } cases[] = {{"bmp24.bmp", "dib 7 5 bits 24 colours 0 from 0 0 7 5", 54, 24 * 5},
                 {"bmp8.bmp", "dib 7 5 bits 8 colours 256 from 0 0 7 5", 54 + 1024, 8 * 5},
                 {"bitfields.bmp", "dib 7 5 bits 16 colours 0 bitfields from 0 0 7 5", 138, 16 * 5}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        ASSERT_TRUE(ReadPictureFile(Q(PicturePath(c.file)), picture, false));
        const std::vector<uint8_t> bytes = FileBytes(PicturePath(c.file));
        ASSERT_EQ(bytes.size(), c.pixelOffset + c.pixelBytes);
        char crc[16];
        std::snprintf(crc, sizeof crc, "%08lx", crc32(0, bytes.data() + c.pixelOffset, uInt(c.pixelBytes)));
        bool drawn = false;
        // Bottom above top and right left of left: the size still counts both edges.
        const std::vector<std::string> records = Draw(picture, PictureRect{40, 30, 10, 2}, &drawn);
        EXPECT_TRUE(drawn);
        EXPECT_THAT(records, ::testing::ElementsAre(std::string(c.header) + " to 30 40 29 31 mode 3 crc " + crc));
    }
    // A picture of another format is drawn through the host's bitmap.
    ASSERT_TRUE(ReadPictureFile(Q(PicturePath("jfif.jpg")), picture, false));
    bool drawn = false;
    EXPECT_THAT(
        Draw(picture, PictureRect{0, 0, 11, 15}, &drawn),
        ::testing::ElementsAre(::testing::StartsWith("dib 16 12 bits 24 colours 0 from 0 0 16 12 to 0 0 16 12")));
    EXPECT_TRUE(drawn);
    PictureRecord none;
    EXPECT_TRUE(Draw(none, PictureRect{0, 0, 5, 5}, &drawn).empty());
    EXPECT_FALSE(drawn);
}

}  // namespace pictures_test
