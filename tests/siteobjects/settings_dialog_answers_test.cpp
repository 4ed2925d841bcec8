// OK and Cancel reach every element class's settings run, and the caller that keeps its edits, the right way
// round: whatever the dialog, and however often the user switched layouts first where the element class runs
// them, the edits are kept exactly when the user confirmed. Through the fake ports, over every class of the
// earthworks, the site objects and the terrain (site objects sit above the other two, so all are reachable here).
#include "FakeEarthworkDialogs.hpp"
#include "FakeSiteObjectDialogs.hpp"
#include "FakeTerrainDialogs.hpp"
#include "FakeTerrainInputDialogs.hpp"
#include "ProjectHost.hpp"

#include "earthworks/Basin.hpp"
#include "earthworks/Bridge.hpp"
#include "earthworks/Digging.hpp"
#include "earthworks/Obstacle.hpp"
#include "earthworks/Railway.hpp"
#include "earthworks/Road.hpp"
#include "earthworks/Section.hpp"
#include "earthworks/Sidewalk.hpp"
#include "settings/Settings.hpp"
#include "siteobjects/Building.hpp"
#include "siteobjects/Marker.hpp"
#include "siteobjects/Paint.hpp"
#include "siteobjects/Trees.hpp"
#include "siteobjects/Wall.hpp"
#include "terrain/ConstraintInput.hpp"
#include "terrain/ContourLineCls.hpp"
#include "terrain/OutlineData.hpp"
#include "terrain/PointTool.hpp"
#include "terrain/SlopeRangeCls.hpp"
#include "terrain/TerrainSettingsRun.hpp"

#include <functional>
#include <string>
#include <vector>

namespace settings_dialog_answers_test {

constexpr int Marked = 77;  // the layer the user picks; no default holds it

// The user of one settings dialog: asks `switches` times for the other layout where the element class runs the
// layouts, then picks layer 77 and closes the dialog with `answer`.
struct User {
    DialogAnswer answer = DialogAnswer::Confirmed;
    int switches = 0;
    std::vector<int32_t> shown;  // the layouts the element class opened, in order

