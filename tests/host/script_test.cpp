// The stand-in host's script language: words, numbers, patterns, and what a run does with failures.
#include "InProcessHost.hpp"
#include "DGDriver.hpp"
#include "script/ScriptRunner.hpp"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <sstream>

namespace script_test {

std::vector<std::string> ParseErrors(const std::string& text) {
    std::vector<ScriptCommand> commands;
    std::vector<std::string> errors;
    StandardScriptLanguage().Parse(text, &commands, &errors);
    return errors;
}

std::string OnlyError(const std::string& text) {
    const std::vector<std::string> errors = ParseErrors(text);
    EXPECT_EQ(errors.size(), 1u) << text;
    return errors.empty() ? std::string() : errors[0];
}

TEST(ScriptWords, QuotesEscapesAndComments) {
    std::vector<ScriptToken> t;
    std::string error;
    ASSERT_TRUE(TokenizeScriptLine("  config \"Brenmaro.cfg\" \"a \\\"b\\\"\\r\\n#c\" x  # comment", &t, &error));
    ASSERT_EQ(t.size(), 4u);
    EXPECT_EQ(t[0].text, "config");
    EXPECT_FALSE(t[0].quoted);
    EXPECT_TRUE(t[1].quoted);
    EXPECT_EQ(t[2].text, "a \"b\"\r\n#c");
    EXPECT_EQ(t[3].text, "x");
    ASSERT_TRUE(TokenizeScriptLine("\"\"", &t, &error));
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0].text, "");
    ASSERT_TRUE(TokenizeScriptLine("# only a comment", &t, &error));
    EXPECT_TRUE(t.empty());
}

TEST(ScriptWords, BrokenQuotesAreErrors) {
    std::vector<ScriptToken> t;
    std::string error;
    EXPECT_FALSE(TokenizeScriptLine("echo \"open", &t, &error));
    EXPECT_FALSE(TokenizeScriptLine("echo \"ends in a backslash\\", &t, &error));
    EXPECT_FALSE(TokenizeScriptLine("echo \"bad \\q escape\"", &t, &error));
    EXPECT_FALSE(TokenizeScriptLine("echo \"a\"b", &t, &error));
    EXPECT_FALSE(TokenizeScriptLine("echo a\"b\"", &t, &error));
}

TEST(ScriptNumbers, RangeAndForms) {
    int64_t v = 0;
    EXPECT_TRUE(ParseScriptInt("32501", &v));
    EXPECT_EQ(v, 32501);
    EXPECT_TRUE(ParseScriptInt("-1", &v));
    EXPECT_EQ(v, -1);
    EXPECT_TRUE(ParseScriptInt("0x81060001", &v));
    EXPECT_EQ(v, 0x81060001ll);
    EXPECT_TRUE(ParseScriptInt("0xFFFFFFFF", &v));
    EXPECT_TRUE(ParseScriptInt("-2147483648", &v));
    EXPECT_EQ(v, -2147483648ll);
    for (const char* bad : {"", "-", "0x", "x1", "1x", "12a", "1e3", "1.5", "--1", "+1", "-2147483649", "4294967296",
                            "0x100000000", "99999999999999999999999", " 1", "0x-1"})
        EXPECT_FALSE(ParseScriptInt(bad, &v)) << bad;
}

TEST(ScriptParse, UnknownCommandNamesItsLine) {
    EXPECT_EQ(OnlyError("load\n\n  frobnicate 3\n"), "line 3: unknown command 'frobnicate'");
    // A quoted word is never a command word.
    EXPECT_EQ(OnlyError("\"load\"\n"), "line 1: unknown command 'load'");
}

TEST(ScriptParse, BadNumbersNameLineAndSlot) {
    const std::string e = OnlyError("load\nmenu 32501 first\n");
    EXPECT_EQ(e.rfind("line 2: 'first' is not a number (<item>", 0), 0u) << e;
    EXPECT_NE(e.find("menu <menu:int> <item:int>"), std::string::npos) << e;
    EXPECT_EQ(OnlyError("version 99999999999\n").rfind("line 1: '99999999999' is not a number", 0), 0u);
    EXPECT_EQ(OnlyError("dialog 0x7g click 1\n").rfind("line 1: '0x7g' is not a number", 0), 0u);
    EXPECT_EQ(OnlyError("expect result Initialize zero\n").rfind("line 1: 'zero' is not a number", 0), 0u);
}

