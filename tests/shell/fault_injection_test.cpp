// Every user action of every example replayed with each host function it calls failing in turn: the action
// completes, or leaves the project as it was and tells the user, or ends in one of the named outcomes.
//
// An action is a line of an example (not a check) during which the module calls the host: a menu choice, a palette
// item, a click that ends an input, a dialog's answer, a project event, a load. The script runs once; before each
// line a child process runs it cleanly from the state the script has reached, and, when the module called the host,
// failing runs follow with each host function called failing: at every call, at its first, second and last call
// alone, and from its second call on (forms that come to the same calls run once). One child runs the line again
// cleanly and forks each failing run at the call where its first failure comes, so that what comes before it is
// done once, not once per run. Each run is compared whole (every
// element with every field, memo, parameter and user data, whether the module observes it; layers, stories,
// worksheets, solid links) with the project before the action and with the one after the clean run, by SweepJudge.
#include "DGDriver.hpp"
#include "ForkedRun.hpp"
#include "StandinHost.hpp"
#include "SweepDump.hpp"
#include "SweepHostDump.hpp"
#include "SweepJudge.hpp"
#include "TestSupport.hpp"
#include "APIInteraction.hpp"
#include "foundation/ACAPI.hpp"
#include "module/ModuleInstall.hpp"
#include "project/Guids.hpp"
#include "script/ScriptRunner.hpp"
#include "script/StandardLanguage.hpp"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fault_injection_test {

using namespace Sweep;
using nlohmann::json;

// Host calls one run may make: far more than any action of the examples makes, so that only a run that goes round
// and round meets it.
constexpr uint64_t CallLimit = 20'000'000;

// The alerts shown from the log's record `from` on, each its title and texts; one a dialog's opening showed begins
// with OpeningMark, one shown while a dialog waited that then took another answer with AnsweredAgainMark.
std::vector<std::string> AlertTextsSince(size_t from) {
    std::vector<std::string> out;
    const std::vector<DGDriver::LogRecord>& log = DGDriver::Log();
    for (size_t i = from; i < log.size(); ++i) {
        if (log[i].kind != "alert") continue;
        std::string text = log[i].opening != 0 ? OpeningMark + std::to_string(log[i].opening) + "] "
            : log[i].answeredAfter             ? AnsweredAgainMark + std::to_string(log[i].within) + "] "
                                               : "";
        text += log[i].title;
        for (const std::string& t : log[i].texts) text += " | " + t;
        text += " [";
        for (size_t b = 0; b < log[i].buttons.size(); ++b) text += (b > 0 ? ", " : "") + log[i].buttons[b];
        text += "] {kind " + std::to_string(log[i].id) + "}";
        out.push_back(text);
    }
    return out;
}

// Which calls of a host function fail in a run: every one, the n-th alone, or the n-th and every later one.
struct Form {
    enum Kind { All, Call, From } kind = All;
    int64_t n = 0;
    std::string Text() const { return kind == All ? "all" : (kind == Call ? "call " : "from ") + std::to_string(n); }
    void Set(StandinHost& host, const std::string& function) const {
        if (kind == All)
            host.FailCall(function, -1, APIERR_GENERAL);
        else
            host.FailCallAfter(function, -1, APIERR_GENERAL, int32_t(n - 1), kind == Call ? 1 : -1);
    }
    // The call the first failure comes at (counted from 1).
    int64_t FirstFailing() const { return kind == All ? 1 : n; }
    // The same failures set at that call, for a run forked there.
    void SetHere(StandinHost& host, const std::string& function) const {
        if (kind == All)
            host.FailCall(function, -1, APIERR_GENERAL);
        else
            host.FailCallAfter(function, -1, APIERR_GENERAL, 0, kind == Call ? 1 : -1);
    }
};

// The seed of the one call of each function failed at random (LODRAVIX_SWEEP_SEED, printed with every fault).
uint64_t FormSeed();

// The forms run for a function the clean run called `calls` times: every call, the first, second, third and last
// alone, one more alone drawn from the seed, the line and the function, from the second on; a form that fails the
// same calls as one before it is left out. LODRAVIX_SWEEP_FORMS=all runs only the first (a quick look).
// LODRAVIX_SWEEP_FORMS=deep (scripts/sweep-deep.sh) fails each call n alone and from n on, n = 1 .. the cap
// (LODRAVIX_SWEEP_DEEP_CAP, 20), and as many more drawn from the seed above it.
std::vector<Form> DeepFormsFor(int64_t calls, const std::string& flow, const std::string& function) {
    static const int64_t cap = [] {
        const char* e = std::getenv("LODRAVIX_SWEEP_DEEP_CAP");
        return e != nullptr && std::atoll(e) > 0 ? int64_t(std::atoll(e)) : int64_t(20);
    }();
    std::set<int64_t> taken;
    for (int64_t n = 1; n <= std::min(calls, cap); ++n) taken.insert(n);
    if (calls > cap) {
        std::seed_seq seq{FormSeed(), uint64_t(std::hash<std::string>()(flow + "\t" + function))};
        std::mt19937_64 random(seq);
        for (int64_t k = 0; k < cap; ++k) taken.insert(cap + 1 + int64_t(random() % uint64_t(calls - cap)));
    }
    std::vector<Form> out{{Form::All, 0}};
    for (const int64_t n : taken) out.push_back({Form::Call, n});
    for (const int64_t n : taken)
        if (n > 1 && n < calls) out.push_back({Form::From, n});  // from the last call on is that call alone
    return out;
}

std::vector<Form> FormsFor(int64_t calls, const std::string& flow, const std::string& function) {
    static const std::string chosen = [] {
        const char* e = std::getenv("LODRAVIX_SWEEP_FORMS");
        return std::string(e != nullptr ? e : "");
    }();
    const bool allOnly = chosen == "all";
    if (chosen == "deep" && calls > 1) return DeepFormsFor(calls, flow, function);
    std::vector<Form> out{{Form::All, 0}};
    if (calls < 2 || allOnly) return out;
    std::set<int64_t> alone{1, 2, calls};
    if (calls > 3) alone.insert(3);
    if (calls > 4) {
        std::seed_seq seq{FormSeed(), uint64_t(std::hash<std::string>()(flow + "\t" + function))};
        std::mt19937_64 random(seq);
        alone.insert(2 + int64_t(random() % uint64_t(calls - 2)));  // 2 .. calls - 1
    }
    for (const int64_t n : alone) out.push_back({Form::Call, n});
    if (calls > 2) out.push_back({Form::From, 2});
    return out;
}

