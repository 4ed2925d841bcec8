// The input palette's commands with each host function they call failing in turn: "Constraint", "Outline",
// "Terrain", "Slope analysis" and the edit of selected points. Every run ends as the clean run did, or with the
// project as before and the user told; never a line, fill or mesh without its record, nor a second object beside
// one the host could not name.
#include "AlertLog.hpp"
#include "ScriptedToolTest.hpp"
#include "SweepDump.hpp"

#include "elements/ModelUpdate.hpp"
#include "settings/Settings.hpp"
#include "shell/ModulePorts.hpp"
#include "shell/Wiring.hpp"
#include "shell/commands/ContourCommands.hpp"
#include "shell/commands/TerrainCommands.hpp"
#include "shell/commands/TerrainInputCommands.hpp"

#include <algorithm>
#include <functional>
#include <regex>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace terrain_input_failures_test {

constexpr int16_t ConstraintDialog = 32545;
constexpr int16_t OutlineDialog = 32546;
constexpr int16_t TerrainDialog = 32547;
constexpr int16_t SlopeDialog = 32548;
constexpr int16_t PointDialog = 32555;

// Alerts that put the blame on what the user drew, selected or typed: never the reason of a failed host call.
const char* const InputBlamingAlerts[] = {
    "The resulting outline has less than three nodes",
    "No outline selected.",
    "The selected outline has corners without points in this plane.",
    "Select a terrain to perform the command.",
    "Name already used or empty!",
    "Command is applied when you have a terrain",
    "Attention: Library not loaded.",
};

class TerrainInputFailuresTest : public ScriptedToolTest {
protected:
    void SetUp() override {
        ScriptedToolTest::SetUp();
        if (HasFatalFailure()) return;
        ElementWritten = 0;
        WireSubsystems();
        Window(APIWind_FloorPlanID);
    }
    void TearDown() override {
        UnwireSubsystems();
        host->Input().ClearQueue();
        ElementWritten = 0;
        ScriptedToolTest::TearDown();
    }

