// Script commands of the module's life (load, release, restart), of what the host is (language, version, kind,
// the suite), of failures set on host functions and of the module's report log, with their checks.
#include "script/ScriptCommands.hpp"

#include "StandinHost.hpp"
#include "TextFields.hpp"
#include "script/CommandSupport.hpp"
#include "script/ScriptContext.hpp"
#include "script/ScriptLanguage.hpp"

namespace {
// The module loaded, released and loaded again.
void AddLifeCommands(ScriptLanguage& L) {
    L.Add(
        "load", false,
        [](ScriptContext& r, const ScriptArgs&, std::string* m) {
            if (!r.Host().Load()) {
                *m = "the module could not be loaded";
                return false;
            }
            *m = r.Host().IsLoaded() ? "module running" : "module not running after its entry points";
            return true;
        },
        "load the module, hand over the tables, run CheckEnvironment, RegisterInterface and Initialize");
    L.Add(
        "release", false,
        [](ScriptContext& r, const ScriptArgs&, std::string* m) {
            r.FailOnClicksLeft("release");
            if (!r.Host().Release()) {
                *m = "release failed";
                return false;
            }
            return true;
        },
        "run FreeData and unload the module (it must be gone afterwards)");
    L.Add(
        "restart", false,
        [](ScriptContext& r, const ScriptArgs&, std::string* m) {
            r.FailOnClicksLeft("restart");
            if (!r.Host().Restart()) {
                *m = "restart failed";
                return false;
            }
            *m = r.Host().IsLoaded() ? "module running" : "module not running after its entry points";
            return true;
        },
        "release, then load again; the user folder and the project stay");
}

// What the host is, failures set on its functions, and the log.
void AddHostCommands(ScriptLanguage& L) {
    L.Add(
        "language <code:text>", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string*) {
            r.Host().Settings().language = a.Text("code");
            return true;
        },
        "the host's language code ('APPL'), e.g. INT, GER, NOR, AUT");
    L.Add(
        "version <main:int>", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string*) {
            r.Host().Settings().mainVersion = a.Int("main");
            return true;
        },
        "the host's main version ('APPL')");
    L.Add(
        "environment <kind:int>", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string*) {
            r.Host().Settings().environmentKind = a.Int("kind");
            return true;
        },
        "the kind of host application in the environment record of the next load (1 = the host)");
    L.Add(
        "suite <state:present|absent>", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string*) {
            r.Host().Settings().suitePresent = a.Text("state") == "present";
            return true;
        },
        "whether the suite add-on answers its 'SUIT' command");
    L.Add(
        "fail clear", false,
        [](ScriptContext& r, const ScriptArgs&, std::string*) {
            r.Host().ClearFailures();
            return true;
        },
        "host functions work again");
    L.Add(
        "fail <function:text> <error:int>", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            if (r.Host().FailCall(a.Text("function"), -1, a.Int("error"))) return true;
            *m = "unknown host function " + a.Text("function");
            return false;
        },
        "from now on host function <function> answers <error>");
    L.Add(
        "fail <function:text> <key:int> <error:int>", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            if (r.Host().FailCall(a.Text("function"), a.Int("key"), a.Int("error"))) return true;
            *m = "unknown host function " + a.Text("function");
            return false;
        },
        "the same, only for calls about menu resource <key> or, for a function that takes a selector word, that "
        "selector");
    L.Add(
        "fail <function:text> <error:int> call <n:int>", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            if (a.Int("n") < 1) {
                *m = "calls are counted from 1";
                return false;
            }
            if (r.Host().FailCallAfter(a.Text("function"), -1, a.Int("error"), a.Int("n") - 1, 1)) return true;
            *m = "unknown host function " + a.Text("function");
            return false;
        },
        "only the <n>-th call of host function <function>, counted from this line, answers <error>; the others work");
    L.Add(
        "fail <function:text> <error:int> from <n:int>", false,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            if (a.Int("n") < 1) {
                *m = "calls are counted from 1";
                return false;
            }
            if (r.Host().FailCallAfter(a.Text("function"), -1, a.Int("error"), a.Int("n") - 1)) return true;
            *m = "unknown host function " + a.Text("function");
            return false;
        },
        "the <n>-th call of host function <function>, counted from this line, and every later one answer <error>");
    L.Add(
        "echo <text:text>", false,
        [](ScriptContext&, const ScriptArgs& a, std::string* m) {
            *m = a.Text("text");
            return true;
        },
        "print a note into the log");
    L.Add(
        "clear-log", false,
        [](ScriptContext& r, const ScriptArgs&, std::string*) {
            r.Host().ClearModuleReports();
            return true;
        },
        "forget the module's report lines so far (for counting with expect log)");
}