bool IsCommand(const std::string& line) {
    const size_t first = line.find_first_not_of(" \t\r");
    return first != std::string::npos && line[first] != '#';
}
bool IsCheck(const std::string& line) {
    const size_t first = line.find_first_not_of(" \t\r");
    return line.compare(first, 7, "expect ") == 0;
}

struct ScriptLine {
    int number;
    std::string text;
};

// A script's command lines with their line numbers in the file.
std::vector<ScriptLine> CommandLines(const std::string& path) {
    std::ifstream in(path);
    std::vector<ScriptLine> lines;
    int number = 0;
    for (std::string line; std::getline(in, line);)
        if (++number, IsCommand(line)) lines.push_back({number, line});
    return lines;
}

// Which actions one test sweeps: the first and every `every`-th after it (the sanitizer build sweeps a part of each
// example).
struct Sample {
    int every = 1;
    int offset = 0;
    bool TakesAction(size_t action) const { return (action + size_t(offset)) % size_t(every) == 0; }
};

// The runs of one swept line: the clean run; the user's own edit without the module's answer (for a line whose
// events the module hears); one run per host function, failing; the clean run with nothing selected; the clean run
// again, forking the failing runs (the prefix run).
enum class Role { Parent, Clean, Edited, Failing, Unselected, Prefix };

// A failing run of the swept line: its place among the line's runs, the function failing and how.
struct PlannedRun {
    size_t ordinal;
    std::string function;
    Form form;
};

// What the parent knows while the script runs, and what a child needs to judge its run.
struct SweepState {
    std::string script;
    Role role = Role::Parent;
    std::string failing;
    Form form;
    Sample sample;
    size_t actionsFound = 0;
    std::set<std::string> open;             // known open runs: "<script>:<line>\t<function>[\t<form>]"
    std::map<std::string, int> openFaults;  // each open entry met: its runs that still fail
    std::string workDir;                    // the clean and edited runs' projects, for the failing runs that need them
    std::map<int, std::string> texts;       // the swept lines by number
    // The action's state before it runs (parent, inherited by its children).
    ordered_json before;
    Signature beforeDump;
    std::string beforeHash;
    Signature cleanDump, editedDump;  // read once from the clean and edited runs' saved projects
    std::string cleanHash;
    std::string editedHash;                         // "" when the line is no edit of the user's that the module answers
    std::set<std::string> stepHashes;               // the project after each undo step of the clean run before its last
    std::vector<int> cleanStepCommands;             // the command ending each, its project saved as step<n>
    std::vector<std::string> cleanStarts;           // the project as each command of the clean run began
    std::map<std::string, std::string> cleanKnown;  // the clean run's projects dumped, by their Moment
    std::map<int, std::pair<Signature, Signature>> cleanChanges;  // what each command of the clean run changed
    std::vector<std::string> cleanAlerts, cleanRewritten;
    json cleanNext;     // how the next action ended after the clean run: its project's hash and its alerts
    json cleanEntries;  // the entry points the clean run ran, with their answers
    // A run that ended as the clean run goes on to the next action of the script, so that what the module kept
    // in its memory shows there: its own end waits meanwhile.
    bool inNextAction = false;
    json ownEnd;
    size_t nextLogBefore = 0;
    // The prefix run: the failing runs by the function and the call their first failure comes at, and the end of
    // each run forked, by its ordinal.
    std::map<std::string, std::map<int64_t, std::vector<PlannedRun>>> forkAt;
    json forkedEnds;
    std::set<std::pair<int, std::pair<dev_t, ino_t>>> writtenBefore;  // files open for writing as it began (a log)
    // The child's own run.
    std::map<std::string, int64_t> called;     // host functions by the calls made
    std::vector<std::string> steps;            // a clean run's project after each of its undo steps
    std::vector<int> stepCommands;             // the command each of those steps ended
    std::vector<std::string> starts;           // a clean run's project as each of its commands began
    std::map<std::string, std::string> known;  // a clean run's projects dumped, by their Moment
    Signature lastDump;                        // the latest of them whole, and its moment
    std::string lastMoment;
    Signature commandStart;                                  // the project as the running command began
    std::map<int, std::pair<Signature, Signature>> changes;  // a clean run's commands: the lines added, removed
    StandinHost* host = nullptr;
    int commandsBegun = 0;
    bool failed = false;           // the first failure came
    int failedIn = 0;              // inside this command (counted from 1), 0: between commands
    int failedAfter = 0;           // the commands begun then
    std::string failedFromHashes;  // between commands: the project then (as HashesNow gives it)
    // Every failure: where the log stood, the command it came in (0 between commands) and the project's moment.
    struct Failure {
        size_t logAt;
        int command;
        std::string moment;
        bool input;  // a point, line or polygon the user was to give
    };
    std::vector<Failure> failures;
    std::vector<std::string> rewritten;  // the elements a clean run changed, in the order it first changed them
    std::set<std::string> rewrittenSeen;
    size_t logBefore = 0;
    int32_t seriesBefore = 0;
    size_t entriesBefore = 0;  // the host's entry point answers as the run began
    // What the parent gathers.
    std::vector<std::string> actions;
    std::vector<std::string> tableLines;
    std::vector<std::string> faults;
    size_t runs = 0;
    size_t forkedRuns = 0;  // of them forked from a prefix run
    size_t notes = 0;       // runs the leak checker could not look at
};

SweepState* State = nullptr;

// The project's dumps, each element's text kept for the runs forked after it was made.
HostDumper Dumper;

// The sanitizer build looks at what each run does to memory (a crash, a sanitizer's report, a leak, a run that does
// not end) and leaves the projects to the normal build, which judges every run the same way in a fraction of the
// time: LODRAVIX_SWEEP_MEMORY_ONLY=1.
bool MemoryOnly() {
    static const bool only = [] {
        const char* e = std::getenv("LODRAVIX_SWEEP_MEMORY_ONLY");
        return e != nullptr && std::string(e) == "1";
    }();
    return only;
}

