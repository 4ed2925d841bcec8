// Version banners under seeded mutation: parsed exactly when the text has four words, the words kept as
// written, numbers in range, and a banner rebuilt from its words parsing to the same result.
#include "foundation/VersionBanner.hpp"
#include "Mutator.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace version_banner_test {

const std::vector<std::string> kSeeds = {
    "Lodravix 20.1.3.7 (ZO25), 05/11/2021 ita RUS xx Fra",
    "Lodravix  3.9\t(ZO24),  01/02/2020",
    "X 1..99999x.-4.5.6 (Z) 1/2 ita",
    " Lodravix 1.0 (ZO25), 01/01/2001",
    "Lodravix 20.1 (ZO25), 05/11/2021 \xC3\xA6\xE6\x9D\xB1 ger",
};

const std::vector<std::string> kTokens = {" ",   "\t",  "  ",  ".",           "..",   "(",
                                          ")",   ",",   "/",   "99999999999", "-1",   "+7",
                                          "ita", "RUS", "jap", "(ZO65536),",  "\xC3", "\xF0\x9F\x98\x80"};

std::string Utf8(const QV_String& s) { return s.ToStdString(Encoding_UTF8); }

// Words of the text by the banner's rule: blank and tab separate, a run counts as one.
std::vector<std::u16string> ReferenceWords(const std::u16string& text) {
    std::vector<std::u16string> words(1);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != u' ' && text[i] != u'\t') {
            words.back() += text[i];
            continue;
        }
        while (i + 1 < text.size() && (text[i + 1] == u' ' || text[i + 1] == u'\t')) ++i;
        words.emplace_back();
    }
    return words;
}

std::u16string Units(const QV_String& s) {
    std::u16string out;
    for (uint32_t i = 0; i < s.GetLength(); ++i) out += char16_t(s.GetAt(i));
    return out;
}

// Empty when both hold the same result, else the first field that differs.
std::string Difference(const VersionInfo& a, const VersionInfo& b) {
    if (a.languages.GetCount() != b.languages.GetCount()) return "languages";
    for (int32_t i = 0; i < a.languages.GetCount(); ++i)
        if (a.languages[i] != b.languages[i]) return "languages";
    if (a.name.Compare(b.name) != 0) return "name";
    if (a.versionText.Compare(b.versionText) != 0) return "versionText";
    if (a.major != b.major || a.minor != b.minor || a.release != b.release || a.build != b.build) return "version";
    if (a.hostVersion != b.hostVersion) return "hostVersion";
    if (a.date.Compare(b.date) != 0) return "date '" + Utf8(a.date) + "' / '" + Utf8(b.date) + "'";
    if (a.dateText.Compare(b.dateText) != 0) return "dateText";
    return "";
}

void Check(const QV_String& text, const std::string& where) {
    VersionInfo info;
    info.major = 9;
    info.languages.Insert(3);
    const bool ok = ParseVersionBanner(text, info);
    const std::vector<std::u16string> words = ReferenceWords(Units(text));
    EXPECT_EQ(ok, text.GetLength() > 0 && words.size() >= 4) << where;
    if (!ok) {
        EXPECT_EQ(Difference(info, VersionInfo()), "") << where << ": a refused banner leaves the record cleared";
        return;
    }
    EXPECT_EQ(Units(info.name), words[0]) << where;
    EXPECT_EQ(Units(info.versionText), words[1]) << where;
    EXPECT_EQ(Units(info.dateText), words[3]) << where;
    EXPECT_EQ(info.date.GetLength(), words[3].size() >= 10 ? 8u : 0u) << where;
    EXPECT_LE(size_t(info.languages.GetCount()), words.size() - 4) << where;
    for (int32_t i = 0; i < info.languages.GetCount(); ++i) EXPECT_LT(info.languages[i], 7) << where;

    // The words joined by one blank are the same banner.
    // (SplitWords gives the reference's words; joined by QV_String, as a NUL inside a word stays in.)
    QV_List<QV_String> split;
    SplitWords(text, split);
    ASSERT_EQ(size_t(split.GetCount()), words.size()) << where;
    QV_String rebuilt;
    for (int32_t w = 0; w < split.GetCount(); ++w) {
        EXPECT_EQ(Units(split[w]), words[size_t(w)]) << where;
        if (w > 0) rebuilt += " ";
        rebuilt += split[w];
    }
    VersionInfo again;
    ASSERT_TRUE(ParseVersionBanner(rebuilt, again)) << where;
    EXPECT_EQ(Difference(info, again), "") << where << ": '" << Utf8(rebuilt) << "'";

    // The version's pieces joined by '.' give the version word back.
    QV_List<QV_String> pieces;
    SplitAtChar(info.versionText, pieces, '.');
    QV_String joined;
    for (int32_t i = 0; i < pieces.GetCount(); ++i) {
        if (i > 0) joined += ".";
        joined += pieces[i];
    }
    EXPECT_EQ(Units(joined), words[1]) << where;
}

TEST(VersionBannerRobustness, SeedsAndEveryTruncation) {
    for (const std::string& seed : kSeeds) {
        for (size_t len = 0; len <= seed.size(); ++len) {
            // Cut in the middle of a character the UTF-8 decoder gives U+FFFD: still a text.
            Check(QV_String(seed.data(), uint32_t(len), Encoding_UTF8), seed + " cut at " + std::to_string(len));
        }
    }
}

TEST(VersionBannerRobustness, SeededMutants) {
    Robustness::Mutator m(0x56455253u);
    int parsed = 0;
    const int iterations = 1200;
    for (int i = 0; i < iterations && !HasFailure(); ++i) {
        const std::string bytes = m.Mutate(kSeeds[m.Below(uint32_t(kSeeds.size()))], kTokens);
        const int32_t encoding = m.OneIn(2) ? Encoding_UTF8 : Encoding_System;
        QV_String text(bytes.data(), uint32_t(bytes.size()), encoding);
        VersionInfo info;
        if (ParseVersionBanner(text, info)) ++parsed;
        Check(text, "mutant " + std::to_string(i));
    }
    EXPECT_GT(parsed, 0);
    EXPECT_LT(parsed, iterations);
}

TEST(VersionBannerRobustness, HugeNumbersSaturate) {
    VersionInfo info;
    ASSERT_TRUE(
        ParseVersionBanner(QV_String("N 99999999999999999999.65536.65535.-3 (ZO99999999999999), 01/01/2001"), info));
    EXPECT_EQ(info.major, 0xFFFF);
    EXPECT_EQ(info.minor, 0xFFFF);
    EXPECT_EQ(info.release, 0xFFFF);
    EXPECT_EQ(info.build, 0);
    EXPECT_EQ(info.hostVersion, 0xFFFF);
    const std::string longWord(100000, '7');
    ASSERT_TRUE(ParseVersionBanner(QV_String(("N " + longWord + " (" + longWord + ") " + longWord).c_str()), info));
    EXPECT_EQ(info.major, 0xFFFF);
    EXPECT_EQ(info.date.GetLength(), 8u);
}

}  // namespace version_banner_test
