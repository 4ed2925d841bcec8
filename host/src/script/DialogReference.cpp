#include "script/DialogReference.hpp"

#include "script/ModuleGuide.hpp"
#include "script/PopUpGuide.hpp"

#include "ResourceDriver.hpp"
#include "Resources.hpp"
#include "TextFields.hpp"
#include "library/LibraryWords.hpp"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <sstream>
#include <vector>

namespace {
// The languages the reference knows: the module's own (its menu resource is 32500 plus the language's index, the
// shared configuration names it in lower case), and the host's whose input palette differs.
struct ReferenceLanguage {
    const char* code;
    const char* name;
    int32_t moduleIndex;  // -1: a host language; the module's own stays English
};
const ReferenceLanguage kLanguages[] = {
    {"INT", "English", 1}, {"ITA", "Italian", 0},    {"FRA", "French", 2},
    {"GER", "German", 3},  {"SPA", "Spanish", 4},    {"JAP", "Japanese", 5},
    {"RUS", "Russian", 6}, {"NOR", "Norwegian", -1}, {"AUT", "Austrian", -1},
};
constexpr int32_t kMenuBase = 32500;
constexpr int32_t kEnglish = 1;
constexpr int32_t kPalette = 32400;

// What an item of the module's menu opens.
struct MenuTarget {
    int16_t item;
    int32_t dialog;
    const char* what;
};
const MenuTarget kMenuTargets[] = {
    {1, kPalette, "the tool palette (chosen again: hides or shows it)"},
    {2, 32734, "the language dialog"},
    {3, 32529, "the About dialog"},
};

// What an item of the tool palette opens: a sub-palette beside it, or a dialog; some follow the host's language
// (the input palette's grid and SOSI imports are language variants) or the window in front.
struct PaletteTarget {
    int16_t item;
    int32_t dialog;  // 0: none
    const char* when;
    bool (*shows)(const std::string& language);
};
bool Always(const std::string&) { return true; }
const PaletteTarget kPaletteTargets[] = {
    {1, 32730, "the help dialog, with the add-on's version", Always},
    {2, 32401, "every language but NOR and AUT", [](const std::string& l) { return l != "NOR" && l != "AUT"; }},
    {2, 32407, "language NOR (with the SOSI import)", [](const std::string& l) { return l == "NOR"; }},
    {2, 32575, "language AUT (with the ASC grid import)", [](const std::string& l) { return l == "AUT"; }},
    {2, 32406, "an independent worksheet in front", Always},
    {3, 32402, "", Always},
    {3, 32405, "a section window in front", Always},
    {4, 32403, "", Always},
    {5, 32404, "", Always},
    {6, 0, "updates the selected objects, with no dialog of its own", Always},
};

// The input palette a dialog id is, or null.
const PaletteTarget* InputPalette(int32_t id) {
    for (const PaletteTarget& t : kPaletteTargets)
        if (t.item == 2 && t.dialog == id && t.shows != Always) return &t;
    return nullptr;
}

// "<id> \"<title>\"", the number alone for a layout without a title.
std::string Titled(int32_t id, GSResModule module) {
    RSDialogLayout layout;
    if (!RSGetDialogLayout(id, module, &layout)) return std::to_string(id) + " (no layout)";
    return std::to_string(id) + (layout.title.IsEmpty() ? "" : " " + QuotedText(layout.title.ToUtf8()));
}

std::string Padded(std::string text, size_t width) {
    if (text.size() < width) text.resize(width, ' ');
    return text;
}

// The menu of each language the reference shows: its resource, how a script gets it, its items and what they open.
void WriteMenu(GSResModule module, const ReferenceLanguage* language, std::ostream& out) {
    out << "\nMenu: the module registers the menu resource of its own language (the \"Language_str\" entry of\n"
        << "Brenmaro.cfg, English without one); `menu <resource> <item>` chooses an item. Menu resources are\n"
        << "numbered apart from dialogs: menu 32501 is not dialog 32501.\n";
    // A host language leaves the module's own, English unless the configuration says otherwise.
    const int32_t shownIndex = language == nullptr || language->moduleIndex < 0 ? kEnglish : language->moduleIndex;
    for (int32_t index = 0; index < int32_t(std::size(kLanguages)); ++index) {
        if (language != nullptr && index != shownIndex) continue;
        const ReferenceLanguage* found = nullptr;
        for (const ReferenceLanguage& candidate : kLanguages)
            if (candidate.moduleIndex == index) found = &candidate;
        if (found == nullptr) continue;
        const ReferenceLanguage& l = *found;
        const std::string code = LowerCase(l.code);
        const int32_t id = kMenuBase + l.moduleIndex;
        out << "  menu " << id << "  " << Padded(l.name, 9)
            << (l.moduleIndex == kEnglish ? "  the default"
                                          : "  config \"Brenmaro.cfg\" \"Language_str\" \"" + code + "\" before load")
            << (RSResourceExists(RSType_MENU, id, module) ? "" : "  (missing)") << "\n";
    }
    if (language != nullptr && language->moduleIndex < 0)
        out << "  (language " << language->code << " is the host's: the module's own stays as Brenmaro.cfg says)\n";
    // Lines 1 and 2 are the host's menu group and the submenu; item 1 is line 3. The host's control suffixes
    // ("^E3^ES") are not part of the text.
    GS::Array<GS::UniString> lines;
    RSGetMenu(kMenuBase + shownIndex, module, &lines);
    for (const MenuTarget& t : kMenuTargets) {
        std::string text = uint32_t(t.item + 1) < lines.GetSize() ? lines[uint32_t(t.item + 1)].ToUtf8() : "";
        text = text.substr(0, text.find('^'));
        out << "  item " << t.item << "  " << Padded(QuotedText(text), 24) << "  opens " << Titled(t.dialog, module)
            << ", " << t.what << "\n";
    }
}

// The tool palette's items and the sub-palette or dialog each opens, where it depends on the language only those
// of `language` ("" every one).
void WritePalette(GSResModule module, const std::string& language, std::ostream& out) {
    RSDialogLayout palette;
    if (!RSGetDialogLayout(kPalette, module, &palette)) return;
    out << "\nTool palette " << kPalette << " " << QuotedText(palette.title.ToUtf8()) << ": `dialog " << kPalette
        << " click <item>`; a button opens its sub-palette beside\n"
        << "the palette (clicked again: closes it), one sub-palette at a time:\n";
    for (uint32_t i = 0; i < palette.items.GetSize(); ++i) {
        const RSDialogItem& item = palette.items[i];
        bool any = false;
        for (const PaletteTarget& t : kPaletteTargets) {
            if (t.item != item.id || (!language.empty() && !t.shows(language))) continue;
            if (!any) out << "  item " << item.id << "  " << QuotedText(item.text.ToUtf8()) << "\n";
            any = true;
            if (t.dialog == 0) {
                out << "      " << t.when << "\n";
                continue;
            }
            out << "      "
                << (*t.when == '\0' ? Titled(t.dialog, module) : Padded(Titled(t.dialog, module), 24) + "  " + t.when)
                << "\n";
        }
    }
}

std::string Number(double v) {
    std::ostringstream s;
    s.precision(12);
    s << v;
    return s.str();
}

// An item's own words: its text in the layout, else the text the guide says the module writes there.
std::string OwnWords(int32_t dialog, const RSDialogItem& item) {
    if (!item.text.IsEmpty()) return item.text.ToUtf8();
    const ItemGuide* guide = FindItemGuide(dialog, item.id);
    return guide != nullptr && *guide->label != '\0' && guide->label[0] != '(' ? guide->label : "";
}

bool SameLine(const RSDialogItem& a, const RSDialogItem& b) {
    return std::abs((a.y + a.height / 2) - (b.y + b.height / 2)) <= std::max(b.height, 12) / 2;
}

bool Inside(const RSDialogItem& frame, const RSDialogItem& item) {
    return item.x >= frame.x && item.y >= frame.y && item.x + item.width <= frame.x + frame.width &&
        item.y + item.height <= frame.y + frame.height && &frame != &item;
}

// A frame's words: its own, else the text at its top inside it (its heading).
std::string FrameWords(int32_t dialog, const GS::Array<RSDialogItem>& items, const RSDialogItem& frame) {
    std::string words = OwnWords(dialog, frame);
    const RSDialogItem* top = nullptr;
    for (uint32_t i = 0; words.empty() && i < items.GetSize(); ++i) {
        const RSDialogItem& s = items[i];
        if (s.kind == RSDialogItemKind::Static && Inside(frame, s) && !OwnWords(dialog, s).empty() &&
            s.y <= frame.y + 24 && (top == nullptr || s.y < top->y))
            top = &s;
    }
    return top != nullptr ? OwnWords(dialog, *top) : words;
}

// The innermost group box that holds the item, or null.
const RSDialogItem* FrameOf(const GS::Array<RSDialogItem>& items, const RSDialogItem& item) {
    const RSDialogItem* frame = nullptr;
    for (uint32_t i = 0; i < items.GetSize(); ++i) {
        const RSDialogItem& f = items[i];
        if (f.kind == RSDialogItemKind::GroupBox && Inside(f, item) && (frame == nullptr || Inside(*frame, f)))
            frame = &f;
    }
    return frame;
}

// The nearest image just left of the item on its line, in the same frame; null when none.
const RSDialogItem* ImageBeside(const GS::Array<RSDialogItem>& items, const RSDialogItem& item) {
    const RSDialogItem* image = nullptr;
    const RSDialogItem* frame = FrameOf(items, item);
    for (uint32_t i = 0; i < items.GetSize(); ++i) {
        const RSDialogItem& s = items[i];
        const bool isImage = s.kind == RSDialogItemKind::Picture || s.kind == RSDialogItemKind::Icon;
        if (isImage && !s.text.IsEmpty() && SameLine(s, item) && s.x < item.x && s.x + s.width + 30 >= item.x &&
            FrameOf(items, s) == frame && (image == nullptr || s.x > image->x))
            image = &s;
    }
    return image;
}

// The words beside an item that has no text of its own: the nearest static text to its left on its line, in the
// same frame (a text in the frame beside labels that frame's items), with no image nearer.
std::string LabelOf(int32_t dialog, const GS::Array<RSDialogItem>& items, const RSDialogItem& item) {
    if (!item.text.IsEmpty()) return item.text.ToUtf8();
    const RSDialogItem* best = nullptr;
    const RSDialogItem* frame = FrameOf(items, item);
    for (uint32_t i = 0; i < items.GetSize(); ++i) {
        const RSDialogItem& s = items[i];
        const std::string words = OwnWords(dialog, s);
        // A unit after the field before it labels that one.
        if (s.kind != RSDialogItemKind::Static || words.empty() || words == "mm" || words == "m" || words == "%")
            continue;
        if (!SameLine(s, item) || s.x >= item.x || FrameOf(items, s) != frame) continue;
        if (best == nullptr || s.x > best->x) best = &s;
    }
    const RSDialogItem* image = ImageBeside(items, item);
    if (best != nullptr && image != nullptr && image->x > best->x) return std::string();
    return best != nullptr ? "(" + OwnWords(dialog, *best) + ")" : std::string();
}

// What an image resource shows, from its description ("DXF import dialog picture: Pen" shows a pen); "" when it
// names only where it is used.
std::string ImageWords(GSResModule module, const RSDialogItem& image) {
    const int32_t id = std::atoi(image.text.ToUtf8().c_str());
    if (const char* meaning = ImageMeaning(id)) return meaning;
    GS::UniString description;
    if (!RSGetIcon(id, module, &description) && !RSGetPicture(id, module, &description)) return "";
    std::string words = description.ToUtf8();
    const size_t colon = words.rfind(": ");
    if (colon != std::string::npos) words = words.substr(colon + 2);
    // How the module shows it while it does not apply is no part of what it is.
    for (const char* state : {", greyed", " (greyed)"})
        if (const size_t at = words.find(state); at != std::string::npos) words.erase(at, std::string(state).size());
    if (words.empty() || words.find("picture") != std::string::npos || words.find("image") != std::string::npos ||
        words.find(image.text.ToUtf8()) != std::string::npos)
        return "";
    return words;
}

// What an item without words of its own or beside it is, from its kind and its place: a frame names the items it
// holds, an item beside an image or inside a titled frame says so, the rest what the module does with them.
std::string PlaceOf(GSResModule module, int32_t dialog, const GS::Array<RSDialogItem>& items,
                    const RSDialogItem& item) {
    switch (item.kind) {
        case RSDialogItemKind::Separator: return "(a dividing line)";
        case RSDialogItemKind::Picture:
        case RSDialogItemKind::Icon: return "(an image the module sets)";
        case RSDialogItemKind::User: return "(drawn by the module)";
        case RSDialogItemKind::GroupBox: {
            std::vector<int16_t> held;
            for (uint32_t i = 0; i < items.GetSize(); ++i)
                if (Inside(item, items[i])) held.push_back(items[i].id);
            if (held.empty()) return "(a frame)";
            std::sort(held.begin(), held.end());
            const std::string heading = FrameWords(dialog, items, item);
            return "(a frame" + (heading.empty() ? std::string() : " \"" + heading + "\"") + " round item" +
                std::string(held.size() > 1 ? "s " : " ") + std::to_string(held.front()) +
                (held.size() > 1 ? " to " + std::to_string(held.back()) : "") + ")";
        }
        default: break;
    }
    if (const RSDialogItem* image = ImageBeside(items, item)) {
        const std::string shows = ImageWords(module, *image);
        return "(" + (shows.empty() ? std::string() : shows + ": ") + "beside image " + image->text.ToUtf8() + ")";
    }
    if (item.kind == RSDialogItemKind::List) return "(a list: its columns below)";
    if (item.kind == RSDialogItemKind::TabControl) return "(a tab control: its pages below)";
    // A chooser right of a number field shows the same value: the pen (or line type) the number names.
    for (uint32_t i = 0; item.kind == RSDialogItemKind::UserControl && i < items.GetSize(); ++i) {
        const RSDialogItem& n = items[i];
        if (n.kind == RSDialogItemKind::IntEdit && SameLine(n, item) && item.x >= n.x + n.width &&
            item.x <= n.x + n.width + 20)
            return "(the chooser kept in step with the number in item " + std::to_string(n.id) + ")";
    }
    // A pen or line-type number keeps the chooser beside it in step, a number the slider beside it.
    for (uint32_t i = 0; i < items.GetSize(); ++i) {
        const RSDialogItem& c = items[i];
        const bool chooser = c.kind == RSDialogItemKind::UserControl, slider = c.kind == RSDialogItemKind::Slider;
        const bool touching = (c.x >= item.x + item.width && c.x <= item.x + item.width + 20) ||
            (item.x >= c.x + c.width && item.x <= c.x + c.width + 20);
        if ((chooser || slider) && &c != &item && SameLine(c, item) && touching)
            return std::string("(the number of the ") + (chooser ? "chooser" : "slider") + " beside it, item " +
                std::to_string(c.id) + ")";
    }
    // A column's heading: the nearest text above the item, over its width.
    const RSDialogItem* heading = nullptr;
    for (uint32_t i = 0; i < items.GetSize(); ++i) {
        const RSDialogItem& h = items[i];
        if (h.kind != RSDialogItemKind::Static || OwnWords(dialog, h).empty() || h.y + h.height > item.y + 2 ||
            h.y + h.height + 40 < item.y || h.x >= item.x + item.width || item.x >= h.x + h.width)
            continue;
        if (heading == nullptr || h.y > heading->y) heading = &h;
    }
    if (heading != nullptr) return "(under \"" + OwnWords(dialog, *heading) + "\")";
    const RSDialogItem* frame = nullptr;
    for (uint32_t i = 0; i < items.GetSize(); ++i) {
        const RSDialogItem& f = items[i];
        if (f.kind == RSDialogItemKind::GroupBox && Inside(f, item) && !FrameWords(dialog, items, f).empty() &&
            (frame == nullptr || Inside(*frame, f)))
            frame = &f;
    }
    if (frame != nullptr) return "(in \"" + FrameWords(dialog, items, *frame) + "\")";
    // Nothing in the layout says more than what the item is.
    switch (item.kind) {
        case RSDialogItemKind::UserControl:
            return "(a chooser the module binds to the host's pens, fills, materials, line types or layers)";
        case RSDialogItemKind::PopUp: return "(a pop-up the module fills)";
        case RSDialogItemKind::Check: return "(a check box the module names as it opens)";
        case RSDialogItemKind::Radio: return "(a radio button the module names as it opens)";
        case RSDialogItemKind::Edit:
        case RSDialogItemKind::RichEdit: return "(a text field with no words beside it)";
        default: return "(a number field with no words beside it)";
    }
}

bool IsSubPalette(int32_t id) {
    const std::vector<int32_t>& ids = SubPaletteIds();
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

// What a button of a sub-palette takes, the clicks it asks for and what it replaces, one line each.
void WriteAction(const PaletteAction& action, const std::string& indent, std::ostream& out) {
    out << indent << "takes: " << action.takes << "\n" << indent << "clicks: " << action.clicks << "\n";
    if (*action.replaces != '\0') out << indent << "replaces: " << action.replaces << "\n";
}

// The entries of a pop-up as the module fills it: its fixed texts from the string table of the language shown
// (English when the module's own language is not chosen), then the entries it adds from the project or the file.
std::string PopUpEntries(GSResModule module, int32_t languageIndex, const PopUpGuide& guide) {
    std::string text;
    for (const int32_t index : PopUpIndexes(guide)) {
        GS::UniString entry;
        if (index == 0)
            entry = "(a dividing line)";
        else if (!RSGetIndString(&entry, guide.table + languageIndex, index, module) &&
                 !RSGetIndString(&entry, guide.table + kEnglish, index, module))  // as the module falls back
            entry = GS::UniString("(entry " + std::to_string(index) + " missing)");
        text += (text.empty() ? "" : ", ") + (index == 0 ? entry.ToUtf8() : QuotedText(entry.ToUtf8()));
    }
    if (*guide.entries != '\0') text += (text.empty() ? "" : ", ") + std::string(guide.entries);
    return text;
}

// What the module writes into a layout's items: the language's index of its string tables.
struct ReferenceTexts {
    GSResModule module;
    int32_t languageIndex;
};

// The item's label after its kind: its own text, else the text beside it, else what the guide or its place says.
std::string ItemLabel(const ReferenceTexts& texts, int32_t dialog, const GS::Array<RSDialogItem>& items,
                      const RSDialogItem& item) {
    const bool shows = item.kind == RSDialogItemKind::Static || item.kind == RSDialogItemKind::GroupBox ||
        item.kind == RSDialogItemKind::Separator || item.kind == RSDialogItemKind::Picture ||
        item.kind == RSDialogItemKind::Icon;
    const ItemGuide* guide = FindItemGuide(dialog, item.id);
    const bool image = item.kind == RSDialogItemKind::Picture || item.kind == RSDialogItemKind::Icon;
    if (image && !item.text.IsEmpty()) return "(image " + item.text.ToUtf8() + ")";  // its text names its image
    // The guide's words for a field say what it holds, where the text nearest to it says less.
    if (!shows && item.text.IsEmpty() && guide != nullptr && guide->label[0] == '(') return guide->label;
    // A text that only labels the item beside it is that item's label; here it is shown as it is.
    const std::string label = image ? std::string() : shows ? item.text.ToUtf8() : LabelOf(dialog, items, item);
    if (!label.empty()) return label[0] == '(' ? label : QuotedText(label);
    if (guide != nullptr && *guide->label != '\0')
        return guide->label[0] == '(' ? std::string(guide->label) : QuotedText(guide->label) + " (set by the module)";
    if (shows && item.kind == RSDialogItemKind::Static) return "(a text the module writes)";
    return PlaceOf(texts.module, dialog, items, item);
}

// "  <item> <kind>  <label>  <limits>" for every item of a layout; an item the module writes (or that does more
// than its text says) gets its label and meaning from the guide, a list its columns, rows and what a click does, a
// pop-up its entries.
void WriteItems(const ReferenceTexts& texts, int32_t dialog, const GS::Array<RSDialogItem>& items,
                const std::string& indent, std::ostream& out) {
    for (uint32_t i = 0; i < items.GetSize(); ++i) {
        const RSDialogItem& item = items[i];
        std::string line = indent + std::to_string(item.id) + " ";
        // Each part after the kind column, two blanks apart.
        const size_t column = indent.size() + 18;
        const auto add = [&line, column](const std::string& part) {
            while (!line.empty() && line.back() == ' ') line.pop_back();
            line += (line.size() < column ? std::string(column - line.size(), ' ') : std::string("  ")) + part;
        };
        line.resize(std::max(line.size(), indent.size() + 5), ' ');
        line += RSDialogItemKindName(item.kind);
        const ItemGuide* guide = FindItemGuide(dialog, item.id);
        if (const std::string label = ItemLabel(texts, dialog, items, item); !label.empty()) add(label);
        if (item.hasRange)
            add(Number(item.minValue) + " to " + Number(item.maxValue) +
                (item.kind == RSDialogItemKind::LengthEdit ? " m" : ""));
        else if (item.kind == RSDialogItemKind::LengthEdit)
            add("metres");
        if (item.textLimit > 0) add("at most " + std::to_string(item.textLimit) + " characters");
        if (item.radioGroup > 0) add("radio group " + std::to_string(item.radioGroup));
        const PopUpGuide* popUp = item.kind == RSDialogItemKind::PopUp ? FindPopUpGuide(dialog, item.id) : nullptr;
        if (guide != nullptr && *guide->meaning != '\0')
            add("- " + std::string(guide->meaning));
        else if (popUp != nullptr)
            add("- " + std::string(popUp->meaning));
        while (!line.empty() && line.back() == ' ') line.pop_back();
        out << line << "\n";
        if (popUp != nullptr)
            out << indent << "      entries: " << PopUpEntries(texts.module, texts.languageIndex, *popUp) << "\n";
        if (const ListGuide* list = FindListGuide(dialog, item.id)) {
            out << indent << "      columns: " << list->columns << "\n";
            out << indent << "      rows: " << list->rows << "\n";
            out << indent << "      a click: " << list->click << "\n";
        }
        if (const PaletteAction* action = IsSubPalette(dialog) ? FindPaletteAction(dialog, item.id) : nullptr)
            WriteAction(*action, indent + "      ", out);
    }
}
}  // namespace

bool WriteDialogReference(const std::string& resourcesFolder, const std::string& language, std::ostream& out,
                          std::string* why) {
    const ReferenceLanguage* chosen = nullptr;
    for (const ReferenceLanguage& l : kLanguages)
        if (language == l.code) chosen = &l;
    if (!language.empty() && chosen == nullptr) {
        *why = "unknown language " + language + "; the languages are";
        for (const ReferenceLanguage& l : kLanguages) *why += std::string(" ") + l.code + " (" + l.name + ")";
        return false;
    }
    std::vector<int32_t> ids;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(resourcesFolder + "/DLOG", ec)) {
        const std::string stem = entry.path().stem().string();
        if (entry.path().extension() != ".txt" || stem.empty() ||
            stem.find_first_not_of("0123456789") != std::string::npos || stem.size() > 5)
            continue;
        ids.push_back(std::atoi(stem.c_str()));
    }
    if (ids.empty()) {
        *why = "no dialog layouts in " + resourcesFolder + "/DLOG";
        return false;
    }
    std::sort(ids.begin(), ids.end());
    const GSResModule module = ResourceDriver::OpenResourceFolder(resourcesFolder);
    const ReferenceTexts texts = {module,
                                  chosen != nullptr && chosen->moduleIndex >= 0 ? chosen->moduleIndex : kEnglish};
    out << "Dialogs and palettes of the module" << (language.empty() ? "" : " as language " + language + " shows them")
        << ", from " << resourcesFolder << "/DLOG.\n"
        << "Each item, texts, pictures and group boxes too: its number, kind, label (in brackets: the text beside it)\n"
        << "and limits, then after a dash what the module shows there or what a click does; under a pop-up its\n"
        << "entries in order (`dialog <id> popup <item> <n>` picks the n-th from 1, a dividing line counting one);\n"
        << "under a list its columns, its rows' order and what a click in them does; under a sub-palette's button\n"
        << "what it takes, the clicks it asks for and what it replaces. Lengths are metres.\n"
        << "Script: `dialog <id> set <item> <value>`, `dialog <id> click <item>`; an item of a tab page is\n"
        << "`dialog <id>/<tab control>/<page> ...`. Labels are those of the layouts; the module may change some while "
           "a\n"
        << "dialog is open.\n";
    WriteMenu(module, chosen, out);
    WritePalette(module, language, out);
    out << "\nEvery dialog and palette:\n";
    for (const int32_t id : ids) {
        const PaletteTarget* variant = InputPalette(id);
        if (variant != nullptr && !language.empty() && !variant->shows(language)) continue;
        RSDialogLayout layout;
        if (!RSGetDialogLayout(id, module, &layout)) continue;
        out << "\n" << id << " " << QuotedText(layout.title.ToUtf8());
        if (variant != nullptr) out << "  (the input palette of " << variant->when << ")";
        out << "\n";
        WriteItems(texts, id, layout.items, "  ", out);
        for (uint32_t p = 0; p < layout.pages.GetSize(); ++p) {
            const RSTabPage& page = layout.pages[p];
            out << "  page " << id << "/" << page.tabItem << "/" << page.page << " " << QuotedText(page.title.ToUtf8())
                << "\n";
            // The guide's rows name the dialog's own items; a page's items are numbered apart and have none.
            WriteItems(texts, 0, page.items, "    ", out);
        }
    }
    ResourceDriver::CloseResourceModule(module);
    return true;
}