void OnCallLimit() {
    EndChild(json{{"fault",
                   "the run does not end: more than " + std::to_string(CallLimit) + " host calls with " +
                       State->failing + " failing (" + State->form.Text() + ")"}}
                 .dump());
}

// When the project was last changed, as the host counts its changes and its observers' changes: two moments of the
// same run that are equal have the same project.
std::string Moment(StandinHost& host) {
    return std::to_string(host.Database().ChangeCount()) + "/" + std::to_string(host.Events().ObserverChanges());
}

// The project's model hash now (without what surrounds it) and, after a space, the same without the observed marks;
// from the dumps known by their moment when it has not changed since one of them.
std::string HashesNow(StandinHost& host, std::map<std::string, std::string>& known) {
    std::string& hashes = known[Moment(host)];
    if (hashes.empty()) {
        const Signature dump = Dumper.Dump(host);
        hashes = DumpHash(Modelled(dump)) + " " + DumpHash(Modelled(WithoutObservedMarks(dump)));
    }
    return hashes;
}

// The clean run's project now, whole (kept for the next ask at the same moment), its hashes noted.
const Signature& CleanDumpNow(StandinHost& host) {
    SweepState& s = *State;
    const std::string moment = Moment(host);
    if (moment != s.lastMoment) {
        s.lastDump = Dumper.Dump(host);
        s.lastMoment = moment;
        s.known[moment] = DumpHash(Modelled(s.lastDump)) + " " + DumpHash(Modelled(WithoutObservedMarks(s.lastDump)));
    }
    return s.lastDump;
}

// What a command of the clean run changed, kept when small (the clicks of an input; a large import is one command).
constexpr size_t ChangeLinesKept = 4000;
std::string HashNow(StandinHost& host, std::map<std::string, std::string>& known) {
    const std::string hashes = HashesNow(host, known);
    return hashes.substr(0, hashes.find(' '));
}

void OnInjectedFailure(const char* function, int64_t selector) {
    SweepState& s = *State;
    if (MemoryOnly()) return;
    // The input itself or the filter its record is made with.
    const bool input = std::string(function) == "Interface" &&
        (selector == int64_t(APIIo_GetPointID.code) || selector == int64_t(APIIo_GetLineID.code) ||
         selector == int64_t(APIIo_GetPolyID.code) || selector == int64_t(APIIo_InitNeigFilterID.code) ||
         selector == int64_t(APIIo_SetNeigFilterID.code));
    s.failures.push_back(
        {DGDriver::Log().size(), s.host->Database().InCommand() ? s.commandsBegun : 0, Moment(*s.host), input});
    if (s.failed) return;
    s.failed = true;
    s.failedAfter = s.commandsBegun;
    if (s.host->Database().InCommand())
        s.failedIn = s.commandsBegun;
    else
        s.failedFromHashes = HashesNow(*s.host, s.cleanKnown);
}

// For each alert shown since the run began, whether the latest failure before it was an input the user was to give.
std::vector<bool> AlertsAfterInput() {
    const SweepState& s = *State;
    const std::vector<DGDriver::LogRecord>& log = DGDriver::Log();
    std::vector<bool> out;
    size_t next = 0;
    bool input = false;
    for (size_t i = s.logBefore; i < log.size(); ++i) {
        while (next < s.failures.size() && s.failures[next].logAt <= i) input = s.failures[next++].input;
        if (log[i].kind == "alert") out.push_back(input);
    }
    return out;
}

// For each alert shown since the run began, where the latest failure before it came: "in <command>" (counted from
// 1), "at the end" between commands with nothing changed after it, "between" otherwise, "" none before it.
std::vector<std::string> AlertPlaces(StandinHost& host) {
    const SweepState& s = *State;
    const std::vector<DGDriver::LogRecord>& log = DGDriver::Log();
    const std::string end = Moment(host);
    std::vector<std::string> out;
    size_t next = 0;
    const SweepState::Failure* latest = nullptr;
    for (size_t i = s.logBefore; i < log.size(); ++i) {
        while (next < s.failures.size() && s.failures[next].logAt <= i) latest = &s.failures[next++];
        if (log[i].kind != "alert") continue;
        out.push_back(latest == nullptr           ? ""
                          : latest->command > 0   ? "in " + std::to_string(latest->command)
                          : latest->moment == end ? "at the end"
                                                  : "between");
    }
    return out;
}

std::string SavedPath(const char* run, const char* kind) { return State->workDir + "/" + run + "." + kind; }

void SaveProject(const char* run, const ordered_json& project, const Signature& dump) {
    std::ofstream lines(SavedPath(run, "dump"), std::ios::binary);
    for (const std::string& line : dump) lines << line << "\n";
    std::ofstream(SavedPath(run, "json"), std::ios::binary) << project.dump();
}

