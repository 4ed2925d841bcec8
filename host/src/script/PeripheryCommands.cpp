// Script commands of the periphery: the user's answers to the host's own settings dialogs (queued before the
// module opens them) and what they showed, the module's file placed in the user folder, and what the shell was
// asked to open.
#include "script/ScriptCommands.hpp"

#include "StandinHost.hpp"
#include "script/CommandSupport.hpp"
#include "script/ScriptContext.hpp"
#include "script/ScriptLanguage.hpp"

#include "Win32Driver.hpp"

namespace {
SettingsDialogAnswers::Dialog Which(const ScriptArgs& a) {
    return a.Text("dialog") == "tool" ? SettingsDialogAnswers::ToolSettings : SettingsDialogAnswers::ObjectSettings;
}
}  // namespace

void AddPeripheryCommands(ScriptLanguage& L) {
    L.Add(
        "preferences decimals <count:int>", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            const int64_t n = a.Int("count");
            if (n < 0 || n > 10) {
                *m = "the length decimals go from 0 to 10, not " + std::to_string(n);
                return false;
            }
            r.Host().Project().lengthDecimals = int16_t(n);
            return true;
        },
        "the user sets the number of decimals of lengths in the working-unit preferences ('GPRF')");
    L.Add(
        "settings-dialog <dialog:tool|object> cancel", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string*) {
            SettingsDialogAnswer answer;
            answer.ok = false;
            r.Host().Project().settingsDialogs.Queue(Which(a), answer);
            return true;
        },
        "queue: the user cancels the next tool ('SETD') or object ('OBJS') settings dialog");
    L.Add(
        "settings-dialog <dialog:tool|object> ok [<part:text>] [<values:text>]", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            SettingsDialogAnswer answer;
            if (a.Has("part") && a.Text("part") != "-") answer.libPart = a.Text("part");
            if (a.Has("values") && !SettingsDialogAnswers::ParseValues(a.Text("values"), &answer.values, m))
                return false;
            r.Host().Project().settingsDialogs.Queue(Which(a), answer);
            return true;
        },
        "queue: the user picks the library part (\"-\": keeps the tool's), types the values (\"A=2; name=text\") "
        "and clicks OK in the next settings dialog");
    L.Add(
        "expect settings-dialogs <count:int>", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            return Compare("host settings dialogs shown:",
                           int64_t(r.Host().Project().settingsDialogs.ShownDialogs().size()), a.Int("count"), m);
        },
        "how many host settings dialogs the module opened");
    L.Add(
        "module-file user <name:text>", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            std::string path;
            if (!r.UserPath(a.Text("name"), &path, m)) return false;
            r.Host().Settings().moduleFile = path;
            return true;
        },
        "the host names this file of the user folder as the module's own ('OWNL'): its Documentation folder lies "
        "beside it");
    L.Add(
        "expect shell <text:text> [<count:int>]", true,
        [](ScriptContext&, const ScriptArgs& a, std::string* m) {
            int64_t n = 0;
            for (const Win32Driver::ShellExecuteCall& call : Win32Driver::ShellExecuteCalls())
                n += call.file.find(a.Text("text")) != std::string::npos ? 1 : 0;
            if (!a.Has("count")) {
                *m = a.Text("text") + (n > 0 ? " opened" : " never opened");
                return n > 0;
            }
            return Compare("shell calls opening " + a.Text("text") + ":", n, a.Int("count"), m);
        },
        "the shell was asked to open a file whose path holds <text> (that many times)");
}