bool WritePaletteActions(const std::string& resourcesFolder, std::ostream& out, std::string* why) {
    const GSResModule module = ResourceDriver::OpenResourceFolder(resourcesFolder);
    bool any = false;
    for (const int32_t id : SubPaletteIds()) {
        RSDialogLayout layout;
        if (!RSGetDialogLayout(id, module, &layout)) continue;
        if (!any)
            out << "Palette actions: `dialog <sub-palette> click <button>` runs a tool at once (the tool palette "
                << kPalette
                << "\nopens each sub-palette). Each says what it takes (the selection, or the project), the clicks it "
                   "asks\nfor (queue them with `click <x> <y>` before the button) and what it replaces (a name a "
                   "script gave\nto a replaced object is gone). A hatch is an element of type fill, a terrain point "
                   "a hotspot,\na constraint line a line, a road, plateau or other feature an object of the module's "
                   "library:\n";
        any = true;
        out << "  " << Titled(id, module) << "\n";
        for (uint32_t i = 0; i < layout.items.GetSize(); ++i) {
            const RSDialogItem& item = layout.items[i];
            out << "    item " << item.id << "  " << QuotedText(item.text.ToUtf8()) << "\n";
            if (const PaletteAction* action = FindPaletteAction(id, item.id))
                WriteAction(*action, "        ", out);
            else
                out << "        (not in the host's table of actions)\n";
        }
    }
    ResourceDriver::CloseResourceModule(module);
    if (!any) *why = "no sub-palette layouts in " + resourcesFolder + "/DLOG";
    return any;
}
