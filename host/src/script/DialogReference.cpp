#include "script/DialogReference.hpp"

#include "ResourceDriver.hpp"
#include "Resources.hpp"
#include "TextFields.hpp"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <vector>

namespace {
// The module's input palette depends on the host's language: its grid and SOSI imports are language variants.
struct LanguagePalette {
    int32_t id;
    const char* languages;  // who sees it, as the reference says
    bool (*shows)(const std::string& language);
};
const LanguagePalette kInputPalettes[] = {
    {32401, "every language but NOR and AUT", [](const std::string& l) { return l != "NOR" && l != "AUT"; }},
    {32407, "language NOR (with the SOSI import)", [](const std::string& l) { return l == "NOR"; }},
    {32575, "language AUT (with the ASC grid import)", [](const std::string& l) { return l == "AUT"; }},
};

std::string Number(double v) {
    std::ostringstream s;
    s.precision(12);
    s << v;
    return s.str();
}

// The words beside an item that has no text of its own: the nearest static text to its left on its line.
std::string LabelOf(const GS::Array<RSDialogItem>& items, const RSDialogItem& item) {
    if (!item.text.IsEmpty()) return item.text.ToUtf8();
    const RSDialogItem* best = nullptr;
    for (uint32_t i = 0; i < items.GetSize(); ++i) {
        const RSDialogItem& s = items[i];
        if (s.kind != RSDialogItemKind::Static || s.text.IsEmpty()) continue;
        const bool sameLine =
            std::abs((s.y + s.height / 2) - (item.y + item.height / 2)) <= std::max(item.height, 12) / 2;
        if (!sameLine || s.x >= item.x) continue;
        if (best == nullptr || s.x > best->x) best = &s;
    }
    return best != nullptr ? "(" + best->text.ToUtf8() + ")" : std::string();
}

void WriteItems(const GS::Array<RSDialogItem>& items, const std::string& indent, std::ostream& out) {
    for (uint32_t i = 0; i < items.GetSize(); ++i) {
        const RSDialogItem& item = items[i];
        if (item.kind == RSDialogItemKind::Static || item.kind == RSDialogItemKind::GroupBox ||
            item.kind == RSDialogItemKind::Separator || item.kind == RSDialogItemKind::Picture ||
            item.kind == RSDialogItemKind::Icon)
            continue;  // nothing to set or click
        std::string line = indent + std::to_string(item.id) + " ";
        // Each part after the kind column, two blanks apart.
        const size_t column = indent.size() + 18;
        const auto add = [&line, column](const std::string& part) {
            while (!line.empty() && line.back() == ' ') line.pop_back();
            line += (line.size() < column ? std::string(column - line.size(), ' ') : std::string("  ")) + part;
        };
        line.resize(std::max(line.size(), indent.size() + 5), ' ');
        line += RSDialogItemKindName(item.kind);
        const std::string label = LabelOf(items, item);
        if (!label.empty()) add(label[0] == '(' ? label : QuotedText(label));
        if (item.hasRange)
            add(Number(item.minValue) + " to " + Number(item.maxValue) +
                (item.kind == RSDialogItemKind::LengthEdit ? " m" : ""));
        else if (item.kind == RSDialogItemKind::LengthEdit)
            add("metres");
        if (item.textLimit > 0) add("at most " + std::to_string(item.textLimit) + " characters");
        if (item.radioGroup > 0) add("radio group " + std::to_string(item.radioGroup));
        while (!line.empty() && line.back() == ' ') line.pop_back();
        out << line << "\n";
    }
}
}  // namespace

bool WriteDialogReference(const std::string& resourcesFolder, const std::string& language, std::ostream& out,
                          std::string* why) {
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
    out << "Dialogs and palettes of the module" << (language.empty() ? "" : " as language " + language + " shows them")
        << ", from " << resourcesFolder << "/DLOG.\n"
        << "Each item: its number, kind, label (in brackets: the text beside it) and limits. Lengths are metres.\n"
        << "Script: `dialog <id> set <item> <value>`, `dialog <id> click <item>`; an item of a tab page is\n"
        << "`dialog <id>/<tab control>/<page> ...`. Labels are those of the layouts; the module may change some while "
           "a\n"
        << "dialog is open.\n";
    for (const int32_t id : ids) {
        const LanguagePalette* variant = nullptr;
        for (const LanguagePalette& p : kInputPalettes)
            if (p.id == id) variant = &p;
        if (variant != nullptr && !language.empty() && !variant->shows(language)) continue;
        RSDialogLayout layout;
        if (!RSGetDialogLayout(id, module, &layout)) continue;
        out << "\n" << id << " " << QuotedText(layout.title.ToUtf8());
        if (variant != nullptr) out << "  (the input palette of " << variant->languages << ")";
        out << "\n";
        WriteItems(layout.items, "  ", out);
        for (uint32_t p = 0; p < layout.pages.GetSize(); ++p) {
            const RSTabPage& page = layout.pages[p];
            out << "  page " << id << "/" << page.tabItem << "/" << page.page << " " << QuotedText(page.title.ToUtf8())
                << "\n";
            WriteItems(page.items, "    ", out);
        }
    }
    ResourceDriver::CloseResourceModule(module);
    return true;
}
