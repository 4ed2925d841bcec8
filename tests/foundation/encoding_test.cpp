// ConvertEncoding, DetectBom and IsValidUtf8: argument checks, empty sources, surrogates, destination sizes
// and byte-order marks on short input.
#include "foundation/Encoding.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace encoding_test {

// Converts into a buffer of exactly the size asked for.
std::vector<unsigned char> Convert(int32_t from, const void* src, uint32_t srcBytes, int32_t to, bool terminator) {
    const int32_t n = ConvertEncoding(from, src, srcBytes, to, nullptr, 0, terminator);
    EXPECT_GE(n, 0);
    std::vector<unsigned char> out(size_t(n > 0 ? n : 0));
    if (n > 0) {
        EXPECT_EQ(ConvertEncoding(from, src, srcBytes, to, out.data(), uint32_t(n), terminator), n);
    }
    return out;
}

std::vector<unsigned char> Bytes(std::initializer_list<int> values) {
    std::vector<unsigned char> out;
    for (int v : values) out.push_back(static_cast<unsigned char>(v));
    return out;
}

TEST(EncodingTest, ArgumentChecks) {
    char dst[8];
    EXPECT_EQ(ConvertEncoding(2, nullptr, 1, 11, dst, 8, false), -3);
    EXPECT_EQ(ConvertEncoding(1, "a", 1, 11, dst, 8, false), -4);
    EXPECT_EQ(ConvertEncoding(0, "a", 1, 11, dst, 8, false), -4);
    EXPECT_EQ(ConvertEncoding(2, "a", 1, 0, dst, 8, false), -5);
    EXPECT_EQ(ConvertEncoding(2, "a", 1, 1, dst, 8, false), -5);
}

TEST(EncodingTest, EmptySourceGivesNothingOrOneZeroUnit) {
    const int32_t selectors[] = {2, 10, 11, 12, 13, 14, 15, 100, 103};
    const unsigned char zeros[4] = {0, 0, 0, 0};
    for (int32_t from : selectors) {
        for (int32_t to : selectors) {
            EXPECT_EQ(ConvertEncoding(from, zeros, 0, to, nullptr, 0, false), 0);
            const int32_t unit = int32_t(EncodingUnitSize(to));
            EXPECT_EQ(ConvertEncoding(from, zeros, 0, to, nullptr, 0, true), unit);
            unsigned char dst[4] = {9, 9, 9, 9};
            EXPECT_EQ(ConvertEncoding(from, zeros, 0, to, dst, 4, true), unit);
            for (int k = 0; k < unit; ++k) EXPECT_EQ(dst[k], 0);
            EXPECT_EQ(ConvertEncoding(from, zeros, 0, to, dst, uint32_t(unit - 1), true), -2);
        }
    }
    // UTF-32: "empty" means a zero first unit, whatever the byte count says.
    EXPECT_EQ(ConvertEncoding(14, zeros, 4, 12, nullptr, 0, false), 0);
    const uint32_t withZeroFirst[2] = {0, 'A'};
    EXPECT_EQ(ConvertEncoding(14, withZeroFirst, 8, 12, nullptr, 0, false), 0);
    // A byte count too short for one unit is empty too; nothing beyond it is read.
    std::unique_ptr<unsigned char[]> two(new unsigned char[2]{'A', 'B'});
    EXPECT_EQ(ConvertEncoding(14, two.get(), 2, 11, nullptr, 0, true), 1);
    EXPECT_EQ(ConvertEncoding(12, two.get(), 1, 11, nullptr, 0, false), 0);
}

