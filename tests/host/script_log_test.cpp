// What a script run tells its reader: alerts as the user saw them, scripts refused whole before their first line
// runs, the levels of the log, and the reference of dialogs a script is written from.
#include "InProcessHost.hpp"
#include "DGDriver.hpp"
#include "LogText.hpp"
#include "script/DialogReference.hpp"
#include "script/ScriptRunner.hpp"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <regex>

namespace script_log_test {

class ScriptLogTest : public InProcessHostTest {
protected:
    bool Run(const std::string& text) {
        std::ostringstream out;
        ScriptRunner runner(*host, out);
        const bool ok = runner.RunText(text, "test");
        output = out.str() + log.str();
        return ok;
    }
    bool RunFile(const std::string& path) {
        std::ostringstream out;
        ScriptRunner runner(*host, out);
        const bool ok = runner.RunFile(path);
        output = out.str();
        return ok;
    }
    bool Holds(const std::string& text) const { return output.find(text) != std::string::npos; }
    std::string output;
};

TEST_F(ScriptLogTest, AnAlertIsPrintedAsTheUserSawItAtEveryLevel) {
    for (const LogLevel level : {LogLevel::Quiet, LogLevel::Normal, LogLevel::Verbose}) {
        log.str("");
        host->SetLogLevel(level);
        DGDriver::QueueAlertAnswer(2);
        EXPECT_EQ(DGAlert(1, "Import", "Error while reading the file.", "Line 3", "Retry", "Cancel", ""), 2);
        EXPECT_NE(log.str().find("alert \"Import\": \"Error while reading the file.\" \"Line 3\"; buttons \"Retry\", "
                                 "\"Cancel\"; answered \"Cancel\""),
                  std::string::npos)
            << log.str();
        // An alert without title or buttons shows the host's OK.
        log.str("");
        DGAlert(2, "", "Terrain has been created!", "", "", "", "");
        EXPECT_NE(log.str().find("alert (no title): \"Terrain has been created!\"; buttons \"OK\"; answered \"OK\""),
                  std::string::npos)
            << log.str();
    }
    // The host's own account is left out of a quiet log, kept in the others.
    host->SetLogLevel(LogLevel::Quiet);
    log.str("");
    host->Log("a host line");
    host->LogDetail("a lookup");
    EXPECT_EQ(log.str(), "");
    host->SetLogLevel(LogLevel::Normal);
    host->Log("a host line");
    host->LogDetail("a lookup");
    EXPECT_EQ(log.str(), "a host line\n");
}

TEST_F(ScriptLogTest, TheAlertsOfAFailedImportReachTheLog) {
    // A mistyped data file: the module tells the user why, and the log says what it told.
    EXPECT_FALSE(Run("language AUT\nlibrary load \"@module/library\"\nload\nmenu 32501 1\ndialog 32400 click 2\n"
                     "file-dialog \"no such file.asc\"\ndialog 32575 click 5\nexpect elements 1 hotspot\n"));
    EXPECT_TRUE(std::regex_search(
        output,
        std::regex("alert \"[^\"]*\": \"[^\"]+\" \"The file is not there[^\"]*\"; buttons \"OK\"; answered \"OK\"")))
        << output;
}

TEST_F(ScriptLogTest, UnreadableAndEmptyScriptsAreRefusedWithTheReason) {
    EXPECT_FALSE(RunFile(TestSupport::UserFolder()));
    EXPECT_TRUE(Holds("FAILED: cannot read script " + TestSupport::UserFolder() + ": it is a folder")) << output;
    EXPECT_FALSE(RunFile(UserFile("missing.script")));
    EXPECT_TRUE(Holds("No such file or directory")) << output;
    for (const std::string& text : {std::string(), std::string("\n\n"), std::string("# a comment only\n   \n")}) {
        std::ofstream(UserFile("empty.script"), std::ios::trunc) << text;
        EXPECT_FALSE(RunFile(UserFile("empty.script"))) << text;
        EXPECT_TRUE(Holds("FAILED: ")) << output;
        EXPECT_TRUE(Holds("it holds no command")) << output;
    }
    EXPECT_FALSE(host->IsLoaded());
}

// Every command that takes a number or a point is checked before the first line runs: a line with a bad value in
// any such slot refuses the whole script, and nothing of it runs.
TEST_F(ScriptLogTest, EveryBadNumberOrPointIsRefusedBeforeAnythingRuns) {
    using Slot = ScriptLanguage::Slot;
    const ScriptLanguage& language = StandardScriptLanguage();
    // The element the lines name is there before they run: only the bad value refuses them.
    API_Guid named;
    ASSERT_EQ(host->Database().PlaceHotspot({0, 0}, 1, "x", &named), NoError);
    int checked = 0;
    for (size_t f = 0; f < language.Size(); ++f) {
        const ScriptLanguage::Form& form = language.At(f);
        const auto line = [&](size_t bad) {
            std::string s;
            for (size_t i = 0; i < form.slots.size(); ++i) {
                const Slot& slot = form.slots[i];
                std::string word = slot.text;
                if (!slot.literal) {
                    switch (slot.kind) {
                        case Slot::Int: word = "1"; break;
                        case Slot::Number: word = i == bad ? "29,700" : "-2.5e1"; break;
                        case Slot::Point: word = i == bad ? "\"1;2\"" : "\"1,2,3\""; break;
                        case Slot::Points: word = i == bad ? "\"1,2 3,x\"" : "\"1,2 3,4 5,6\""; break;
                        case Slot::Choice: word = slot.choices[0]; break;
                        case Slot::Dialog: word = "32400"; break;
                        case Slot::Text: word = "x"; break;
                        case Slot::Element:
                        case Slot::NewElement: word = "x"; break;
                        case Slot::ElementText: word = "{x}"; break;
                        case Slot::Words: word = "polyline"; break;  // the element types, the one word list
                    }
                }
                s += (s.empty() ? "" : " ") + word;
            }
            return s;
        };
        std::vector<ScriptCommand> commands;
        std::vector<std::string> errors;
        ASSERT_TRUE(language.Parse(line(SIZE_MAX), &commands, &errors, {"x"})) << line(SIZE_MAX) << ": " << errors[0];
        for (size_t i = 0; i < form.slots.size(); ++i) {
            const Slot& slot = form.slots[i];
            if (slot.literal || (slot.kind != Slot::Number && slot.kind != Slot::Point && slot.kind != Slot::Points))
                continue;
            ++checked;
            EXPECT_FALSE(Run("file write \"ran.txt\" \"x\"\n" + line(i) + "\n")) << line(i);
            EXPECT_FALSE(Exists("ran.txt")) << line(i);
            EXPECT_TRUE(Holds("test: line 2: ")) << output;
        }
    }
    EXPECT_GE(checked, 20);
    // The README's own example of a bad argument.
    EXPECT_FALSE(Run("load\nclick -300 29,700\n"));
    EXPECT_TRUE(Holds("line 2: '29,700' is not a number")) << output;
    EXPECT_FALSE(host->IsLoaded());
}

TEST_F(ScriptLogTest, AMistypedLineShowsOnlyTheClosestForms) {
    EXPECT_FALSE(Run("load\nexpect alret \"x\"\n"));
    EXPECT_TRUE(Holds("'alret' does not follow 'expect'")) << output;
    EXPECT_TRUE(Holds("expect alert <text:text>\n")) << output;
    EXPECT_FALSE(Holds("expect elements")) << output;
    EXPECT_FALSE(Run("expekt loaded\n"));
    EXPECT_TRUE(Holds("did you mean 'expect'?")) << output;
    // Too many near forms: the words that may follow are named instead.
    EXPECT_FALSE(Run("expect zzzzzz 1\n"));
    EXPECT_LT(std::count(output.begin(), output.end(), '\n'), 6) << output;
}

// Element events are counted under the command that caused them, unless every one is asked for.
TEST_F(ScriptLogTest, ElementEventsAreCountedPerCommandUnlessVerbose) {
    // The project stays between runs: each run names its own hotspots.
    const auto script = [](const std::string& run) {
        return "load\nplace hotspot A" + run + " \"1,1\"\nplace hotspot B" + run + " \"2,2\"\nrelease\n";
    };
    const auto count = [&](const std::string& text) {
        size_t n = 0;
        for (size_t at = output.find(text); at != std::string::npos; at = output.find(text, at + 1)) ++n;
        return n;
    };
    ASSERT_TRUE(Run(script("1"))) << output;
    EXPECT_EQ(count("\n    1 element created\n"), 2u) << output;
    EXPECT_EQ(count("element event"), 0u) << output;
    host->SetLogLevel(LogLevel::Verbose);
    log.str("");
    ASSERT_TRUE(Run(script("2"))) << output;
    EXPECT_EQ(count("host: element event 1 (hotspot "), 2u) << output;
    EXPECT_EQ(count("element created"), 0u) << output;
    host->SetLogLevel(LogLevel::Quiet);
    log.str("");
    ASSERT_TRUE(Run(script("3"))) << output;
    EXPECT_EQ(count("element"), 0u) << output;
    EXPECT_EQ(count("\n[2] place hotspot A3 \"1,1\"\n"), 1u) << output;
}

TEST_F(ScriptLogTest, AStoppedRunCountsTheLinesItRan) {
    EXPECT_FALSE(Run("load\nexpect loaded\nmenu 32505 1\nrelease\nexpect unloaded\n"));
    EXPECT_TRUE(Holds("stopped early at line 3, 3 of 5 commands run")) << output;
}

// A polygon finished too early and then left without clicks names both causes, the first one first.
TEST_F(ScriptLogTest, APolygonFinishedTooEarlyNamesTheCause) {
    ASSERT_TRUE(host->Load());
    InteractiveInput& in = host->Input();
    API_GetPolyType rec = {};
    rec.method = APIPolyInput_Polygon;
    rec.startCoord = {0, 0, 0};
    in.QueuePoint(4, 0);
    in.QueueDone();
    API_RubberLineInputProc* none = nullptr;
    EXPECT_EQ(ACAPI_Interface(APIIo_GetPolyID, &rec, &none), APIERR_CANCEL);
    EXPECT_EQ(in.LastNote().rfind("the polygon was finished with 2 point(s), fewer than the 3 it needs", 0), 0u)
        << in.LastNote();
    EXPECT_NE(in.LastNote().find("no click is queued"), std::string::npos) << in.LastNote();
}

// The log is UTF-8 whatever bytes the module hands over: valid UTF-8 stays as it is, any other byte is read as
// Windows-1252.
TEST(LogTextTest, AnyBytesBecomeValidUtf8AndUtf8StaysAsItIs) {
    EXPECT_EQ(LogText("H\xf8ydekurve"), "H\xc3\xb8ydekurve");
    EXPECT_EQ(LogText("\x80 \x9f \x81"), "\xe2\x82\xac \xc5\xb8 \xef\xbf\xbd");
    EXPECT_EQ(LogText("H\xc3\xb8ydekurve \xe2\x82\xac \xf0\x9f\x98\x80"),
              "H\xc3\xb8ydekurve \xe2\x82\xac \xf0\x9f\x98\x80");
    std::mt19937 random(7);
    for (int round = 0; round < 2000; ++round) {
        std::string bytes(size_t(random() % 24), '\0');
        for (char& c : bytes) c = char(random() % 256);
        const std::string text = LogText(bytes);
        GS::UniString decoded;
        EXPECT_TRUE(GS::UniString::DecodeUtf8(text.data(), uint32_t(text.size()), &decoded));
        EXPECT_EQ(LogText(text), text);  // converting twice changes nothing
        size_t plain = 0;
        for (const char c : bytes) plain += (unsigned char)c < 0x80 ? 1 : 0;
        size_t plainOut = 0;
        for (const char c : text) plainOut += (unsigned char)c < 0x80 ? 1 : 0;
        EXPECT_EQ(plain, plainOut);  // no ASCII byte is lost or made up
    }
}

// The reference lists each dialog with every item a script can set or click, and the input palette the host's
// language shows.
TEST(DialogReferenceTest, ListsTheAscImportDialogsItemsAndThePaletteOfTheLanguage) {
    const std::string resources = TestSupport::BinDir() + "/resources";
    std::ostringstream aut, other;
    std::string why;
    ASSERT_TRUE(WriteDialogReference(resources, "AUT", aut, &why)) << why;
    ASSERT_TRUE(WriteDialogReference(resources, "INT", other, &why)) << why;
    const std::string text = aut.str();
    const size_t start = text.find("\n32577 \"ASC File Import\"\n");
    ASSERT_NE(start, std::string::npos) << text;
    const size_t end = text.find("\n\n", start + 1);
    const std::string section = text.substr(start, end - start);
    std::ifstream layout(resources + "/DLOG/32577.txt");
    int items = 0;
    bool inPage = false;
    for (std::string line; std::getline(layout, line);) {
        inPage = (inPage || line.rfind("page ", 0) == 0) && line != "endpage";
        std::istringstream words(line);
        std::string word, id, kind;
        words >> word >> id >> kind;
        if (inPage || word != "item" || kind == "static" || kind == "groupbox" || kind == "separator" ||
            kind == "picture" || kind == "icon")
            continue;
        ++items;
        EXPECT_NE(section.find("\n  " + id + " "), std::string::npos) << "item " << id << "\n" << section;
    }
    EXPECT_GT(items, 5);
    EXPECT_NE(section.find(" 1 "), std::string::npos);
    EXPECT_NE(text.find("\n32575 "), std::string::npos);
    EXPECT_EQ(text.find("\n32401 "), std::string::npos);
    EXPECT_NE(other.str().find("\n32401 "), std::string::npos);
    EXPECT_EQ(other.str().find("\n32575 "), std::string::npos);
    std::ostringstream none;
    EXPECT_FALSE(WriteDialogReference(TestSupport::UserFolder(), "", none, &why));
    EXPECT_NE(why.find("no dialog layouts"), std::string::npos);
}

// The reference starts with the menu and the tool palette as each language shows them: the menu resource the
// module registers and its items as the resource writes them, and the input sub-palette the palette's second
// button opens; a language it does not know is refused with those it knows.
TEST(DialogReferenceTest, StartsWithTheMenuAndTheSubPalettesOfEachLanguage) {
    const std::string resources = TestSupport::BinDir() + "/resources";
    const std::string codes[] = {"ITA", "INT", "FRA", "GER", "SPA", "JAP", "RUS", "NOR", "AUT"};
    std::string why;
    for (size_t k = 0; k < std::size(codes); ++k) {
        const std::string& code = codes[k];
        std::ostringstream out;
        ASSERT_TRUE(WriteDialogReference(resources, code, out, &why)) << why;
        const std::string text = out.str();
        const size_t dialogs = text.find("\n32400 ");
        ASSERT_NE(dialogs, std::string::npos) << code;
        const std::string head = text.substr(0, dialogs);
        // The host's languages leave the module's own, and so its menu, English.
        const int menu = 32500 + (k < 7 ? int(k) : 1);
        EXPECT_NE(head.find("  menu " + std::to_string(menu) + "  "), std::string::npos) << code << "\n" << head;
        std::ifstream file(resources + "/MENU/" + std::to_string(menu) + ".txt");
        int items = 0;
        for (std::string line; std::getline(file, line);) {
            if (line.empty() || line[0] == '#' || line.find('=') == std::string::npos) continue;
            const int index = std::stoi(line.substr(0, line.find('=')));
            if (index < 3) continue;
            const std::string label = line.substr(line.find('=') + 1, line.find('^') - line.find('=') - 1);
            ++items;
            EXPECT_NE(head.find("  item " + std::to_string(index - 2) + "  \"" + label + "\""), std::string::npos)
                << code << " " << label << "\n"
                << head;
        }
        EXPECT_EQ(items, 3) << code;
        EXPECT_NE(head.find("opens 32400 \"Lodravix\", the tool palette"), std::string::npos) << head;
        EXPECT_EQ(head.find(" \n"), std::string::npos) << "no line ends in a blank\n" << head;
        const std::string input = code == "NOR" ? "32407" : code == "AUT" ? "32575" : "32401";
        for (const std::string sub : {"32401", "32407", "32575"})
            EXPECT_EQ(head.find("      " + sub + " ") != std::string::npos, sub == input) << code << " " << sub << "\n"
                                                                                          << head;
        for (const auto& [sub, when] :
             {std::pair<std::string, std::string>{"32406 \"Worksheet\"", "worksheet in front"},
              {"32405 \"Section\"", "section window in front"}}) {
            const size_t at = head.find("\n      " + sub);
            ASSERT_NE(at, std::string::npos) << sub << "\n" << head;
            EXPECT_NE(head.substr(at, head.find('\n', at + 1) - at).find(when), std::string::npos) << head;
        }
    }
    // Without a language: every menu and every input sub-palette.
    std::ostringstream all;
    ASSERT_TRUE(WriteDialogReference(resources, "", all, &why)) << why;
    const std::string head = all.str().substr(0, all.str().find("\n32400 "));
    for (int menu = 32500; menu <= 32506; ++menu)
        EXPECT_NE(head.find("  menu " + std::to_string(menu) + "  "), std::string::npos) << head;
    for (const char* sub : {"32401", "32402", "32403", "32404", "32405", "32406", "32407", "32575", "32730"})
        EXPECT_NE(head.find(std::string("      ") + sub + " "), std::string::npos) << sub << "\n" << head;
    for (const char* unknown : {"XXX", "nor", "ENG", " INT"}) {
        std::ostringstream none;
        EXPECT_FALSE(WriteDialogReference(resources, unknown, none, &why)) << unknown;
        EXPECT_EQ(why.rfind(std::string("unknown language ") + unknown + "; the languages are", 0), 0u) << why;
        for (const std::string& code : codes) EXPECT_NE(why.find(" " + code + " ("), std::string::npos) << why;
        EXPECT_TRUE(none.str().empty());
    }
}
// A clicked point is logged with every digit it has: each logged coordinate reads back to the clicked double.
TEST_F(ScriptLogTest, ClickedPointsAreLoggedInFull) {
    std::mt19937_64 random(53);
    std::uniform_real_distribution<double> east(1e5, 9e5), north(6e6, 8e6);
    std::vector<std::pair<double, double>> clicks = {
        {286011.123456789, 5563221.987654321}, {0.1, 1e-7}, {500000, 6500000}, {-300000, 1e15}};
    for (int i = 0; i < 8; ++i) clicks.emplace_back(east(random), north(random));
    std::ostringstream script;
    script.precision(17);
    script << "library load \"@module/library\"\nload\nmenu 32501 1\ndialog 32400 click 2\n";
    for (const auto& [x, y] : clicks) script << "click " << x << " " << y << "\n";
    script << "click cancel\ndialog 32401 click 5\n";
    ASSERT_TRUE(Run(script.str())) << output;
    const std::regex logged(R"(point input "[^"]*" -> \(([^,]+), ([^,]+), ([^)]+)\))");
    size_t found = 0;
    for (auto it = std::sregex_iterator(output.begin(), output.end(), logged); it != std::sregex_iterator(); ++it) {
        if (found >= clicks.size()) break;
        EXPECT_EQ(std::strtod((*it)[1].str().c_str(), nullptr), clicks[found].first) << (*it)[0];
        EXPECT_EQ(std::strtod((*it)[2].str().c_str(), nullptr), clicks[found].second) << (*it)[0];
        // Plain decimals at a survey's sizes: 500000, not 5e+05.
        for (int c : {1, 2}) {
            const double v = std::fabs(c == 1 ? clicks[found].first : clicks[found].second);
            if (v >= 1e-5 && v < 1e16) {
                EXPECT_EQ((*it)[c].str().find('e'), std::string::npos) << (*it)[0];
            }
        }
        ++found;
    }
    EXPECT_EQ(found, clicks.size()) << output;
}

// `@user` names the user folder whatever the form it was given in: a relative user folder is not taken beside the
// script (the export's file lands in the user folder, not in the script's).
TEST_F(ScriptLogTest, AtUserIsTheUserFolderWhenItWasGivenRelative) {
    // The first run makes the terrain the export writes; each run exports it to "@user/site.txt".
    const std::string start = "library load \"@module/library\"\nload\nmenu 32501 1\ndialog 32400 click 2\n";
    const std::string terrain =
        "place mesh M \"0,0,0 20,0,0 20,20,1 0,20,2\"\nselect M\ndialog 32527 click 1\ndialog 32401 click 4\n";
    const std::string exportTo = "file-dialog \"@user/site.txt\"\ndialog 32401 click 11\n";
    std::error_code ec;
    const std::string absolute = host->Settings().userFolder;
    std::filesystem::create_directories(UserFile("scripts"));
    bool first = true;
    for (const std::string& form :
         {std::filesystem::relative(absolute, std::filesystem::current_path(ec)).string(), absolute, absolute + "/"}) {
        host->Settings().userFolder = form;
        std::filesystem::remove(UserFile("site.txt"), ec);
        log.str("");
        std::ofstream(UserFile("scripts/export.script"), std::ios::trunc)
            << start << (first ? terrain : "") << exportTo;
        first = false;
        EXPECT_TRUE(RunFile(UserFile("scripts/export.script"))) << form << "\n" << output;
        EXPECT_TRUE(Exists("site.txt")) << form;
        EXPECT_FALSE(Exists("scripts/site.txt")) << form;
        EXPECT_NE(log.str().find("\"" + absolute + "/site.txt\""), std::string::npos) << log.str();
    }
    host->Settings().userFolder = absolute;
}

}  // namespace script_log_test
