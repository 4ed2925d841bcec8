// Alerts as values: the arguments fill the templates of every language's tables, the kind reaches the host and
// decides whether the alert tells of a failure.
#include "EnglishHost.hpp"
#include "foundation/Alert.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/Language.hpp"

#include "DGDriver.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace alert_test {

std::string Utf8(const QV_String& s) { return s.ToStdString(Encoding_UTF8); }

// The filling written out plainly: "{n}" with n 1 to 9 and an argument n is the argument, all else stays.
std::string Reference(const std::string& text, const std::vector<std::string>& arguments) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '{' && i + 2 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9' && text[i + 2] == '}' &&
            size_t(text[i + 1] - '1') < arguments.size()) {
            out += arguments[size_t(text[i + 1] - '1')];
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

TEST(FillArguments, FillsEachSlotOnceAndLeavesEverythingElseAsWritten) {
    std::mt19937 random(20261209);
    const std::string pieces[] = {"{1}",   "{2}", "{3}", "{9}", "{0}", "{",    "}",
                                  "{{1}}", "{1",  "a",   " ",   "é",   "{12}", "x{"};
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        const int parts = int(random() % 8);
        for (int p = 0; p < parts; ++p) text += pieces[random() % std::size(pieces)];
        std::vector<std::string> arguments;
        std::vector<QV_String> given;
        const int count = int(random() % 4);
        for (int a = 0; a < count; ++a) {
            // Arguments that hold slots themselves are not filled again.
            arguments.push_back(a % 2 == 0 ? "Wall " + std::to_string(a) : "{1}");
            given.emplace_back(arguments.back().c_str(), 0, Encoding_UTF8);
        }
        const QV_String filled = FillArguments(QV_String(text.c_str(), 0, Encoding_UTF8), given);
        EXPECT_EQ(Utf8(filled), Reference(text, arguments)) << "\"" << text << "\" with " << count << " arguments";
    }
}

// Entry -> text of one table file.
std::map<int, std::string> Table(const std::filesystem::path& file) {
    std::map<int, std::string> entries;
    std::ifstream in(file);
    const std::regex line(R"(^\s*(\d+)\s*=(.*)$)");
    std::smatch m;
    for (std::string l; std::getline(in, l);)
        if (!l.empty() && l[0] != '#' && std::regex_match(l, m, line)) entries.emplace(std::stoi(m[1]), m[2]);
    return entries;
}

std::multiset<std::string> Slots(const std::string& text) {
    std::multiset<std::string> slots;
    const std::regex slot(R"(\{[1-9]\})");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), slot); it != std::sregex_iterator(); ++it)
        slots.insert(it->str());
    return slots;
}

// Every language's table holds the slots of the English one for each entry it gives, and the slots of a template
// are numbered from 1 without a gap: a translation cannot drop what the alert names, nor ask for an argument
// the code does not give.
TEST(AlertTemplates, EveryLanguageHoldsTheSlotsOfTheEnglishTable) {
    const std::filesystem::path folder = std::filesystem::path(LODRAVIX_SOURCE_DIR) / "resources" / "STRS";
    int templates = 0;
    for (const auto& file : std::filesystem::directory_iterator(folder)) {
        const int id = std::stoi(file.path().stem().string());
        const int group = id - id % 10;
        const std::filesystem::path english = folder / (std::to_string(group + LanguageEnglish) + ".txt");
        ASSERT_TRUE(std::filesystem::exists(english)) << english;
        const std::map<int, std::string> own = Table(file.path()), reference = Table(english);
        for (const auto& [entry, text] : own) {
            const std::multiset<std::string> slots = Slots(text);
            templates += slots.empty() ? 0 : 1;
            int n = 0;
            for (const std::string& s : std::set<std::string>(slots.begin(), slots.end())) {
                EXPECT_EQ(s, "{" + std::to_string(++n) + "}") << file.path().filename() << " entry " << entry;
            }
            const auto en = reference.find(entry);
            if (en != reference.end()) {
                EXPECT_EQ(slots, Slots(en->second)) << file.path().filename() << " entry " << entry;
            }
        }
    }
    EXPECT_GE(templates, 3);
}

class AlertTest : public EnglishHostTest {};

// The kind reaches the host as its alert type; every kind but information counts as a failure told.
TEST_F(AlertTest, TheKindIsTheHostsAlertTypeAndOnlyInformationTellsNoFailure) {
    for (AlertKind kind : {AlertKind::Error, AlertKind::Warning, AlertKind::Information}) {
        const int before = WarningsShown();
        ShowAlert(Alert(ErrCalculation, kind));
        ASSERT_FALSE(DGDriver::Log().empty());
        EXPECT_EQ(DGDriver::Log().back().id, static_cast<int>(kind));
        EXPECT_EQ(DGDriver::Log().back().texts.at(0), "Calculation error.");
        EXPECT_EQ(WarningsShown() - before, kind == AlertKind::Information ? 0 : 1);
    }
    // A code stands for its alert; no code and codes past the table show nothing.
    DGDriver::ClearQueueAndLog();
    for (int32_t code : {0, -3, LastErrorCode + 1}) ShowAlert(code);
    EXPECT_TRUE(DGDriver::Log().empty());
}

// Arguments fill the title, message and small text alike; the count goes in as its digits.
TEST_F(AlertTest, ArgumentsFillEveryTextOfTheAlert) {
    ShowAlert(Alert(AlertKind::Warning, ErrorTitleText, AlertText{ErrorTableBase, SharedNameText},
                    AlertText{ErrorTableBase, NotUpdatedText})
                  .With(QV_String("East bridge"))
                  .With(uint64_t(2))
                  .With(uint64_t(3)));
    const DGDriver::LogRecord& shown = DGDriver::Log().back();
    EXPECT_EQ(shown.title, "Error");
    EXPECT_EQ(shown.texts.at(0), "East bridge (2 of 3)");
    EXPECT_EQ(shown.texts.at(1), "Left as they were: East bridge");
    // A small text the resources cannot give still names what it was to name, without the marker.
    ShowAlert(Alert(ErrUpdateFailed).Beneath(AlertText{ErrorTableBase, 9999}).With(QV_String("East bridge")));
    EXPECT_EQ(DGDriver::Log().back().texts.at(0), "Error while modifying one or more objects.");
    EXPECT_EQ(DGDriver::Log().back().texts.at(1), "East bridge");
}

}  // namespace alert_test
