// The result codes' header says what each number shows: every code up to the last is named, and the error alert
// shows the text its name's comment gives; the error table's other entries hold the texts their names give.
#include "EnglishHost.hpp"
#include "foundation/Alert.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/Language.hpp"

#include "DGDriver.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <string>

namespace error_code_test {

struct Named {
    std::string name, text;
};

// The entries of one enum of the header: number -> name and the text its comment quotes.
std::map<int32_t, Named> EnumEntries(const std::string& enumName) {
    std::ifstream in(std::string(LODRAVIX_SOURCE_DIR) + "/src/foundation/ErrorCode.hpp");
    const std::regex entry(R"re(^\s+(\w+) = (\d+),\s+// "(.*)")re");
    std::map<int32_t, Named> entries;
    bool inside = false;
    std::smatch m;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("enum " + enumName + " ", 0) == 0) inside = true;
        if (inside && line.rfind("};", 0) == 0) break;
        if (inside && std::regex_search(line, m, entry)) entries[std::stoi(m[2])] = {m[1], m[3]};
    }
    return entries;
}

std::string Utf8(const QV_String& s) { return s.ToStdString(Encoding_UTF8); }

class ErrorCodeTest : public EnglishHostTest {};

TEST_F(ErrorCodeTest, EveryCodeShowsTheTextItsNameGives) {
    const std::map<int32_t, Named> codes = EnumEntries("ErrorCode");
    ASSERT_EQ(codes.rbegin()->first, LastErrorCode);
    for (int32_t code = 1; code <= LastErrorCode; ++code) {
        if (code == ErrorTitleEntry) continue;
        const auto named = codes.find(code);
        ASSERT_NE(named, codes.end()) << code << " has no name";
        DGDriver::ClearQueueAndLog();
        ShowErrorMessage(code, AlertKind::Error);
        ASSERT_EQ(DGDriver::Log().size(), 1u) << named->second.name;
        const std::string shown = DGDriver::Log().back().texts.at(0);
        EXPECT_EQ(shown.substr(0, named->second.text.size()), named->second.text)
            << named->second.name << " = " << code << " shows \"" << shown << "\"";
    }
    DGDriver::ClearQueueAndLog();
    ShowErrorMessage(LastErrorCode + 1, AlertKind::Error);
    EXPECT_TRUE(DGDriver::Log().empty());
}

TEST_F(ErrorCodeTest, TheTableTextsPastTheCodesAreTheirNamesTexts) {
    const std::map<int32_t, Named> texts = EnumEntries("ErrorTableText");
    ASSERT_FALSE(texts.empty());
    for (const auto& [entry, named] : texts) {
        EXPECT_GT(entry, LastErrorCode - 2) << named.name;
        QV_String text;
        EXPECT_EQ(Utf8(GetResString(text, ErrorTableBase + LanguageIndex, entry)), named.text) << named.name;
    }
}

}  // namespace error_code_test