    // The pick stays in what the dialog was handed even when cancelled: the class must drop it.
    template <class Layer>
    DialogAnswer Close(Layer& layer) {
        layer = Layer(Marked);
        return answer;
    }
    // A dialog handed the caller's own record writes nothing into it on Cancel.
    template <class Layer>
    DialogAnswer CloseInPlace(Layer& layer) {
        if (answer == DialogAnswer::Confirmed) layer = Layer(Marked);
        return answer;
    }
    bool Switches(int32_t layout) {
        shown.push_back(layout);
        return int(shown.size()) <= switches;
    }
    // One layout of a dialog its element class runs layout by layout; the edits go on once switched.
    template <class State>
    DialogAnswer Layout(State& state, int32_t layout) {
        EXPECT_EQ(state.carryWork != 0, !shown.empty());
        if (!Switches(layout)) return Close(state.record.layer);
        state.layoutSwitch = 1;
        return DialogAnswer::Cancelled;
    }
};

// A tool's defaults edited through its class's `edit`: the layer the global settings' `record` holds afterwards.
template <class Cls, class Port, class Fake, class Record>
std::function<int()> DefaultsEdit(Fake& dialogs, Record Settings::*record, int32_t (Cls::*edit)(Port&)) {
    return [&dialogs, record, edit] {
        Cls cls;
        (cls.*edit)(dialogs);
        return int((GlobalSettings.*record).layer);
    };
}

// The same for a class handed the settings it edits.
template <class Cls, class Port, class Fake, class Record>
std::function<int()> DefaultsEdit(Fake& dialogs, Record Settings::*record, int32_t (Cls::*edit)(Settings&, Port&)) {
    return [&dialogs, record, edit] {
        Cls cls;
        (cls.*edit)(GlobalSettings, dialogs);
        return int((GlobalSettings.*record).layer);
    };
}

struct Case {
    std::string name;
    int switches;              // how often the user may switch layouts the caller runs (0: the dialog runs them)
    std::function<int()> run;  // the caller; the layer where it keeps the edits afterwards
};

class SettingsDialogAnswersTest : public ProjectHostTest {
protected:
    void SetUp() override {
        ProjectHostTest::SetUp();
        Defaults();
        earthworks.road = [this](RoadDialogState& s, int32_t layout) { return user.Layout(s, layout); };
        earthworks.plateau = [this](PlateauDialogState& s, int32_t layout) { return user.Layout(s, layout); };
        earthworks.sidewalk = [this](SidewalkDialogState& s, int32_t layout) { return user.Layout(s, layout); };
        earthworks.railway = [this](RailwayDialogState& s) { return user.Close(s.record.layer); };
        earthworks.section = [this](SectionDialogState& s) { return user.Close(s.record.layer); };
        earthworks.retainerWall = [this](RetainerWallDialogState& s) { return user.Close(s.record.layer); };
        earthworks.basin = [this](BasinSettings& r, auto&) { return user.Close(r.layer); };
        earthworks.bridge = [this](BridgeSettings& r, auto&, bool) { return user.Close(r.layer); };
        site.building = [this](BuildingDialogState& s) { return user.Close(s.record.layer); };
        site.wall = [this](WallDialogState& s) { return user.Close(s.record.layer); };
        site.spotHeight = [this](MarkerDialogState& s) { return user.Close(s.record.layer); };
        site.colouredArea = [this](PaintDialogState& s) { return user.Close(s.record.layer); };
        site.tree = [this](TreeSettings& r, TreeChangeFlags&) { return user.Close(r.layer); };
        // The compact "Terrain settings" leads to the wide one, which has no way back.
        terrain.terrain = [this](TerrainDialogBlock& block, TerrainSettings& r, auto&&...) {
            if (!user.Switches(0)) return user.Close(r.layer);
            block.layoutSwitch = 1;
            return DialogAnswer::Cancelled;
        };
        terrain.terrainWide = [this](TerrainDialogBlock&, TerrainSettings& r, auto&&...) {
            EXPECT_FALSE(user.Switches(1));
            return user.Close(r.layer);
        };
        terrain.contourSettings = [this](ContourLineSettings& r, auto&&...) { return user.CloseInPlace(r.layer); };
        terrain.contourAltitude = [this](ContourAltitudeSettings& r, uint8_t*) { return user.Close(r.layer); };
        terrain.slopeRange = [this](SlopeRangeSettings& r, uint8_t*) { return user.CloseInPlace(r.layer); };
        input.pointSettings = [this](PointSettings& r, auto&) { return user.Close(r.layer); };
        input.constraintSettings = [this](ConstraintSettings& r, auto&) { return user.Close(r.layer); };
        input.outlineSettings = [this](OutlineSettings& r, auto&, OutlineSearchValues&) { return user.Close(r.layer); };
    }
    void TearDown() override {
        Defaults();
        ProjectHostTest::TearDown();
    }
    static void Defaults() {
        GlobalSettings.Reset();
        GlobalSettings.SetBuiltInDefaults(QV_String("Arial"));
        GlobalSettings.tree = TreeSettings();
    }
    // What the class's run answered must be the user's answer.
    void ExpectUsersAnswer(DialogAnswer answer) const { EXPECT_EQ(answer, user.answer); }