TEST(ScriptParse, MissingExtraAndWrongWords) {
    EXPECT_EQ(OnlyError("menu 32501\n").rfind("line 1: missing <item>", 0), 0u);
    EXPECT_EQ(OnlyError("release now\n").rfind("line 1: unexpected 'now'", 0), 0u);
    EXPECT_EQ(OnlyError("expect result Init 0\n").rfind("line 1: 'Init' is not one of CheckEnvironment|", 0), 0u);
    EXPECT_EQ(OnlyError("suite here\n").rfind("line 1: 'here' is not one of present|absent", 0), 0u);
    EXPECT_EQ(OnlyError("dialog 32734 push 1\n").rfind("line 1: 'push' does not follow 'dialog 32734'", 0), 0u);
    EXPECT_EQ(OnlyError("echo \"open\n").rfind("line 1: quoted text is not closed", 0), 0u);
}

TEST(ScriptParse, EveryBadLineIsReported) {
    const std::vector<std::string> errors = ParseErrors("nope\nload\nmenu a b\nalert\n");
    ASSERT_EQ(errors.size(), 3u);
    EXPECT_EQ(errors[0].rfind("line 1:", 0), 0u);
    EXPECT_EQ(errors[1].rfind("line 3:", 0), 0u);
    EXPECT_EQ(errors[2].rfind("line 4:", 0), 0u);
}

TEST(ScriptParse, OptionalSlotsAndCrLfLines) {
    std::vector<ScriptCommand> commands;
    std::vector<std::string> errors;
    ASSERT_TRUE(StandardScriptLanguage().Parse("expect log \"x\"\r\nexpect log \"x\" 2\r\n", &commands, &errors));
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_FALSE(commands[0].args.Has("count"));
    EXPECT_EQ(commands[1].args.Int("count"), 2);
    EXPECT_EQ(commands[1].source, "expect log \"x\" 2");
}

// A word of the slot's kind that the line takes, the element named "Terrain" being bound before.
std::string GoodWord(const ScriptLanguage::Slot& slot) {
    using Slot = ScriptLanguage::Slot;
    if (slot.literal) return slot.text;
    switch (slot.kind) {
        case Slot::Int: return "1";
        case Slot::Number: return "2.5";
        case Slot::Point: return "\"1,2\"";
        case Slot::Points: return "\"1,2 3,4 5,6\"";
        case Slot::Choice: return slot.choices[0];
        case Slot::Dialog: return "32400";
        case Slot::Text: return "x";
        case Slot::Element: return "Terrain";
        case Slot::NewElement: return "Made";
        case Slot::ElementText: return "\"at {Terrain}\"";
        case Slot::Words: return "polyline";
    }
    return "x";
}

// A letter dropped, one doubled, two neighbours swapped, one changed, a capital made small.
std::vector<std::string> Misspellings(const std::string& word) {
    std::vector<std::string> out;
    for (size_t i = 0; i < word.size(); i += 3) {
        out.push_back(word.substr(0, i) + word.substr(i + 1));
        out.push_back(word.substr(0, i + 1) + word.substr(i));
        if (i + 1 < word.size()) out.push_back(word.substr(0, i) + word[i + 1] + word[i] + word.substr(i + 2));
        out.push_back(word.substr(0, i) + (word[i] == 'q' ? 'z' : 'q') + word.substr(i + 1));
    }
    out.push_back(std::string(1, char(std::tolower(word[0]))) + word.substr(1));
    out.erase(std::remove(out.begin(), out.end(), word), out.end());
    return out;
}