Signature SavedDump(const char* run) {
    std::ifstream in(SavedPath(run, "dump"), std::ios::binary);
    Signature out;
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

ordered_json SavedJson(const char* run) {
    std::ifstream in(SavedPath(run, "json"), std::ios::binary);
    return ordered_json::parse(in);
}

// The entry points the host ran from its `from`-th answer on: each its name, answer and the calls refused meanwhile.
json EntriesSince(const StandinHost& host, size_t from) {
    json out = json::array();
    const std::vector<EntryAnswer>& answers = host.EntryAnswers();
    for (size_t i = from; i < answers.size(); ++i) {
        json refused = json::array();
        for (const HostCalls::Refusal& r : answers[i].refused) refused.push_back({r.function, int64_t(r.error)});
        out.push_back({{"entry", answers[i].entry}, {"answer", answers[i].answer}, {"refused", refused}});
    }
    return out;
}
std::vector<EntryRun> EntryRuns(const json& entries) {
    std::vector<EntryRun> out;
    for (const json& e : entries) {
        EntryRun run{e["entry"], e["answer"], {}};
        for (const json& r : e["refused"]) run.refused.emplace_back(r[0].get<std::string>(), r[1].get<int64_t>());
        out.push_back(std::move(run));
    }
    return out;
}

// A failing run judged against the project before the action (or the user's own edit the module answers) and the
// clean run's end.
void JudgeFailingRun(StandinHost& host, const Signature& afterDump, json& out) {
    const SweepState& s = *State;
    RunEnd before, clean, run;
    if (s.editedHash.empty()) {
        before.dump = s.beforeDump;
        before.hash = s.beforeHash;
        before.load = [] { return State->before; };
    } else {
        before.dump = s.editedDump;
        before.hash = s.editedHash;
        before.load = [] { return SavedJson("edited"); };
    }
    clean.dump = s.cleanDump;
    clean.hash = s.cleanHash;
    clean.alerts = s.cleanAlerts;
    clean.rewritten = s.cleanRewritten;
    clean.load = [] { return SavedJson("clean"); };
    run.dump = afterDump;
    run.hash = out["hash"];
    run.alerts = out["alerts"].get<std::vector<std::string>>();
    run.load = [&host] { return SweptProject(host); };
    RunCase c{before, clean, run, s.stepHashes};
    c.failedFunction = s.failing;
    // Where the first failure came: inside a command, the project as that command began (the clean run's, the same
    // until then); between commands, as it was then.
    if (out.contains("failedIn")) {
        const size_t in = out["failedIn"];
        const std::string between = out["failedFrom"];
        c.failedFrom = in == 0 ? between.substr(0, between.find(' '))
                               : (in <= s.cleanStarts.size() ? s.cleanStarts[in - 1] : std::string());
        if (in == 0 && between.find(' ') != std::string::npos)
            c.failedFromUnobserved = between.substr(between.find(' ') + 1);
        c.failedIn = in > 0 ? int(in) : out["failedAfter"].get<int>() + 1;
    }
    c.cleanChanges = s.cleanChanges;
    c.cleanCommands = int(s.cleanStarts.size());
    c.runCommands = s.commandsBegun;
    if (out.contains("alertPlaces")) c.alertPlaces = out["alertPlaces"].get<std::vector<std::string>>();
    if (out.contains("alertsAfterInput")) c.alertsAfterInput = out["alertsAfterInput"].get<std::vector<bool>>();
    c.entries = EntryRuns(out.value("entries", json::array()));
    c.cleanEntries = EntryRuns(s.cleanEntries);
    for (size_t i = 0; i < s.cleanStepCommands.size(); ++i)
        c.cleanStepEnds.push_back({s.cleanStepCommands[i], [i] {
                                       const std::string name = "step" + std::to_string(i + 1);
                                       RunEnd end;
                                       end.dump = SavedDump(name.c_str());
                                       end.hash = DumpHash(end.dump);
                                       end.load = [name] { return SavedJson(name.c_str()); };
                                       return end;
                                   }});
    const Verdict v = Judge(c);
    out["verdict"] = v.outcome;
    out["fault"] = v.fault;
    out["change"] = v.outcome == "done" ? "" : Describe(before.dump, afterDump);
}

// How the next action ended: the project's hash and the alerts since the swept action ended.
json NextActionEnd(StandinHost& host) {
    return json{{"hash", DumpHash(Dumper.Dump(host))}, {"alerts", AlertTextsSince(State->nextLogBefore)}};
}

// A run that ended as the clean run, with no alert of its own (the script's checks then read the same), goes on
// to the next action; so does the clean run, for it to be compared with.
bool GoesOnToTheNextAction(const json& out) {
    const SweepState& s = *State;
    // A module the host unloaded (its initialisation refused) has no memory to compare.
    if (MemoryOnly() || !out.value("done", false) || !s.host->IsLoaded()) return false;
    return s.role == Role::Clean ||
        (s.role == Role::Failing && !s.cleanNext.is_null() && out.value("verdict", "") == "done");
}

// The mark of a run forked from the prefix run that could not take its own read positions: it runs from the start.
const std::string NotForked = "not forked";

// In the prefix run, at each host call: the failing runs whose first failure comes at this call are forked here,
// one after another, this call failing in each. While the action writes a file, its runs are left to runs from the
// action's start (a forked run would write into the same file; a file open before, such as the test's log, is
// written by every run alike). The user folder is put back after each.
void ForkFailingRunsHere(const char* function) {
    SweepState& s = *State;
    const auto byFunction = s.forkAt.find(function);
    if (byFunction == s.forkAt.end()) return;
    const auto here = byFunction->second.find(s.called[function]);
    if (here == byFunction->second.end() || FilesBeingWritten() != s.writtenBefore) return;
    const FolderSnapshot folder(TestSupport::UserFolder());
    for (const PlannedRun& run : here->second) {
        int readEnd = -1;
        const pid_t pid = ForkChild(&readEnd);
        if (pid < 0) return;
        if (pid == 0) {
            if (!OwnReadPositions()) EndChild(NotForked, false);
            s.role = Role::Failing;
            s.failing = run.function;
            s.form = run.form;
            s.host->HearCalls(nullptr);
            run.form.SetHere(*s.host, run.function);
            return;
        }
        const ChildEnd end = WaitChild(pid, readEnd);
        folder.Restore();
        if (end.handedBack && end.text == NotForked) continue;
        s.forkedEnds[std::to_string(run.ordinal)] = {
            {"text", end.text}, {"handedBack", end.handedBack}, {"fault", end.fault}, {"note", end.note}};
    }
}

// The child's end of a run: the project after it, judged or kept, handed back to the parent; or, for a run that
// goes on to the next action, that action's end compared with the clean run's. The prefix run hands back the ends
// of the runs it forked.
void FinishChild(StandinHost& host, bool actionDone) {
    SweepState& s = *State;
    if (s.role == Role::Prefix) {
        host.HearCalls(nullptr);
        EndChild(json{{"runs", s.forkedEnds}}.dump(), false);
    }
    if (s.inNextAction) {
        host.LimitCalls(0, nullptr);
        json out = s.ownEnd;
        const json next = NextActionEnd(host);
        if (s.role == Role::Clean) {
            out["next"] = next;
        } else if (!s.cleanNext.is_null() && next != s.cleanNext) {
            out["fault"] = "after the failure the next action ends otherwise than after the clean run: " +
                (next["hash"] != s.cleanNext["hash"]
                     ? std::string("another project")
                     : "alerts " + next["alerts"].dump() + " against " + s.cleanNext["alerts"].dump());
        }
        EndChild(out.dump(), s.role == Role::Failing);
    }
    host.ClearFailures();
    host.RecordCalls(nullptr);
    host.LimitCalls(0, nullptr);
    host.HearInjectedFailures(nullptr);
    host.HearCalls(nullptr);
    host.Events().Mute(false);
    host.Database().stepListener = nullptr;
    json out;
    out["done"] = actionDone;
    out["alerts"] = AlertTextsSince(s.logBefore);
    out["called"] = s.called;
    out["events"] = host.Events().SeriesCount() > s.seriesBefore;
    out["entries"] = EntriesSince(host, s.entriesBefore);
    // A clean run that never reached the host is no action; a muted run that did is no edit of the user's alone.
    // Only a failing run can lose memory the parent's exit would not show: the others run as the parent does.
    const bool lookForLeaks = s.role == Role::Failing;
    if ((s.role == Role::Clean && s.called.empty()) || MemoryOnly()) EndChild(out.dump(), lookForLeaks);
    if (s.role == Role::Edited && !s.called.empty()) EndChild(out.dump(), lookForLeaks);
    const Signature afterDump = Dumper.Dump(host);
    out["hash"] = DumpHash(afterDump);
    if (s.role == Role::Clean) {
        out["starts"] = s.starts;
        out["known"] = s.known;
        out["changes"] = json::array();
        for (const auto& [command, change] : s.changes)
            out["changes"].push_back({command, change.first, change.second});
        if (!s.steps.empty() && s.steps.back() == DumpHash(Modelled(afterDump))) {
            s.steps.pop_back();
            s.stepCommands.pop_back();
        }
        out["steps"] = s.steps;
        out["stepCommands"] = s.stepCommands;
        out["rewritten"] = s.rewritten;
        SaveProject("clean", SweptProject(host), afterDump);
        out["unread"] = json::array();
        for (const std::string& line : afterDump)
            if (HoldsUnreadValue(line)) out["unread"].push_back(line);
    }
    if (s.role == Role::Edited) SaveProject("edited", SweptProject(host), afterDump);
    if (s.role == Role::Failing) {
        if (s.failed) out["failedIn"] = s.failedIn;
        if (s.failed) out["failedAfter"] = s.failedAfter;
        if (s.failed) out["failedFrom"] = s.failedFromHashes;
        out["alertPlaces"] = AlertPlaces(host);
        out["alertsAfterInput"] = AlertsAfterInput();
        JudgeFailingRun(host, afterDump, out);
    }
    if (GoesOnToTheNextAction(out)) {
        s.ownEnd = out;
        s.inNextAction = true;
        s.nextLogBefore = DGDriver::Log().size();
        host.LimitCalls(CallLimit, OnCallLimit);
        return;
    }
    EndChild(out.dump(), lookForLeaks);
}

// Starts a child run of the line about to run; false in the parent (the child's end is read there).
bool StartChild(StandinHost& host, Role role, const std::string& failing, const Form& form, ChildEnd* end) {
    int readEnd = -1;
    const pid_t pid = ForkChild(&readEnd);
    if (pid < 0) {
        end->fault = "the sweep cannot fork";
        return false;
    }
    if (pid > 0) {
        *end = WaitChild(pid, readEnd);
        return false;
    }
    State->role = role;
    State->failing = failing;
    State->form = form;
    State->logBefore = DGDriver::Log().size();
    State->seriesBefore = host.Events().SeriesCount();
    State->entriesBefore = host.EntryAnswers().size();
    State->called.clear();
    host.RecordCalls(&State->called);
    State->host = &host;
    State->commandsBegun = 0;
    State->failed = false;
    State->failures.clear();
    auto begun = host.Database().commandListener;
    host.Database().commandListener = [begun, &host, role](bool takenBack) {
        if (begun) begun(takenBack);
        if (takenBack) return;
        ++State->commandsBegun;
        if (role != Role::Clean || MemoryOnly() || State->inNextAction) return;
        State->commandStart = CleanDumpNow(host);
        State->changes[State->commandsBegun] = {};  // a command that keeps nothing changes nothing
        State->starts.push_back(HashNow(host, State->known));
    };
    host.LimitCalls(CallLimit, OnCallLimit);
    if (role == Role::Edited) host.Events().Mute(true);
    // The project as the action begins: most failures between commands come before anything changed.
    if (role == Role::Clean && !MemoryOnly()) CleanDumpNow(host);
    if (role == Role::Clean && !MemoryOnly())
        host.Database().stepListener = [&host] {
            SweepState& s = *State;
            const Signature& now = CleanDumpNow(host);
            s.steps.push_back(HashNow(host, s.known));
            s.stepCommands.push_back(s.commandsBegun);
            SaveProject(("step" + std::to_string(s.steps.size())).c_str(), SweptProject(host), now);
            Signature added = Added(s.commandStart, now), removed = Added(now, s.commandStart);
            if (added.size() + removed.size() <= ChangeLinesKept)
                s.changes[s.commandsBegun] = {std::move(added), std::move(removed)};
            else
                s.changes.erase(s.commandsBegun);
        };
    if (role == Role::Clean) {
        auto heard = host.Database().changeListener;
        host.Database().changeListener = [heard](ProjectCore::ChangeKind kind, const StoredElement& was,
                                                 const StoredElement& now) {
            if (heard) heard(kind, was, now);
            const std::string guid = GuidText(now.record.header.guid);
            if (kind == ProjectCore::ChangeKind::Changed && State->rewrittenSeen.insert(guid).second)
                State->rewritten.push_back(guid);
        };
    }
    if (role == Role::Unselected) host.Database().DeselectAll();
    if (role == Role::Failing) {
        form.Set(host, failing);
        host.HearInjectedFailures(OnInjectedFailure);
    }
    if (role == Role::Prefix) {
        State->forkedEnds = json::object();
        State->writtenBefore = FilesBeingWritten();
        host.HearInjectedFailures(OnInjectedFailure);
        host.HearCalls(ForkFailingRunsHere);
    }
    return true;
}

json Parsed(const ChildEnd& end) {
    if (!end.note.empty()) ++State->notes;
    if (!end.handedBack) return json{{"fault", end.fault}};
    json out = json::parse(end.text, nullptr, false);
    if (out.is_discarded()) return json{{"fault", "the run handed back no result"}};
    if (!end.fault.empty()) out["fault"] = end.fault;
    return out;
}

// A run of the open list (tests/data/fault_sweep_open.tsv): listed with its form, or without one for every form.
// They are replayed and judged; their faults are known and not counted, and an entry that no longer fails is stale.
// Returns the entry a run falls under ("" none).
std::string OpenEntry(const std::string& flow, const std::string& function, const Form& form) {
    const std::set<std::string>& open = State->open;
    const std::string every = flow + "\t" + function, one = every + "\t" + form.Text();
    return open.count(one) != 0 ? one : open.count(every) != 0 ? every : std::string();
}

// In the parent, before line `line` runs: its clean run, then the runs with each host function it calls failing,
// in each form. In a child: nothing (the child runs the line next).
bool SweepLine(StandinHost& host, int line) {
    SweepState& s = *State;
    if (s.role != Role::Parent) return true;
    const std::string flow = s.script + ":" + std::to_string(line);
    const std::string& text = s.texts[line];
    const FolderSnapshot userFolder(TestSupport::UserFolder());
    ChildEnd end;
    if (StartChild(host, Role::Clean, "", {}, &end)) return true;
    userFolder.Restore();
    const json clean = Parsed(end);
    if (!clean.value("fault", "").empty()) {
        s.faults.push_back(flow + " [" + text + "] without a failure: " + clean["fault"].get<std::string>());
        return true;
    }
    const std::map<std::string, int64_t> called = clean["called"];
    if (called.empty() || !s.sample.TakesAction(s.actionsFound++)) return true;
    s.actions.push_back(flow);
    if (!MemoryOnly()) {
        s.before = SweptProject(host);
        s.beforeDump = Dumper.Dump(host);
        s.beforeHash = DumpHash(s.beforeDump);
        // The kept element texts against the project dumped whole, at every action of every example.
        if (s.beforeDump != ProjectDump(s.before))
            s.faults.push_back(flow + " [" + text + "]: the project's dump from kept element texts differs:" +
                               Describe(ProjectDump(s.before), s.beforeDump));
        const Signature unread = clean["unread"];
        if (const std::string fault = UnreadValueWritten(s.beforeDump, unread); !fault.empty())
            s.faults.push_back(flow + " [" + text + "] without a failure: " + fault);
        s.cleanHash = clean["hash"];
        s.cleanDump = SavedDump("clean");
        s.stepHashes = clean["steps"].get<std::set<std::string>>();
        s.cleanStepCommands = clean["stepCommands"].get<std::vector<int>>();
        s.cleanStarts = clean["starts"].get<std::vector<std::string>>();
        s.cleanKnown = clean["known"].get<std::map<std::string, std::string>>();
        s.cleanChanges.clear();
        for (const json& change : clean["changes"])
            s.cleanChanges[change[0].get<int>()] = {change[1].get<Signature>(), change[2].get<Signature>()};
        s.cleanAlerts = clean["alerts"].get<std::vector<std::string>>();
        s.cleanNext = clean.value("next", json());
        s.cleanEntries = clean.value("entries", json::array());
        s.cleanRewritten = clean["rewritten"].get<std::vector<std::string>>();
        s.editedHash.clear();
        if (clean["events"].get<bool>()) {
            if (StartChild(host, Role::Edited, "", {}, &end)) return true;
            userFolder.Restore();
            const json edited = Parsed(end);
            if (edited.contains("hash") && edited["hash"] != s.beforeHash) {
                s.editedHash = edited["hash"];
                s.editedDump = SavedDump("edited");
            }
        }
    }
    std::vector<PlannedRun> planned;
    for (const auto& [function, calls] : called)
        for (const Form& form : FormsFor(calls, flow, function)) planned.push_back({planned.size(), function, form});
    // The failing runs forked by the prefix run, by their ordinals; one it did not fork (or all, if it did not end
    // well) runs from the action's start, as all do with LODRAVIX_SWEEP_FROM_START=1 (to tell a fault of the forking
    // from the module's).
    static const bool fromStart = [] {
        const char* e = std::getenv("LODRAVIX_SWEEP_FROM_START");
        return e != nullptr && std::string(e) == "1";
    }();
    std::map<size_t, ChildEnd> forked;
    if (!planned.empty() && !fromStart) {
        s.forkAt.clear();
        for (const PlannedRun& run : planned) s.forkAt[run.function][run.form.FirstFailing()].push_back(run);
        if (StartChild(host, Role::Prefix, "", {}, &end)) return true;
        userFolder.Restore();
        const json prefix = end.handedBack ? json::parse(end.text, nullptr, false) : json();
        if (prefix.is_object() && prefix.contains("runs") && end.fault.empty())
            for (const auto& [key, e] : prefix["runs"].items()) {
                ChildEnd& run = forked[std::stoul(key)];
                run.text = e["text"];
                run.handedBack = e["handedBack"];
                run.fault = e["fault"];
                run.note = e["note"];
            }
    }
    std::optional<RunEnd> unselected;  // the clean run with nothing selected, when first needed
    for (const PlannedRun& next : planned) {
        const std::string& function = next.function;
        const Form& form = next.form;
        // An open run is replayed: its fault is known and not counted, and an entry none of whose runs fails
        // any more is stale (reported at the end).
        const std::string open = MemoryOnly() ? std::string() : OpenEntry(flow, function, form);
        if (const auto run = forked.find(next.ordinal); run != forked.end()) {
            end = run->second;
            ++s.forkedRuns;
        } else {
            if (StartChild(host, Role::Failing, function, form, &end)) return true;
            userFolder.Restore();
        }
        ++s.runs;
        const json run = Parsed(end);
        std::string fault = run.value("fault", "");
        std::string verdict = run.value("verdict", "");
        const std::string what = flow + " [" + text + "] with " + function + " failing (" + form.Text() + "): ";
        if (MemoryOnly()) {
            if (!fault.empty()) s.faults.push_back(what + fault);
            continue;
        }
        // A selected element the host cannot read counts as not selected.
        if (function == "Element_Get" && !fault.empty() && run.contains("hash")) {
            if (!unselected) {
                if (StartChild(host, Role::Unselected, "", {}, &end)) return true;
                userFolder.Restore();
                const json u = Parsed(end);
                unselected.emplace();
                unselected->hash = u.value("hash", "");
                unselected->alerts = u.value("alerts", std::vector<std::string>());
            }
            RunEnd failed;
            failed.hash = run["hash"];
            failed.alerts = run["alerts"].get<std::vector<std::string>>();
            if (UnreadSelection(failed, *unselected)) {
                verdict = "unread selection";
                fault.clear();
            }
        }
        if (!open.empty()) {
            s.openFaults[open] += fault.empty() ? 0 : 1;
            if (!fault.empty() && std::getenv("LODRAVIX_SWEEP_SHOW_OPEN") != nullptr)
                std::cerr << "open: " << what << fault << "\n";
            fault.clear();
        }
        if (!fault.empty()) s.faults.push_back(what + fault);
        std::string change = run.value("change", "");
        std::replace(change.begin(), change.end(), '\n', ' ');
        s.tableLines.push_back(flow + "\t" + function + "\t" + form.Text() + "\t" +
                               (fault.empty() ? "clean" : "fault") + "\t" +
                               (fault.empty() ? verdict : fault.substr(0, fault.find('\n'))) + change);
    }
    return true;
}

const ScriptLanguage& SweepLanguage() {
    static const ScriptLanguage language = [] {
        ScriptLanguage l = StandardScriptLanguage();
        l.Add("sweep at <line:int>", false,
              [](ScriptContext& r, const ScriptArgs& a, std::string*) { return SweepLine(r.Host(), a.Int("line")); });
        l.Add("sweep done", false, [](ScriptContext& r, const ScriptArgs&, std::string*) {
            if (State->role != Role::Parent) FinishChild(r.Host(), true);
            return true;
        });
        return l;
    }();
    return language;
}

class FolderRunner : public ScriptRunner {
public:
    FolderRunner(StandinHost& host, std::ostream& out, const std::string& folder)
        : ScriptRunner(host, out, SweepLanguage()) {
        scriptFolder_ = folder;
    }
};

std::string ExamplesDir() { return std::string(LODRAVIX_SOURCE_DIR) + "/examples"; }

// Known open runs: "<script>:<line>\t<function>", every form, or "<script>:<line>\t<function>\t<form>"
// (tests/data/fault_sweep_open.tsv).
std::set<std::string> OpenRuns() {
    std::set<std::string> out;
    std::ifstream in(std::string(LODRAVIX_TEST_DATA_DIR) + "/fault_sweep_open.tsv");
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && line[0] != '#') out.insert(line);
    return out;
}

