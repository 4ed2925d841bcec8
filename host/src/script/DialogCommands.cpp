// Script commands of the user's answers to dialogs, alerts and folder and file dialogs (queued before the module
// shows them), of the host's messages to the module's palettes, with the checks of what was shown.
#include "script/ScriptCommands.hpp"

#include "DGDriver.hpp"
#include "StandinHost.hpp"
#include "script/CommandSupport.hpp"
#include "script/ScriptContext.hpp"
#include "script/ScriptLanguage.hpp"
#include "ui/AlertText.hpp"

#include <sstream>
#include <string>
#include <vector>

namespace {
DGDriver::DialogRef Ref(const ScriptArgs& a) {
    int16_t dialog = 0, tab = 0, page = 0;
    ParseScriptDialogRef(a.Text("dialog"), &dialog, &tab, &page);
    return tab != 0 ? DGDriver::DialogRef::Page(dialog, tab, page) : DGDriver::DialogRef(dialog);
}

int16_t Item(const ScriptArgs& a) { return int16_t(a.Int("item")); }

// A file the user picks: a relative path lies beside the script.
std::string ScriptFilePath(ScriptContext& r, const std::string& given) {
    std::string path = HostPath(r, given);
    const bool relative = !path.empty() && path[0] != '/' && path[0] != '\\' && path.find(':') == std::string::npos;
    if (relative && !r.ScriptFolder().empty()) path = r.ScriptFolder() + "/" + path;
    return path;
}
// The user's answers to the items of a dialog or tab page.
void AddItemAnswers(ScriptLanguage& L) {
    L.Add(
        "dialog <dialog:dialog> set <item:int> <value:text>", false,
        [](ScriptContext&, const ScriptArgs& a, std::string*) {
            DGDriver::QueueSetText(Ref(a), Item(a), a.Text("value"));
            return true;
        },
        "queue: set an item's text or value (a user control: the attribute picked); <dialog> may be dialog/tab/page");
    L.Add(
        "dialog <dialog:dialog> pick <item:int> <row:int>", false,
        [](ScriptContext&, const ScriptArgs& a, std::string*) {
            DGDriver::QueuePickListRow(Ref(a), Item(a), a.Int("row"));
            return true;
        },
        "queue: pick row <row> (from 1) of a list");
    L.Add(
        "dialog <dialog:dialog> popup <item:int> <pos:int>", false,
        [](ScriptContext&, const ScriptArgs& a, std::string*) {
            DGDriver::QueuePickPopUpItem(Ref(a), Item(a), a.Int("pos"));
            return true;
        },
        "queue: pick item <pos> (from 1) of a pop-up");
    L.Add(
        "dialog <dialog:dialog> click <item:int>", false,
        [](ScriptContext&, const ScriptArgs& a, std::string*) {
            DGDriver::QueueClick(Ref(a), Item(a));
            return true;
        },
        "queue: click an item (a radio button checks, the module hears the click; a check box turns, the module "
        "hears the change)");
    L.Add(
        "dialog <dialog:dialog> click <item:int> row <row:int> [<x:int>]", false,
        [](ScriptContext&, const ScriptArgs& a, std::string*) {
            DGDriver::QueueClickListRow(Ref(a), Item(a), a.Int("row"), a.Has("x") ? a.Int("x") : 0);
            return true;
        },
        "queue: click row <row> of a list at x <x> (0 when left out) in the list's coordinates");
    L.Add(
        "dialog <dialog:dialog> click <item:int> at <x:int> <y:int> [<modifiers:int>]", false,
        [](ScriptContext&, const ScriptArgs& a, std::string*) {
            DGDriver::ClickPoint point;
            point.x = a.Int("x");
            point.y = a.Int("y");
            point.modifiers = int16_t(a.Has("modifiers") ? a.Int("modifiers") : 0);
            DGDriver::QueueClickAt(Ref(a), Item(a), point);
            return true;
        },
        "queue: click an item at x y of its own, holding modifier keys (1 shift, 2 command, 4 option)");
    L.Add(
        "dialog <dialog:int> tab <item:int> <page:int>", false,
        [](ScriptContext&, const ScriptArgs& a, std::string*) {
            DGDriver::QueueSwitchTab(int16_t(a.Int("dialog")), Item(a), int16_t(a.Int("page")));
            return true;
        },
        "queue: show page <page> (from 1) of tab control <item>");
}

// What the user does to a window itself, the host's messages to palettes and its length unit.
void AddWindowCommands(ScriptLanguage& L) {
    L.Add(
        "dialog <dialog:int> resize <width:int> <height:int>", false,
        [](ScriptContext&, const ScriptArgs& a, std::string*) {
            DGDriver::QueueResize(int16_t(a.Int("dialog")), a.Int("width"), a.Int("height"));
            return true;
        },
        "queue: the user drags the window to that client size");
    L.Add(
        "dialog <dialog:int> close", false,
        [](ScriptContext&, const ScriptArgs& a, std::string*) {
            DGDriver::QueueCloseWindow(int16_t(a.Int("dialog")));
            return true;
        },
        "queue: a modeless window is closed (it gets its close message)");
    L.Add(
        "dialog <dialog:int> closebox", false,
        [](ScriptContext&, const ScriptArgs& a, std::string*) {
            DGDriver::QueueCloseBox(int16_t(a.Int("dialog")));
            return true;
        },
        "queue: the user clicks a modeless window's close box (item -1; it closes when the click answers so)");
    L.Add(
        "palette <ref:int> <message:close|hide|show|disable|enable>", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            const std::string word = a.Text("message");
            const int32_t message = word == "close" ? APIPaletteMessage_Close
                : word == "hide"                    ? APIPaletteMessage_Hide
                : word == "show"                    ? APIPaletteMessage_Show
                : word == "disable"                 ? APIPaletteMessage_Disable
                                                    : APIPaletteMessage_Enable;
            return r.Host().SendPaletteMessage(a.Int("ref"), message, m);
        },
        "the host tells a registered modeless window to close, hide, show, disable or enable itself");
    L.Add(
        "units <unit:m|dm|cm|mm|ft|in>", false,
        [](ScriptContext&, const ScriptArgs& a, std::string*) {
            int32_t unit = DG_UNIT_M;
            DGDriver::LengthUnitFromName(a.Text("unit"), &unit);
            DGDriver::SetLengthUnit(unit);
            return true;
        },
        "the host's length unit (what length edits show and read)");
}

