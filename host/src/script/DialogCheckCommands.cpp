// Script checks of what the module's dialogs show: a dialog or tab page while it is open, else as it was when
// it closed last; its items' values, texts, states, list rows and cells, and what was drawn into them; and the
// modeless windows the module registered with the host.
#include "script/ScriptCommands.hpp"

#include "DGDriver.hpp"
#include "StandinHost.hpp"
#include "script/CommandSupport.hpp"
#include "script/ScriptContext.hpp"
#include "script/ScriptLanguage.hpp"

#include <cmath>
#include <functional>

namespace {

using DGDriver::ItemState;
using DGDriver::LogRecord;

std::string RefName(int16_t dialog, int16_t tab, int16_t page) {
    std::string name = "dialog " + std::to_string(dialog);
    if (tab != 0) name = "page " + std::to_string(page) + " of tab control " + std::to_string(tab) + " of " + name;
    return name;
}

// The dialog or page named by the <dialog> slot: open now, else its record when it closed last.
bool StateOf(const ScriptArgs& a, LogRecord* out, std::string* m) {
    int16_t dialog = 0, tab = 0, page = 0;
    ParseScriptDialogRef(a.Text("dialog"), &dialog, &tab, &page);
    const DGDriver::DialogRef ref =
        tab != 0 ? DGDriver::DialogRef::Page(dialog, tab, page) : DGDriver::DialogRef(dialog);
    if (DGDriver::GetDialogState(ref, out)) return true;
    const auto& log = DGDriver::Log();
    for (auto it = log.rbegin(); it != log.rend(); ++it) {
        if ((it->kind != "modal" && it->kind != "modeless") || it->id != dialog) continue;
        if (tab == 0) {
            *out = *it;
            return true;
        }
        for (const LogRecord& p : it->pages)
            if (p.tabItem == tab && p.page == page) {
                *out = p;
                return true;
            }
        break;
    }
    *m = RefName(dialog, tab, page) + " was never shown";
    return false;
}

bool Near(double found, double expected) {
    return std::fabs(found - expected) <= 1e-9 * std::max(1.0, std::fabs(expected));
}

std::string Number(double v) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15g", v);
    return buffer;
}

using ItemTest =
    std::function<bool(const LogRecord& dialog, const ItemState& item, const ScriptArgs& args, std::string* message)>;

void AddItemCheck(ScriptLanguage& L, const std::string& tail, ItemTest test, const std::string& help) {
    L.Add(
        "expect dialog <dialog:dialog> item <item:int> " + tail, true,
        [test](ScriptContext&, const ScriptArgs& a, std::string* m) {
            LogRecord dialog;
            if (!StateOf(a, &dialog, m)) return false;
            for (const ItemState& item : dialog.items)
                if (item.id == a.Int("item")) return test(dialog, item, a, m);
            *m = "the dialog has no item " + std::to_string(a.Int("item"));
            return false;
        },
        help);
}

// The row and tab field of a cell check; false with a message when the list has no such cell.
bool Cell(const ItemState& list, const ScriptArgs& a, const DGDriver::RowState** row, size_t* tab, std::string* m) {
    const int32_t r = a.Int("row");
    const int32_t t = a.Int("tab");
    if (r < 1 || size_t(r) > list.rows.size()) {
        *m = "the list has " + std::to_string(list.rows.size()) + " rows";
        return false;
    }
    *row = &list.rows[size_t(r) - 1];
    if (t < 1 || size_t(t) > (*row)->texts.size()) {
        *m = "the list has " + std::to_string((*row)->texts.size()) + " tab fields";
        return false;
    }
    *tab = size_t(t) - 1;
    return true;
}

bool AnyHolds(const std::vector<std::string>& operations, const std::string& text, std::string* m) {
    for (const std::string& op : operations)
        if (op.find(text) != std::string::npos) {
            *m = "drawn: " + op;
            return true;
        }
    *m = operations.empty() ? "nothing was drawn"
                            : "drawn: " + operations.back() + " (and " + std::to_string(operations.size() - 1) +
            " more), none holds " + Quote(text);
    return false;
}

