// Lines of the examples run again with a host call the module makes around its work refused: clearing the selection,
// opening the operators' layer, reading its own resources or the window in front. Each line ends exactly as it
// does when nothing is refused, with nothing more told, or as the project stood before the line (its selection and
// undo steps too) with the user told; a palette that cannot open says so. Never a selection the module made for
// itself, nor an undo step that changes nothing.
#include "AlertLog.hpp"
#include "DGDriver.hpp"
#include "InProcessHost.hpp"
#include "SweepDump.hpp"
#include "SweepHostDump.hpp"
#include "SweepJudge.hpp"
#include "script/ScriptRunner.hpp"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
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

class RefusedUpkeepCallsTest : public InProcessHostTest {
protected:
    // The example up to line `line` (that line left out unless `runLine`), the line run with the refusal when given.
    End Run(const Refusal& r, bool runLine, bool refused) {
        TearDown();
        DGDriver::Reset();
        SetUp();
        host->Settings().embeddedLibrary = true;  // whatever it makes stays out of the shipped library
        std::ifstream in(std::string(LODRAVIX_SOURCE_DIR) + "/examples/" + r.script + ".script");
        std::string text, line;
        for (int n = 1; n < r.line && std::getline(in, line); ++n) text += line + "\n";
        std::getline(in, line);
        if (runLine && refused) text += std::string("fail ") + r.function + " -1 " + r.form + "\n";
        if (runLine) text += line + "\nfail clear\n";
        std::ostringstream out;
        ScriptRunner runner(*host, out);
        runner.RunText(text, r.script);  // a refused line may leave dialog answers unused: no matter here
        return {Sweep::ProjectDump(Sweep::SweptProject(*host)), AlertTextsSince()};
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
    for (const Refusal& r : refusals) {
        const End before = Run(r, false, false);
        const End clean = Run(r, true, false);
        const size_t logged = log.str().size();
        const End run = Run(r, true, true);
        EXPECT_NE(log.str().find("fails on purpose", logged), std::string::npos) << Describe(r);
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

}  // namespace refused_upkeep_calls_test
