// Encoding detection and conversion on seeded random and mutated bytes: every source in a buffer of exactly its
// size, the size asked for is the size written, a destination one byte short is refused untouched, validity
// agrees with an independent UTF-8 check, and Unicode forms convert back to the same text.
#include "foundation/Encoding.hpp"
#include "foundation/QV_String.hpp"
#include "Mutator.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace encoding_test {

const int32_t kSelectors[] = {2, 10, 11, 12, 13, 14, 15, 100, 101, 102, 103, 7};

// A buffer of exactly the bytes. A byte count of 0 asks for a terminated source: an empty one is one zero unit.
std::unique_ptr<uint8_t[]> Exact(const std::string& bytes) {
    std::unique_ptr<uint8_t[]> p(new uint8_t[bytes.empty() ? 4 : bytes.size()]());
    std::memcpy(p.get(), bytes.data(), bytes.size());
    return p;
}

// Well-formed UTF-8 by the book: shortest forms only, no surrogates, nothing above U+10FFFF.
bool ReferenceUtf8(const std::string& s, bool needMultiByte) {
    bool multi = false;
    for (size_t i = 0; i < s.size();) {
        const auto c = uint8_t(s[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        multi = true;
        size_t n = 0;
        uint32_t cp = 0;
        uint32_t min = 0;
        if (c >= 0xC2 && c <= 0xDF) {
            n = 1, cp = c & 0x1F, min = 0x80;
        } else if (c >= 0xE0 && c <= 0xEF) {
            n = 2, cp = c & 0x0F, min = 0x800;
        } else if (c >= 0xF0 && c <= 0xF4) {
            n = 3, cp = c & 0x07, min = 0x10000;
        } else {
            return false;
        }
        if (i + n >= s.size()) return false;
        for (size_t k = 1; k <= n; ++k) {
            const auto d = uint8_t(s[i + k]);
            if ((d & 0xC0) != 0x80) return false;
            cp = cp << 6 | (d & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += n + 1;
    }
    return multi || !needMultiByte;
}

// Converts a source of exactly its size; checks the size query against the conversion and a short destination.
// Returns the result bytes, or false when the conversion is refused.
bool Convert(int32_t from, const std::string& src, int32_t to, bool terminator, std::string* out,
             const std::string& where) {
    const auto buffer = Exact(src);
    const int32_t need = ConvertEncoding(from, buffer.get(), uint32_t(src.size()), to, nullptr, 0, terminator);
    if (need < 0) {
        EXPECT_GE(need, -5) << where;
        return false;
    }
    std::string dst(size_t(need) + 8, '\x5A');
    const int32_t wrote =
        ConvertEncoding(from, buffer.get(), uint32_t(src.size()), to, &dst[0], uint32_t(need), terminator);
    EXPECT_EQ(wrote, need) << where;
    EXPECT_EQ(dst.substr(size_t(need)), std::string(8, '\x5A')) << where << ": written past the size asked for";
    if (need > 0) {
        std::string small(size_t(need), '\x5A');
        EXPECT_EQ(
            ConvertEncoding(from, buffer.get(), uint32_t(src.size()), to, &small[0], uint32_t(need - 1), terminator),
            ConvertEncoding_DestinationTooSmall)
            << where;
        EXPECT_EQ(small, std::string(size_t(need), '\x5A')) << where << ": a refused conversion wrote";
    }
    dst.resize(size_t(wrote > 0 ? wrote : 0));
    if (out != nullptr) *out = dst;
    return true;
}

std::vector<std::string> Utf8Seeds() {
    return {"plain ascii",
            "Gr\xC3\xB6\xC3\x9F"
            "e \xE6\x9D\xB1\xE4\xBA\xAC",
            "\xF0\x9F\x98\x80 smile",
            "\xEF\xBB\xBF"
            "bom",
            "\xED\x9F\xBF\xEE\x80\x80\xF4\x8F\xBF\xBF",
            std::string("a\0b", 3)};
}

const std::vector<std::string> kTokens = {
    "\xEF\xBB\xBF",
    "\xFF\xFE",
    "\xFE\xFF",
    std::string("\xFF\xFE\0\0", 4),
    std::string("\0\0\xFE\xFF", 4),
    "\x2B\x2F\x76",
    "\xED\xA0\x80",
    "\xED\xBF\xBF",
    "\xC0\x80",
    "\xE0\x80\x80",
    "\xF4\x90\x80\x80",
    "\xF8\x88\x80\x80\x80",
    "\x80",
    "\xBF",
    "+AGEAYgBj-",
    "+",
    "-",
    std::string(2, '\0'),
    std::string(4, '\0'),
};

TEST(EncodingRobustness, ValidityAgreesWithAnIndependentCheck) {
    Robustness::Mutator m(0x55544638u);
    const std::vector<std::string> seeds = Utf8Seeds();
    for (int i = 0; i < 20000 && !HasFailure(); ++i) {
        const std::string s =
            m.OneIn(4) ? m.RandomBytes(12) : m.Mutate(seeds[m.Below(uint32_t(seeds.size()))], kTokens);
        const auto buffer = Exact(s);
        for (bool need : {false, true})
            EXPECT_EQ(IsValidUtf8(buffer.get(), uint32_t(s.size()), need), ReferenceUtf8(s, need))
                << "mutant " << i << " size " << s.size();
    }
}

TEST(EncodingRobustness, EveryConversionOfMutatedBytesIsBoundedAndSized) {
    Robustness::Mutator m(0x434F4E56u);
    const std::vector<std::string> seeds = Utf8Seeds();
    for (int i = 0; i < 3000 && !HasFailure(); ++i) {
        std::string src = m.OneIn(3) ? m.RandomBytes(24) : m.Mutate(seeds[m.Below(uint32_t(seeds.size()))], kTokens);
        const int32_t from = kSelectors[m.Below(sizeof kSelectors / sizeof kSelectors[0])];
        const int32_t to = kSelectors[m.Below(sizeof kSelectors / sizeof kSelectors[0])];
        const std::string where =
            "mutant " + std::to_string(i) + " " + std::to_string(from) + "->" + std::to_string(to);
        std::string out;
        if (!Convert(from, src, to, m.OneIn(2), &out, where)) continue;
        // Whole units only.
        EXPECT_EQ(out.size() % EncodingUnitSize(to), 0u) << where;
    }
}

TEST(EncodingRobustness, UnicodeFormsConvertBackToTheSameText) {
    Robustness::Mutator m(0x52545250u);
    const std::vector<std::string> seeds = Utf8Seeds();
    int checked = 0;
    for (int i = 0; i < 4000 && !HasFailure(); ++i) {
        std::string utf8 = m.Mutate(seeds[m.Below(uint32_t(seeds.size()))], kTokens);
        utf8.erase(std::remove(utf8.begin(), utf8.end(), '\0'), utf8.end());  // a zero unit ends some forms
        if (utf8.empty() || !ReferenceUtf8(utf8, false)) continue;
        const std::string where = "mutant " + std::to_string(i);
        for (int32_t via : {Encoding_UTF16LE, Encoding_UTF16BE, Encoding_UTF32LE, Encoding_UTF32BE, Encoding_UTF7}) {
            std::string mid;
            std::string back;
            ASSERT_TRUE(Convert(Encoding_UTF8, utf8, via, false, &mid, where)) << via;
            ASSERT_TRUE(Convert(via, mid, Encoding_UTF8, false, &back, where)) << via;
            EXPECT_EQ(back, utf8) << where << " via " << via;
        }
        QV_String text(utf8.data(), uint32_t(utf8.size()), Encoding_UTF8);
        EXPECT_EQ(text.ToStdString(Encoding_UTF8), utf8) << where;
        ++checked;
    }
    EXPECT_GT(checked, 100);
}

TEST(EncodingRobustness, ByteOrderMarksAndDetectionOnRandomBytes) {
    Robustness::Mutator m(0x444554u);
    const std::vector<std::string> seeds = Utf8Seeds();
    for (int i = 0; i < 4000 && !HasFailure(); ++i) {
        std::string bytes = m.OneIn(2) ? m.RandomBytes(16) : m.Mutate(seeds[m.Below(uint32_t(seeds.size()))], kTokens);
        if (m.OneIn(3)) bytes = kTokens[m.Below(5)] + bytes;
        const auto buffer = Exact(bytes);
        const std::string where = "mutant " + std::to_string(i) + " size " + std::to_string(bytes.size());
        int32_t bom = -1;
        const uint32_t mark = DetectBom(buffer.get(), uint32_t(bytes.size()), bom);
        EXPECT_LE(mark, bytes.size()) << where;
        EXPECT_EQ(mark == 0, bom == 0) << where;

        for (bool analyse : {false, true}) {
            QV_String text;
            const int32_t found = text.SetDetectEncoding(buffer.get(), uint32_t(bytes.size()), analyse, Encoding_UTF8);
            if (mark > 0) {
                EXPECT_EQ(found, bom) << where;
            } else if (!analyse) {
                EXPECT_EQ(found, Encoding_UTF8) << where;
            }
            // Decoding what was found gives the same text as decoding the bytes after the mark in that selector.
            if (found >= Encoding_System && mark < bytes.size()) {
                const QV_String direct(buffer.get() + mark, uint32_t(bytes.size() - mark), found);
                EXPECT_EQ(text.Compare(direct), 0) << where << " found " << found;
            }
            if (found == Encoding_UTF8 && analyse && mark == 0) {
                EXPECT_TRUE(ReferenceUtf8(bytes, false)) << where;
            }
        }
    }
    QV_String text;
    EXPECT_EQ(text.SetDetectEncoding(nullptr, 100, true, Encoding_UTF8), text.SetDetectEncoding(nullptr, 0, true, 11));
}

TEST(EncodingRobustness, TerminatedSourcesReadNothingPastTheirTerminator) {
    Robustness::Mutator m(0x5445524Du);
    const std::vector<std::string> seeds = Utf8Seeds();
    for (int i = 0; i < 2000 && !HasFailure(); ++i) {
        const int32_t from = kSelectors[m.Below(sizeof kSelectors / sizeof kSelectors[0])];
        const int32_t to = kSelectors[m.Below(sizeof kSelectors / sizeof kSelectors[0])];
        const size_t unit = EncodingUnitSize(from);
        std::string body = m.OneIn(2) ? m.RandomBytes(24) : m.Mutate(seeds[m.Below(uint32_t(seeds.size()))], kTokens);
        // Whole non-zero units, then one zero unit: the source ends exactly there.
        body.resize(body.size() - body.size() % unit);
        for (size_t u = 0; u < body.size(); u += unit) {
            bool zero = true;
            for (size_t k = 0; k < unit; ++k) zero = zero && body[u + k] == '\0';
            if (zero) body[u] = 'x';
        }
        const std::string terminated = body + std::string(unit, '\0');
        const auto buffer = Exact(terminated);
        const std::string where =
            "mutant " + std::to_string(i) + " " + std::to_string(from) + "->" + std::to_string(to);
        const int32_t need = ConvertEncoding(from, buffer.get(), 0, to, nullptr, 0, true);
        std::string explicitOut;
        const bool explicitOk = Convert(from, body, to, true, &explicitOut, where);
        if (body.empty()) continue;  // an explicit count of 0 is itself a terminated source
        // A source that decodes to no character at all (a UTF-7 shift sequence with too few bits, "+/v") is
        // refused with its length given, and converts to just the terminator when it is terminated.
        if (need >= 0 && !explicitOk) {
            EXPECT_EQ(need, int32_t(EncodingUnitSize(to))) << where << " body " << ::testing::PrintToString(body);
            continue;
        }
        ASSERT_EQ(need >= 0, explicitOk) << where << " body " << ::testing::PrintToString(body);
        if (need < 0) continue;
        std::string out(size_t(need), '\0');
        ASSERT_EQ(ConvertEncoding(from, buffer.get(), 0, to, &out[0], uint32_t(need), true), need) << where;
        EXPECT_EQ(out, explicitOut) << where;
    }
}

}  // namespace encoding_test