// Whether a dialog is open, its title and the messages it got.
void AddDialogStateChecks(ScriptLanguage& L) {
    L.Add(
        "expect dialog <dialog:int> <state:open|closed|visible|hidden>", true,
        [](ScriptContext&, const ScriptArgs& a, std::string* m) {
            const int16_t id = int16_t(a.Int("dialog"));
            const bool open = DGIsDialogOpen(id);
            const std::string state = a.Text("state");
            LogRecord now;
            const bool visible = open && DGDriver::GetDialogState(id, &now) && now.visible;
            *m = "dialog " + std::to_string(id) +
                (open ? visible ? " is open and visible" : " is open and hidden" : " is not open");
            if (state == "open") return open;
            if (state == "closed") return !open;
            return open && visible == (state == "visible");
        },
        "a dialog is open or not, shown or hidden now");
    L.Add(
        "expect dialog <dialog:int> title <title:text>", true,
        [](ScriptContext&, const ScriptArgs& a, std::string* m) {
            LogRecord dialog;
            if (!StateOf(a, &dialog, m)) return false;
            return CompareText("title", dialog.title, a.Text("title"), m);
        },
        "the dialog's title");
    L.Add(
        "expect dialog <dialog:int> events <text:text>", true,
        [](ScriptContext&, const ScriptArgs& a, std::string* m) {
            LogRecord dialog;
            if (!StateOf(a, &dialog, m)) return false;
            std::string events;
            for (const std::string& e : dialog.events) events += e + "; ";
            *m = "events: " + events;
            return events.find(a.Text("text")) != std::string::npos;
        },
        "the messages the dialog got, written \"init; update 3; change 6; click 1 -> 1; close 1; \", hold <text>");
}

