// Every main flow of examples/ replayed with each host function its action calls failing in turn: the action
// either completes or leaves the project as it was (nothing temporary left over) and tells the user.
//
// A flow is an example script's first action: the first line after the palette opens whose run changes the
// project. Its host functions are the ones served while that line runs, recorded in a clean run.
#include "DGDriver.hpp"
#include "StandinHost.hpp"
#include "TestSupport.hpp"
#include "foundation/ACAPI.hpp"
#include "script/ScriptRunner.hpp"
#include "script/StandardLanguage.hpp"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <map>
#include <optional>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <unistd.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

using nlohmann::ordered_json;
using Signature = std::vector<std::string>;

bool IsHex(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }

// Length of the GUID text (8-4-4-4-12 hex digits) at `at`, or 0.
size_t GuidAt(const std::string& s, size_t at) {
    static const size_t groups[] = {8, 4, 4, 4, 12};
    size_t i = at;
    for (size_t g = 0; g < 5; ++g) {
        if (g > 0) {
            if (i >= s.size() || s[i] != '-') return 0;
            ++i;
        }
        for (size_t k = 0; k < groups[g]; ++k, ++i)
            if (i >= s.size() || !IsHex(s[i])) return 0;
    }
    return i < s.size() && IsHex(s[i]) ? 0 : i - at;
}

// GUIDs are numbered in the order they are met: databases, then elements in creation order, so that a run that makes the
// same elements with other GUIDs dumps the same text.
class GuidNumbers {
public:
    std::string Number(const std::string& guid) {
        std::string key = guid;
        for (char& c : key) c = char(std::toupper(static_cast<unsigned char>(c)));
        const auto found = numbers_.emplace(key, numbers_.size() + 1).first;
        return "#" + std::to_string(found->second);
    }
    std::string Rewrite(const std::string& text) {
        std::string out;
        out.reserve(text.size());
        for (size_t i = 0; i < text.size();) {
            const size_t n = (i == 0 || !IsHex(text[i - 1])) ? GuidAt(text, i) : 0;
            if (n == 0) {
                out += text[i++];
                continue;
            }
            out += Number(text.substr(i, n));
            i += n;
        }
        return out;
    }

private:
    std::map<std::string, size_t> numbers_;
};

// The whole project as a user and the add-on see it, one line per layer, story, database, element (every field,
// memo, parameter and user data) and solid link, with GUIDs (elements, groups, databases) numbered.
// `shape` chooses the elements dumped and may leave fields out of them (the others' GUIDs are numbered where met,
// as any reference); a solid link is dumped when both its ends are.
using ElementShape = std::function<bool(ordered_json&)>;
Signature ProjectDump(const ordered_json& project, const ElementShape& shape) {
    if (!project.is_object()) return {};
    GuidNumbers numbers;
    for (const ordered_json& d : project.value("databases", ordered_json::array()))
        numbers.Number(d["id"].get<std::string>());
    Signature out;
    std::vector<std::string> elements;
    std::set<std::string> dumped;
    for (const ordered_json& e : project.value("elements", ordered_json::array())) {
        ordered_json rest = e;
        if (!shape(rest)) continue;
        dumped.insert(e["guid"].get<std::string>());
        numbers.Number(e["guid"].get<std::string>());
        rest.erase("guid");
        elements.push_back(rest.dump(-1, ' ', false, ordered_json::error_handler_t::replace));
    }
    for (const std::string& e : elements) out.push_back("element " + numbers.Rewrite(e));
    for (const char* part : {"layers", "stories", "databases", "solidLinks"})
        if (project.contains(part))
            for (ordered_json x : project[part]) {
                if (x.contains("target") &&
                    (dumped.count(x["target"].get<std::string>()) == 0 ||
                     dumped.count(x["operator"].get<std::string>()) == 0))
                    continue;
                // When a link was made is the host's clock, not the project's content.
                x.erase("time");
                x.erase("subTime");
                out.push_back(std::string(part) + " " +
                              numbers.Rewrite(x.dump(-1, ' ', false, ordered_json::error_handler_t::replace)));
            }
    std::sort(out.begin(), out.end());
    return out;
}

Signature ProjectDump(StandinHost& host) {
    return ProjectDump(host.Database().ToJson(), [](ordered_json&) { return true; });
}

size_t AlertCount() {
    size_t n = 0;
    for (const DGDriver::LogRecord& rec : DGDriver::Log()) n += rec.kind == "alert" ? 1 : 0;
    return n;
}

