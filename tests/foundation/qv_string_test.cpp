// QV_String: the two empty states, slicing bounds, search, number formatting and parsing, encoding
// detection, and allocation failures through the memory driver.
#include "foundation/QV_String.hpp"

#include "MemoryDriver.hpp"

#include <gtest/gtest.h>

#include <cfloat>
#include <chrono>
#include <string>

namespace qv_string_test {

const double kNoNumber = 1.7976931348623157e308;

QV_String U8(const char* text) { return QV_String(text, Encoding_UTF8); }

std::string Out(const QV_String& s) { return s.ToStdString(); }

class StringTest : public ::testing::Test {
protected:
    void SetUp() override { blocks = MemoryDriver::LiveManagerBlockCount(); }
    void TearDown() override {
        MemoryDriver::Reset();
        EXPECT_EQ(MemoryDriver::LiveManagerBlockCount(), blocks) << "string buffers leaked";
    }
    int64_t blocks = 0;
};

TEST_F(StringTest, TwoEmptyStates) {
    QV_String none;
    QV_String empty("");
    EXPECT_FALSE(none.HasBuffer());
    EXPECT_TRUE(empty.HasBuffer());
    EXPECT_EQ(empty.GetLength(), 0u);
    EXPECT_EQ(empty.GetCapacity(), 1u);
    EXPECT_EQ(empty.GetBuffer()[0], 0);
    EXPECT_EQ(empty.Compare(none), 1);
    EXPECT_EQ(none.Compare(empty), -1);
    EXPECT_EQ(none.Compare(QV_String()), 0);
    EXPECT_TRUE(none < empty);
    EXPECT_FALSE(empty < none);
    EXPECT_FALSE(QV_String(nullptr).HasBuffer());

    QV_String copy(none);
    EXPECT_FALSE(copy.HasBuffer());
    QV_String target("text");
    target = none;  // a source without buffer frees the target's
    EXPECT_FALSE(target.HasBuffer());
    EXPECT_FALSE((none + none).HasBuffer());
    EXPECT_TRUE((none + empty).HasBuffer());
    EXPECT_EQ(Out(QV_String("ab") + none + "cd"), "abcd");
}

TEST_F(StringTest, ConstructionAndEncodings) {
    QV_String s("caf\xE9");  // system code page: Windows-1252
    ASSERT_EQ(s.GetLength(), 4u);
    EXPECT_EQ(s.GetAt(3), 0x00E9);
    EXPECT_EQ(s.GetAt(4), 0);
    EXPECT_EQ(Out(s), "caf\xC3\xA9");
    EXPECT_EQ(s.GetCharAnsi(3), '\xE9');
    EXPECT_EQ(U8("\xE2\x82\xAC").GetCharAnsi(0), '\x80');  // euro sign in 1252
    EXPECT_EQ(U8("\xD0\x96").GetCharAnsi(0), '?');         // Cyrillic: not in 1252
    EXPECT_EQ(s.GetCharAnsi(9), 0);

    QV_String range("abcdef", 3, Encoding_System);
    EXPECT_EQ(Out(range), "abc");
    const char16_t utf16[] = u"xy";
    EXPECT_EQ(Out(QV_String(utf16, 4, Encoding_UTF16LE)), "xy");
    EXPECT_EQ(QV_String::WideFromAnsiChar('\x80', Encoding_System), 0x20AC);
    EXPECT_EQ(QV_String::WideFromAnsiChar(0, Encoding_System), 0);

    s.SetAt(0, 'C');
    s.SetAt(10, 'X');
    EXPECT_EQ(Out(s), "Caf\xC3\xA9");
    EXPECT_FALSE(s.SetBytes("x", 0, 1));  // unconvertible selector: unchanged
    EXPECT_EQ(Out(s), "Caf\xC3\xA9");
}

TEST_F(StringTest, AssignmentReusesAndNeverShrinks) {
    QV_String big("a much longer text");
    const uint32_t capacity = big.GetCapacity();
    const GS::UniChar* buffer = big.GetBuffer();
    const QV_String shortText("short");
    big = shortText;
    EXPECT_EQ(big.GetBuffer(), buffer);
    EXPECT_EQ(big.GetCapacity(), capacity);
    EXPECT_EQ(Out(big), "short");
    big = big;
    EXPECT_EQ(Out(big), "short");
    big = "set from bytes";
    EXPECT_EQ(Out(big), "set from bytes");
    big = static_cast<const char*>(nullptr);
    EXPECT_FALSE(big.HasBuffer());
    QV_String grown("ab");
    const QV_String longer("abcdef");
    grown = longer;
    EXPECT_EQ(grown.GetCapacity(), 7u);  // exactly what is needed
}

TEST_F(StringTest, AppendingIncludingItself) {
    QV_String s("ab");
    s += s;
    EXPECT_EQ(Out(s), "abab");
    EXPECT_EQ(s.GetCapacity(), 5u);
    s += "!";
    EXPECT_TRUE(s.AppendBytes(nullptr, 0, 2));
    EXPECT_TRUE(s.AppendWide(nullptr, 3));
    EXPECT_EQ(Out(s), "abab!");
    EXPECT_TRUE(s.AppendBytes(s.GetBuffer(), 4, Encoding_UTF16LE));  // bytes inside its own buffer
    EXPECT_EQ(Out(s), "abab!ab");
    QV_String none;
    none += "";
    EXPECT_TRUE(none.HasBuffer());
}

TEST_F(StringTest, AllocationFailures) {
    QV_String s("start");
    const char16_t more[] = u"more";
    MemoryDriver::FailNextAllocations(1);
    EXPECT_FALSE(s.AppendWide(more, 4));
    // Nothing dangles: the string is empty without buffer.
    EXPECT_FALSE(s.HasBuffer());
    EXPECT_EQ(s.GetLength(), 0u);
    EXPECT_EQ(s.GetCapacity(), 0u);
    EXPECT_TRUE(s.AppendWide(more, 4));
    EXPECT_EQ(Out(s), "more");

    MemoryDriver::FailNextAllocations(1);
    EXPECT_FALSE(s.AppendBytes("xyz", 0, 2));  // bytes: the string stays as it was
    EXPECT_EQ(Out(s), "more");
    MemoryDriver::FailNextAllocations(1);
    EXPECT_FALSE(s.SetBytes("a longer replacement", 0, 2));
    EXPECT_EQ(Out(s), "more");

    MemoryDriver::FailNextAllocations(1);
    QV_String copy(s);
    EXPECT_FALSE(copy.HasBuffer());
    MemoryDriver::FailNextAllocations(1);
    EXPECT_FALSE(s.Reserve(100, true));
    EXPECT_FALSE(s.HasBuffer());

    MemoryDriver::FailNextAllocations(1);
    MultiByteBuffer bytes = QV_String("x").ToMultiByte(Encoding_UTF8);
    EXPECT_NE(bytes.bytes, nullptr);  // the one failure was spent on the temporary string
    GS::MemoryManager::Free(bytes.bytes);
    const QV_String y("y");
    MemoryDriver::FailNextAllocations(1);
    bytes = y.ToMultiByte(Encoding_UTF8);
    EXPECT_EQ(bytes.bytes, nullptr);
    EXPECT_EQ(bytes.byteCount, 0u);
}

TEST_F(StringTest, ReserveAndResize) {
    QV_String s("hello");
    EXPECT_TRUE(s.Reserve(3, false));  // large enough: nothing happens
    EXPECT_EQ(Out(s), "hello");
    EXPECT_TRUE(s.Reserve(20, true));
    EXPECT_EQ(s.GetCapacity(), 20u);
    EXPECT_EQ(Out(s), "hello");
    EXPECT_TRUE(s.Reserve(30, false));
    EXPECT_EQ(s.GetLength(), 0u);
    s = "hello";
    EXPECT_TRUE(s.Resize(3, true));
    EXPECT_EQ(s.GetCapacity(), 3u);
    EXPECT_EQ(Out(s), "he");
    EXPECT_TRUE(s.Resize(0, true));
    EXPECT_EQ(s.GetCapacity(), 1u);
    EXPECT_EQ(s.GetLength(), 0u);
}

TEST_F(StringTest, AssignJoin3) {
    QV_String s("old");
    s.AssignJoin3("abcdef", 3, nullptr, 0, "xyz", 10);
    EXPECT_EQ(Out(s), "abcxyz");
    s.AssignJoin3(nullptr, 0, nullptr, 0, nullptr, 0);
    EXPECT_FALSE(s.HasBuffer());
    s.AssignJoin3("", 0, nullptr, 0, nullptr, 0);
    EXPECT_TRUE(s.HasBuffer());
}

TEST_F(StringTest, CompareChecksItsStartIndexes) {
    const QV_String abc("abc");
    EXPECT_EQ(abc.Compare(QV_String("abd")), -1);
    EXPECT_EQ(abc.Compare(QV_String("ab")), 1);
    EXPECT_EQ(abc.Compare(0, QV_String("abd"), 0, 2), 0);
    EXPECT_EQ(abc.Compare(1, QV_String("xbc"), 1, 0), 0);
    // Starts beyond the texts compare as empty rests, never past the buffers.
    EXPECT_EQ(abc.Compare(100, QV_String(""), 0, 0), 0);
    EXPECT_EQ(abc.Compare(0, QV_String("x"), 50, 0), 1);
    EXPECT_EQ(abc.Compare(7, QV_String("x"), 0, 0), -1);
    EXPECT_EQ(U8("\xC3\x89T\xC3\x89").CompareNoCase(U8("\xC3\xA9t\xC3\xA9")), 0);
    EXPECT_EQ(U8("\xD0\x96").CompareNoCase(U8("\xD0\xB6")), 0);  // Cyrillic Zhe
    EXPECT_EQ(QV_String("ABC").CompareNoCase(QV_String("abd")), -1);
    EXPECT_NE(QV_String("ABC").Compare(QV_String("abc")), 0);
}

TEST_F(StringTest, StartsAndEnds) {
    const QV_String s("VY_ROAD");
    EXPECT_TRUE(s.StartsWithAt(QV_String("VY_"), 0));
    EXPECT_TRUE(s.StartsWithAt(QV_String("ROAD"), 3));
    EXPECT_FALSE(s.StartsWithAt(QV_String("ROADS"), 3));
    EXPECT_FALSE(s.StartsWithAt(QV_String(""), 0));
    EXPECT_FALSE(s.StartsWithAt(QV_String("D"), 7));
    EXPECT_TRUE(s.EndsWith(QV_String("AD")));
    EXPECT_FALSE(s.EndsWith(QV_String("xVY_ROAD")));
    EXPECT_FALSE(s.EndsWith(QV_String()));
    EXPECT_FALSE(QV_String().EndsWith(s));
}

TEST_F(StringTest, Searches) {
    const QV_String s("a\\b\\c.gsm");
    EXPECT_EQ(s.Find(QV_String("\\")), 1);
    EXPECT_EQ(s.Find(QV_String("\\"), 2), 3);
    EXPECT_EQ(s.Find(QV_String("\\"), 4), -1);
    EXPECT_EQ(s.Find(QV_String("gsm"), 6), 6);
    EXPECT_EQ(s.Find(QV_String("gsm"), 9), -1);  // start == length
    EXPECT_EQ(s.Find(QV_String("")), -1);
    EXPECT_EQ(s.Find(QV_String()), -1);
    EXPECT_EQ(QV_String().Find(s), -1);
    EXPECT_EQ(s.Find(QV_String("a\\b\\c.gsmx")), -1);
    EXPECT_EQ(s.FindNoCase(QV_String("GSM")), 6);
    EXPECT_EQ(s.FindChar('.'), 5);
    EXPECT_EQ(s.FindChar('.', 6), -1);
    EXPECT_EQ(s.FindChar(0), -1);
    EXPECT_EQ(s.ReverseFind(QV_String("\\")), 3);
    EXPECT_EQ(s.ReverseFind(QV_String("a")), 0);
    EXPECT_EQ(s.ReverseFind(QV_String("zz")), -1);
    EXPECT_EQ(s.ReverseFindChar('\\'), 3);
    EXPECT_EQ(QV_String("aaa").ReverseFind(QV_String("aa")), 1);
}

TEST_F(StringTest, Slicing) {
    const QV_String s("abcdef");
    QV_String out;
    s.SubString(out, 2, 3);
    EXPECT_EQ(Out(out), "cde");
    s.SubString(out, 4, 100);
    EXPECT_EQ(Out(out), "ef");
    s.SubString(out, 7, 1);
    EXPECT_TRUE(out.HasBuffer());
    EXPECT_EQ(out.GetLength(), 0u);
    s.Left(out, 2);
    EXPECT_EQ(Out(out), "ab");
    s.Mid(out, 3);
    EXPECT_EQ(Out(out), "def");
    s.Mid(out, 9);
    EXPECT_TRUE(out.HasBuffer() && out.IsEmpty());

    s.Right(out, 2);
    EXPECT_EQ(Out(out), "ef");
    s.Right(out, 2, 1);
    EXPECT_EQ(Out(out), "de");
    s.Right(out, 6);
    EXPECT_EQ(Out(out), "abcdef");
    s.Right(out, 7);  // more than the text: empty, not the whole text
    EXPECT_TRUE(out.HasBuffer());
    EXPECT_EQ(out.GetLength(), 0u);
    s.Right(out, 1, 7);
    EXPECT_EQ(out.GetLength(), 0u);

    QV_String none;
    none.SubString(out, 0, 1);
    EXPECT_FALSE(out.HasBuffer());
    none.Right(out, 1);
    EXPECT_FALSE(out.HasBuffer());

    QV_String self("abcdef");
    self.SubString(self, 1, 2);  // out may be the string itself
    EXPECT_EQ(Out(self), "bc");
}

TEST_F(StringTest, Replace) {
    const QV_String s("a.b.c");
    QV_String out;
    s.Replace(out, QV_String("."), QV_String("::"));
    EXPECT_EQ(Out(out), "a::b::c");
    s.Replace(out, QV_String(".b."), QV_String(""));
    EXPECT_EQ(Out(out), "ac");
    QV_String("aaaa").Replace(out, QV_String("aa"), QV_String("b"));
    EXPECT_EQ(Out(out), "bb");
    // An empty "from" must not loop: the text comes back unchanged.
    s.Replace(out, QV_String(""), QV_String("x"));
    EXPECT_EQ(Out(out), "a.b.c");
    s.Replace(out, QV_String(), QV_String("x"));
    EXPECT_FALSE(out.HasBuffer());
    s.Replace(out, QV_String("."), QV_String());
    EXPECT_FALSE(out.HasBuffer());
    s.ReplaceChar(out, '.', '\\');
    EXPECT_EQ(Out(out), "a\\b\\c");
}

TEST_F(StringTest, TrimAndCase) {
    QV_String out;
    QV_String("  a b  ").Trim(out, true, true, false);
    EXPECT_EQ(Out(out), "a b");
    QV_String("  a b  ").Trim(out, true, false, false);
    EXPECT_EQ(Out(out), "a b  ");
    QV_String("\t x\t").Trim(out, true, true, false);
    EXPECT_EQ(Out(out), "\t x\t");
    QV_String("\t x\t").Trim(out, true, true, true);
    EXPECT_EQ(Out(out), "x");
    QV_String("    ").Trim(out, true, true, false);
    EXPECT_TRUE(out.HasBuffer());
    EXPECT_EQ(out.GetLength(), 0u);
    QV_String().Trim(out, true, true, true);
    EXPECT_FALSE(out.HasBuffer());

    U8("Stra\xC3\x9F"
       "e \xCE\xA3\xCE\xB9 \xD0\x9C\xD0\xB8\xD1\x80")
        .ToUpper(out);
    EXPECT_EQ(Out(out),
              "STRA\xC3\x9F"
              "E \xCE\xA3\xCE\x99 \xD0\x9C\xD0\x98\xD0\xA0");
    out.ToLower(out);
    EXPECT_EQ(Out(out),
              "stra\xC3\x9F"
              "e \xCF\x83\xCE\xB9 \xD0\xBC\xD0\xB8\xD1\x80");
}

TEST_F(StringTest, NumberFormatting) {
    QV_String s;
    s.FromLong(-42);
    EXPECT_EQ(Out(s), "-42");
    s.FromLong(INT32_MIN);
    EXPECT_EQ(Out(s), "-2147483648");
    s.FromLong(7, 4);
    EXPECT_EQ(Out(s), "   7");
    s.FromDouble(2.5, 0, 0);
    EXPECT_EQ(Out(s), "2.5");
    s.FromDouble(2.5, 0, 2);
    EXPECT_EQ(Out(s), "2.50");
    s.FromDouble(2.5, 8, 0);
    EXPECT_EQ(Out(s), "     2.5");
    s.FromDouble(-1.0 / 3.0, 0, 3);
    EXPECT_EQ(Out(s), "-0.333");
    s.FromDouble(1e300, 0, 1);  // a long text, sized before formatting
    EXPECT_EQ(s.GetLength(), 303u);
    s.FromDoublePrecision(0.125, 1);
    EXPECT_EQ(Out(s), "0.1");
    s.FromDoublePrecision(0.125, -1);
    EXPECT_EQ(Out(s), "0.125");
    s.FromDouble(1.0, 4000000000u, 4000000000u);  // absurd fields are capped, not allocated
    EXPECT_EQ(s.GetLength(), 402u);
}

TEST_F(StringTest, StrToDouble) {
    EXPECT_DOUBLE_EQ(StrToDouble("12,5"), 12.5);
    EXPECT_DOUBLE_EQ(StrToDouble("12.5"), 12.5);
    EXPECT_EQ(StrToDouble("abc"), kNoNumber);
    EXPECT_EQ(StrToDouble(""), 0.0);
    EXPECT_EQ(StrToDouble(nullptr), 0.0);
    EXPECT_DOUBLE_EQ(StrToDouble("-.5"), -0.5);
    EXPECT_DOUBLE_EQ(StrToDouble("1.5e+2"), 150.0);
    EXPECT_DOUBLE_EQ(StrToDouble("1.5E2"), 1.5);
    EXPECT_DOUBLE_EQ(StrToDouble("1e5"), 1.0);
    EXPECT_EQ(StrToDouble("5."), kNoNumber);
    EXPECT_DOUBLE_EQ(StrToDouble("x = +3.25 m"), 3.25);
    EXPECT_DOUBLE_EQ(StrToDouble("2.5e-1"), 0.25);
    EXPECT_DOUBLE_EQ(QV_String("7,75").ToDouble(), 7.75);
    EXPECT_EQ(QV_String().ToDouble(), 0.0);
}

TEST_F(StringTest, StrToDoubleIsBoundedOnHugeExponentsAndDigits) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(StrToDouble("1e+999999999"), kNoNumber);
    EXPECT_EQ(StrToDouble("1e+99999999999999999999999"), kNoNumber);
    EXPECT_EQ(StrToDouble("-1e+400"), -kNoNumber);
    EXPECT_EQ(StrToDouble("1e-999999999"), 0.0);
    EXPECT_EQ(StrToDouble("0e+999999999"), 0.0);
    EXPECT_EQ(StrToDouble(std::string(400, '9').c_str()), kNoNumber);
    // Not a timing test: a loop of a billion steps would simply never let the suite finish.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST_F(StringTest, StrToInt) {
    EXPECT_EQ(StrToInt(nullptr), 0);
    EXPECT_EQ(StrToInt(""), 0);
    EXPECT_EQ(StrToInt("abc"), 2147483647);
    EXPECT_EQ(StrToInt("x-7y"), -7);
    EXPECT_EQ(StrToInt("-"), 0);
    EXPECT_EQ(StrToInt("a-b5"), 0);
    EXPECT_EQ(StrToInt("v12.5"), 12);
    EXPECT_EQ(StrToInt("2147483647"), 2147483647);
    EXPECT_EQ(StrToInt("2147483648"), 2147483647);
    EXPECT_EQ(StrToInt("99999999999999999999999"), 2147483647);
    EXPECT_EQ(StrToInt("-2147483648"), INT32_MIN);
    EXPECT_EQ(StrToInt("-99999999999999999999"), INT32_MIN);
}