    User user;
    FakeEarthworkDialogs earthworks;
    FakeSiteObjectDialogs site;
    FakeTerrainDialogs terrain;
    FakeTerrainInputDialogs input;
};

TEST_F(SettingsDialogAnswersTest, EveryClassKeepsTheEditsExactlyWhenTheUserConfirmed) {
    const std::vector<Case> cases = {
        {"road", 2, DefaultsEdit(earthworks, &Settings::road, &RoadCls::EditDefaults)},
        {"railway", 0, DefaultsEdit(earthworks, &Settings::railway, &RailwayCls::EditDefaults)},
        {"sidewalk", 2, DefaultsEdit(earthworks, &Settings::sidewalk, &SideWalkCls::EditDefaults)},
        {"section", 0,
         [&] {
             SectionCls section(GlobalSettings.section.font);
             section.EditDefaults(GlobalSettings, earthworks);
             return int(GlobalSettings.section.layer);
         }},
        {"plateau", 2, DefaultsEdit(earthworks, &Settings::plateau, &DiggingCls::EditDefaults)},
        {"bridge", 0, DefaultsEdit(earthworks, &Settings::bridge, &BridgeCls::EditDefaults)},
        {"retaining wall", 0, DefaultsEdit(earthworks, &Settings::retainingWall, &ObstacleCls::EditDefaults)},
        {"basin", 0, DefaultsEdit(earthworks, &Settings::basin, &Basin::BasinCls::EditDefaults)},
        {"building", 0, DefaultsEdit(site, &Settings::building, &BuildingCls::EditSettings)},
        {"wall", 0, DefaultsEdit(site, &Settings::wall, &WallCls::EditSettings)},
        {"coloured area", 0, DefaultsEdit(site, &Settings::paint, &PaintCls::EditSettings)},
        {"spot height", 0,
         [&] {
             MarkerCls marker(GlobalSettings.marker.font);
             marker.settings = GlobalSettings.marker;
             ExpectUsersAnswer(marker.RunSettingsDialog(site, SettingsMode::NewElement, false, false, false));
             return int(marker.settings.layer);
         }},
        {"tree", 0,
         [&] {
             TreeChangeFlags changed;
             ExpectUsersAnswer(EditTreeSettings(GlobalSettings.tree, site, SettingsMode::NewElement, changed));
             return int(GlobalSettings.tree.layer);
         }},
        {"contour lines", 0, DefaultsEdit(terrain, &Settings::contour, &ContourLineCls::EditSettings)},
        {"slope analysis", 0, DefaultsEdit(terrain, &Settings::slopeRange, &SlopeRangeCls::EditSettings)},
        {"single altitude", 0,
         [&] {
             ContourLineCls contour;
             ExpectUsersAnswer(contour.EditAltitude(terrain, SettingsMode::NewElement));
             return int(contour.altitude.layer);
         }},
        {"terrain", 1,
         [&] {
             TerrainRecord record;
             BuildTerrainWithoutSelection(GlobalSettings, terrain, record);
             return int(GlobalSettings.terrain.layer);
         }},
        {"point", 0,
         [&] {
             PointTool tool(GlobalSettings, input);
             ExpectUsersAnswer(tool.EditSettings(SettingsMode::NewElement));
             return int(tool.settings.layer);
         }},
        {"constraint", 0,
         [&] {
             ConstraintInput constraint(GlobalSettings, input);
             ExpectUsersAnswer(constraint.EditSettings(SettingsMode::NewElement));
             return int(constraint.settings.layer);
         }},
        {"outline", 0,
         [&] {
             OutlineData outline(GlobalSettings, input);
             ExpectUsersAnswer(outline.RunSettingsDialog(true, false, SettingsMode::NewElement));
             return int(outline.settings.layer);
         }},
    };
    for (const Case& c : cases)
        for (const DialogAnswer answer : {DialogAnswer::Confirmed, DialogAnswer::Cancelled})
            for (int switches = 0; switches <= c.switches; ++switches) {
                SCOPED_TRACE(c.name + (answer == DialogAnswer::Confirmed ? " confirmed" : " cancelled") + " after " +
                             std::to_string(switches) + " switches");
                Defaults();
                user = User();
                user.answer = answer;
                user.switches = switches;
                EXPECT_EQ(c.run() == Marked, answer == DialogAnswer::Confirmed);
                // The layouts took turns from the first, one more than the switches.
                std::vector<int32_t> turns;
                for (int k = 0; c.switches > 0 && k <= switches; ++k) turns.push_back(k % 2);
                EXPECT_EQ(user.shown, turns);
            }
}

}  // namespace settings_dialog_answers_test
