// Windows stand-in: code pages (cross-checked against glibc iconv), case mapping and the shell record.
#include "Win32.hpp"
#include "Win32Driver.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cwctype>
#include <iconv.h>
#include <string>
#include <vector>

namespace codepage_test {

std::u16string ToWide(UINT cp, const std::string& bytes, DWORD flags = 0) {
    const int32_t n = MultiByteToWideChar(cp, flags, bytes.data(), int32_t(bytes.size()), nullptr, 0);
    std::u16string out(size_t(n > 0 ? n : 0), u'\0');
    if (n > 0) {
        EXPECT_EQ(MultiByteToWideChar(cp, flags, bytes.data(), int32_t(bytes.size()), &out[0], n), n);
    }
    return out;
}

std::string ToBytes(UINT cp, const std::u16string& wide, BOOL* usedDefault = nullptr,
                    const char* defaultChar = nullptr) {
    const int32_t n =
        WideCharToMultiByte(cp, 0, wide.data(), int32_t(wide.size()), nullptr, 0, defaultChar, usedDefault);
    std::string out(size_t(n > 0 ? n : 0), '\0');
    if (n > 0) {
        EXPECT_EQ(WideCharToMultiByte(cp, 0, wide.data(), int32_t(wide.size()), &out[0], n, defaultChar, usedDefault),
                  n);
    }
    return out;
}

// glibc's view of a conversion; false when iconv rejects the input.
bool Iconv(const char* to, const char* from, const std::string& in, std::string& out) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    std::string buffer(in.size() * 8 + 16, '\0');
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char* dst = &buffer[0];
    size_t dstLeft = buffer.size();
    size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    if (r != size_t(-1)) r = iconv(cd, nullptr, nullptr, &dst, &dstLeft);  // flush a pending shift state
    iconv_close(cd);
    if (r == size_t(-1)) return false;
    out.assign(buffer.data(), buffer.size() - dstLeft);
    return true;
}

std::u16string FromUtf16leBytes(const std::string& bytes) {
    std::u16string out;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        out.push_back(char16_t(uint8_t(bytes[i]) | uint8_t(bytes[i + 1]) << 8));
    return out;
}

std::string Utf16leBytes(const std::u16string& text) {
    std::string out;
    for (char16_t u : text) {
        out.push_back(char(u & 0xFF));
        out.push_back(char(u >> 8));
    }
    return out;
}

struct SingleByteCase {
    UINT codePage;
    const char* iconvName;
    std::vector<int> differences;  // bytes where we follow Windows rather than glibc
};

TEST(CodePageTest, SingleByteTablesAgreeWithIconvAndRoundTrip) {
    const std::vector<SingleByteCase> cases = {
        {CP_WINDOWS_1252, "CP1252", {0x81, 0x8D, 0x8F, 0x90, 0x9D}},
        {CP_ISO_8859_1, "ISO-8859-1", {}},
        {CP_MAC_ROMAN, "MACINTOSH", {0xC6, 0xF0}},  // increment sign, Apple logo
        {CP_US_ASCII, "ANSI_X3.4-1968", {}},
    };
    for (const auto& c : cases) {
        for (int b = 1; b < 256; ++b) {
            const std::string byte(1, char(b));
            const std::u16string wide = ToWide(c.codePage, byte);
            ASSERT_EQ(wide.size(), 1u) << c.iconvName << " byte " << b;
            std::string glibc;
            const bool known = Iconv("UTF-16LE", c.iconvName, byte, glibc);
            const bool exception = std::find(c.differences.begin(), c.differences.end(), b) != c.differences.end();
            if (c.codePage == CP_US_ASCII && b >= 0x80) {
                EXPECT_EQ(wide[0], 0xFFFD);
                EXPECT_FALSE(known);
                continue;
            }
            if (!exception) {
                ASSERT_TRUE(known) << c.iconvName << " byte " << b;
                EXPECT_EQ(wide, FromUtf16leBytes(glibc)) << c.iconvName << " byte " << b;
            }
            // Every defined byte comes back unchanged.
            EXPECT_EQ(ToBytes(c.codePage, wide), byte) << c.iconvName << " byte " << b;
        }
    }
    EXPECT_EQ(ToWide(CP_MAC_ROMAN, "\xF0")[0], 0xF8FF);
    EXPECT_EQ(ToWide(CP_MAC_ROMAN, "\xC6")[0], 0x2206);
    EXPECT_EQ(ToWide(CP_ACP, "\x80")[0], 0x20AC);  // the system code page is Windows-1252
}