TEST_F(StringTest, ClassifyNumber) {
    EXPECT_EQ(ClassifyNumberText(" -12"), 1);
    EXPECT_EQ(ClassifyNumberText("3,25"), 2);
    EXPECT_EQ(ClassifyNumberText("+ .5"), 2);
    EXPECT_EQ(ClassifyNumberText("3."), 0);
    EXPECT_EQ(ClassifyNumberText("1.2.3"), 0);
    EXPECT_EQ(ClassifyNumberText("12 "), 0);
    EXPECT_EQ(ClassifyNumberText("1e5"), 0);
    EXPECT_EQ(ClassifyNumberText(""), 0);
    EXPECT_EQ(ClassifyNumberText("-"), 0);
    EXPECT_EQ(ClassifyNumberText(nullptr), 0);
    EXPECT_EQ(QV_String(" -12").ClassifyNumber(), 1);
    EXPECT_EQ(QV_String("3,25").ToInt(), 2);
    EXPECT_EQ(QV_String("1.2.3").ClassifyNumber(), 0);
    EXPECT_EQ(QV_String().ClassifyNumber(), 0);
    EXPECT_EQ(QV_String("").ClassifyNumber(), 0);
    EXPECT_EQ(StrLen("abc"), 3);
    EXPECT_EQ(StrLen(nullptr), 0);
    EXPECT_TRUE(StrEqual("a", "a"));
    EXPECT_FALSE(StrEqual("a", nullptr));
}

