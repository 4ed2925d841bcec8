// Lines of the examples run again with a host call the module makes around its work refused: clearing the selection,
// opening the operators' layer, reading its own resources or the window in front. Each line ends exactly as it
// does when nothing is refused, with nothing more told, or as the project stood before the line (its selection and
// undo steps too) with the user told; a palette that cannot open says so. Never a selection the module made for
// itself, nor an undo step that changes nothing. A tool whose deselect, or whose read of a record it depends on, is
// refused changes nothing and says why; a selection the module cannot give back is told; a warning of the clean
// run stays when the update around it fails.
#include "AlertLog.hpp"
#include "DGDriver.hpp"
#include "ForkedRun.hpp"
#include "InProcessHost.hpp"
#include "SweepDump.hpp"
#include "SweepHostDump.hpp"
#include "SweepJudge.hpp"
#include "TestSupport.hpp"
#include "script/ScriptRunner.hpp"
#include "script/StandardLanguage.hpp"

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace refused_upkeep_calls_test {

using Sweep::Signature;

struct Refusal {
    const char* script;
    int line;
    const char* function;
    const char* form;      // "" every call, "call <n>", "from <n>"
    bool palette = false;  // a palette click: it changes nothing in the project
};

struct End {
    Signature project;  // selection and undo steps included
    std::vector<std::string> alerts;
};

// A refused line's three ends: the example up to the line, the line run as it is, the line run with the refusal.
struct Ends {
    End before, clean, run;
    bool refused = false;  // the host logged the refused call
};

// Where a pass over an example stands: what each line about to run is refused, and, in a forked run, what it runs.
struct Pass {
    const std::vector<Refusal>* refusals = nullptr;
    std::map<int, std::vector<size_t>> atLine;  // a line, the refusals of it
    std::vector<Ends>* ends = nullptr;
    const std::ostringstream* log = nullptr;
    enum class Run { Parent, Before, Clean, Refused } run = Run::Parent;
    size_t logged = 0;  // the log's length as the forked run began
};
Pass* Current = nullptr;

// A function the host does not know fails nothing: the run then says it was not refused.
void Refuse(StandinHost& host, const Refusal& r) {
    const std::string form = r.form;  // "call <n>": that call only; "from <n>": that call and every later one
    if (form.empty())
        host.FailCall(r.function, -1, -1);
    else
        host.FailCallAfter(r.function, -1, -1, std::stoi(form.substr(5)) - 1, form.rfind("call ", 0) == 0 ? 1 : -1);
}

// Before a refused line: runs forked from here, each handing back how it ended (the project as the example's end
// leaves it, once the module is released). The example up to the line, the line as it is, the line with each
// refusal. In a forked run it goes on with the line, or stops at once for the project as the line begins.
bool RefuseAt(ScriptContext& context, int line, std::string* message) {
    Pass& p = *Current;
    const std::vector<size_t>& indexes = p.atLine.at(line);
    const Sweep::FolderSnapshot folder(TestSupport::UserFolder());
    std::vector<std::pair<Pass::Run, size_t>> runs = {{Pass::Run::Before, 0}, {Pass::Run::Clean, 0}};
    for (const size_t i : indexes) runs.emplace_back(Pass::Run::Refused, i);
    End before, clean;
    for (const auto& [kind, index] : runs) {
        int readEnd = -1;
        const pid_t pid = Sweep::ForkChild(&readEnd);
        if (pid == 0) {
            p.run = kind;
            p.logged = p.log->str().size();
            if (kind == Pass::Run::Refused) Refuse(context.Host(), (*p.refusals)[index]);
            if (kind != Pass::Run::Before) return true;
            *message = "the project as the line begins";
            return false;
        }
        const std::string where = std::string(kind == Pass::Run::Before ? "up to" : "through") + " line " +
            std::to_string(line) + (kind == Pass::Run::Refused ? " refused" : "");
        if (pid < 0) {
            ADD_FAILURE() << "cannot fork the run " << where;
            continue;
        }
        const Sweep::ChildEnd child = Sweep::WaitChild(pid, readEnd);
        folder.Restore();
        const nlohmann::json out = nlohmann::json::parse(child.text, nullptr, false);
        // A crash, a sanitizer's report or memory the run lost.
        if (!child.fault.empty()) ADD_FAILURE() << "the run " << where << ": " << child.fault;
        End end;
        if (child.handedBack && out.is_object()) {
            end.project = out["project"].get<Signature>();
            end.alerts = out["alerts"].get<std::vector<std::string>>();
        }
        if (kind == Pass::Run::Before) before = end;
        if (kind == Pass::Run::Clean) clean = end;
        if (kind != Pass::Run::Refused) continue;
        Ends& ends = (*p.ends)[index];
        ends.before = before;
        ends.clean = clean;
        ends.run = end;
        ends.refused = child.handedBack && out.is_object() && out["refused"].get<bool>();
    }
    return true;
}

// After a refused line: a forked run stops, its refusal taken back; the example goes on.
bool RefuseDone(ScriptContext& context, std::string* message) {
    if (Current->run == Pass::Run::Parent) return true;
    context.Host().ClearFailures();
    *message = "the line's end";
    return false;
}

const ScriptLanguage& RefusingLanguage() {
    static const ScriptLanguage language = [] {
        ScriptLanguage l = StandardScriptLanguage();
        l.Add("refuse at <line:int>", false,
              [](ScriptContext& r, const ScriptArgs& a, std::string* m) { return RefuseAt(r, a.Int("line"), m); });
        l.Add("refuse done", false,
              [](ScriptContext& r, const ScriptArgs&, std::string* m) { return RefuseDone(r, m); });
        return l;
    }();
    return language;
}

class RefusedUpkeepCallsTest : public InProcessHostTest {
protected:
    // Each example is played once, up to its last refused line; before each refused line the process forks the
    // runs that line needs (the example up to it, the line, the line refused), so no run replays the example.
    std::vector<Ends> RunAll(const std::vector<Refusal>& refusals) {
        std::vector<Ends> ends(refusals.size());
        std::vector<std::string> scripts;
        for (const Refusal& r : refusals)
            if (std::find(scripts.begin(), scripts.end(), r.script) == scripts.end()) scripts.push_back(r.script);
        for (const std::string& script : scripts) {
            Pass pass;
            pass.refusals = &refusals;
            pass.ends = &ends;
            pass.log = &log;
            for (size_t i = 0; i < refusals.size(); ++i)
                if (refusals[i].script == script) pass.atLine[refusals[i].line].push_back(i);
            StartAfresh();
            std::ifstream in(std::string(LODRAVIX_SOURCE_DIR) + "/examples/" + script + ".script");
            std::string text, line;
            for (int n = 1; n <= pass.atLine.rbegin()->first && std::getline(in, line); ++n)
                text += pass.atLine.count(n) != 0 ? "refuse at " + std::to_string(n) + "\n" + line + "\nrefuse done\n"
                                                  : line + "\n";
            Current = &pass;
            std::ostringstream out;
            ScriptRunner runner(*host, out, RefusingLanguage());
            runner.RunText(text, script);  // a refused line may leave dialog answers unused: no matter here
            Current = nullptr;
            if (Sweep::InChild())
                Sweep::EndChild(
                    nlohmann::json{{"project", Sweep::ProjectDump(Sweep::SweptProject(*host))},
                                   {"alerts", AlertTextsSince()},
                                   {"refused", log.str().find("fails on purpose", pass.logged) != std::string::npos}}
                        .dump());
        }
        return ends;
    }
};

std::string Describe(const Refusal& r) {
    return std::string(r.script) + ":" + std::to_string(r.line) + " with " + r.function + " refused (" +
        (*r.form != 0 ? r.form : "all") + ")";
}

// The lines of a project's dump that start with `prefix` ("selection", "undoSteps ").
Signature Part(const Signature& project, const std::string& prefix) {
    Signature out;
    for (const std::string& line : project)
        if (line.rfind(prefix, 0) == 0) out.push_back(line);
    return out;
}

// The names of the project's undo steps.
std::vector<std::string> UndoSteps(const Signature& project) {
    const Signature line = Part(project, "undoSteps ");
    if (line.empty()) return {};
    return nlohmann::json::parse(line[0].substr(std::string("undoSteps ").size())).get<std::vector<std::string>>();
}

bool StartsWith(const std::vector<std::string>& list, const std::vector<std::string>& head) {
    return head.size() <= list.size() && std::equal(head.begin(), head.end(), list.begin());
}

TEST_F(RefusedUpkeepCallsTest, ALineEndsAsWithoutTheRefusalOrToldWithTheSelectionAndUndoStepsOfBeforeOrAfter) {
    const std::vector<Refusal> refusals = {
        // The terrain selected to save its view as the contour-line object, then not cleared.
        {"road", 18, "Element_DeselectAll", "call 2"},
        // The edited road left selected.
        {"road", 45, "Element_DeselectAll", ""},
        {"road", 58, "Element_DeselectAll", "call 2"},
        // The operators' layer opened and put back after a command with no broken set to delete.
        {"road", 58, "Attribute_Modify", ""},
        {"road", 58, "Attribute_Get", "from 2"},
        {"road", 70, "Attribute_Modify", ""},
        // A sub-palette the module's resources cannot give, and one whose window cannot be read: neither opens.
        {"road", 17, "GetOwnResModule", "", true},
        {"coordinate_locator", 15, "Database", "call 1", true},
    };
    const std::vector<Ends> ends = RunAll(refusals);
    for (size_t i = 0; i < refusals.size(); ++i) {
        const Refusal& r = refusals[i];
        const auto& [before, clean, run, refused] = ends[i];
        EXPECT_TRUE(refused) << Describe(r);
        // A palette that could not open offers nothing to click on: it must say so.
        if (run.project == clean.project && run.alerts == clean.alerts && !r.palette) continue;
        if (run.alerts.size() <= clean.alerts.size()) {
            ADD_FAILURE() << Describe(r) << ": not told" << Sweep::Describe(clean.project, run.project);
            continue;
        }
        const std::string told = run.alerts.back();
        EXPECT_EQ(told.find(Sweep::MissingTextMarker), std::string::npos) << Describe(r);
        // The user's selection, or the one the line leaves; the undo steps before the line and some of its own.
        const Signature selection = Part(run.project, "selection");
        EXPECT_TRUE(selection == Part(before.project, "selection") || selection == Part(clean.project, "selection"))
            << Describe(r) << Sweep::Describe(Part(clean.project, "selection"), selection);
        const std::vector<std::string> steps = UndoSteps(run.project);
        EXPECT_TRUE(StartsWith(steps, UndoSteps(before.project)) && StartsWith(UndoSteps(clean.project), steps))
            << Describe(r) << Sweep::Describe(Part(clean.project, "undoSteps "), Part(run.project, "undoSteps "));
        if (!r.palette) continue;
        // The module's own palette not shown, the project as after the line: told that a read failed.
        EXPECT_EQ(run.project, clean.project) << Describe(r) << Sweep::Describe(clean.project, run.project);
        EXPECT_EQ(told, "Error while finding data.") << Describe(r);
    }
}

// How a line with a refusal must end: as before it (all of it, or its model where the window the host would not
// bring back stays) with `told` the last alert, or as the clean run (its model, or all of it) with every alert of the
// clean run shown and `told` after them (none: nothing more).
struct Told {
    Refusal refusal;
    enum { AsBefore, ModelAsBefore, ModelAsClean, AsClean } end;
    const char* told;
};

TEST_F(RefusedUpkeepCallsTest, ARefusedDeselectOrRecordChangesNothingAndALostSelectionOrFailedUpdateIsTold) {
    const char* const selectionError = "Error in managing the selected element";
    const char* const readError = "Error while finding data.";
    // Inside the command, or read on the way to the object: the object was not made or changed.
    const char* const notMade = "Error while modifying/creating the object.";
    const std::vector<Told> cases = {
        // A tool that clears the selection before it edits, places or exports: refused, it does nothing.
        {{"basin_bridge", 58, "Element_DeselectAll", ""}, Told::AsBefore, selectionError},  // the bridge's edit
        {{"contour_slopes", 46, "Element_DeselectAll", ""}, Told::AsBefore, selectionError},
        {{"export_xyz", 35, "Element_DeselectAll", ""}, Told::AsBefore, selectionError},
        {{"site_areas", 63, "Element_DeselectAll", ""}, Told::AsBefore, notMade},
        {{"site_buildings", 66, "Element_DeselectAll", ""}, Told::AsBefore, selectionError},
        {{"site_markers", 48, "Element_DeselectAll", ""}, Told::AsBefore, selectionError},
        {{"site_markers", 62, "Element_DeselectAll", ""}, Told::AsBefore, selectionError},  // the data update
        {{"site_paths", 78, "Element_DeselectAll", ""}, Told::AsBefore, selectionError},    // gravity
        {{"terrain_core", 38, "Element_DeselectAll", ""}, Told::AsBefore, selectionError},
        {{"terrain_edit", 74, "Element_DeselectAll", ""}, Told::AsBefore, notMade},
        {{"retaining_wall", 18, "Element_DeselectAll", ""}, Told::AsBefore, selectionError},
        {{"road_section", 27, "Element_DeselectAll", ""}, Told::AsBefore, selectionError},
        // The spot-height pass without the window in which the user could stop it.
        {{"site_markers", 97, "Interface", "call 9"}, Told::AsBefore, "Error while managing the dialog"},
        // A record that may make the work other than it should be: a terrain point, a contour-line object, a
        // coloured area already on the terrain.
        {{"site_markers", 31, "Element_GetUserData", "call 3"}, Told::AsBefore, readError},
        {{"contour_slopes", 99, "Element_GetUserData", "call 3"}, Told::AsBefore, notMade},
        {{"site_areas", 63, "Element_GetMemo", "call 3"}, Told::AsBefore, notMade},
        // A story level the host would not give: no plateau at a made-up height. The host's libraries for a tree's
        // part: nowhere to save it, told as its dialog opens.
        {{"project_open", 23, "Environment", "call 6"}, Told::AsBefore, notMade},
        {{"site_trees", 90, "Environment", "call 3"}, Told::AsBefore, readError},
        // A failed tool's selection that cannot be given back (not read as the action began, or not set again).
        {{"site_markers", 97, "Element_Select", ""}, Told::ModelAsClean, selectionError},
        {{"export_xyz", 21, "Selection_Get", "call 1"}, Told::ModelAsClean, readError},
        // The floor plan the terrain's 3D view cannot be left for: its contour-line object is not made there.
        {{"terrain_contour_object", 14, "Database", "call 10"}, Told::ModelAsBefore, notMade},
        // The section window a data update switched away from and cannot bring back.
        {{"road_section", 69, "Automate", "call 10"}, Told::ModelAsClean, "Error while modifying database."},
        // The walls that cannot follow the terrain are told although the update after the wall failed.
        {{"retaining_wall", 78, "Element_GetElemList", "call 12"},
         Told::AsClean,
         "Error while modifying one or more objects."},
        // The operators' layer that cannot be opened, nor needs to be: nothing of it to tell.
        {{"data_update_skirt", 26, "Attribute_Modify", ""}, Told::AsClean, nullptr},
        {{"terrain_skirt", 32, "Attribute_Get", "from 2"}, Told::AsClean, nullptr},
    };
    std::vector<Refusal> refusals;
    for (const Told& t : cases) refusals.push_back(t.refusal);
    const std::vector<Ends> ends = RunAll(refusals);
    for (size_t i = 0; i < cases.size(); ++i) {
        const Told& t = cases[i];
        const Refusal& r = t.refusal;
        const auto& [before, clean, run, refused] = ends[i];
        EXPECT_TRUE(refused) << Describe(r);
        if (t.end == Told::AsBefore) {
            EXPECT_EQ(run.project, before.project) << Describe(r) << Sweep::Describe(before.project, run.project);
        } else if (t.end == Told::ModelAsBefore) {
            const Signature want = Sweep::Modelled(before.project), got = Sweep::Modelled(run.project);
            EXPECT_EQ(got, want) << Describe(r) << Sweep::Describe(want, got);
        } else {
            const Signature want = t.end == Told::AsClean ? clean.project : Sweep::Modelled(clean.project);
            const Signature got = t.end == Told::AsClean ? run.project : Sweep::Modelled(run.project);
            EXPECT_EQ(got, want) << Describe(r) << Sweep::Describe(want, got);
            // Every alert of the clean run is shown.
            EXPECT_TRUE(Sweep::Added(run.alerts, clean.alerts).empty()) << Describe(r) << ": an alert lost";
        }
        if (t.told == nullptr) {
            EXPECT_EQ(run.alerts, clean.alerts) << Describe(r);
            continue;
        }
        ASSERT_FALSE(run.alerts.empty()) << Describe(r);
        const std::vector<std::string> added = Sweep::NewAlerts(run.alerts, clean.alerts);
        EXPECT_EQ(added, std::vector<std::string>{t.told}) << Describe(r);
    }
}

}  // namespace refused_upkeep_calls_test