// Every check that names an element or an element type refuses the whole script, before its first line runs,
// when the name is misspelt: the error names the line and the closest names, the right one among them.
TEST(ScriptParse, EveryMisspeltNameOfACheckIsRefusedWhenTheScriptIsRead) {
    using Slot = ScriptLanguage::Slot;
    const ScriptLanguage& language = StandardScriptLanguage();
    const std::string before = "place hotspot Terrain \"1,1\"\n";
    int checked = 0;
    for (size_t f = 0; f < language.Size(); ++f) {
        const ScriptLanguage::Form& form = language.At(f);
        const auto line = [&](size_t bad, const std::string& badWord) {
            std::string s;
            for (size_t i = 0; i < form.slots.size(); ++i)
                s += (i ? " " : "") + (i == bad ? badWord : GoodWord(form.slots[i]));
            return s;
        };
        std::vector<ScriptCommand> commands;
        std::vector<std::string> errors;
        ASSERT_TRUE(language.Parse(before + line(SIZE_MAX, ""), &commands, &errors))
            << form.pattern << ": " << errors[0];
        ASSERT_EQ(commands.back().form, f) << form.pattern;
        for (size_t i = 0; i < form.slots.size(); ++i) {
            const Slot& slot = form.slots[i];
            if (slot.literal ||
                (slot.kind != Slot::Element && slot.kind != Slot::ElementText && slot.kind != Slot::Words))
                continue;
            EXPECT_TRUE(form.isCheck || slot.kind == Slot::Words) << form.pattern;
            const std::string right = slot.kind == Slot::Words ? "polyline" : "Terrain";
            for (const std::string& wrong : Misspellings(right)) {
                const std::string word = slot.kind == Slot::ElementText ? "\"at {" + wrong + "}\"" : wrong;
                const std::string text = before + line(i, word) + "\n";
                ++checked;
                errors.clear();
                ASSERT_FALSE(language.Parse(text, &commands, &errors)) << text;
                ASSERT_EQ(errors.size(), 1u) << text;
                EXPECT_EQ(errors[0].rfind("line 2: '" + wrong + "'", 0) == 0 ||
                              errors[0].rfind("line 2: no line before names an element '" + wrong + "'", 0) == 0,
                          true)
                    << errors[0];
                EXPECT_NE(errors[0].find("closest"), std::string::npos) << errors[0];
                EXPECT_NE(errors[0].find("'" + right + "'"), std::string::npos) << errors[0];
                EXPECT_NE(errors[0].find(form.pattern), std::string::npos) << errors[0];
            }
        }
    }
    EXPECT_GE(checked, 100);
}

// A name is known when an earlier line gave it, not when a later one does; an element type may be written as
// its number or, with a blank, in quotes.
TEST(ScriptParse, NamesAreKnownFromTheLineThatGivesThemOn) {
    EXPECT_EQ(OnlyError("expect selected P\nplace polyline P \"0,0 1,1\"\n").rfind("line 1: no line before names", 0),
              0u);
    EXPECT_NE(OnlyError("expect selected P\n").find("none names any element"), std::string::npos);
    for (const char* good :
         {"place polyline P \"0,0 1,1\"\nexpect selected P\n",
          "place hotspot H \"0,0\"\ncopy H C 1 1\nexpect selected C\n", "name N object\nexpect param N A \"{N}\"\n",
          "legacy object O VY_X \"0,0\"\nexpect record O 28 \"{O} and {O}\"\n",
          "mesh-points M \"0,0,0 1,0,0 0,1,0\"\nexpect model M bodies 1\n",
          "expect elements 0 20\nexpect elements 0 \"section marker\"\nexpect elements 0 \"type 11\"\n",
          "expect record-texts hotspot 53 \"\"\nexpect worksheet W elements 0 mesh\n"})
        EXPECT_TRUE(ParseErrors(good).empty()) << good << ParseErrors(good)[0];
    for (const char* bad : {"expect elements 0 polylines\n", "expect elements 0 0\n", "expect elements 0 78\n",
                            "expect elements 0 \"type 10\"\n", "expect record-texts Hotspot 53 \"\"\n"})
        EXPECT_EQ(OnlyError(bad).rfind("line 1: '", 0), 0u) << bad;
}

class ScriptRunTest : public InProcessHostTest {
protected:
    bool Run(const std::string& text) {
        std::ostringstream out;
        ScriptRunner runner(*host, out);
        const bool ok = runner.RunText(text, "test");
        output = out.str();
        failures = runner.Failures();
        return ok;
    }
    std::string output;
    int failures = 0;
};