TEST_F(StringTest, SetDetectEncoding) {
    QV_String s;
    const unsigned char utf16le[] = {0x41, 0x00, 0x42, 0x00};
    EXPECT_EQ(s.SetDetectEncoding(utf16le, 4, true, 2), 12);
    EXPECT_EQ(Out(s), "AB");
    const unsigned char utf8Bom[] = {0xEF, 0xBB, 0xBF, 0x41};
    EXPECT_EQ(s.SetDetectEncoding(utf8Bom, 4, true, 2), 11);
    EXPECT_EQ(Out(s), "A");
    const unsigned char utf16be[] = {0x00, 0x41, 0x00, 0x42, 0x00, 0x43};
    EXPECT_EQ(s.SetDetectEncoding(utf16be, 6, true, 2), 13);
    EXPECT_EQ(Out(s), "ABC");
    const unsigned char utf32le[] = {0x41, 0, 0, 0, 0x00, 0xF6, 0x01, 0};
    EXPECT_EQ(s.SetDetectEncoding(utf32le, 8, true, 2), 14);
    EXPECT_EQ(Out(s), "A\xF0\x9F\x98\x80");
    const unsigned char utf32be[] = {0, 0, 0, 0x41, 0, 0x01, 0xF6, 0x00};
    EXPECT_EQ(s.SetDetectEncoding(utf32be, 8, true, 2), 15);
    EXPECT_EQ(Out(s), "A\xF0\x9F\x98\x80");
    const char latin[] = "\xE9t\xE9";  // not UTF-8: system code page
    EXPECT_EQ(s.SetDetectEncoding(latin, 3, true, 2), 0);
    EXPECT_EQ(Out(s), "\xC3\xA9t\xC3\xA9");
    const char utf8[] = "\xC3\xA9t\xC3\xA9";
    EXPECT_EQ(s.SetDetectEncoding(utf8, 5, true, 2), 11);
    EXPECT_EQ(Out(s), "\xC3\xA9t\xC3\xA9");
    EXPECT_EQ(s.SetDetectEncoding(latin, 3, false, 103), 103);
    EXPECT_EQ(Out(s), "\xC3\xA9t\xC3\xA9");

    // A mark with nothing behind it, or no bytes at all: an empty string with a buffer.
    const unsigned char bomOnly[] = {0xFF, 0xFE};
    EXPECT_EQ(s.SetDetectEncoding(bomOnly, 2, true, 2), 12);
    EXPECT_TRUE(s.HasBuffer());
    EXPECT_EQ(s.GetLength(), 0u);
    EXPECT_EQ(s.SetDetectEncoding(nullptr, 0, true, 2), 14);
    EXPECT_TRUE(s.HasBuffer() && s.IsEmpty());
    EXPECT_EQ(s.SetDetectEncoding("", 0, false, 11), 11);
    // An unconvertible mark is reported, the text decoded in the system code page.
    const unsigned char utf1[] = {0xF7, 0x64, 0x4C, 0x41};
    EXPECT_EQ(s.SetDetectEncoding(utf1, 4, true, 2), 1);
    EXPECT_EQ(Out(s), "A");
}