// The user's answers to alerts and to the host's folder and file dialogs.
void AddSystemDialogAnswers(ScriptLanguage& L) {
    L.Add(
        "alert <button:int>", false,
        [](ScriptContext&, const ScriptArgs& a, std::string*) {
            DGDriver::QueueAlertAnswer(int16_t(a.Int("button")));
            return true;
        },
        "queue: answer the next alert with button <button> (from 1)");
    L.Add(
        "folder cancel", false,
        [](ScriptContext&, const ScriptArgs&, std::string*) {
            DGDriver::QueueFolderCancel();
            return true;
        },
        "queue: cancel the next folder dialog");
    L.Add(
        "folder <path:text>", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string*) {
            DGDriver::QueueFolderAnswer(HostPath(r, a.Text("path")));
            return true;
        },
        "queue: choose a folder in the next folder dialog (\"@module\" starts a path beside the module)");
    L.Add(
        "file-dialog cancel", false,
        [](ScriptContext&, const ScriptArgs&, std::string*) {
            DGDriver::QueueFileCancel();
            return true;
        },
        "queue: cancel the next file dialog");
    L.Add(
        "file-dialog files <paths:text>", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string*) {
            std::vector<std::string> paths;
            std::istringstream in(a.Text("paths"));
            for (std::string path; std::getline(in, path, ';');) paths.push_back(ScriptFilePath(r, path));
            DGDriver::QueueFileAnswer(paths);
            return true;
        },
        "queue: choose several files, in this order (';' between them, each as for file-dialog <path>), in the next "
        "file dialog");
    L.Add(
        "file-dialog <path:text>", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string*) {
            DGDriver::QueueFileAnswer({ScriptFilePath(r, a.Text("path"))});
            return true;
        },
        "queue: choose a file in the next file dialog (a relative path lies beside the script, \"@module\" beside "
        "the module, \"@user\" in the user folder)");
}