// The script with each line that is no check between the sweep's marks.
std::string SweptText(const std::vector<ScriptLine>& lines, std::map<int, std::string>* texts) {
    std::string out;
    for (const ScriptLine& l : lines) {
        if (IsCheck(l.text)) {
            out += l.text + "\n";
            continue;
        }
        (*texts)[l.number] = l.text;
        out += "sweep at " + std::to_string(l.number) + "\n" + l.text + "\nsweep done\n";
    }
    return out;
}

struct SweepCase {
    std::string script;
    Sample sample;
};

// How the examples are grouped into processes: LODRAVIX_SWEEP_GROUP=<i>/<n> runs the i-th of n groups (from 1), the
// examples dealt out in an order shuffled from LODRAVIX_SWEEP_SEED, so that what one example leaves in the module's
// memory meets another each run. Unset: every example, in name order.
struct Grouping {
    uint64_t seed = 0;
    int index = 0, count = 0;  // count 0: not grouped
    std::string Text() const {
        return "order seed " + std::to_string(seed) + ", group " + std::to_string(index + 1) + " of " +
            std::to_string(count) + " (replay: LODRAVIX_SWEEP_SEED=" + std::to_string(seed) +
            " LODRAVIX_SWEEP_GROUP=" + std::to_string(index + 1) + "/" + std::to_string(count) + ")";
    }
};
const Grouping& SweepGrouping() {
    static const Grouping grouping = [] {
        Grouping g;
        const char* group = std::getenv("LODRAVIX_SWEEP_GROUP");
        const char* seed = std::getenv("LODRAVIX_SWEEP_SEED");
        int index = 0, count = 0;
        if (group == nullptr || std::sscanf(group, "%d/%d", &index, &count) != 2 || count < 1 || index < 1 ||
            index > count)
            return g;
        g.index = index - 1;
        g.count = count;
        g.seed = seed != nullptr ? std::strtoull(seed, nullptr, 10) : 0;
        return g;
    }();
    return grouping;
}