// What a user asks the project is printed and fails nothing, a question it cannot answer included: a height on and
// off the terrain, a parameter that is there and one that is not, the volumes an earthwork cuts and fills (a plane
// z = 10 + 0.1x + 0.05y, a box taking everything above -1 over 10 by 10 m, a box filling up to 20 over another).
TEST_F(ScriptRunTest, PrintAnswersWithoutFailingTheRun) {
    const std::string script = "library load \"@module/library\"\n"
                               "print volumes\n"
                               "mesh-points T \"0,0,10 40,0,14 40,20,15 0,20,11\"\n"
                               "legacy object C VY_ROAD 15,5\n"
                               "body C box 10,0,-1 20,10,11\n"
                               "link T C SSUU\n"
                               "legacy object F VY_ROAD 35,5\n"
                               "body F box 30,0,12 40,10,20\n"
                               "link T F SADD\n"
                               "print height T 25 15\n"
                               "print height T 1000 1000\n"
                               "print height C 500 500\n"
                               "print param C operatore\n"
                               "print param C slope_inc_cut\n"
                               "print param C no_such_parameter\n"
                               "print param NoSuchObject A\n"
                               "print volumes\n"
                               "print volumes T\n";
    EXPECT_TRUE(Run(script)) << output;
    EXPECT_EQ(failures, 0);
    EXPECT_NE(output.find("volumes: the project has no terrain"), std::string::npos) << output;
    EXPECT_NE(output.find("height of T at 25 15: 13.25 m"), std::string::npos) << output;
    EXPECT_NE(output.find("height of T at 1000 1000: none ("), std::string::npos) << output;
    EXPECT_NE(output.find("height of C at 500 500: none ("), std::string::npos) << output;
    EXPECT_NE(output.find("operatore of C = \"result\""), std::string::npos) << output;
    EXPECT_NE(output.find("slope_inc_cut of C = 2"), std::string::npos) << output;
    EXPECT_NE(output.find("C has no parameter no_such_parameter"), std::string::npos) << output;
    EXPECT_NE(output.find("param: no element is named NoSuchObject"), std::string::npos) << output;
    // Cut: 100 m2 from the plane's 11.75 m at the box's middle down to -1; fill: 100 m2 from 13.75 m up to 20.
    const size_t volumes = output.find("volumes of terrain T:");
    ASSERT_NE(volumes, std::string::npos) << output;
    EXPECT_NE(output.find("cut 1,275 m3, fill 625 m3", volumes), std::string::npos) << output;
    EXPECT_NE(output.rfind("PASSED"), std::string::npos) << output;
    // A misspelt question is refused before the run, as any command is.
    EXPECT_FALSE(ParseErrors("print heights T 1 1\n").empty());
}

TEST_F(ScriptRunTest, NothingRunsWhenALaterLineIsBad) {
    EXPECT_FALSE(Run("file write \"a.txt\" \"x\"\nload\nmenu 1 x\n"));
    EXPECT_FALSE(Exists("a.txt"));
    EXPECT_FALSE(host->IsLoaded());
    EXPECT_NE(output.find("test: line 3:"), std::string::npos) << output;
}

TEST_F(ScriptRunTest, FailedChecksAreCountedAndTheRunGoesOn) {
    EXPECT_FALSE(Run("load\nexpect menu registered 32503\nexpect menu handlers 6\nexpect loaded\n"));
    EXPECT_EQ(failures, 2);
    EXPECT_NE(output.find("FAILED (line 2): menu registered from resource 32501, expected 32503"), std::string::npos)
        << output;
    EXPECT_NE(output.find("[4] expect loaded"), std::string::npos);
}

TEST_F(ScriptRunTest, FailedActionStopsTheScript) {
    EXPECT_FALSE(Run("load\nmenu 32505 1\nfile write \"after.txt\" \"x\"\n"));
    EXPECT_FALSE(Exists("after.txt"));
    EXPECT_NE(output.find("the script stops here"), std::string::npos);
    // The host still releases the module at the end.
    EXPECT_FALSE(host->IsLoaded());
}

TEST_F(ScriptRunTest, UnusedDialogActionFailsTheRun) {
    EXPECT_FALSE(Run("load\nalert 2\n"));
    EXPECT_NE(output.find("queued dialog action never used"), std::string::npos) << output;
    DGDriver::ClearQueueAndLog();
}