TEST(CodePageTest, UnmappableCharactersBecomeTheDefaultCharacter) {
    BOOL used = 7;
    EXPECT_EQ(ToBytes(CP_ISO_8859_1, u"a\u20ACb", &used), "a?b");
    EXPECT_EQ(used, 1);
    EXPECT_EQ(ToBytes(CP_WINDOWS_1252, u"\u20AC", &used), "\x80");
    EXPECT_EQ(used, 0);
    EXPECT_EQ(ToBytes(CP_US_ASCII, u"\u00E9t\u00E9"), "?t?");  // no best-fit 'e'
    EXPECT_EQ(ToBytes(CP_MAC_ROMAN, u"\u0416", nullptr, "#"), "#");
    // A surrogate pair is one character, so one default character; a lone surrogate is one too.
    EXPECT_EQ(ToBytes(CP_ACP, u"x\U0001F600y"), "x?y");
    EXPECT_EQ(ToBytes(CP_ACP, std::u16string(u"x") + char16_t(0xDC00) + u"y"), "x?y");
}

TEST(CodePageTest, TwoPassPatternAndTerminator) {
    const char* text = "caf\xE9";
    const int32_t n = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    EXPECT_EQ(n, 5);  // the terminator is counted
    std::vector<WCHAR> wide(size_t(n), 0x7777);
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), n), 5);
    EXPECT_EQ(wide[3], 0x00E9);
    EXPECT_EQ(wide[4], 0);

    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), 4), 0);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);

    const int32_t m = WideCharToMultiByte(CP_UTF8, 0, wide.data(), -1, nullptr, 0, nullptr, nullptr);
    EXPECT_EQ(m, 6);
    std::string bytes(size_t(m), 'x');
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, wide.data(), -1, &bytes[0], m, nullptr, nullptr), 6);
    EXPECT_EQ(bytes, std::string("caf\xC3\xA9\0", 6));
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, wide.data(), -1, &bytes[0], 5, nullptr, nullptr), 0);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
}

