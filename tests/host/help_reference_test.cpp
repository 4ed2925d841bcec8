// The help a script is written from: every item of every dialog resource in `--help-dialogs`, what each palette
// button takes in `--help-script`, every check documented, and the log's account of what a palette button did
// without a dialog.
#include "InProcessHost.hpp"
#include "project/ActionAccount.hpp"
#include "script/DialogReference.hpp"
#include "script/ModuleGuide.hpp"
#include "script/PopUpGuide.hpp"
#include "script/ScriptRunner.hpp"
#include "script/StandardLanguage.hpp"

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <regex>
#include <sstream>
#include <vector>

namespace help_reference_test {

std::string Resources() { return TestSupport::BinDir() + "/resources"; }

struct LayoutItem {
    int32_t id;
    std::string kind;
    bool onPage;
};

// The items of each dialog layout, read from the resource files as their format says.
std::map<int32_t, std::vector<LayoutItem>> ReadLayouts() {
    std::map<int32_t, std::vector<LayoutItem>> layouts;
    for (const auto& entry : std::filesystem::directory_iterator(Resources() + "/DLOG")) {
        const std::string stem = entry.path().stem().string();
        if (entry.path().extension() != ".txt" || stem.find_first_not_of("0123456789") != std::string::npos) continue;
        std::vector<LayoutItem>& items = layouts[std::stoi(stem)];
        std::ifstream file(entry.path());
        bool onPage = false;
        for (std::string line; std::getline(file, line);) {
            std::istringstream words(line);
            std::string word, id, kind;
            words >> word >> id >> kind;
            if (word == "page") onPage = true;
            if (word == "endpage") onPage = false;
            if (word == "item") items.push_back({std::stoi(id), kind, onPage});
        }
    }
    return layouts;
}

// The lines of one dialog's section in the reference: from its head line to the blank line after it.
std::string Section(const std::string& reference, int32_t id) {
    const size_t start = reference.find("\n\n" + std::to_string(id) + " ");
    if (start == std::string::npos) return "";
    const size_t end = reference.find("\n\n", start + 2);
    return reference.substr(start + 1, end == std::string::npos ? std::string::npos : end - start - 1);
}

// Every item of every layout has its line, shown-only texts, pictures and group boxes too; every list says its
// columns and what a click does; the items the layouts leave blank that a script meets in the known dialogs say
// what they show.
TEST(HelpReferenceTest, EveryItemOfEveryDialogResourceIsListed) {
    std::ostringstream out;
    std::string why;
    ASSERT_TRUE(WriteDialogReference(Resources(), "", out, &why)) << why;
    const std::string reference = out.str();
    const auto layouts = ReadLayouts();
    ASSERT_GT(layouts.size(), 50u);
    size_t items = 0, lists = 0;
    for (const auto& [id, layout] : layouts) {
        const std::string section = Section(reference, id);
        ASSERT_FALSE(section.empty()) << "dialog " << id;
        for (const LayoutItem& item : layout) {
            ++items;
            const std::string head = "\n" + std::string(item.onPage ? "    " : "  ") + std::to_string(item.id) + " ";
            const size_t at = section.find(head);
            ASSERT_NE(at, std::string::npos) << "dialog " << id << " item " << item.id << "\n" << section;
            const std::string line = section.substr(at + 1, section.find('\n', at + 1) - at - 1);
            const size_t kind = line.find(" " + item.kind);
            ASSERT_NE(kind, std::string::npos) << line;
            // Every item has words: its own text ("..."), or in brackets the text beside it or what it is.
            const size_t label = line.find_first_not_of(' ', kind + 1 + item.kind.size());
            EXPECT_TRUE(label != std::string::npos && (line[label] == '"' || line[label] == '('))
                << "dialog " << id << " item " << item.id << " has no label: " << line;
            // Words that say what the value is, not only what kind of item holds it.
            for (const char* kindOnly : {"names as it opens", "no words beside it", "(a pop-up the module fills)"})
                EXPECT_EQ(line.find(kindOnly), std::string::npos)
                    << "dialog " << id << " item " << item.id << " says only its kind: " << line;
            if (item.kind != "list") continue;
            ++lists;
            EXPECT_NE(FindListGuide(id, int16_t(item.id)), nullptr) << "list " << item.id << " of " << id;
            EXPECT_NE(section.find("      columns: ", at), std::string::npos) << section;
            EXPECT_NE(section.find("      a click: ", at), std::string::npos) << section;
        }
    }
    EXPECT_GT(items, 2000u);
    // The table beside the resources names no item a layout lacks (a layout changed without its table).
    for (int32_t id = 32400; id < 32800; ++id)
        for (int16_t item = 1; item < 120; ++item) {
            if (FindItemGuide(id, item) == nullptr && FindListGuide(id, item) == nullptr) continue;
            const auto layout = layouts.find(id);
            ASSERT_NE(layout, layouts.end()) << "no dialog " << id;
            bool found = false;
            for (const LayoutItem& l : layout->second) found = found || (l.id == item && !l.onPage);
            EXPECT_TRUE(found) << "dialog " << id << " has no item " << item;
            if (FindListGuide(id, item) != nullptr)
                for (const LayoutItem& l : layout->second)
                    if (l.id == item && !l.onPage) {
                        EXPECT_EQ(l.kind, "list") << id << " " << item;
                    }
        }
    EXPECT_GT(lists, 10u);
    EXPECT_EQ(reference.find(" \n"), std::string::npos) << "no line ends in a blank";
    // What a user met with no word of help before.
    const std::pair<int32_t, std::vector<std::string>> known[] = {
        {32570, {"\n  4 ", "ticks every layer's points", "x 1-31", "x 32-62"}},
        {32569, {"\n  6 ", "points read", "\n  8 ", "imported", "\n  10 ", "read minus imported", "Very complex"}},
        {32546, {"\n  12 ", "Search corridor settings", "half the value", "each side"}},
    };
    for (const auto& [id, texts] : known)
        for (const std::string& text : texts)
            EXPECT_NE(Section(reference, id).find(text), std::string::npos) << id << ": " << text;
}

// The line of an item in one dialog's section, and the lines under it (its entries, columns, rows), up to the next
// item's line.
std::string ItemLines(const std::string& section, int32_t item, bool onPage) {
    const std::string head = "\n" + std::string(onPage ? "    " : "  ") + std::to_string(item) + " ";
    const size_t at = section.find(head);
    if (at == std::string::npos) return "";
    size_t end = at + 1;
    do end = section.find('\n', end + 1);
    while (end != std::string::npos &&
           section.compare(end + 1, onPage ? 10 : 8, std::string(onPage ? 10 : 8, ' ')) == 0);
    return section.substr(at + 1, end == std::string::npos ? std::string::npos : end - at - 1);
}

// Every item a script sets or clicks says what it is: not only its kind or the image beside it, but words the
// layout, the image's description or the host's table give; every pop-up lists its entries in order, every list
// the order of its rows. The fields a user could not place before have their words, the road's "sx:" labels its
// left cut slope, and the bridge's track measures are not taken for the side before them.
TEST(HelpReferenceTest, EverySettableItemHasItsLabelEntriesAndRowOrder) {
    std::ostringstream out;
    std::string why;
    ASSERT_TRUE(WriteDialogReference(Resources(), "", out, &why)) << why;
    const std::string reference = out.str();
    const std::set<std::string> settable = {"button",   "check",       "radio",      "edit",     "intedit",
                                            "realedit", "angleedit",   "lengthedit", "richedit", "popup",
                                            "list",     "usercontrol", "slider",     "tab",      "user"};
    const std::regex kindOnly(
        "\\((beside image \\d+|a chooser the module binds[^)]*|a text field with no words beside it|a number field "
        "with "
        "no words beside it|a pop-up the module fills|a check box the module names as it opens|a radio button the "
        "module names as it opens)\\)");
    size_t items = 0, popUps = 0, lists = 0;
    std::string unnamed;
    for (const auto& [id, layout] : ReadLayouts()) {
        const std::string section = Section(reference, id);
        for (const LayoutItem& item : layout) {
            if (settable.count(item.kind) == 0) continue;
            ++items;
            const std::string lines = ItemLines(section, item.id, item.onPage);
            ASSERT_FALSE(lines.empty()) << id << " item " << item.id;
            const std::string line = lines.substr(0, lines.find('\n'));
            if (std::regex_search(line, kindOnly)) unnamed += line + "  (dialog " + std::to_string(id) + ")\n";
            if (item.kind == "popup" && !item.onPage) {
                ++popUps;
                ASSERT_NE(FindPopUpGuide(id, int16_t(item.id)), nullptr) << "pop-up " << item.id << " of " << id;
                const size_t entries = lines.find("\n        entries: ");
                ASSERT_NE(entries, std::string::npos) << lines;
                EXPECT_EQ(lines.find("missing)", entries), std::string::npos) << lines;
            }
            if (item.kind == "list" && !item.onPage) {
                ++lists;
                EXPECT_NE(lines.find("\n        rows: "), std::string::npos) << lines;
            }
        }
    }
    // The dialogs a user met with fields that said nothing have words for every field.
    for (const int32_t dialog : {32549, 32506, 32552, 32515, 32553, 32505, 32554, 32561, 32570, 32579, 32580, 32562,
                                 32511, 32551, 32518, 32541})
        EXPECT_EQ(unnamed.find("(dialog " + std::to_string(dialog) + ")"), std::string::npos)
            << dialog << " has items that say only what kind they are:\n"
            << unnamed;
    EXPECT_GT(items, 1000u);
    EXPECT_GT(popUps, 30u);
    EXPECT_GT(lists, 10u);

    // The fields a user met without words.
    const auto lineOf = [&](int32_t dialog, int16_t item) {
        const std::string lines = ItemLines(Section(reference, dialog), item, false);
        return lines.substr(0, lines.find('\n'));
    };
    EXPECT_NE(lineOf(32561, 8).find("Building height"), std::string::npos) << lineOf(32561, 8);
    EXPECT_NE(lineOf(32570, 19).find("Point filter distance"), std::string::npos) << lineOf(32570, 19);
    EXPECT_NE(lineOf(32570, 21).find("Line filter distance"), std::string::npos) << lineOf(32570, 21);
    EXPECT_NE(lineOf(32554, 15).find("left cut"), std::string::npos) << lineOf(32554, 15);
    EXPECT_NE(lineOf(32554, 17).find("right cut"), std::string::npos) << lineOf(32554, 17);
    EXPECT_NE(lineOf(32580, 19).find("left cut"), std::string::npos) << lineOf(32580, 19);
    EXPECT_NE(lineOf(32580, 21).find("right cut"), std::string::npos) << lineOf(32580, 21);
    for (const int16_t track : {58, 60}) EXPECT_EQ(lineOf(32579, track).find("side 2"), std::string::npos);
    EXPECT_NE(lineOf(32579, 58).find("ties"), std::string::npos) << lineOf(32579, 58);
    EXPECT_NE(lineOf(32579, 60).find("gauge"), std::string::npos) << lineOf(32579, 60);
    // A pop-up's fixed entries are read from the string tables of the language shown.
    EXPECT_NE(ItemLines(Section(reference, 32568), 12, false)
                  .find("entries: \"meter\", \"centimeter\", \"millimeter\", (a dividing line), \"decimal feet\""),
              std::string::npos)
        << ItemLines(Section(reference, 32568), 12, false);
    std::ostringstream german;
    ASSERT_TRUE(WriteDialogReference(Resources(), "GER", german, &why)) << why;
    // A language whose table lacks the texts shows the English ones, as the module falls back to them.
    EXPECT_EQ(ItemLines(Section(german.str(), 32568), 12, false), ItemLines(Section(reference, 32568), 12, false));
    EXPECT_EQ(german.str().find("missing)"), std::string::npos);
}

// The road's and the railway's "sx:" (left) stands beside the left cut slope's field, on its line and nearer to it
// than to the right one, as the dialog shows it.
TEST(HelpReferenceTest, TheLeftLabelStandsBesideTheLeftField) {
    struct Layout {
        int32_t dialog;
        int16_t label, left, right;
    };
    for (const Layout& l : {Layout{32554, 14, 15, 17}, Layout{32580, 18, 19, 21}}) {
        std::map<int, std::vector<int>> places;  // item: x, y, width, height
        std::ifstream file(Resources() + "/DLOG/" + std::to_string(l.dialog) + ".txt");
        for (std::string line; std::getline(file, line);) {
            std::istringstream words(line);
            std::string word, kind;
            int id = 0, x = 0, y = 0, w = 0, h = 0;
            if (words >> word >> id >> kind >> x >> y >> w >> h && word == "item") places[id] = {x, y, w, h};
        }
        const std::vector<int>& label = places[l.label];
        const std::vector<int>& left = places[l.left];
        const std::vector<int>& right = places[l.right];
        ASSERT_EQ(label.size(), 4u);
        EXPECT_EQ(label[1], left[1]) << l.dialog;
        EXPECT_LE(label[0] + label[2], left[0]) << l.dialog << ": the label ends before the left field";
        EXPECT_LT(left[0] - (label[0] + label[2]), right[0] - (label[0] + label[2])) << l.dialog;
    }
}

// Every button of every sub-palette names what it takes and the clicks it asks for, in `--help-script` and beside
// the button in the dialog reference.
TEST(HelpReferenceTest, EveryPaletteActionNamesWhatItTakes) {
    const auto layouts = ReadLayouts();
    std::ostringstream actions, dialogs;
    std::string why;
    ASSERT_TRUE(WritePaletteActions(Resources(), actions, &why)) << why;
    ASSERT_TRUE(WriteDialogReference(Resources(), "", dialogs, &why)) << why;
    size_t buttons = 0;
    for (const int32_t palette : SubPaletteIds()) {
        ASSERT_EQ(layouts.count(palette), 1u) << palette;
        for (const LayoutItem& item : layouts.at(palette)) {
            ++buttons;
            const PaletteAction* action = FindPaletteAction(palette, int16_t(item.id));
            ASSERT_NE(action, nullptr) << palette << " item " << item.id;
            EXPECT_GT(std::string(action->takes).size(), 5u) << palette << " item " << item.id;
            EXPECT_FALSE(std::string(action->clicks).empty()) << palette << " item " << item.id;
            const std::string section = Section(dialogs.str(), palette);
            const size_t at = section.find("\n  " + std::to_string(item.id) + " ");
            ASSERT_NE(at, std::string::npos);
            EXPECT_EQ(section.find("\n        takes: " + std::string(action->takes), at), section.find('\n', at + 1))
                << section;
        }
    }
    EXPECT_GT(buttons, 60u);
    const std::string text = actions.str();
    size_t takes = 0;
    for (size_t at = text.find("takes: "); at != std::string::npos; at = text.find("takes: ", at + 1)) ++takes;
    EXPECT_EQ(takes, buttons);
    EXPECT_EQ(text.find("not in the host's table"), std::string::npos);
    // The facts a user had to guess.
    const std::string railway = FindPaletteAction(32402, 8)->takes;
    EXPECT_NE(railway.find("polyline"), std::string::npos);
    EXPECT_NE(std::string(FindPaletteAction(32403, 4)->clicks).find("one click"), std::string::npos);
    EXPECT_NE(std::string(FindPaletteAction(32404, 1)->replaces).find("contour-line object"), std::string::npos);
    // The input palettes of the host's languages shift the buttons after their own import by one.
    EXPECT_EQ(FindPaletteAction(32407, 9), FindPaletteAction(32401, 8));
    EXPECT_EQ(FindPaletteAction(32575, 2), FindPaletteAction(32401, 2));
    EXPECT_NE(FindPaletteAction(32575, 5), FindPaletteAction(32407, 5));
}

TEST(HelpReferenceTest, EveryCheckIsDocumented) {
    const ScriptLanguage& language = StandardScriptLanguage();
    size_t checks = 0;
    for (size_t i = 0; i < language.Size(); ++i) {
        const ScriptLanguage::Form& form = language.At(i);
        if (!form.isCheck) continue;
        ++checks;
        EXPECT_FALSE(form.help.empty()) << form.pattern;
    }
    EXPECT_GT(checks, 60u);
}

class ActionAccountTest : public InProcessHostTest {
protected:
    std::string Run(const std::string& text, LogLevel level) {
        log.str("");
        host->SetLogLevel(level);
        const std::string script = "library load \"@module/library\"\nload\nmenu 32501 1\n" + text + "release\n";
        std::ostringstream out;
        ScriptRunner runner(*host, out);
        EXPECT_TRUE(runner.RunText(script, "test")) << out.str() << log.str();
        return out.str() + log.str();
    }
};

// "Polygon" shows no dialog: the quiet log says the tool it chose and the defaults it stored. "Railway" with nothing
// selected edits the defaults only: the normal log says what it found selected, the dialog's line its mode header;
// a button that switches the toolbox back and forth, or writes defaults back as they were, is told nothing of them.
TEST_F(ActionAccountTest, TheLogNamesTheToolChosenTheDefaultsStoredAndTheSelectionRead) {
    const std::string polygon = Run("dialog 32400 click 3\ndialog 32402 click 1\n", LogLevel::Quiet);
    EXPECT_NE(polygon.find("  toolbox: polyline tool chosen\n"), std::string::npos) << polygon;
    EXPECT_NE(polygon.find("  defaults: polyline tool's defaults stored\n"), std::string::npos) << polygon;
    EXPECT_LT(polygon.find("[5] dialog 32402 click 1"), polygon.find("toolbox: polyline"));
    EXPECT_EQ(polygon.find("selection:"), std::string::npos) << "the selection is for the normal log\n" << polygon;

    host->SetDialogNote(ModeHeaderNote);
    const std::string railway = Run("dialog 32400 click 3\ndialog 32402 click 8\n", LogLevel::Normal);
    EXPECT_NE(railway.find("  selection: nothing selected\n"), std::string::npos) << railway;
    // The settings dialog says what the tool opened it for.
    EXPECT_NE(railway.find("dialog 32580 \"Railway settings\": nothing queued: closed with OK; mode header "
                           "\"Default\"\n"),
              std::string::npos)
        << railway;
    EXPECT_EQ(railway.find("toolbox:"), std::string::npos) << railway;
    EXPECT_EQ(railway.find("defaults:"), std::string::npos) << railway;
}

TEST(ActionAccountText, CountsTheSelectionByType) {
    EXPECT_EQ(ActionAccount::SelectionText({}), "nothing selected");
    EXPECT_EQ(ActionAccount::SelectionText({{API_MeshID, 1}, {API_PolyLineID, 2}}), "1 mesh, 2 polylines");
    EXPECT_EQ(ActionAccount::SelectionText({{API_HatchID, 3}}), "3 fills");
}
// The help names an import's dialogs in the order a run shows them: each import is run on a small file, and the
// dialogs it showed (a file dialog as "file dialog") must be met in that order in what its button's help says.
class ImportOrderTest : public InProcessHostTest {
protected:
    // The dialogs the run showed, in order: "file dialog" or the dialog's number.
    std::vector<std::string> Shown(const std::string& language, const std::string& before, const std::string& file,
                                   const std::string& after, int32_t palette, int16_t button) {
        TearDown();
        SetUp();
        host->Settings().embeddedLibrary = true;
        const size_t logged = DGDriver::Log().size();
        std::ostringstream script, out;
        script << (language.empty() ? "" : "language " + language + "\n")
               << "library load \"@module/library\"\nload\nmenu 32501 1\ndialog 32400 click 2\n"
               << before << "file-dialog \"" << TestSupport::DataDir() << "/" << file << "\"\n"
               << after << "dialog " << palette << " click " << button << "\n";
        ScriptRunner runner(*host, out);
        EXPECT_TRUE(runner.RunText(script.str(), file)) << out.str() << log.str();
        std::vector<std::string> shown;
        for (size_t i = logged; i < DGDriver::Log().size(); ++i) {
            const DGDriver::LogRecord& r = DGDriver::Log()[i];
            if (r.kind == "file") shown.push_back("file dialog");
            if (r.kind == "modal") shown.push_back(std::to_string(r.id)), records.push_back(r);
        }
        return shown;
    }
    std::vector<DGDriver::LogRecord> records;  // the dialogs the runs showed, as they closed
};

// The fixed entries the help lists for a pop-up are those the module put into it, in its order: every pop-up of
// every dialog the imports below showed is compared with its line in the reference.
void ExpectEntriesAsShown(const std::vector<DGDriver::LogRecord>& records, size_t* compared) {
    std::ostringstream out;
    std::string why;
    ASSERT_TRUE(WriteDialogReference(Resources(), "", out, &why)) << why;
    for (const DGDriver::LogRecord& r : records)
        for (const DGDriver::ItemState& item : r.items) {
            const PopUpGuide* guide = item.kind == "popup" ? FindPopUpGuide(r.id, item.id) : nullptr;
            if (guide == nullptr || guide->table == 0 || item.popUpItems.empty()) continue;
            // The fixed entries come first; what the module adds after them from the project or the file is told
            // in words.
            const size_t fixed = PopUpIndexes(*guide).size();
            ASSERT_GE(item.popUpItems.size(), fixed) << r.id << " pop-up " << item.id;
            std::string shown;
            for (size_t k = 0; k < fixed; ++k) {
                const std::string& entry = item.popUpItems[k];
                shown += (shown.empty() ? "" : ", ") + (entry == "-" ? "(a dividing line)" : "\"" + entry + "\"");
            }
            const std::string lines = ItemLines(Section(out.str(), r.id), item.id, false);
            EXPECT_NE(lines.find("entries: " + shown), std::string::npos)
                << "dialog " << r.id << " pop-up " << item.id << " showed " << shown << "\n"
                << lines;
            ++*compared;
        }
}

TEST_F(ImportOrderTest, TheHelpNamesEachImportsDialogsInTheOrderARunShowsThem) {
    struct Case {
        const char* language;
        int32_t palette;
        int16_t button;
        const char* before;  // the answers queued before the file dialog's, then those after it
        const char* file;
        const char* after;
    };
    const Case cases[] = {
        {"", 32401, 1, "", "xyz/points_dup.txt", ""},
        {"", 32401, 2, "", "dxf/survey_r2000.dxf", "dialog 32570 click 4\n"},
        {"", 32401, 3, "dialog 32530 click 4\n", "shp/contours.shp", ""},
        {"", 32401, 3, "dialog 32530 click 5\n", "shp/nc.shp", "dialog 32533 click 8\ndialog 32534 set 3 NC_TEST\n"},
        {"NOR", 32407, 5, "dialog 32538 click 8\n", "sosi/1001_Hoyde.sos", "dialog 32543 click 17 row 1 16\n"},
        {"NOR", 32407, 5, "dialog 32538 click 9\n", "sosi/buer.sos", "dialog 32539 click 11\n"},
        {"NOR", 32407, 5, "dialog 32538 click 7\n", "sosi/flate_oy.sos", "dialog 32542 click 11\n"},
        {"AUT", 32575, 5, "", "asc/small_4x3.asc", ""},
    };
    for (const Case& c : cases) {
        const std::vector<std::string> shown = Shown(c.language, c.before, c.file, c.after, c.palette, c.button);
        ASSERT_GE(shown.size(), 3u) << c.file;
        const PaletteAction* action = FindPaletteAction(c.palette, c.button);
        ASSERT_NE(action, nullptr);
        const std::string help = action->takes;
        size_t at = 0;
        std::string order;
        for (const std::string& dialog : shown) {
            order += dialog + "; ";
            const size_t found = help.find(dialog, at);
            ASSERT_NE(found, std::string::npos) << c.file << ": the run showed " << order << "\nthe help: " << help;
            at = found + dialog.size();
        }
    }
    size_t compared = 0;
    ExpectEntriesAsShown(records, &compared);
    EXPECT_GE(compared, 4u) << "the text import's and the grid import's pop-ups";
}

}  // namespace help_reference_test