// Clicks the script queued that no input took fail the run with their lines: by a release (the run goes on,
// the clicks are dropped) or by the end of the script.
TEST_F(ScriptRunTest, ClicksNoInputTookFailTheRunWithTheirLines) {
    EXPECT_FALSE(Run("load\nclick 1.5 -2\nclick cancel\nrelease\nexpect unloaded\n"));
    EXPECT_EQ(failures, 1) << output;
    EXPECT_NE(output.find("FAILED (line 4): 2 queued click(s) no input took by release:\n"
                          "        line 2: click 1.5 -2\n        line 3: click cancel\n"),
              std::string::npos)
        << output;
    EXPECT_NE(output.find("[5] expect unloaded"), std::string::npos) << output;
    EXPECT_FALSE(Run("place hotspot H \"1,1\"\n\nclick 2 3 H 1\nclick done\n"));
    EXPECT_NE(output.find("FAILED: 2 queued click(s) no input took by the end of the script:\n"
                          "    line 3: click 2 3 H 1\n    line 4: click done\n"),
              std::string::npos)
        << output;
    EXPECT_EQ(host->Input().PendingClicks(), 0u);
    EXPECT_TRUE(Run("place hotspot K \"1,1\"\n")) << output;  // the next run finds none left
}

// A name whose element is gone says which line removed it; an undo that brings the element back brings the
// name back too.
TEST_F(ScriptRunTest, AGoneElementsNameNamesTheLineThatRemovedIt) {
    EXPECT_FALSE(Run("place hotspot H \"1,1\"\nplace hotspot K \"2,2\"\ndelete H\nmove K 1 1\nmove H 1 1\n"));
    EXPECT_NE(output.find("no element is named H: line 3 (delete H) removed it"), std::string::npos) << output;
    EXPECT_TRUE(Run("place hotspot G \"1,1\"\ndelete G\nundo\nmove G 1 1\n")) << output;
}

// A dialog number the module does not have refuses the script, naming the nearest numbers it has: each is one
// of its dialogs, and no other of them is nearer.
TEST_F(ScriptRunTest, UnknownDialogNumbersNameTheNearestDialogs) {
    std::set<int> dialogs;
    for (const auto& entry : std::filesystem::directory_iterator(TestSupport::BinDir() + "/resources/DLOG"))
        dialogs.insert(std::stoi(entry.path().stem().string()));
    for (const int wrong : {32777, 32600, 1, 40000}) {
        for (const std::string& line : {"dialog " + std::to_string(wrong) + " set 3 x\n",
                                        "expect dialog " + std::to_string(wrong) + " shown\n"}) {
            EXPECT_FALSE(Run("file write \"ran.txt\" \"x\"\n" + line)) << line;
            EXPECT_FALSE(Exists("ran.txt"));
            const size_t at = output.find("; the nearest of its dialogs ");
            ASSERT_NE(at, std::string::npos) << output;
            EXPECT_NE(output.find(wrong > 32767 ? std::to_string(wrong) + " is no dialog number (1 to 32767)"
                                                : "the module has no dialog " + std::to_string(wrong)),
                      std::string::npos)
                << output;
            std::istringstream named(output.substr(output.find(' ', at + 29) + 1));
            std::vector<int> nearest;
            for (std::string n; named >> n && std::isdigit(static_cast<unsigned char>(n[0]));)
                nearest.push_back(std::stoi(n));
            ASSERT_FALSE(nearest.empty()) << output;
            int farthest = 0;
            for (const int n : nearest) {
                EXPECT_EQ(dialogs.count(n), 1u) << n;
                farthest = std::max(farthest, std::abs(n - wrong));
            }
            for (const int d : dialogs) {
                if (std::find(nearest.begin(), nearest.end(), d) == nearest.end()) {
                    EXPECT_GE(std::abs(d - wrong), farthest) << d << " is nearer\n" << output;
                }
            }
        }
    }
    // Without the module's resources only the range is known.
    EXPECT_NE(OnlyError("dialog 32777 set 3 x\n").find("32777 is no dialog number (1 to 32767)"), std::string::npos);
    EXPECT_TRUE(ParseErrors("dialog 32600 click 1\n").empty());
}