uint64_t FormSeed() {
    const char* seed = std::getenv("LODRAVIX_SWEEP_SEED");
    return seed != nullptr ? std::strtoull(seed, nullptr, 10) : 0;
}

// The examples this process has swept so far, in order: a fault names them, as the state they left is a cause.
std::vector<std::string>& SweptBefore() {
    static std::vector<std::string> names;
    return names;
}

std::string CaseName(const SweepCase& c) { return c.script; }

// What each example's sweep cost when last measured (tests/data/fault_sweep_costs.tsv): seconds by case name.
std::map<std::string, double> SweepCosts() {
    std::map<std::string, double> costs;
    std::ifstream in(std::string(LODRAVIX_TEST_DATA_DIR) + "/fault_sweep_costs.tsv");
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        const size_t tab = line.find('\t');
        if (tab == std::string::npos) continue;
        costs[line.substr(0, tab)] = std::atof(line.c_str() + tab + 1);
    }
    return costs;
}

// A case's cost; one not measured yet (a new example) counts as the median case.
double CaseCost(const std::map<std::string, double>& costs, const SweepCase& c) {
    const auto it = costs.find(CaseName(c));
    if (it != costs.end() && it->second > 0) return it->second;
    std::vector<double> all;
    for (const auto& [name, cost] : costs) all.push_back(cost);
    if (all.empty()) return 1.0;
    std::nth_element(all.begin(), all.begin() + std::ptrdiff_t(all.size() / 2), all.end());
    return all[all.size() / 2];
}