TEST(CodePageTest, BadArguments) {
    WCHAR w[4];
    char b[4];
    SetLastError(0);
    EXPECT_EQ(MultiByteToWideChar(437, 0, "a", 1, w, 4), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, nullptr, 1, w, 4), 0);
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "a", 0, w, 4), 0);
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "a", -2, w, 4), 0);
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "a", 1, nullptr, 4), 0);
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, u"a", 0, b, 4, nullptr, nullptr), 0);
    BOOL used = 0;
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"a", 1, b, 4, nullptr, &used), 0);  // not allowed for UTF-8
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST(CodePageTest, Utf8AgreesWithIconvAndReplacesMalformedInput) {
    const std::u16string text = u"A\u00E9\u0416\u20AC\U0001F600\uFFFF~";
    const std::string utf8 = ToBytes(CP_UTF8, text);
    std::string glibc;
    ASSERT_TRUE(Iconv("UTF-8", "UTF-16LE", Utf16leBytes(text), glibc));
    EXPECT_EQ(utf8, glibc);
    EXPECT_EQ(ToWide(CP_UTF8, utf8), text);

    // One U+FFFD per maximal ill-formed part; the next good character is kept.
    EXPECT_EQ(ToWide(CP_UTF8,
                     "a\xC3"
                     "b"),
              u"a\uFFFDb");
    EXPECT_EQ(ToWide(CP_UTF8, "\xE2\x82"), u"\uFFFD");
    EXPECT_EQ(ToWide(CP_UTF8, "\xC0\xAF"), u"\uFFFD\uFFFD");  // overlong
    EXPECT_EQ(ToWide(CP_UTF8,
                     "\xED\xA0\x80"
                     "x"),
              u"\uFFFD\uFFFD\uFFFDx");  // encoded surrogate
    EXPECT_EQ(ToWide(CP_UTF8, "\xF4\x90\x80\x80"), u"\uFFFD\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "a\xC3", 2, nullptr, 0), 0);
    EXPECT_EQ(GetLastError(), ERROR_NO_UNICODE_TRANSLATION);

    // Unpaired surrogates are written as U+FFFD.
    EXPECT_EQ(ToBytes(CP_UTF8, std::u16string(1, char16_t(0xD800)) + u"z"), "\xEF\xBF\xBDz");
}

TEST(CodePageTest, Utf7) {
    // Examples of the UTF-7 definition.
    EXPECT_EQ(ToWide(CP_UTF7, "Hi Mom -+Jjo--!"), u"Hi Mom -\u263A-!");
    EXPECT_EQ(ToWide(CP_UTF7, "A+ImIDkQ."), u"A\u2262\u0391.");
    EXPECT_EQ(ToWide(CP_UTF7, "+ZeVnLIqe-"), u"\u65E5\u672C\u8A9E");
    EXPECT_EQ(ToWide(CP_UTF7, "1 +- 1"), u"1 + 1");
    EXPECT_EQ(ToBytes(CP_UTF7, u"1 + 1"), "1 +- 1");

    const std::vector<std::u16string> texts = {
        u"plain text, no shift.", u"\u00E9t\u00E9 \u20AC5", u"a+b=c", u"\U0001F600",
        u"~!@#$%^&*[]{}",         u"\u0416\u0416-\u0416",   u"",      u"end\u00E9",
    };
    for (const auto& text : texts) {
        if (text.empty()) continue;
        const std::string utf7 = ToBytes(CP_UTF7, text);
        EXPECT_EQ(ToWide(CP_UTF7, utf7), text) << utf7;
        // glibc reads what we write, and we read what glibc writes.
        std::string glibc;
        ASSERT_TRUE(Iconv("UTF-16LE", "UTF-7", utf7, glibc)) << utf7;
        EXPECT_EQ(FromUtf16leBytes(glibc), text) << utf7;
        ASSERT_TRUE(Iconv("UTF-7", "UTF-16LE", Utf16leBytes(text), glibc));
        EXPECT_EQ(ToWide(CP_UTF7, glibc), text) << glibc;
    }
}

TEST(CodePageTest, CaseMappingAgreesWithTheCLibrary) {
    if (std::setlocale(LC_CTYPE, "C.UTF-8") == nullptr) GTEST_SKIP() << "no C.UTF-8 locale to compare with";
    const std::pair<int, int> ranges[] = {{0x20, 0x17F}, {0x370, 0x3FF}, {0x400, 0x52F}};
    for (const auto& range : ranges) {
        for (int u = range.first; u <= range.second; ++u) {
            const auto lower = std::towlower(wint_t(u));
            const auto upper = std::towupper(wint_t(u));
            EXPECT_EQ(int(CharLowerW(WCHAR(u))), int(lower)) << std::hex << u;
            EXPECT_EQ(int(CharUpperW(WCHAR(u))), int(upper)) << std::hex << u;
        }
    }
    std::setlocale(LC_CTYPE, "C");
}

TEST(CodePageTest, CaseMappingOfTexts) {
    EXPECT_EQ(CharLowerW(WCHAR(0x4E2D)), 0x4E2D);  // outside the tables: unchanged
    EXPECT_EQ(CharUpperW(WCHAR(0x00DF)), 0x00DF);  // sharp s has no one-unit capital
    EXPECT_EQ(CharLowerW(WCHAR(0x0178)), 0x00FF);
    WCHAR text[] = u"\u00C9cole \u0414\u043E\u043C \u03AC";
    CharUpperW(text);
    EXPECT_EQ(std::u16string(text), u"\u00C9COLE \u0414\u041E\u041C \u0386");
    EXPECT_EQ(CharLowerW(static_cast<WCHAR*>(nullptr)), nullptr);
}

TEST(CodePageTest, ShellExecuteIsRecorded) {
    Win32Driver::ClearShellExecuteCalls();
    HINSTANCE result = ShellExecuteA(nullptr, "open", "C:\\doc\\ENG_Lodravix.pdf", nullptr, nullptr, SW_SHOWNORMAL);
    EXPECT_GT(reinterpret_cast<intptr_t>(result), 32);
    const auto calls = Win32Driver::ShellExecuteCalls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].operation, "open");
    EXPECT_EQ(calls[0].file, "C:\\doc\\ENG_Lodravix.pdf");
    EXPECT_EQ(calls[0].parameters, "");
    EXPECT_EQ(calls[0].showCommand, SW_SHOWNORMAL);
    EXPECT_FALSE(calls[0].hasWindow);
    Win32Driver::SetShellExecuteResult(2);
    EXPECT_EQ(reinterpret_cast<intptr_t>(ShellExecuteA(nullptr, "open", "x", nullptr, nullptr, 1)), 2);
    Win32Driver::SetShellExecuteResult(42);
    Win32Driver::ClearShellExecuteCalls();
    EXPECT_TRUE(Win32Driver::ShellExecuteCalls().empty());
}

}  // namespace codepage_test
