// Version banner: the regular form, odd spacing, short and malformed banners.
#include "foundation/VersionBanner.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace version_banner_test {

std::vector<std::string> Texts(const QV_List<QV_String>& list) {
    std::vector<std::string> out;
    for (const QV_String& s : list) out.push_back(s.ToStdString());
    return out;
}

std::vector<int> Languages(const VersionInfo& info) {
    return std::vector<int>(info.languages.begin(), info.languages.end());
}

TEST(VersionBannerTest, RegularBanner) {
    VersionInfo info;
    ASSERT_TRUE(ParseVersionBanner(QV_String("Lodravix 20.1.3.7 (ZO25), 05/11/2021 ita RUS xx Fra"), info));
    EXPECT_EQ(info.name.ToStdString(), "Lodravix");
    EXPECT_EQ(info.versionText.ToStdString(), "20.1.3.7");
    EXPECT_EQ(info.major, 20);
    EXPECT_EQ(info.minor, 1);
    EXPECT_EQ(info.release, 3);
    EXPECT_EQ(info.build, 7);
    EXPECT_EQ(info.hostVersion, 25);
    EXPECT_EQ(info.date.ToStdString(), "20211105");
    EXPECT_EQ(info.dateText.ToStdString(), "05/11/2021");
    EXPECT_EQ(Languages(info), (std::vector<int>{0, 6, 2}));  // non-codes add nothing
}

TEST(VersionBannerTest, TwoNumbersAndDoubleBlanks) {
    VersionInfo info;
    ASSERT_TRUE(ParseVersionBanner(QV_String("Lodravix  3.9\t(ZO24),  01/02/2020"), info));
    EXPECT_EQ(info.major, 3);
    EXPECT_EQ(info.minor, 9);
    EXPECT_EQ(info.release, 0);
    EXPECT_EQ(info.build, 0);
    EXPECT_EQ(info.hostVersion, 24);
    EXPECT_EQ(info.date.ToStdString(), "20200201");
    EXPECT_TRUE(info.languages.IsEmpty());
}

TEST(VersionBannerTest, ShortOrEmptyBannersFailClearly) {
    VersionInfo info;
    info.extraText = "stale";
    info.major = 9;
    info.languages.Insert(3);
    EXPECT_FALSE(ParseVersionBanner(QV_String(""), info));
    EXPECT_FALSE(info.extraText.HasBuffer());
    EXPECT_EQ(info.major, 0);
    EXPECT_TRUE(info.languages.IsEmpty());
    EXPECT_FALSE(ParseVersionBanner(QV_String(), info));
    EXPECT_FALSE(ParseVersionBanner(QV_String("Lodravix"), info));
    EXPECT_FALSE(ParseVersionBanner(QV_String("Lodravix 1.2 (ZO25),"), info));
    EXPECT_FALSE(info.name.HasBuffer());
}

TEST(VersionBannerTest, OddWordsAreReadSafely) {
    VersionInfo info;
    // Short host word, short date, numbers with letters, a huge number, empty pieces.
    ASSERT_TRUE(ParseVersionBanner(QV_String("X 1..99999x.-4.5.6 (Z) 1/2 ita"), info));
    EXPECT_EQ(info.major, 1);
    EXPECT_EQ(info.minor, 0);
    EXPECT_EQ(info.release, 65535);
    EXPECT_EQ(info.build, 0);
    EXPECT_EQ(info.hostVersion, 0);
    EXPECT_EQ(info.date.GetLength(), 0u);
    EXPECT_EQ(info.dateText.ToStdString(), "1/2");
    EXPECT_EQ(Languages(info), (std::vector<int>{0}));
    // A leading blank makes the name empty and shifts the words; still no read beyond them.
    ASSERT_TRUE(ParseVersionBanner(QV_String(" Lodravix 1.0 (ZO25), 01/01/2001"), info));
    EXPECT_EQ(info.name.GetLength(), 0u);
    EXPECT_EQ(info.versionText.ToStdString(), "Lodravix");
    EXPECT_EQ(info.major, 0);
}

TEST(VersionBannerTest, Splitters) {
    QV_List<QV_String> words;
    SplitWords(QV_String("a  b\t c"), words);
    EXPECT_EQ(Texts(words), (std::vector<std::string>{"a", "b", "c"}));
    SplitWords(QV_String(" a "), words);
    EXPECT_EQ(Texts(words), (std::vector<std::string>{"", "a", ""}));
    SplitWords(QV_String(""), words);
    EXPECT_EQ(Texts(words), (std::vector<std::string>{""}));
    SplitWords(QV_String(), words);
    EXPECT_EQ(Texts(words), (std::vector<std::string>{""}));

    QV_List<QV_String> pieces;
    SplitAtChar(QV_String("1..2."), pieces, '.');
    EXPECT_EQ(Texts(pieces), (std::vector<std::string>{"1", "", "2", ""}));
    SplitAtChar(QV_String("abc"), pieces, 0);
    EXPECT_EQ(Texts(pieces), (std::vector<std::string>{"abc"}));

    QV_String out;
    EXPECT_TRUE(DateToSortable(out, QV_String("31/12/1999")));
    EXPECT_EQ(out.ToStdString(), "19991231");
    EXPECT_FALSE(DateToSortable(out, QV_String("31/12/99")));
    EXPECT_EQ(out.GetLength(), 0u);
}

}  // namespace version_banner_test