// A file's text that differs names its first differing line, with both versions, not the whole file.
TEST_F(ScriptRunTest, AFileTextCheckNamesTheFirstLineThatDiffers) {
    EXPECT_FALSE(Run("file write \"t.txt\" \"a\\nb\\r\\nc\\n\"\n"
                     "expect file-text \"t.txt\" \"a\\nb\\r\\nc\\n\"\n"
                     "expect file-text \"t.txt\" \"a\\nb\\nc\\n\"\n"
                     "expect file-text \"t.txt\" \"a\\nb\\r\\n\"\n"
                     "expect file-text \"t.txt\" \"a\\nb\\r\\nc\\nd\"\n"));
    EXPECT_EQ(failures, 3) << output;
    for (const char* found : {"t.txt line 2: expected \"b\\n\", found \"b\\r\\n\"",
                              "t.txt line 3: \"c\\n\", the text expected ends after 2 lines",
                              "t.txt line 4: expected \"d\", the file ends after 3 lines"})
        EXPECT_NE(output.find(found), std::string::npos) << found << "\n" << output;
}

TEST_F(ScriptRunTest, HostErrorsFailTheRunUnlessExpected) {
    EXPECT_FALSE(Run("load\nrelease\nrelease\n"));
    EXPECT_TRUE(Run("fail Register_Menu 32501 0x81060001\nload\nexpect unloaded\n"
                    "expect result RegisterInterface 0x81060001\n"));
}

TEST_F(ScriptRunTest, ViewAndCellCommandsNameWhatTheProjectLacks) {
    const std::pair<const char*, const char*> cases[] = {
        {"place section-marker M \"0,0\"\n", "a section marker has two points"},
        {"place polyline P1 \"0,0 10,0\"\nwindow section P1\n", "P1 is no section marker"},
        {"window section Nobody\n", "no element is named"},
        {"place tool-default D \"1,1\"\n", "the current tool is no object tool"},
        {"place polyline P2 \"0,0 10,0\"\nchange P2 param-cell x 1 1 2\n", "P2 has no number array x"},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(Run(c.first)) << c.first;
        EXPECT_NE(output.find(c.second), std::string::npos) << output;
    }
    EXPECT_TRUE(Run("place section-marker M \"0,0 10,0\"\nwindow section M\nexpect window section M\n")) << output;
}

// Names the project has before the script (a test's own elements, an earlier run's, one an undo would give
// back) are known to its checks; a misspelt one refuses the script before anything runs.
TEST_F(ScriptRunTest, ChecksKnowTheNamesTheProjectHadBeforeTheScript) {
    API_Guid kept;
    ASSERT_EQ(host->Database().PlaceHotspot({1, 1}, 1, "Before", &kept), NoError);
    ASSERT_TRUE(Run("place hotspot Earlier \"2,2\"\nplace hotspot Undone \"3,3\"\ndelete Undone\n")) << output;
    EXPECT_TRUE(Run("expect userdata Before absent\nexpect observed Earlier no\nundo\nexpect userdata Undone absent\n"
                    "expect elements 3 hotspot\n"))
        << output;
    EXPECT_FALSE(Run("file write \"ran.txt\" \"x\"\nexpect userdata Befor absent\nexpect elements 3 hotspots\n"));
    EXPECT_FALSE(Exists("ran.txt"));
    EXPECT_NE(output.find("test: line 2: no line before names an element 'Befor'"), std::string::npos) << output;
    EXPECT_NE(output.find("'Before'"), std::string::npos) << output;
    EXPECT_NE(output.find("test: line 3: 'hotspots' is no element type"), std::string::npos) << output;
    EXPECT_NE(output.find("the closest is 'hotspot'"), std::string::npos) << output;
    // Names a check can only learn when it runs: an unknown one fails it.
    EXPECT_FALSE(Run("expect param Before Nope 1\nexpect layer Nope flags 0\nexpect module-data Nope \"\"\n"
                     "expect prefs Nope 1\nexpect json /nope 1\nexpect element Before /nope 1\n"
                     "expect worksheet Nope elements 0\nexpect library-part Nope param A 1\n"));
    EXPECT_EQ(failures, 8) << output;
}

// Which of the calls after a `fail` line answer its error, in each of its forms.
TEST_F(ScriptRunTest, FailFormsChooseTheCallsThatFail) {
    const auto answers = [this](const std::string& line) {
        EXPECT_TRUE(Run("fail clear\n" + line + "\n")) << output;
        std::string out;
        for (int i = 0; i < 4; ++i) out += host->InstallElementObserver(nullptr) == 7 ? "x" : ".";
        return out;
    };
    EXPECT_EQ(answers("fail Notify_InstallElementObserver 7"), "xxxx");
    EXPECT_EQ(answers("fail Notify_InstallElementObserver 7 call 1"), "x...");
    EXPECT_EQ(answers("fail Notify_InstallElementObserver 7 call 3"), "..x.");
    EXPECT_EQ(answers("fail Notify_InstallElementObserver 7 from 2"), ".xxx");
    EXPECT_EQ(answers("fail Notify_InstallElementObserver 7 call 2\nfail Notify_InstallElementObserver 7"), "xxxx")
        << "a later line replaces the form";
    EXPECT_FALSE(Run("fail Notify_InstallElementObserver 7 call 0\n"));
    EXPECT_FALSE(Run("fail Nonexistent 7 from 2\n"));
}