TEST(EncodingTest, Utf32PairsAndByteOrder) {
    const uint32_t grin[] = {0x1F600, 0};
    const auto utf16 = Convert(14, grin, 0, 12, false);
    EXPECT_EQ(utf16, Bytes({0x3D, 0xD8, 0x00, 0xDE}));
    EXPECT_EQ(Convert(12, utf16.data(), uint32_t(utf16.size()), 14, false), Bytes({0x00, 0xF6, 0x01, 0x00}));
    EXPECT_EQ(Convert(12, utf16.data(), uint32_t(utf16.size()), 15, true), Bytes({0, 1, 0xF6, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Convert(12, utf16.data(), uint32_t(utf16.size()), 13, false), Bytes({0xD8, 0x3D, 0xDE, 0x00}));
    const auto be = Bytes({0, 0x01, 0xF6, 0x00});
    EXPECT_EQ(Convert(15, be.data(), 4, 11, false), Bytes({0xF0, 0x9F, 0x98, 0x80}));
    // Surrogate values and values beyond U+10FFFF in UTF-32 become U+FFFD.
    const uint32_t bad[] = {0xD800, 0x110000, 'x'};
    EXPECT_EQ(Convert(14, bad, 12, 12, false), Bytes({0xFD, 0xFF, 0xFD, 0xFF, 'x', 0}));
}

TEST(EncodingTest, UnpairedSurrogatesNeverDropANeighbour) {
    const char16_t highThenLetter[] = {u'A', 0xD800, u'B', 0};
    EXPECT_EQ(Convert(12, highThenLetter, 0, 14, false), Bytes({'A', 0, 0, 0, 0xFD, 0xFF, 0, 0, 'B', 0, 0, 0}));
    const char16_t highAtEnd[] = {u'A', 0xDBFF, 0};
    EXPECT_EQ(Convert(12, highAtEnd, 0, 14, false), Bytes({'A', 0, 0, 0, 0xFD, 0xFF, 0, 0}));
    const char16_t loneLow[] = {0xDC00, u'C', 0};
    EXPECT_EQ(Convert(12, loneLow, 0, 15, false), Bytes({0, 0, 0xFF, 0xFD, 0, 0, 0, 'C'}));
    const char16_t twoHighs[] = {0xD83D, 0xD83D, 0xDE00, 0};
    EXPECT_EQ(Convert(12, twoHighs, 0, 14, false), Bytes({0xFD, 0xFF, 0, 0, 0x00, 0xF6, 0x01, 0}));
    EXPECT_EQ(Convert(12, highThenLetter, 0, 11, false), Bytes({'A', 0xEF, 0xBF, 0xBD, 'B'}));
}

TEST(EncodingTest, EveryEncoderChecksTheDestinationSize) {
    const char16_t text[] = u"ab\u00E9";
    for (int32_t to : {2, 10, 11, 12, 13, 14, 15, 100, 101, 102, 103}) {
        const int32_t n = ConvertEncoding(12, text, 6, to, nullptr, 0, true);
        ASSERT_GT(n, 0) << to;
        std::vector<unsigned char> dst(size_t(n) + 8, 0xAA);
        EXPECT_EQ(ConvertEncoding(12, text, 6, to, dst.data(), uint32_t(n - 1), true), -2) << to;
        for (unsigned char b : dst) ASSERT_EQ(b, 0xAA) << "nothing is written on failure, selector " << to;
        EXPECT_EQ(ConvertEncoding(12, text, 6, to, dst.data(), uint32_t(n), true), n) << to;
        EXPECT_EQ(dst[size_t(n)], 0xAA) << "no byte beyond the result, selector " << to;
    }
}

TEST(EncodingTest, CodePagesAndExplicitLengths) {
    EXPECT_EQ(Convert(2, "caf\xE9", 0, 11, true), Bytes({'c', 'a', 'f', 0xC3, 0xA9, 0}));
    EXPECT_EQ(Convert(101, "\x8E", 0, 11, false), Bytes({0xC3, 0xA9}));  // Mac Roman e acute
    EXPECT_EQ(Convert(11, "\xE2\x82\xAC", 0, 103, false), Bytes({'?'}));
    EXPECT_EQ(Convert(11, "\xE2\x82\xAC", 0, 102, false), Bytes({0x80}));
    EXPECT_EQ(Convert(11, "\xE2\x82\xAC", 0, 57, false), Bytes({0x80}));  // other selectors: system code page
    EXPECT_EQ(Convert(2, "abc", 2, 12, false), Bytes({'a', 0, 'b', 0}));
    EXPECT_EQ(Convert(10, "+AOk-", 0, 11, false), Bytes({0xC3, 0xA9}));
    const char16_t stopsAtZero[] = {u'x', 0, u'y'};
    EXPECT_EQ(Convert(12, stopsAtZero, 6, 11, false), Bytes({'x'}));
}

TEST(EncodingTest, CodePagesOfSelectors) {
    EXPECT_EQ(EncodingToCodePage(2), 0u);
    EXPECT_EQ(EncodingToCodePage(10), 65000u);
    EXPECT_EQ(EncodingToCodePage(11), 65001u);
    EXPECT_EQ(EncodingToCodePage(12), 1200u);
    EXPECT_EQ(EncodingToCodePage(15), 12001u);
    EXPECT_EQ(EncodingToCodePage(100), 20127u);
    EXPECT_EQ(EncodingToCodePage(101), 10000u);
    EXPECT_EQ(EncodingToCodePage(102), 1252u);
    EXPECT_EQ(EncodingToCodePage(103), 28591u);
    EXPECT_EQ(EncodingToCodePage(1), 0u);
    EXPECT_EQ(EncodingToCodePage(42), 0u);
}

// Each case in a heap block of exactly its size, so a read past it is a read past the block.
uint32_t Bom(std::initializer_list<int> values, int32_t& encoding) {
    const auto bytes = Bytes(values);
    std::unique_ptr<unsigned char[]> block(new unsigned char[bytes.size()]);
    std::memcpy(block.get(), bytes.data(), bytes.size());
    return DetectBom(block.get(), uint32_t(bytes.size()), encoding);
}

TEST(EncodingTest, ByteOrderMarks) {
    int32_t e = -1;
    EXPECT_EQ(Bom({0xEF, 0xBB, 0xBF, 'a'}, e), 3u);
    EXPECT_EQ(e, 11);
    EXPECT_EQ(Bom({0xFF, 0xFE, 0, 0}, e), 4u);
    EXPECT_EQ(e, 14);
    EXPECT_EQ(Bom({0xFF, 0xFE, 'a', 0}, e), 2u);
    EXPECT_EQ(e, 12);
    EXPECT_EQ(Bom({0xFE, 0xFF}, e), 2u);
    EXPECT_EQ(e, 13);
    EXPECT_EQ(Bom({0, 0, 0xFE, 0xFF}, e), 4u);
    EXPECT_EQ(e, 15);
    EXPECT_EQ(Bom({0x2B, 0x2F, 0x76, 0x38, 0x2D}, e), 5u);
    EXPECT_EQ(e, 10);
    EXPECT_EQ(Bom({0x2B, 0x2F, 0x76, 0x38, 'a'}, e), 4u);
    EXPECT_EQ(Bom({0x2B, 0x2F, 0x76, 0x2F}, e), 4u);
    EXPECT_EQ(Bom({0x2B, 0x2F, 0x76, 0x41}, e), 0u);
    EXPECT_EQ(Bom({0xF7, 0x64, 0x4C}, e), 3u);
    EXPECT_EQ(e, 1);
    EXPECT_EQ(Bom({0x84, 0x31, 0x95, 0x33}, e), 4u);
    EXPECT_EQ(e, 1);
}

TEST(EncodingTest, ByteOrderMarksOnShortInput) {
    int32_t e = -1;
    EXPECT_EQ(DetectBom(nullptr, 4, e), 0u);
    EXPECT_EQ(e, 0);
    EXPECT_EQ(Bom({0xEF}, e), 0u);
    EXPECT_EQ(Bom({0xEF, 0xBB}, e), 0u);  // a mark cut by the end is no mark
    EXPECT_EQ(Bom({0xFF, 0xFE}, e), 2u);  // UTF-16 LE, not UTF-32 read past the end
    EXPECT_EQ(e, 12);
    EXPECT_EQ(Bom({0xFF, 0xFE, 0}, e), 2u);
    EXPECT_EQ(e, 12);
    EXPECT_EQ(Bom({0, 0, 0xFE}, e), 0u);
    EXPECT_EQ(Bom({0x2B, 0x2F, 0x76}, e), 0u);
    EXPECT_EQ(Bom({0x2B, 0x2F, 0x76, 0x38}, e), 4u);
    EXPECT_EQ(Bom({0xDD, 0x73, 0x66}, e), 0u);
    EXPECT_EQ(Bom({0x0E, 0xFE}, e), 0u);
    EXPECT_EQ(e, 0);
}

TEST(EncodingTest, Utf8Validity) {
    auto valid = [](const std::string& s, bool need) { return IsValidUtf8(s.data(), uint32_t(s.size()), need); };
    EXPECT_FALSE(IsValidUtf8(nullptr, 0, false));
    EXPECT_TRUE(IsValidUtf8("", 0, false));
    EXPECT_FALSE(IsValidUtf8("", 0, true));
    EXPECT_TRUE(valid("ascii", false));
    EXPECT_FALSE(valid("ascii", true));
    EXPECT_TRUE(valid("\xC3\xA9", true));
    EXPECT_TRUE(valid("\xF0\x9F\x98\x80", true));
    EXPECT_TRUE(valid("\xF4\x8F\xBF\xBF", true));
    EXPECT_TRUE(valid("\xEE\x80\x80", true));
    EXPECT_FALSE(valid("\xC3", false));  // cut by the end
    EXPECT_FALSE(valid("\xE2\x82", false));
    EXPECT_FALSE(valid("\xC1\xBF", false));          // overlong
    EXPECT_FALSE(valid("\xE0\x9F\xBF", false));      // overlong
    EXPECT_FALSE(valid("\xED\xA0\x80", false));      // surrogate
    EXPECT_FALSE(valid("\xF4\x90\x80\x80", false));  // beyond U+10FFFF
    EXPECT_FALSE(valid("\xF5\x80\x80\x80", false));
    EXPECT_FALSE(valid("\x80", false));
    EXPECT_FALSE(valid("\xC3\xA9\xFF", false));
    // The range counts, not the terminator: a cut inside an explicit range is invalid.
    EXPECT_FALSE(IsValidUtf8("\xC3\xA9", 1, false));
}

}  // namespace encoding_test