    API_Guid Point(double x, double y, double z) {
        return PlaceTerrainPoint({x, y}, z, "point" + std::to_string(++names));
    }
    // Nine points on a 20 m grid, heights by column (x 0: 100, 10: 102, 20: 101).
    void Points() {
        const double h[] = {100, 102, 101};
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) Point(10.0 * i, 10.0 * j, h[i]);
    }
    void Click(double x, double y) {
        QueuedClick c;
        c.point = {x, y, 0.0};
        host->Input().QueueClick(c);
    }
    // The outline's clicks round the grid, a little outside the outer points.
    void OutlineClicks() {
        for (const API_Coord& c :
             std::vector<API_Coord>{{-0.3, -0.3}, {-0.3, 20.3}, {20.3, 20.3}, {20.3, -0.3}, {-0.3, -0.3}})
            Click(c.x, c.y);
    }

    // The whole project, but for the serial a terrain's identifier takes from the host's modification stamp
    // ("#<mesh>_<stamp>"), which counts on from run to run.
    Sweep::Signature Dump() {
        static const std::regex stamp("(\"#[0-9]+)_[0-9]+\"");
        Sweep::Signature dump = Sweep::ProjectDump(Db().ToJson());
        for (std::string& line : dump) line = std::regex_replace(line, stamp, "$1_*\"");
        return dump;
    }
    void TakeBack(size_t steps) {
        while (Db().UndoTexts().size() > steps)
            if (!Db().Undo()) return;
    }

    // Runs `action` (the user's answers queued by `answers`) cleanly, recording the host functions it calls, and
    // takes it back; then once per function, from the same start, with that function failing. Each run must end
    // as the clean one did, or as before with an alert shown; an alert the clean run did not show never blames
    // the user's input, which the clean run took. The project is left as after the clean run. With `stepwise`
    // (each step its own command, as the segments of a constraint chain), a run may also end with the steps made
    // before the failure: only what the clean run made is added, nothing else changes.
    void ExpectEveryFailureDoneOrTakenBackAndTold(const std::function<void()>& answers,
                                                  const std::function<void()>& action, bool stepwise = false) {
        const Sweep::Signature before = Dump();
        const size_t steps = Db().UndoTexts().size();
        std::map<std::string, int64_t> called;
        const auto run = [&] {
            DGDriver::Reset();
            host->Input().ClearQueue();
            ElementWritten = 0;
            answers();
            action();
        };
        host->RecordCalls(&called);
        run();
        host->RecordCalls(nullptr);
        const std::vector<std::string> cleanAlerts = AlertTextsSince();
        ASSERT_EQ(DGDriver::PendingActionCount(), 0u) << DGDriver::LogText();
        const Sweep::Signature clean = Dump();
        ASSERT_TRUE(clean != before);
        ASSERT_FALSE(called.empty());
        TakeBack(steps);
        ASSERT_TRUE(Dump() == before);
        for (const auto& [function, calls] : called) {
            ASSERT_TRUE(host->FailCall(function, -1, APIERR_GENERAL)) << function;
            run();
            host->ClearFailures();
            const Sweep::Signature after = Dump();
            if (after != clean) {
                EXPECT_TRUE(after == before || (stepwise && EarlierStepsOf(before, clean, after)))
                    << function << " failing:" << Sweep::Describe(before, after);
                EXPECT_GT(AlertsSince(), 0u) << function << " failing: nothing was shown";
            }
            for (const std::string& text : AlertTextsSince())
                if (std::find(cleanAlerts.begin(), cleanAlerts.end(), text) == cleanAlerts.end())
                    for (const char* blame : InputBlamingAlerts) {
                        EXPECT_EQ(text.find(blame), std::string::npos) << function << " failing: told " << text;
                    }
            TakeBack(steps);
            ASSERT_TRUE(Dump() == before) << function << " failing: the run cannot be undone";
        }
        run();
        ASSERT_TRUE(Dump() == clean) << Sweep::Describe(clean, Dump());
    }

    // Every line of `after` is one of `before` or of `clean`, and every line the two share is kept.
    static bool EarlierStepsOf(const Sweep::Signature& before, const Sweep::Signature& clean,
                               const Sweep::Signature& after) {
        const std::set<std::string> b(before.begin(), before.end()), c(clean.begin(), clean.end()),
            a(after.begin(), after.end());
        for (const std::string& line : a)
            if (b.count(line) == 0 && c.count(line) == 0) return false;
        for (const std::string& line : b)
            if (c.count(line) != 0 && a.count(line) == 0) return false;
        return true;
    }

    int names = 0;
};

TEST_F(TerrainInputFailuresTest, ConstraintOutlineAndTerrainEndWholeOrTakenBackAndTold) {
    Points();
    ACAPI_Element_DeselectAll();
    // "Constraint": A, B, C down the middle column, and C again to end the chain.
    ExpectEveryFailureDoneOrTakenBackAndTold(
        [&] {
            DGDriver::QueueClick(ConstraintDialog, 1);
            for (double y : {0.0, 10.0, 20.0, 20.0}) Click(10, y);
        },
        [&] { RunConstraint(GlobalSettings, Ports().terrainInputDialogs); }, true);
    // "Outline" by clicks round the grid.
    ExpectEveryFailureDoneOrTakenBackAndTold(
        [&] {
            DGDriver::QueueClick(OutlineDialog, 1);
            OutlineClicks();
        },
        [&] { RunOutline(GlobalSettings, Ports().terrainInputDialogs); });
    // "Terrain" from that outline: the mesh with its record, or nothing.
    ExpectEveryFailureDoneOrTakenBackAndTold(
        [&] { DGDriver::QueueClick(TerrainDialog, 1); },
        [&] { RunTerrain(GlobalSettings, Ports().terrainDialogs, Ports().terrainContourSteps); });
}