// Checks of the alerts shown.
void AddAlertChecks(ScriptLanguage& L) {
    L.Add(
        "expect alert <text:text>", true,
        [](ScriptContext&, const ScriptArgs& a, std::string* m) {
            for (const DGDriver::LogRecord& rec : DGDriver::Log()) {
                if (rec.kind != "alert") continue;
                bool hit = rec.title.find(a.Text("text")) != std::string::npos;
                for (const std::string& t : rec.texts) hit = hit || t.find(a.Text("text")) != std::string::npos;
                if (hit) {
                    *m = AlertText(rec);
                    return true;
                }
            }
            *m = "no alert shown holds " + Quote(a.Text("text"));
            return false;
        },
        "an alert was shown whose title or text holds <text>");
    L.Add(
        "expect alert <text:text> buttons <captions:text>", true,
        [](ScriptContext&, const ScriptArgs& a, std::string* m) {
            std::vector<std::string> wanted;
            std::istringstream in(a.Text("captions"));
            for (std::string caption; std::getline(in, caption, ';');) wanted.push_back(caption);
            std::string seen;
            for (const DGDriver::LogRecord& rec : DGDriver::Log()) {
                if (rec.kind != "alert") continue;
                bool hit = rec.title.find(a.Text("text")) != std::string::npos;
                for (const std::string& t : rec.texts) hit = hit || t.find(a.Text("text")) != std::string::npos;
                if (!hit) continue;
                std::string shown;
                for (const std::string& b : rec.buttons) shown += (shown.empty() ? "" : ";") + b;
                if (rec.buttons == wanted) {
                    *m = AlertText(rec);
                    return true;
                }
                seen += " " + Quote(shown);
            }
            *m = seen.empty() ? "no alert shown holds " + Quote(a.Text("text"))
                              : "the alerts holding " + Quote(a.Text("text")) + " had the buttons" + seen;
            return false;
        },
        "an alert was shown whose title or text holds <text>, with exactly these button captions, in order (';' "
        "between them)");
    L.Add(
        "expect alerts <count:int>", true,
        [](ScriptContext&, const ScriptArgs& a, std::string* m) {
            int64_t n = 0;
            for (const DGDriver::LogRecord& rec : DGDriver::Log()) n += rec.kind == "alert" ? 1 : 0;
            return Compare("alerts shown:", n, a.Int("count"), m);
        },
        "the number of alerts shown since the script started");
}

// Checks of the dialogs and folder dialogs shown.
void AddShownChecks(ScriptLanguage& L) {
    L.Add(
        "expect dialog <dialog:int> shown [<result:int>]", true,
        [](ScriptContext&, const ScriptArgs& a, std::string* m) {
            for (const DGDriver::LogRecord& rec : DGDriver::Log()) {
                if ((rec.kind != "modal" && rec.kind != "modeless") || rec.id != a.Int("dialog")) continue;
                if (a.Has("result") && rec.result != a.Int("result")) continue;
                *m = "dialog " + std::to_string(rec.id) + " closed with item " + std::to_string(rec.result);
                return true;
            }
            *m = "dialog " + std::to_string(a.Int("dialog")) + " was not shown" +
                (a.Has("result") ? " (closed with that item)" : "");
            return false;
        },
        "a dialog was shown (and closed with item <result>)");
    L.Add(
        "expect dialogs <count:int>", true,
        [](ScriptContext&, const ScriptArgs& a, std::string* m) {
            int64_t n = 0;
            for (const DGDriver::LogRecord& rec : DGDriver::Log())
                n += (rec.kind == "modal" || rec.kind == "modeless") ? 1 : 0;
            return Compare("dialogs shown:", n, a.Int("count"), m);
        },
        "the number of dialogs and palettes the module opened since the script started");
    L.Add(
        "expect folder-dialog <title:text> [<result:chosen|cancelled>]", true,
        [](ScriptContext&, const ScriptArgs& a, std::string* m) {
            for (const DGDriver::LogRecord& rec : DGDriver::Log()) {
                if (rec.kind != "folder" || rec.title != a.Text("title")) continue;
                if (a.Has("result") && (rec.result == 1) != (a.Text("result") == "chosen")) continue;
                *m = "folder dialog " + Quote(rec.title) + (rec.result == 1 ? " chosen" : " cancelled");
                return true;
            }
            *m = "no folder dialog titled " + Quote(a.Text("title")) + (a.Has("result") ? " ended so" : "");
            return false;
        },
        "a folder dialog with that title was shown (and chosen or cancelled)");
    L.Add(
        "expect folder-dialogs <count:int>", true,
        [](ScriptContext&, const ScriptArgs& a, std::string* m) {
            int64_t n = 0;
            for (const DGDriver::LogRecord& rec : DGDriver::Log()) n += rec.kind == "folder" ? 1 : 0;
            return Compare("folder dialogs shown:", n, a.Int("count"), m);
        },
        "the number of folder dialogs shown since the script started");
}

}  // namespace

void AddDialogCommands(ScriptLanguage& L) {
    AddItemAnswers(L);
    AddWindowCommands(L);
    AddSystemDialogAnswers(L);
    AddAlertChecks(L);
    AddShownChecks(L);
}