// The checks of the module's life, what it told the host and what it logged.
void AddModuleChecks(ScriptLanguage& L) {
    L.Add(
        "expect loaded", true,
        [](ScriptContext& r, const ScriptArgs&, std::string* m) {
            *m = r.Host().IsLoaded() ? "" : "the module is not loaded";
            return r.Host().IsLoaded();
        },
        "the module is loaded");
    L.Add(
        "expect unloaded", true,
        [](ScriptContext& r, const ScriptArgs&, std::string* m) {
            *m = r.Host().IsLoaded() ? "the module is loaded" : "";
            return !r.Host().IsLoaded();
        },
        "the module is not loaded");
    L.Add(
        "expect result <entry:CheckEnvironment|RegisterInterface|Initialize|FreeData> <value:int>", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            const EntryResults& res = r.Host().Results();
            const std::string& e = a.Text("entry");
            const bool ran = e == "CheckEnvironment" ? res.checkEnvironmentRan
                : e == "RegisterInterface"           ? res.registerInterfaceRan
                : e == "Initialize"                  ? res.initializeRan
                                                     : res.freeDataRan;
            if (!ran) {
                *m = e + " did not run in the latest load";
                return false;
            }
            const int32_t v = e == "CheckEnvironment" ? res.checkEnvironment
                : e == "RegisterInterface"            ? res.registerInterface
                : e == "Initialize"                   ? res.initialize
                                                      : res.freeData;
            *m = e + " answered " + ErrorText(v);
            if (v != a.Int("value")) *m += ", expected " + ErrorText(a.Int("value"));
            return v == a.Int("value");
        },
        "an entry point's result in the latest load");
    L.Add(
        "expect addon name <text:text>", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            const API_AddOnInfo& info = r.Host().Results().envir.addOnInfo;
            return CompareText("add-on name", FieldText(info.name, sizeof info.name), a.Text("text"), m);
        },
        "the name the module gave in the environment record");
    L.Add(
        "expect addon description <text:text>", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            const API_AddOnInfo& info = r.Host().Results().envir.addOnInfo;
            return CompareText("add-on description", FieldText(info.description, sizeof info.description),
                               a.Text("text"), m);
        },
        "the description the module gave in the environment record");
    L.Add(
        "expect library <state:registered|absent>", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            const bool reg = r.Host().Session().builtInLibrary;
            *m = reg ? "built-in library registered" : "no built-in library";
            return reg == (a.Text("state") == "registered");
        },
        "whether the module registered its built-in library");
    L.Add(
        "expect keep-in-memory <state:true|false>", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            const bool keep = r.Host().Session().keepInMemory;
            *m = keep ? "kept in memory" : "not kept in memory";
            return keep == (a.Text("state") == "true");
        },
        "whether the module asked to stay in memory between its calls");
    L.Add(
        "expect log <text:text> [<count:int>]", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            int64_t n = 0;
            for (const std::string& line : r.Host().ModuleReports())
                if (line.find(a.Text("text")) != std::string::npos) ++n;
            if (!a.Has("count")) {
                *m = std::to_string(n) + " module report line(s) with " + Quote(a.Text("text"));
                return n > 0;
            }
            return Compare("module report lines with " + Quote(a.Text("text")) + ":", n, a.Int("count"), m);
        },
        "the module wrote a report line holding <text> (exactly <count> times)");
    L.Add(
        "expect refused <text:text>", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            for (const std::string& s : r.Host().RefusedSelectors())
                if (s.find(a.Text("text")) != std::string::npos) {
                    *m = "refused " + s;
                    return true;
                }
            *m = "no refused selector call holds " + Quote(a.Text("text"));
            return false;
        },
        "the host refused an unknown selector call");
    L.Add(
        "expect host-error <text:text>", true,
        [](ScriptContext& r, const ScriptArgs& a, std::string* m) {
            const std::vector<std::string>& errors = r.Host().Errors();
            std::vector<bool>& ack = r.AcknowledgedHostErrors();
            ack.resize(errors.size(), false);
            for (size_t i = r.FirstHostError(); i < errors.size(); ++i)
                if (!ack[i] && errors[i].find(a.Text("text")) != std::string::npos) {
                    ack[i] = true;
                    *m = "host error: " + errors[i];
                    return true;
                }
            *m = "no host error holds " + Quote(a.Text("text"));
            return false;
        },
        "the host reported this error (it then does not fail the run)");
}
}  // namespace

void AddModuleCommands(ScriptLanguage& L) {
    AddLifeCommands(L);
    AddHostCommands(L);
    AddModuleChecks(L);
}