TEST_F(StringTest, ToMultiByte) {
    MultiByteBuffer b = U8("\xE2\x82\xAC"
                           "1")
                            .ToMultiByte(Encoding_UTF8);
    ASSERT_NE(b.bytes, nullptr);
    EXPECT_EQ(b.byteCount, 5u);
    EXPECT_EQ(std::string(b.bytes),
              "\xE2\x82\xAC"
              "1");
    EXPECT_EQ(b.encoding, Encoding_UTF8);
    GS::MemoryManager::Free(b.bytes);

    b = QV_String("A").ToMultiByte(Encoding_UTF16BE);
    ASSERT_EQ(b.byteCount, 4u);
    EXPECT_EQ(b.bytes[1], 'A');
    EXPECT_EQ(b.bytes[2], 0);
    EXPECT_EQ(b.bytes[3], 0);
    GS::MemoryManager::Free(b.bytes);

    b = QV_String().ToMultiByte(Encoding_UTF32LE);
    ASSERT_EQ(b.byteCount, 4u);  // just the terminator
    GS::MemoryManager::Free(b.bytes);

    b = QV_String("x").ToMultiByte(1);
    EXPECT_EQ(b.bytes, nullptr);
    EXPECT_EQ(b.byteCount, 0u);
}

}  // namespace qv_string_test
