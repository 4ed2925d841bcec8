// The host's own reader and writer of configuration files, which the scripts check the module's files with.
#include "config/HostConfigFile.hpp"
#include "TestSupport.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace host_config_test {

using HostConfig::Entry;

std::vector<Entry> ParseOk(const std::string& text) {
    std::vector<Entry> entries;
    std::string error;
    EXPECT_TRUE(HostConfig::Parse(text, &entries, &error)) << error;
    return entries;
}

std::string ParseError(const std::string& text) {
    std::vector<Entry> entries;
    std::string error;
    EXPECT_FALSE(HostConfig::Parse(text, &entries, &error)) << text;
    return error;
}

TEST(HostConfig, GrammarAndContinuationLines) {
    const auto e = ParseOk("$a:xyz\r\n$Language_str: ger\n$multi: one\r\n#two\r#\r\n#four\r\n");
    ASSERT_EQ(e.size(), 3u);
    EXPECT_EQ(e[0].key, "a");
    EXPECT_EQ(e[0].value, "yz");  // the byte after ':' is a separator
    EXPECT_EQ(e[1].value, "ger");
    EXPECT_EQ(e[2].value, "one\r\ntwo\r\r\nfour");
    EXPECT_TRUE(ParseOk("").empty());
}

TEST(HostConfig, BrokenTextIsRefusedWithAReason) {
    EXPECT_NE(ParseError("Language_str: ger\r\n").find("must start with '$'"), std::string::npos);
    EXPECT_NE(ParseError("$key without colon\r\n").find("without ':'"), std::string::npos);
    EXPECT_NE(ParseError("$: empty\r\n").find("empty key"), std::string::npos);
    EXPECT_NE(ParseError("$a: 1\r\nxyz\r\n").find("not followed by"), std::string::npos);
    EXPECT_NE(ParseError("$a: no line break").find("no line break"), std::string::npos);
    EXPECT_NE(ParseError("$a:").find("ends after its ':'"), std::string::npos);
    EXPECT_NE(ParseError("$a\r\nb: 1\r\n").find("line break inside a key"), std::string::npos);
}

TEST(HostConfig, FormatRoundTripsLineBreaksAndCodePage) {
    const std::vector<Entry> entries = {{"Language_str", "ger"}, {"Text", "a\r\nb\nc\r\r\nd"}, {"Umlaut", "Über €"}};
    std::string text = HostConfig::Format(entries);
    EXPECT_EQ(text.substr(0, 20), "$Language_str: ger\r\n");
    EXPECT_NE(text.find(std::string("\xDC") + "ber \x80"), std::string::npos);  // Windows-1252 on disk
    const auto back = ParseOk(text);
    ASSERT_EQ(back.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(back[i].key, entries[i].key);
        EXPECT_EQ(back[i].value, entries[i].value);
    }
}

TEST(HostConfig, CodePageReplacesWhatItCannotHold) {
    EXPECT_EQ(HostConfig::Utf8ToCp1252("\xE6\x97\xA5 x"), "? x");         // a CJK character
    EXPECT_EQ(HostConfig::Utf8ToCp1252("\xC3"), "?");                     // truncated sequence
    EXPECT_EQ(HostConfig::Cp1252ToUtf8("\x81\x9F"), "\xC2\x81\xC5\xB8");  // unassigned byte kept, 0x9F is Y-umlaut
}

TEST(HostConfig, FilesAreNibbleSwappedAndSetEntryKeepsTheRest) {
    const std::string path = TestSupport::UserFolder() + "/host_config_test.cfg";
    std::remove(path.c_str());
    std::string error;
    ASSERT_TRUE(HostConfig::SetEntry(path, "First", "1", &error)) << error;
    ASSERT_TRUE(HostConfig::SetEntry(path, "Language_str", "ita", &error)) << error;
    ASSERT_TRUE(HostConfig::SetEntry(path, "Language_str", "ger", &error)) << error;
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    const std::string raw = ss.str();
    ASSERT_FALSE(raw.empty());
    EXPECT_EQ(uint8_t(raw[0]), 0x42);  // '$' is 0x24
    std::vector<Entry> entries;
    ASSERT_TRUE(HostConfig::ReadFile(path, &entries, &error)) << error;
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].key, "First");
    EXPECT_EQ(entries[1].value, "ger");
    std::remove(path.c_str());
}

}  // namespace host_config_test