// What an item of a dialog or tab page shows.
void AddItemChecks(ScriptLanguage& L) {
    AddItemCheck(
        L, "value <value:text>",
        [](const LogRecord&, const ItemState& item, const ScriptArgs& a, std::string* m) {
            double expected = 0.0;
            if (!ScriptNumber(a.Text("value"), &expected, m)) return false;
            *m = "item " + std::to_string(item.id) + " value " + Number(item.value);
            if (Near(item.value, expected)) return true;
            *m += ", expected " + Number(expected);
            return false;
        },
        "the value of a numeric edit, check box (0/1), radio button (0/1), slider or user control");
    AddItemCheck(
        L, "text <text:text>",
        [](const LogRecord&, const ItemState& item, const ScriptArgs& a, std::string* m) {
            std::string text = item.text;
            if (item.kind == "popup")
                text = item.selected >= 1 && size_t(item.selected) <= item.popUpItems.size()
                    ? item.popUpItems[size_t(item.selected) - 1]
                    : "";
            return CompareText("item " + std::to_string(item.id) + " text", text, a.Text("text"), m);
        },
        "an item's text (a numeric edit's value as shown, a pop-up's chosen entry)");
    AddItemCheck(
        L, "<state:enabled|disabled|visible|hidden|focused|unfocused>",
        [](const LogRecord& dialog, const ItemState& item, const ScriptArgs& a, std::string* m) {
            const bool focused = dialog.focus == item.id;
            *m = "item " + std::to_string(item.id) + (item.enabled ? " enabled" : " disabled") +
                (item.visible ? ", visible" : ", hidden") + (focused ? ", focused" : "");
            const std::string state = a.Text("state");
            if (state == "enabled" || state == "disabled") return item.enabled == (state == "enabled");
            if (state == "visible" || state == "hidden") return item.visible == (state == "visible");
            return focused == (state == "focused");
        },
        "an item's state");
    AddItemCheck(
        L, "selected <index:int>",
        [](const LogRecord&, const ItemState& item, const ScriptArgs& a, std::string* m) {
            return Compare("item " + std::to_string(item.id) + " selected", item.selected, a.Int("index"), m);
        },
        "the selected row of a list, entry of a pop-up, page of a tab control (0: none)");
    AddItemCheck(
        L, "count <count:int>",
        [](const LogRecord&, const ItemState& item, const ScriptArgs& a, std::string* m) {
            const size_t n = item.kind == "popup" ? item.popUpItems.size() : item.rows.size();
            return Compare("item " + std::to_string(item.id) + " holds", int64_t(n), a.Int("count"), m);
        },
        "the rows of a list, the entries of a pop-up");
    AddItemCheck(
        L, "limits <min:text> <max:text>",
        [](const LogRecord&, const ItemState& item, const ScriptArgs& a, std::string* m) {
            const std::string found =
                (item.hasMin ? Number(item.minValue) : "-") + " " + (item.hasMax ? Number(item.maxValue) : "-");
            std::string expected;
            for (const char* slot : {"min", "max"}) {
                double v = 0.0;
                const std::string t = a.Text(slot);
                if (t != "-" && !ScriptNumber(t, &v, m)) return false;
                expected += (expected.empty() ? "" : " ") + (t == "-" ? t : Number(v));
            }
            return CompareText("item " + std::to_string(item.id) + " limits", found, expected, m);
        },
        "the lowest and highest value the user may give (\"-\": none)");
    AddItemCheck(
        L, "image <id:int>",
        [](const LogRecord&, const ItemState& item, const ScriptArgs& a, std::string* m) {
            return Compare("item " + std::to_string(item.id) + " image", item.image, a.Int("id"), m);
        },
        "the image resource an item shows (0: none)");
    AddItemCheck(
        L, "drawn <text:text>",
        [](const LogRecord&, const ItemState& item, const ScriptArgs& a, std::string* m) {
            return AnyHolds(item.drawing, a.Text("text"), m);
        },
        "an operation of a user item's last drawing holds <text> (\"fill 0 0 20 20 rgb(255,0,0)\", \"picture\" ...)");
    AddItemCheck(
        L, "cell <row:int> <tab:int> <text:text>",
        [](const LogRecord&, const ItemState& item, const ScriptArgs& a, std::string* m) {
            const DGDriver::RowState* row = nullptr;
            size_t tab = 0;
            if (!Cell(item, a, &row, &tab, m)) return false;
            return CompareText("cell text", row->texts[tab], a.Text("text"), m);
        },
        "the text of a list cell (row and tab field from 1)");
    AddItemCheck(
        L, "cell-icon <row:int> <tab:int> <id:int>",
        [](const LogRecord&, const ItemState& item, const ScriptArgs& a, std::string* m) {
            const DGDriver::RowState* row = nullptr;
            size_t tab = 0;
            if (!Cell(item, a, &row, &tab, m)) return false;
            return Compare("cell icon", row->icons[tab], a.Int("id"), m);
        },
        "the icon of a list cell (0: none)");
    AddItemCheck(
        L, "cell-drawn <row:int> <tab:int> <text:text>",
        [](const LogRecord&, const ItemState& item, const ScriptArgs& a, std::string* m) {
            const DGDriver::RowState* row = nullptr;
            size_t tab = 0;
            if (!Cell(item, a, &row, &tab, m)) return false;
            static const std::vector<std::string> none;
            return AnyHolds(tab < row->drawing.size() ? row->drawing[tab] : none, a.Text("text"), m);
        },
        "an operation of an owner-drawn list cell's last drawing holds <text>");
}

// The modeless windows registered with the host.
void AddModelessChecks(ScriptLanguage& L) {
    L.Add(
        "expect modeless <ref:int> registered [<flags:int>]", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            const auto& windows = r.Host().Session().modelessWindows;
            const auto it = windows.find(a.Int("ref"));
            if (it == windows.end()) {
                *m = "modeless window " + std::to_string(a.Int("ref")) + " is not registered";
                return false;
            }
            if (!a.Has("flags")) {
                *m = "registered with flags " + std::to_string(it->second.controlFlags);
                return true;
            }
            return Compare("registered with flags", it->second.controlFlags, a.Int("flags"), m);
        },
        "the module registered modeless window <ref> with the host (with those flags)");
    L.Add(
        "expect modeless <ref:int> unregistered", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            const bool registered = r.Host().Session().modelessWindows.count(a.Int("ref")) != 0;
            *m = "modeless window " + std::to_string(a.Int("ref")) +
                (registered ? " is registered" : " is not registered");
            return !registered;
        },
        "no modeless window <ref> is registered");
}
}  // namespace

void AddDialogCheckCommands(ScriptLanguage& L) {
    AddDialogStateChecks(L);
    AddItemChecks(L);
    AddModelessChecks(L);
}