TEST_F(ScriptRunTest, UnknownHostFunctionInFail) {
    EXPECT_FALSE(Run("fail Nonexistent 1\n"));
    EXPECT_NE(output.find("unknown host function Nonexistent"), std::string::npos);
}

TEST_F(ScriptRunTest, UserFileNamesStayInsideTheUserFolder) {
    EXPECT_FALSE(Run("file write \"../escape.txt\" \"x\"\n"));
    EXPECT_FALSE(Run("file write \"/tmp/escape.txt\" \"x\"\n"));
    EXPECT_TRUE(
        Run("file write \"sub.txt\" \"x\"\nexpect file \"sub.txt\" exists\nexpect file-text \"sub.txt\" \"x\"\n"));
}

TEST_F(ScriptRunTest, BrokenConfigurationFileGivesAClearFailure) {
    EXPECT_FALSE(Run("file write-encoded \"Brenmaro.cfg\" \"$Language_str: ger\\r\\nnot an entry\\r\\n\"\n"
                     "expect config \"Brenmaro.cfg\" \"Language_str\" \"ger\"\n"));
    EXPECT_NE(output.find("is not followed by '$' or '#'"), std::string::npos) << output;
    // The host refuses to rewrite it from a partial read.
    EXPECT_FALSE(Run("config \"Brenmaro.cfg\" \"Other\" \"1\"\n"));
}

class DialogCheckTest : public ScriptRunTest {};

TEST_F(DialogCheckTest, ChecksReadTheDialogAsItClosedAndNameWhatTheyFound) {
    const std::string run = "load\n"
                            "folder \"@module/library\"\n"
                            "dialog 32734 pick 3 4\n"
                            "dialog 32734 click 1\n"
                            "menu 32501 2\n"
                            "expect dialog 32734 closed\n"
                            "expect dialog 32734 title \"Lodravix\"\n"
                            "expect dialog 32734 events \"change 3; click 1 -> 1; close 1\"\n"
                            "expect dialog 32734 item 3 count 7\n"
                            "expect dialog 32734 item 3 selected 4\n"
                            "expect dialog 32734 item 3 cell-icon 4 1 32761\n"
                            "expect dialog 32734 item 1 text \"OK\"\n"
                            "expect dialog 32734 item 2 enabled\n";
    EXPECT_TRUE(Run(run)) << output;
    TearDown();  // the same flow again on a fresh host and user folder, with checks that fail
    SetUp();
    EXPECT_FALSE(Run(run +
                     "expect dialog 32734 item 3 selected 2\n"
                     "expect dialog 32734 item 3 cell 9 1 \"\"\n"
                     "expect dialog 32734 item 99 visible\n"
                     "expect dialog 32752 item 1 text \"OK\"\n"));
    EXPECT_EQ(failures, 4) << output;
    for (const char* found : {"item 3 selected 4, expected 2", "the list has 7 rows", "the dialog has no item 99",
                              "dialog 32752 was never shown"})
        EXPECT_NE(output.find(found), std::string::npos) << found << "\n" << output;
    // A dialog slot names a tab page as dialog/tab control/page; anything else is refused before the run.
    std::vector<ScriptCommand> commands;
    std::vector<std::string> errors;
    EXPECT_TRUE(StandardScriptLanguage().Parse("dialog 32571/3/1 set 16 2.5\n", &commands, &errors));
    EXPECT_FALSE(StandardScriptLanguage().Parse("dialog 32571/3 set 16 2.5\n", &commands, &errors));
    EXPECT_NE(errors.back().find("'32571/3' is not a number or a tab page"), std::string::npos) << errors.back();
    DGDriver::ClearQueueAndLog();
}

}  // namespace script_test
