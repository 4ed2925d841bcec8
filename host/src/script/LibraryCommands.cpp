// Script commands of the project's object libraries, with their checks.
#include "script/ScriptCommands.hpp"

#include "StandinHost.hpp"
#include "script/CommandSupport.hpp"
#include "script/ScriptContext.hpp"
#include "script/ScriptLanguage.hpp"

#include <algorithm>
#include <cmath>

void AddLibraryCommands(ScriptLanguage& L) {
    L.Add(
        "library load <path:text>", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            return r.Host().AddLibraryFolder(HostPath(r, a.Text("path")), m);
        },
        "the project loads a library folder (\"@module/library\": the add-on's own)");
    L.Add(
        "module-file <path:text>", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string*) {
            r.Host().Settings().moduleFile = HostPath(r, a.Text("path"));
            return true;
        },
        "the host names this file as the module's own ('OWNL'; \"\": it cannot name it); the add-on's library "
        "folder lies beside it");
    L.Add(
        "library clear", false,
        [](ScriptContext& r, const ScriptArgs&, std::string*) {
            r.Host().Project().libraries.Clear();
            return true;
        },
        "the project's libraries are emptied");
    L.Add(
        "expect libraries <count:int>", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            return Compare("library folders loaded:", int64_t(r.Host().Project().libraries.Folders().size()),
                           a.Int("count"), m);
        },
        "the number of library folders the project has loaded");
    L.Add(
        "expect library-part <name:text> <state:found|absent>", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            const bool found = r.Host().Project().libraries.FindByName(a.Text("name"), 0) > 0;
            *m = a.Text("name") + (found ? " found" : " absent");
            return found == (a.Text("state") == "found");
        },
        "a library part of that name is among the project's libraries");
    L.Add(
        "expect library-part <name:text> param <param:text> <value:text>", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            const LibPartDef* part =
                r.Host().Project().libraries.Part(r.Host().Project().libraries.FindByName(a.Text("name"), 0));
            if (part == nullptr) {
                *m = a.Text("name") + " absent";
                return false;
            }
            for (const LibParamDef& p : part->params) {
                if (p.name != a.Text("param")) continue;
                if (p.dim1 != 0) {
                    *m = p.name + " is an array";
                    return false;
                }
                if (!p.texts.empty())
                    return CompareText(p.name, GS::UniString(p.texts[0]).ToUtf8(), a.Text("value"), m);
                double expected = 0.0;
                if (p.numbers.empty()) {
                    *m = p.name + " has no default value";
                    return false;
                }
                if (!ScriptNumber(a.Text("value"), &expected, m)) return false;
                *m = p.name + " = " + std::to_string(p.numbers[0]);
                return std::fabs(p.numbers[0] - expected) <= 1e-9 * std::max(1.0, std::fabs(expected));
            }
            *m = a.Text("name") + " has no parameter " + a.Text("param");
            return false;
        },
        "the default of a scalar parameter of a library part (a number or a text)");
}