// How many of a case's actions the grouped sweep takes: every one, but in the costliest examples (their actions
// rebuild earthworks' solids, seconds each) every second or third, from an offset the seed draws, so that CI's two
// cores end within its time and another seed sweeps the others (scripts/sweep-deep.sh and an ungrouped run take
// every action of every example). LODRAVIX_SWEEP_EVERY sets one rate for all.
int SampledEvery(double cost) { return cost > 120.0 ? 3 : cost > 60.0 ? 2 : 1; }

std::vector<SweepCase> SweptCases() {
    std::vector<std::string> scripts;
    for (const auto& entry : std::filesystem::directory_iterator(ExamplesDir()))
        if (entry.path().extension() == ".script") scripts.push_back(entry.path().stem().string());
    std::sort(scripts.begin(), scripts.end());
    const char* every = std::getenv("LODRAVIX_SWEEP_EVERY");
    const Grouping& g = SweepGrouping();
    const std::map<std::string, double> costs = SweepCosts();
    std::vector<SweepCase> out;
    std::mt19937_64 offsets(g.seed);
    for (const std::string& script : scripts) {
        Sample sample{every != nullptr ? std::max(1, std::atoi(every)) : 1};
        if (every == nullptr && g.count > 0) {
            sample.every = SampledEvery(CaseCost(costs, {script, sample}));
            sample.offset = int(offsets() % uint64_t(sample.every));
        }
        out.push_back({script, sample});
    }
    if (g.count == 0) return out;
    std::mt19937_64 random(g.seed);
    std::shuffle(out.begin(), out.end(), random);
    // Dealt in the shuffled order, each to the group that costs least so far: the groups then end together on any
    // number of cores (dealt in turn, the longest group ran seven times as long as the shortest). They are numbered
    // from the costliest, which the test runner starts first: a long group started last would leave the other
    // cores idle while it runs.
    std::vector<double> load(size_t(g.count), 0.0);
    std::vector<std::vector<SweepCase>> groups(size_t(g.count));
    for (const SweepCase& c : out) {
        const size_t to = size_t(std::min_element(load.begin(), load.end()) - load.begin());
        load[to] += CaseCost(costs, c) / c.sample.every;
        groups[to].push_back(c);
    }
    std::vector<size_t> order(groups.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&load](size_t a, size_t b) { return load[a] > load[b]; });
    return groups[order[size_t(g.index)]];
}

