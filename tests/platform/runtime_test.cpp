// GS::UniString, GS::Array and GS::Guid.
#include "GSArray.hpp"
#include "GSGuid.hpp"
#include "UniString.hpp"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace runtime_test {

TEST(UniString, BuildsFromUnitsUtf8AndNothing) {
    const char16_t units[] = {u'a', 0, u'b'};
    GS::UniString withNul(units, 3);
    EXPECT_EQ(withNul.GetLength(), 3u);  // an embedded NUL is a unit like any other
    EXPECT_EQ(withNul[1], 0);

    EXPECT_TRUE(GS::UniString().IsEmpty());
    EXPECT_TRUE(GS::UniString(static_cast<const char*>(nullptr)).IsEmpty());
    EXPECT_TRUE(GS::UniString(static_cast<const char16_t*>(nullptr), 5).IsEmpty());
    EXPECT_EQ(GS::UniString("").ToUStr()[0], 0);

    // Two-, three- and four-byte sequences; the last becomes a surrogate pair.
    GS::UniString mixed("\xC3\xA5\xE6\x9D\xB1\xF0\x9F\x98\x80");
    ASSERT_EQ(mixed.GetLength(), 4u);
    EXPECT_EQ(mixed[0], 0x00E5);
    EXPECT_EQ(mixed[1], 0x6771);
    EXPECT_EQ(mixed[2], 0xD83D);
    EXPECT_EQ(mixed[3], 0xDE00);
    EXPECT_EQ(mixed.ToUtf8(), "\xC3\xA5\xE6\x9D\xB1\xF0\x9F\x98\x80");
}

TEST(UniString, BadUtf8IsReplacedLenientlyAndRefusedStrictly) {
    // A cut-off sequence (one replacement for the whole maximal subpart), a lone continuation byte and an
    // overlong slash (one replacement per byte).
    const char bad[] = "a\xE6\x9D"
                       "b\x80"
                       "c\xC0\xAF";
    GS::UniString lenient(bad);
    EXPECT_EQ(lenient.ToUtf8(),
              "a\xEF\xBF\xBD"
              "b\xEF\xBF\xBD"
              "c\xEF\xBF\xBD\xEF\xBF\xBD");

    GS::UniString out("unchanged");
    EXPECT_FALSE(GS::UniString::DecodeUtf8(bad, sizeof bad - 1, &out));
    EXPECT_EQ(out, GS::UniString("unchanged"));
    EXPECT_FALSE(GS::UniString::DecodeUtf8("\xED\xA0\x80", 3, &out));  // an encoded surrogate
    EXPECT_TRUE(GS::UniString::DecodeUtf8("ok", 2, &out));
    EXPECT_EQ(out, GS::UniString("ok"));
}

TEST(UniString, UnpairedSurrogateBecomesReplacementInUtf8) {
    const char16_t units[] = {0xD800, u'x', 0xDC00};
    EXPECT_EQ(GS::UniString(units, 3).ToUtf8(), "\xEF\xBF\xBDx\xEF\xBF\xBD");
}

TEST(UniString, IndexIsCheckedAndComparisonIsOrdinal) {
    GS::UniString s("ab");
    EXPECT_THROW(s[2], GS::OutOfRangeException);
    EXPECT_THROW(s.SetAt(5, u'x'), GS::OutOfRangeException);
    s.SetAt(1, u'c');
    EXPECT_EQ(s, GS::UniString("ac"));

    EXPECT_LT(GS::UniString("B").Compare(GS::UniString("a")), 0);  // upper case sorts first
    EXPECT_LT(GS::UniString("ab").Compare(GS::UniString("abc")), 0);
    EXPECT_EQ(GS::UniString("x").Compare(GS::UniString("x")), 0);
    EXPECT_EQ(GS::UniString("a") + GS::UniString("b"), GS::UniString("ab"));
}

TEST(Array, PushIndexInsertDeleteAndRangeChecks) {
    GS::Array<int> a;
    EXPECT_THROW(a[0], GS::OutOfRangeException);
    EXPECT_THROW(a.GetLast(), GS::OutOfRangeException);
    a.Push(1);
    a.Push(3);
    a.Insert(1, 2);
    a.Insert(3, 4);  // at the size: appends
    EXPECT_THROW(a.Insert(6, 9), GS::OutOfRangeException);
    ASSERT_EQ(a.GetSize(), 4u);
    EXPECT_EQ(a, (GS::Array<int>{1, 2, 3, 4}));
    a.Delete(0);
    EXPECT_EQ(a[0], 2);
    EXPECT_THROW(a.Delete(3), GS::OutOfRangeException);
    EXPECT_EQ(a.FindFirst(4), 2u);
    EXPECT_EQ(a.FindFirst(7), GS::MaxUIndex);
    int sum = 0;
    for (int v : a) sum += v;
    EXPECT_EQ(sum, 9);
}

TEST(Array, BoolElementsAreRealReferences) {
    GS::Array<bool> flags;
    flags.Push(false);
    bool& first = flags[0];
    first = true;
    EXPECT_TRUE(flags[0]);
}

TEST(Guid, TextRoundTripAndLayout) {
    GS::Guid g;
    EXPECT_TRUE(g.IsNull());
    EXPECT_EQ(g.ToUniString(), GS::UniString("00000000-0000-0000-0000-000000000000"));

    ASSERT_EQ(g.ConvertFromString("01234567-89ab-CDEF-0011-223344556677"), 0);
    EXPECT_EQ(g.data1, 0x01234567u);
    EXPECT_EQ(g.data2, 0x89ABu);
    EXPECT_EQ(g.data3, 0xCDEFu);
    EXPECT_EQ(g.data4[0], 0x00);
    EXPECT_EQ(g.data4[7], 0x77);
    EXPECT_EQ(g.ToUniString(), GS::UniString("01234567-89AB-CDEF-0011-223344556677"));

    char small[36];
    EXPECT_NE(g.ConvertToString(small, sizeof small), 0);  // no room for the NUL
}

TEST(Guid, BadTextsLeaveTheGuidUnchanged) {
    GS::Guid g;
    ASSERT_EQ(g.ConvertFromString("01234567-89AB-CDEF-0011-223344556677"), 0);
    const GS::Guid before = g;
    for (const char* bad : {"", "01234567-89AB-CDEF-0011-22334455667", "01234567-89AB-CDEF-0011-2233445566770",
                            "01234567+89AB-CDEF-0011-223344556677", "0123456G-89AB-CDEF-0011-223344556677",
                            "{1234567-89AB-CDEF-0011-223344556677"}) {
        EXPECT_EQ(g.ConvertFromString(bad), GS::Guid::ErrBadText) << bad;
        EXPECT_EQ(g, before) << bad;
    }
    EXPECT_EQ(g.ConvertFromString(static_cast<const char*>(nullptr)), GS::Guid::ErrBadText);
}

TEST(Guid, GeneratedGuidsAreDistinctVersion4) {
    std::set<std::string> seen;
    for (int i = 0; i < 200; ++i) {
        const GS::Guid g = GS::Guid::Generate();
        EXPECT_FALSE(g.IsNull());
        EXPECT_EQ(g.data3 >> 12, 4);
        EXPECT_EQ(g.data4[0] & 0xC0, 0x80);
        GS::Guid back;
        ASSERT_EQ(back.ConvertFromString(g.ToUniString()), 0);
        EXPECT_EQ(back, g);
        seen.insert(g.ToUniString().ToUtf8());
    }
    EXPECT_EQ(seen.size(), 200u);
}

}  // namespace runtime_test