// The dialogs and alerts shown from the log's record `from` on: kind, id and how each was closed.
std::vector<std::string> ShownSince(size_t from) {
    std::vector<std::string> out;
    const std::vector<DGDriver::LogRecord>& log = DGDriver::Log();
    for (size_t i = from; i < log.size(); ++i)
        out.push_back(log[i].kind + " " + std::to_string(log[i].id) + " " + std::to_string(log[i].result));
    return out;
}

// What one run saw around the action.
struct Observed {
    std::vector<Signature> probes;  // after each probe line
    ordered_json before, after;
    size_t alertsBefore = 0, alertsAfter = 0;
    size_t logBefore = 0;
    std::vector<std::string> shown;  // during the action
    std::set<std::string> called;
    bool actionDone = false;
};

Observed* Current = nullptr;
std::string Failing;  // the host function failing during the action, "" none

const ScriptLanguage& SweepLanguage() {
    static const ScriptLanguage language = [] {
        ScriptLanguage l = StandardScriptLanguage();
        // Stops the script (a failed action) at the first change: the rest of it is not the flow's action.
        l.Add("sweep probe", false, [](ScriptContext& r, const ScriptArgs&, std::string*) {
            Current->probes.push_back(ProjectDump(r.Host()));
            const size_t n = Current->probes.size();
            return n < 2 || Current->probes[n - 1] == Current->probes[n - 2];
        });
        l.Add("sweep before", false, [](ScriptContext& r, const ScriptArgs&, std::string*) {
            Current->before = r.Host().Database().ToJson();
            Current->alertsBefore = AlertCount();
            Current->logBefore = DGDriver::Log().size();
            r.Host().RecordCalls(&Current->called);
            return Failing.empty() || r.Host().FailCall(Failing, -1, APIERR_GENERAL);
        });
        l.Add("sweep after", false, [](ScriptContext& r, const ScriptArgs&, std::string*) {
            r.Host().ClearFailures();
            r.Host().RecordCalls(nullptr);
            Current->after = r.Host().Database().ToJson();
            Current->alertsAfter = AlertCount();
            Current->shown = ShownSince(Current->logBefore);
            Current->actionDone = true;
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

// A run that does not end is a hang: the sweep stops the process and names the run.
char HangNote[512] = "";
void OnHang(int) {
    const char prefix[] = "fault sweep: this run hangs: ";
    (void)!write(2, prefix, sizeof prefix - 1);
    (void)!write(2, HangNote, std::strlen(HangNote));
    (void)!write(2, "\n", 1);
    _exit(3);
}

Observed RunText(const std::string& text, const std::string& failing) {
    const size_t action = text.rfind("sweep before");
    std::string note = action == std::string::npos ? "the flow's search" : text.substr(action + 13);
    std::replace(note.begin(), note.end(), '\n', ' ');
    std::snprintf(HangNote, sizeof HangNote, "%s with %s failing", note.c_str(), failing.c_str());
    std::signal(SIGALRM, OnHang);
    alarm(30);
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(TestSupport::UserFolder(), ec))
        std::filesystem::remove_all(entry.path(), ec);
    DGDriver::Reset();
    DGDriver::ClearQueueAndLog();
    Observed seen;
    Current = &seen;
    Failing = failing;
    {
        HostSettings settings;
        settings.moduleDir = TestSupport::BinDir();
        settings.userFolder = TestSupport::UserFolder();
        // As standin-host plays the examples: the module names its own file, beside which its library lies.
        settings.moduleFile = TestSupport::BinDir() + "/liblodravix.so";
        settings.embeddedLibrary = true;
        std::ostringstream log;
        StandinHost host(settings, &log);
        host.UseInProcess({GetExportedFuncAddrs, SetImportedFuncAddrs});
        FolderRunner runner(host, log, std::string(LODRAVIX_SOURCE_DIR) + "/examples");
        runner.RunText(text, "sweep");
        if (std::getenv("LODRAVIX_SWEEP_LOG") != nullptr) std::cerr << log.str();
        if (!seen.actionDone) {
            // The action line itself failed and stopped the script: the state is as it left it.
            seen.after = host.Database().ToJson();
            seen.alertsAfter = AlertCount();
            seen.shown = ShownSince(seen.logBefore);
        }
    }
    alarm(0);
    Current = nullptr;
    DGDriver::Reset();
    DGDriver::ClearQueueAndLog();
    return seen;
}

struct Flow {
    std::string name;
    std::vector<std::string> prefix;  // lines before the action
    std::string action;
};

bool IsCommand(const std::string& line) {
    const size_t first = line.find_first_not_of(" \t\r");
    return first != std::string::npos && line[first] != '#';
}

// A script's command lines with their line numbers in the file.
std::vector<std::pair<int, std::string>> CommandLines(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::pair<int, std::string>> lines;
    int number = 0;
    for (std::string line; std::getline(in, line);)
        if (++number, IsCommand(line)) lines.emplace_back(number, line);
    return lines;
}

// The flow of one script: the first line after its first menu choice whose run changes the project. False when
// the script has none.
bool FindFirstFlow(const std::string& path, Flow* flow) {
    std::vector<std::string> lines;
    for (const auto& l : CommandLines(path)) lines.push_back(l.second);
    size_t menu = 0;
    while (menu < lines.size() && lines[menu].rfind("menu ", 0) != 0) ++menu;
    if (menu == lines.size()) return false;
    std::string probed;
    for (size_t i = 0; i < lines.size(); ++i) {
        probed += lines[i] + "\n";
        if (i >= menu) probed += "sweep probe\n";
    }
    const Observed seen = RunText(probed, "");
    for (size_t k = 1; k < seen.probes.size(); ++k) {
        if (seen.probes[k] == seen.probes[k - 1]) continue;
        flow->name = std::filesystem::path(path).stem().string();
        flow->prefix.assign(lines.begin(), lines.begin() + std::ptrdiff_t(menu + k));
        flow->action = lines[menu + k];
        return true;
    }
    return false;
}

// A flow is a script, or a script and the line of a later action ("<script>:<line>").
bool FindFlow(const std::string& param, Flow* flow) {
    const size_t colon = param.rfind(':');
    if (colon == std::string::npos) return FindFirstFlow(param, flow);
    const std::string path = param.substr(0, colon);
    const int line = std::stoi(param.substr(colon + 1));
    flow->name = std::filesystem::path(path).stem().string() + ":" + std::to_string(line);
    for (const auto& l : CommandLines(path)) {
        if (l.first == line) {
            flow->action = l.second;
            return true;
        }
        flow->prefix.push_back(l.second);
    }
    return false;
}

// `deselect`: the selection is dropped just before the action.
std::string FlowText(const Flow& flow, bool deselect = false) {
    std::string text;
    for (const std::string& l : flow.prefix)
        if (l.rfind("expect", 0) != 0) text += l + "\n";
    return text + (deselect ? "deselect\n" : "") + "sweep before\n" + flow.action + "\nsweep after\n";
}

std::string ExamplesDir() { return std::string(LODRAVIX_SOURCE_DIR) + "/examples"; }

// Every example script, and the later actions of tests/data/fault_sweep_actions.tsv (script, line).
std::vector<std::string> SweptFlows() {
    std::vector<std::string> out;
    for (const auto& entry : std::filesystem::directory_iterator(ExamplesDir()))
        if (entry.path().extension() == ".script") out.push_back(entry.path().string());
    std::sort(out.begin(), out.end());
    std::ifstream in(std::string(LODRAVIX_TEST_DATA_DIR) + "/fault_sweep_actions.tsv");
    for (std::string line; std::getline(in, line);) {
        const size_t tab = line.find('\t');
        if (line.empty() || line[0] == '#' || tab == std::string::npos) continue;
        out.push_back(ExamplesDir() + "/" + line.substr(0, tab) + ".script:" + line.substr(tab + 1));
    }
    return out;
}

// The lines one dump has and the other not; a line that has a near twin on the other side is shown from a little
// before where they part.
std::string Describe(const Signature& from, const Signature& to) {
    std::multiset<std::string> a(from.begin(), from.end()), b(to.begin(), to.end());
    std::vector<std::string> added, removed;
    for (const std::string& x : std::set<std::string>(b.begin(), b.end()))
        for (size_t k = a.count(x); k < b.count(x); ++k) added.push_back(x);
    for (const std::string& x : std::set<std::string>(a.begin(), a.end()))
        for (size_t k = b.count(x); k < a.count(x); ++k) removed.push_back(x);
    auto shown = [](const std::string& x, const std::vector<std::string>& others) {
        size_t common = 0;
        for (const std::string& o : others)
            common = std::max<size_t>(
                common,
                size_t(std::mismatch(x.begin(), x.begin() + std::ptrdiff_t(std::min(x.size(), o.size())), o.begin())
                           .first -
                       x.begin()));
        const size_t from = common > 100 ? common - 60 : 0;
        const std::string part = x.substr(from, 200);
        return (from > 0 ? x.substr(0, 40) + " ..." : std::string()) + part + (from + 200 < x.size() ? "..." : "");
    };
    std::ostringstream s;
    for (const std::string& x : added) s << "\n  +" << shown(x, removed);
    for (const std::string& x : removed) s << "\n  -" << shown(x, added);
    std::string text = s.str();
    return text.size() > 2400 ? text.substr(0, 2400) + " ..." : text;
}

// Runs known to leave the project half-made or the user uninformed, not yet mended: flow, tab, function.
std::set<std::string> OpenRuns() {
    std::set<std::string> out;
    std::ifstream in(std::string(LODRAVIX_TEST_DATA_DIR) + "/fault_sweep_open.tsv");
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && line[0] != '#') out.insert(line);
    return out;
}

bool Everything(ordered_json&) { return true; }
bool IsContourLines(const ordered_json& e) { return e.value("libPart", "") == "VY_CONTOURLINES"; }
bool OnlyContourLines(ordered_json& e) { return IsContourLines(e); }
bool AllButContourLines(ordered_json& e) { return !IsContourLines(e); }
// Library-part objects without what links them: their data records and their ID flags.
bool LinksLeftOut(ordered_json& e) {
    if (e.value("typeID", 0) != API_ObjectID) return true;
    e.erase("userData");
    if (e.contains("parameters")) {
        ordered_json kept = ordered_json::array();
        for (const ordered_json& p : e["parameters"])
            if (p["name"].get<std::string>().rfind("ID", 0) != 0) kept.push_back(p);
        e["parameters"] = kept;
    }
    return true;
}

bool UnlinkedAndNoContourLines(ordered_json& e) { return !IsContourLines(e) && LinksLeftOut(e); }

Signature Lines(const Signature& dump, const std::string& prefix, bool with) {
    Signature out;
    for (const std::string& line : dump)
        if ((line.rfind(prefix, 0) == 0) == with) out.push_back(line);
    return out;
}

bool Includes(const Signature& all, const Signature& some) {
    const std::multiset<std::string> a(all.begin(), all.end()), b(some.begin(), some.end());
    for (const std::string& x : b)
        if (a.count(x) < b.count(x)) return false;
    return true;
}

// What stays when a later step of an action fails, the action's earlier steps being complete, and which outcome
// it is; "" when the run matches none.
std::string KeptOutcome(const Observed& seen, const Observed& clean) {
    if (seen.alertsAfter <= seen.alertsBefore) return "";
    // No rebuild follows a failed step: the terrain's contour lines are as they were.
    if (ProjectDump(seen.after, OnlyContourLines) != ProjectDump(seen.before, OnlyContourLines)) return "";
    const Signature unlinked = ProjectDump(seen.after, UnlinkedAndNoContourLines);
    const Signature cleanUnlinked = ProjectDump(clean.after, UnlinkedAndNoContourLines);
    if (Lines(unlinked, "solidLinks ", false) == Lines(cleanUnlinked, "solidLinks ", false) &&
        Includes(Lines(cleanUnlinked, "solidLinks ", true), Lines(unlinked, "solidLinks ", true)) &&
        Lines(cleanUnlinked, "solidLinks ", true) != Lines(unlinked, "solidLinks ", true))
        return "an earthwork whose identities, link records or links fail stays, unlinked or partly linked, with no "
               "rebuild after it, and says so";
    // A rebuild changes the earthwork's objects in place, in one command: those it changed before the failed step
    // stay changed, the others as they were.
    const Signature before = ProjectDump(seen.before, AllButContourLines);
    const Signature rebuilt = ProjectDump(clean.after, AllButContourLines);
    const Signature after = ProjectDump(seen.after, AllButContourLines);
    Signature either = before;
    either.insert(either.end(), rebuilt.begin(), rebuilt.end());
    bool onlyObjects = true;
    for (const std::string& line : after)
        onlyObjects = onlyObjects && (Includes(before, {line}) || line.rfind("element {\"type\":\"object\"", 0) == 0);
    if (before.size() == rebuilt.size() && after.size() == rebuilt.size() && Includes(either, after) && onlyObjects &&
        Lines(after, "element ", false) == Lines(before, "element ", false) && after != rebuilt)
        return "an earthwork rebuild that fails inside its command keeps the objects it changed, with no contour "
               "lines after it, and says so";
    if (after == rebuilt)
        return "an earthwork stands with its terrain's contour lines as before when they cannot be made again, and "
               "says so";
    return "";
}

// A selected element the host cannot read is left out of the selection without a word: with every element read
// refused, the action does what it does with nothing selected. `unselected` is the clean run of the action with
// the selection dropped.
std::string UnreadSelectionOutcome(const std::string& function, const Observed& seen, const Observed& unselected) {
    if (function != "Element_Get" || !unselected.actionDone) return "";
    if (ProjectDump(seen.after, Everything) != ProjectDump(unselected.after, Everything)) return "";
    if (seen.shown != unselected.shown || seen.alertsAfter != seen.alertsBefore) return "";
    return "selected elements the host cannot read count as not selected: the action does what it does with "
           "nothing selected, saying nothing";
}

class FaultSweep : public ::testing::TestWithParam<std::string> {};

// Each run is compared whole (every element with every field, memo, parameter and user data; layers, stories,
// worksheets, solid links) with the project before the action and with the project after the action without the
// failure: a leftover element or a wrong parameter fails it.
TEST_P(FaultSweep, AFailingHostCallLeavesTheProjectWholeAndTellsTheUser) {
    Flow flow;
    if (!FindFlow(GetParam(), &flow)) GTEST_SKIP() << "no action changes the project";
    const std::set<std::string> open = OpenRuns();
    // Each host function fails in a run of its own: a flow whose action takes seconds is listed with "*" and
    // left out, so that what runs does not depend on the machine's speed.
    if (open.count(flow.name + "\t*") != 0) GTEST_SKIP() << flow.action << ": too long for the sweep";
    const Observed clean = RunText(FlowText(flow), "");
    ASSERT_TRUE(clean.actionDone) << flow.action;
    const Signature cleanBefore = ProjectDump(clean.before, Everything);
    const Signature cleanAfter = ProjectDump(clean.after, Everything);
    ASSERT_NE(cleanBefore, cleanAfter) << flow.action;
    int runs = 0;
    std::optional<Observed> unselected;  // run when first needed
    // LODRAVIX_SWEEP_TABLE names a file that gets one line per run: flow, function, verdict, what changed.
    const char* tablePath = std::getenv("LODRAVIX_SWEEP_TABLE");
    std::ofstream table;
    if (tablePath != nullptr) table.open(tablePath, std::ios::app);
    for (const std::string& function : clean.called) {
        // An open run is not replayed (one of them hangs).
        if (open.count(flow.name + "\t" + function) != 0) continue;
        const Observed seen = RunText(FlowText(flow), function);
        ++runs;
        const Signature before = ProjectDump(seen.before, Everything);
        const Signature after = ProjectDump(seen.after, Everything);
        const bool unchanged = after == before;
        const bool complete = after == cleanAfter;
        const bool told = seen.alertsAfter > seen.alertsBefore;
        std::string kept = unchanged || complete ? "" : KeptOutcome(seen, clean);
        if (!complete && !told && kept.empty()) {
            if (!unselected) unselected = RunText(FlowText(flow, true), "");
            kept = UnreadSelectionOutcome(function, seen, *unselected);
        }
        const std::string where = flow.name + " [" + flow.action + "] with " + function + " failing: ";
        EXPECT_TRUE(unchanged || complete || !kept.empty())
            << where << "half-made, against the project before:" << Describe(before, after)
            << "\nagainst the project after the action without the failure:" << Describe(cleanAfter, after);
        EXPECT_TRUE(complete || told || !kept.empty()) << where << "the action did not complete and nothing was shown";
        // LODRAVIX_SWEEP_DUMPS names a folder that gets each run's dumps (before, after, clean after) in full.
        if (const char* dumps = std::getenv("LODRAVIX_SWEEP_DUMPS")) {
            const std::string stem = std::string(dumps) + "/" + flow.name + "." + function;
            for (const auto& [suffix, dump] : {std::pair<const char*, const Signature*>{".before", &before},
                                               {".after", &after},
                                               {".clean", &cleanAfter}}) {
                std::ofstream out(stem + suffix);
                for (const std::string& line : *dump) out << line << "\n";
            }
        }
        if (table) {
            const char* verdict = complete || (unchanged && told) || !kept.empty() ? "clean"
                : unchanged                                                        ? "silent"
                : told                                                             ? "half"
                                                                                   : "half-silent";
            std::string change = complete ? "" : Describe(before, after);
            std::replace(change.begin(), change.end(), '\n', ' ');
            table << flow.name << "\t" << function << "\t" << verdict << "\t" << kept << change << "\n";
        }
    }
    RecordProperty("runs", runs);
}

std::string FlowName(const ::testing::TestParamInfo<std::string>& info) {
    std::string name = std::filesystem::path(info.param).stem().string();
    const size_t colon = info.param.rfind(':');
    if (colon != std::string::npos && info.param.find(".script:") != std::string::npos)
        name =
            std::filesystem::path(info.param.substr(0, colon)).stem().string() + "_line" + info.param.substr(colon + 1);
    return name;
}

INSTANTIATE_TEST_SUITE_P(Examples, FaultSweep, ::testing::ValuesIn(SweptFlows()), FlowName);

}  // namespace