void PrintTo(const SweepCase& c, std::ostream* out) { *out << c.script; }

class FaultSweep : public ::testing::TestWithParam<SweepCase> {};

TEST_P(FaultSweep, EveryActionEndsDoneTakenBackOrInANamedOutcome) {
    const SweepCase& param = GetParam();
    if (SweptBefore().empty() && SweepGrouping().count > 0)
        std::cerr << "fault sweep: " << SweepGrouping().Text() << "\n";
    const std::vector<ScriptLine> lines = CommandLines(ExamplesDir() + "/" + param.script + ".script");
    ASSERT_FALSE(lines.empty());
    SweepState state;
    state.script = param.script;
    state.sample = param.sample;
    state.open = OpenRuns();
    char work[] = "/tmp/lodravix-sweep-XXXXXX";
    ASSERT_NE(mkdtemp(work), nullptr);
    state.workDir = work;
    State = &state;
    const std::string text = SweptText(lines, &state.texts);
    // The judge's texts are read from the module's resources once, here: a forked run would read them again for
    // each run, as what it makes is lost with it.
    (void)JudgedTexts();
    (void)BlamingTexts();

    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(TestSupport::UserFolder(), ec))
        std::filesystem::remove_all(entry.path(), ec);
    DGDriver::Reset();
    DGDriver::ClearQueueAndLog();
    bool passed = false;
    {
        HostSettings settings;
        settings.moduleDir = TestSupport::BinDir();
        settings.userFolder = TestSupport::UserFolder();
        // As standin-host plays the examples: the module, installed in the user folder, names its own file,
        // beside which its library lies.
        settings.moduleFile = TestSupport::BinDir() + "/liblodravix.so";
        settings.embeddedLibrary = true;
        std::string installWhy;
        ASSERT_TRUE(InstallModuleForRun(&settings, &installWhy)) << installWhy;
        std::ostringstream log;
        StandinHost host(settings, &log);
        host.UseInProcess({GetExportedFuncAddrs, SetImportedFuncAddrs});
        FolderRunner runner(host, log, ExamplesDir());
        passed = runner.RunText(text, param.script);
        // A child whose action stopped the script ends here, with the project as the action left it (or, going on
        // to the next action, where the script ended).
        if (InChild()) FinishChild(host, false);
        if (InChild()) EndChild(json{{"fault", "the run did not end"}}.dump());
        if (!passed) std::cerr << log.str();
    }
    DGDriver::Reset();
    DGDriver::ClearQueueAndLog();
    State = nullptr;
    std::filesystem::remove_all(work, ec);

    const Grouping& grouping = SweepGrouping();
    std::string where;
    if (grouping.count > 0) {
        where = "\n(" + grouping.Text() + "; swept before it in this process:";
        for (const std::string& name : SweptBefore()) where += " " + name;
        where += ")";
    }
    SweptBefore().push_back(CaseName(param));
    EXPECT_TRUE(passed) << param.script << " does not pass between the sweep's runs" << where;
    for (const std::string& fault : state.faults) ADD_FAILURE() << fault << where;
    // An entry whose runs all pass is stale.
    for (const auto& [entry, faults] : state.openFaults)
        if (faults == 0)
            ADD_FAILURE() << "a run listed open passes now; remove its line from fault_sweep_open.tsv: "
                          << entry.substr(0, entry.find('\t')) << " " << entry.substr(entry.find('\t') + 1) << where;
    // LODRAVIX_SWEEP_TABLE names a file that gets one line per run: action, function, form, clean or fault, verdict,
    // what changed.
    if (const char* tablePath = std::getenv("LODRAVIX_SWEEP_TABLE")) {
        std::ofstream table(tablePath, std::ios::app);
        for (const std::string& line : state.tableLines) table << line << "\n";
    }
    RecordProperty("actions", int(state.actions.size()));
    RecordProperty("runs", int(state.runs));
    RecordProperty("forked", int(state.forkedRuns));
    if (state.notes > 0)
        std::cerr << "fault sweep: the leak checker could not look at " << state.notes << " of " << state.runs
                  << " runs of " << param.script << "\n";
}

std::string ParamName(const ::testing::TestParamInfo<SweepCase>& info) { return CaseName(info.param); }

INSTANTIATE_TEST_SUITE_P(Examples, FaultSweep, ::testing::ValuesIn(SweptCases()), ParamName);

}  // namespace fault_injection_test