TEST_F(TerrainInputFailuresTest, ARefusedSearchForTheContourPartLeavesTheTerrainAsItWasAndSaysSo) {
    // "Terrain" on a terrain, with the box that places its first contour-line object ticked. A search for the
    // object's part that the host refuses (at once, or on a later call) is no missing part: the mesh must not
    // change without its object, and a refusal at the start is told as the failed search it is.
    PlaceTerrain({{0, 0, 100}, {20, 0, 104}, {40, 0, 108}, {0, 20, 100}, {20, 20, 104}, {40, 20, 108}});
    const Sweep::Signature before = Dump();
    const size_t steps = Db().UndoTexts().size();
    const auto run = [&] {
        DGDriver::Reset();
        DGDriver::QueueClick(TerrainDialog, 41);
        DGDriver::QueueClick(TerrainDialog, 1);
        RunTerrain(GlobalSettings, Ports().terrainDialogs, Ports().terrainContourSteps);
    };
    for (int32_t passes = 0; passes < 4; ++passes) {
        ASSERT_TRUE(host->FailCallAfter("LibPart_Search", -1, APIERR_GENERAL, passes));
        run();
        host->ClearFailures();
        const std::vector<std::string> told = AlertTextsSince();
        if (Objects(ElemKind_Contour).size() == 1u) break;  // every search this run makes was answered
        EXPECT_TRUE(Dump() == before) << passes << Sweep::Describe(before, Dump());
        EXPECT_FALSE(told.empty()) << passes;
        if (passes == 0) {
            EXPECT_EQ(told, std::vector<std::string>{"Error while finding data."});
        }
        TakeBack(steps);
    }
    TakeBack(steps);
    run();
    EXPECT_EQ(Objects(ElemKind_Contour).size(), 1u);
}

TEST_F(TerrainInputFailuresTest, SlopeAnalysisIsPlacedOrEditedWholeAndNeverTwice) {
    const API_Element terrain = PlaceTerrain({{0, 0, 100},
                                              {20, 0, 104},
                                              {40, 0, 108},
                                              {0, 20, 100},
                                              {20, 20, 104},
                                              {40, 20, 108},
                                              {0, 40, 100},
                                              {20, 40, 104},
                                              {40, 40, 108}});
    (void)terrain;
    ExpectEveryFailureDoneOrTakenBackAndTold([&] { DGDriver::QueueClick(SlopeDialog, 1); },
                                             [&] { RunSlopeRange(GlobalSettings, Ports().terrainDialogs); });
    ASSERT_EQ(Objects(ElemKind_SlopeRange).size(), 1u);
    // Again: the placed object is edited (a host that cannot name its part must not make a second one).
    ExpectEveryFailureDoneOrTakenBackAndTold(
        [&] {
            DGDriver::QueueSetLong(SlopeDialog, 28, 5);
            DGDriver::QueueClick(SlopeDialog, 1);
        },
        [&] { RunSlopeRange(GlobalSettings, Ports().terrainDialogs); });
    EXPECT_EQ(Objects(ElemKind_SlopeRange).size(), 1u);
}

TEST_F(TerrainInputFailuresTest, AnEditOfSelectedPointsThatTheHostRefusesHalfwayIsTakenBack) {
    // The record of each point is written before its pen: a refused pen must not leave the first record new.
    const API_Guid a = Point(0, 0, 100), b = Point(10, 0, 102);
    const Sweep::Signature before = Dump();
    for (const char* function : {"Element_ChangeParameters", "Element_SetUserData"}) {
        DGDriver::Reset();
        Select({a, b});
        DGDriver::QueueSetText(PointDialog, 13, "surveyed");  // the comment
        DGDriver::QueueClick(PointDialog, 1);
        ASSERT_TRUE(host->FailCall(function, -1, APIERR_GENERAL));
        RunPoint(GlobalSettings, Ports().terrainInputDialogs);
        host->ClearFailures();
        EXPECT_TRUE(Dump() == before) << function << Sweep::Describe(before, Dump());
        EXPECT_GT(AlertsSince(), 0u) << function;
    }
}

}  // namespace terrain_input_failures_test
