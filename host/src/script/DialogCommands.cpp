// Script commands of the user's answers to dialogs, alerts and folder and file dialogs (queued before the module
// shows them), with the checks of what was shown.
#include "script/ScriptCommands.hpp"

#include "DGDriver.hpp"
#include "script/CommandSupport.hpp"
#include "script/ScriptContext.hpp"
#include "script/ScriptLanguage.hpp"

void AddDialogCommands(ScriptLanguage& L) {
    L.Add(
        "dialog <dialog:int> set <item:int> <value:text>", false,
        [](ScriptContext&, const ScriptArgs& a, std::string*) {
            DGDriver::QueueSetText(int16_t(a.Int("dialog")), int16_t(a.Int("item")), a.Text("value"));
            return true;
        },
        "queue: set an item's text or value");
    L.Add(
        "dialog <dialog:int> pick <item:int> <row:int>", false,
        [](ScriptContext&, const ScriptArgs& a, std::string*) {
            DGDriver::QueuePickListRow(int16_t(a.Int("dialog")), int16_t(a.Int("item")), a.Int("row"));
            return true;
        },
        "queue: pick row <row> (from 1) of a list");
    L.Add(
        "dialog <dialog:int> popup <item:int> <pos:int>", false,
        [](ScriptContext&, const ScriptArgs& a, std::string*) {
            DGDriver::QueuePickPopUpItem(int16_t(a.Int("dialog")), int16_t(a.Int("item")), a.Int("pos"));
            return true;
        },
        "queue: pick item <pos> (from 1) of a pop-up");
    L.Add(
        "dialog <dialog:int> click <item:int>", false,
        [](ScriptContext&, const ScriptArgs& a, std::string*) {
            DGDriver::QueueClick(int16_t(a.Int("dialog")), int16_t(a.Int("item")));
            return true;
        },
        "queue: click an item");
    L.Add(
        "dialog <dialog:int> close", false,
        [](ScriptContext&, const ScriptArgs& a, std::string*) {
            DGDriver::QueueCloseWindow(int16_t(a.Int("dialog")));
            return true;
        },
        "queue: the user closes a modeless window");
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
        "file-dialog <path:text>", false,
        [](ScriptContext&, const ScriptArgs& a, std::string*) {
            DGDriver::QueueFileAnswer({a.Text("path")});
            return true;
        },
        "queue: choose a file in the next file dialog");
    L.Add(
        "expect alert <text:text>", true,
        [](ScriptContext&, const ScriptArgs& a, std::string* m) {
            for (const DGDriver::LogRecord& rec : DGDriver::Log()) {
                if (rec.kind != "alert") continue;
                bool hit = rec.title.find(a.Text("text")) != std::string::npos;
                for (const std::string& t : rec.texts) hit = hit || t.find(a.Text("text")) != std::string::npos;
                if (hit) {
                    *m = "alert " + Quote(rec.title) + " shown";
                    return true;
                }
            }
            *m = "no alert shown holds " + Quote(a.Text("text"));
            return false;
        },
        "an alert was shown whose title or text holds <text>");
    L.Add("expect alerts <count:int>", true, [](ScriptContext&, const ScriptArgs& a, std::string* m) {
        int64_t n = 0;
        for (const DGDriver::LogRecord& rec : DGDriver::Log()) n += rec.kind == "alert" ? 1 : 0;
        return Compare("alerts shown:", n, a.Int("count"), m);
    });
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
    L.Add("expect dialogs <count:int>", true, [](ScriptContext&, const ScriptArgs& a, std::string* m) {
        int64_t n = 0;
        for (const DGDriver::LogRecord& rec : DGDriver::Log())
            n += (rec.kind == "modal" || rec.kind == "modeless") ? 1 : 0;
        return Compare("dialogs shown:", n, a.Int("count"), m);
    });
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
    L.Add("expect folder-dialogs <count:int>", true, [](ScriptContext&, const ScriptArgs& a, std::string* m) {
        int64_t n = 0;
        for (const DGDriver::LogRecord& rec : DGDriver::Log()) n += rec.kind == "folder" ? 1 : 0;
        return Compare("folder dialogs shown:", n, a.Int("count"), m);
    });
}
