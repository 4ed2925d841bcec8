// "Data update": the choice of rebuild by what the selection holds (the cases themselves run in
// examples/data_update.script and examples/road_section.script), and walls updated together, none of them left
// half rebuilt.
#include "shell/commands/DataUpdate.hpp"

#include "FakeContourLineRefresh.hpp"
#include "ExampleScript.hpp"
#include "FakeEarthworkDialogs.hpp"
#include "SlopedTerrainTest.hpp"

#include "DGDriver.hpp"
#include "InProcessHost.hpp"
#include "elements/ChangeElementMemo.hpp"
#include "elements/ElementHelpers.hpp"
#include "foundation/GuidText.hpp"
#include "shell/SiteObjectDialogBoxes.hpp"
#include "siteobjects/Wall.hpp"
#include "script/ScriptRunner.hpp"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <random>
#include <sstream>
#include <string>

namespace data_update_test {

TEST(DataUpdateChoiceTest, EachKindAloneChoosesItsRebuildAndMixturesChooseNone) {
    using C = DataUpdateCase;
    int32_t DataUpdateSelection::*const singles[] = {
        &DataUpdateSelection::basins,    &DataUpdateSelection::roads,        &DataUpdateSelection::sections,
        &DataUpdateSelection::plateaus,  &DataUpdateSelection::sidewalks,    &DataUpdateSelection::retainingWalls,
        &DataUpdateSelection::buildings, &DataUpdateSelection::colouredAreas};
    const C expected[] = {C::Basin,    C::Road,          C::RoadSection, C::Plateau,
                          C::Sidewalk, C::RetainingWall, C::Building,    C::ColouredArea};
    std::mt19937 rng(108);
    for (int round = 0; round < 300; ++round) {
        DataUpdateSelection s;
        s.projectTerrains = int32_t(rng() % 3);
        const size_t k = rng() % 8;
        s.*singles[k] = 1;
        s.selected = 1;
        EXPECT_EQ(ChooseDataUpdateCase(s), expected[k]);
        // Two of one kind, or one with anything else beside it, match no single-object case.
        s.selected = 2;
        EXPECT_EQ(ChooseDataUpdateCase(s), C::None);
        s.*singles[k] = 2;
        EXPECT_EQ(ChooseDataUpdateCase(s), C::None);
        // Walls or bridges alone go together, in any number; mixed they do not.
        DataUpdateSelection many;
        many.selected = 1 + int32_t(rng() % 5);
        (rng() % 2 ? many.walls : many.bridges) = many.selected;
        EXPECT_EQ(ChooseDataUpdateCase(many), many.walls > 0 ? C::Walls : C::Bridges);
        many.walls = many.bridges = many.selected;
        many.selected *= 2;
        EXPECT_EQ(ChooseDataUpdateCase(many), C::None);
    }
    DataUpdateSelection railway;
    railway.selected = railway.railways = 1;
    EXPECT_EQ(ChooseDataUpdateCase(railway), C::None);
    // A level marker with its terrain, only while the project holds exactly one terrain.
    DataUpdateSelection marker;
    marker.selected = 2;
    marker.markers = 1;
    marker.projectTerrains = 1;
    EXPECT_EQ(ChooseDataUpdateCase(marker), C::LevelMarker);
    marker.projectTerrains = 2;
    EXPECT_EQ(ChooseDataUpdateCase(marker), C::None);
}

class WallsUpdateTest : public SlopedTerrainTest {
protected:
    API_Element PlaceWall(const std::vector<API_Coord3D>& points) {
        DGDriver::QueueClick(32550, 1);
        WallCls cls;
        EXPECT_EQ(cls.Place(GlobalSettings, siteDialogs, Drawn(API_PolyLineID, points), terrain), 0);
        return Objects(ElemKind_Wall).back();
    }
    void Move(API_Element wall, double dx) {
        API_Element mask = {};
        std::memset(&mask.object.pos, 0xFF, sizeof mask.object.pos);
        wall.object.pos.x += dx;
        ASSERT_EQ(Command([&] { return ACAPI_Element_Change(&wall, &mask, nullptr, 0); }), NoError);
    }
    // The update of the selected walls; the alert it shows, or "".
    std::string Update(const std::vector<API_Guid>& walls) {
        Select(walls);
        const size_t shown = DGDriver::Log().size();
        DGDriver::QueueAlertAnswer(1);
        UpdateSelectedObjects(GlobalSettings, earthworkDialogs, siteDialogs, contours);
        detail.clear();
        for (size_t i = shown; i < DGDriver::Log().size(); ++i)
            if (DGDriver::Log()[i].kind == "alert") {
                if (DGDriver::Log()[i].texts.size() > 1) detail = DGDriver::Log()[i].texts[1];
                return DGDriver::Log()[i].texts[0];
            }
        DGDriver::Reset();  // the answer queued for an alert that did not come
        return "";
    }
    // Gives the placed object its ID text, as the user does in the host.
    void Name(API_Element e, const char* id) {
        API_ElementMemo memo = {};
        ASSERT_EQ(ACAPI_Element_GetMemo(e.header.guid, &memo, AttachMemoMask), NoError);
        QV_String text(id);
        SetMemoInfoString(memo, text);
        ASSERT_EQ(Command([&] { return ChangeElementMemo(&e, &memo); }), NoError);
        ACAPI_DisposeElemMemoHdls(&memo);
    }
    std::string GuidOf(const API_Element& e) {
        QV_String text;
        GuidToText(text, e.header.guid);
        return text.ToStdString();
    }
    std::string detail;  // the small text of the last update's alert
    nlohmann::ordered_json Walls() {
        nlohmann::ordered_json out = nlohmann::ordered_json::array();
        const nlohmann::ordered_json project = Db().ToJson();
        for (const nlohmann::ordered_json& e : project["elements"])
            if (e.value("libPart", "") == "VY_WALL") out.push_back(e);
        return out;
    }
    FakeEarthworkDialogs earthworkDialogs;
    SiteObjectDialogBoxes siteDialogs;
    FakeContourLineRefresh contours;
};

// One wall that cannot be updated is reported; the others still take their update, and none is left half rebuilt
// (unlinked from its terrain) when the terrain's links cannot be made again.
TEST_F(WallsUpdateTest, AWallThatFailsIsReportedAndLeftAsItWasWhileTheOthersUpdate) {
    const API_Element near = PlaceWall({{30, 60, 0}, {60, 70, 0}});
    const API_Element far = PlaceWall({{30, 20, 0}, {60, 30, 0}});
    Move(near, 10.0);
    Move(far, 10.0);
    // The far wall names a terrain that is gone: it cannot stand again.
    ElemDescriptor lost;
    lost.TerrainGuid = QV_String("00000000-0000-4000-8000-000000000099");
    WriteRecord(far.header.guid, ElemKind_Wall, lost);
    const nlohmann::ordered_json before = Walls();
    EXPECT_EQ(Update({near.header.guid, far.header.guid}), "Error while modifying one or more objects.");
    // Both go by "WALL": the alert tells how many of those so named were left, never their raw ids.
    EXPECT_EQ(detail, "Left as they were: WALL (1 of 2)");
    EXPECT_EQ(detail.find(GuidOf(far)), std::string::npos);
    const nlohmann::ordered_json after = Walls();
    ASSERT_EQ(after.size(), 2u);
    EXPECT_FALSE(after[0] == before[0]);  // the near wall took the heights of its new place
    EXPECT_TRUE(after[1] == before[1]);
    // The terrain's links refused once the first wall is linked again: both walls as they were, both linked.
    Move(near, 10.0);
    const nlohmann::ordered_json project = Db().ToJson();
    ASSERT_TRUE(host->FailCallAfter("SolidLink_Create", -1, APIERR_GENERAL, 1));
    EXPECT_EQ(Update({near.header.guid}), "Error while modifying one or more objects.");
    host->ClearFailures();
    const nlohmann::ordered_json now = Db().ToJson();
    EXPECT_TRUE(now["solidLinks"] == project["solidLinks"]);
    EXPECT_TRUE(now["elements"] == project["elements"]);
}

// The alert names the walls left as they were by their ID texts, whichever failed: the one off its terrain alone
// in a clean run, both when a host call fails for every wall.
TEST_F(WallsUpdateTest, TheAlertNamesEveryWallThatWasNotUpdated) {
    const API_Element near = PlaceWall({{30, 60, 0}, {60, 70, 0}});
    const API_Element far = PlaceWall({{30, 20, 0}, {60, 30, 0}});
    Name(near, "North wall");
    Name(far, "South wall");
    ElemDescriptor lost;
    lost.TerrainGuid = QV_String("00000000-0000-4000-8000-000000000099");
    WriteRecord(far.header.guid, ElemKind_Wall, lost);
    Move(near, 10.0);
    EXPECT_EQ(Update({near.header.guid, far.header.guid}), "Error while modifying one or more objects.");
    EXPECT_EQ(detail, "Left as they were: South wall");
    Move(near, 10.0);
    ASSERT_TRUE(host->FailCall("Element_GetMemo", -1, APIERR_GENERAL));
    EXPECT_EQ(Update({near.header.guid, far.header.guid}), "Error while modifying one or more objects.");
    host->ClearFailures();
    EXPECT_EQ(detail, "Left as they were: North wall, South wall");
    EXPECT_EQ(Update({near.header.guid}), "");  // updated: nothing told
    // A wall without an ID text goes by its kind.
    Name(far, "");
    EXPECT_EQ(Update({near.header.guid, far.header.guid}), "Error while modifying one or more objects.");
    EXPECT_EQ(detail, "Left as they were: Wall");
}

// A road's update with the element lists refused at any call, alone or from there on: the road ends updated as without
// the failure, or exactly as it was, with its links to the terrain, and the user told; never rewritten under an alert
// that says it was left as it was, nor unlinked from an operator the host would not list.
class RoadUpdateTest : public InProcessHostTest {
protected:
    // The alerts the latest run showed.
    static int Alerts() {
        int n = 0;
        for (const DGDriver::LogRecord& r : DGDriver::Log()) n += r.kind == "alert" ? 1 : 0;
        return n;
    }
};

TEST_F(RoadUpdateTest, ARoadUpdateWhoseListsAreRefusedEndsUpdatedOrAsItWas) {
    // examples/data_update.script up to the update of the road whose edge point was lowered by hand.
    const ExampleCut cut = ExampleUpTo("data_update", 23);
    ASSERT_EQ(cut.at, "dialog 32400 click 6");
    const std::string& before = cut.before;
    const std::string& line = cut.at;
    // The project and the alerts as the script leaves them before the update (a script's end releases the module).
    const auto run = [&](const std::string& text, std::string* shown) {
        *shown = RunAfresh(text, "data_update");
        return Alerts();
    };
    std::string shown;
    const int alertsBefore = run(before, &shown);
    const nlohmann::ordered_json was = host->Database().ToJson();
    bool takenBack = false;
    for (const char* form : {"call", "from"})
        for (int n = 1; n <= 12; ++n) {
            const std::string failing = "fail Element_GetElemList -1 " + std::string(form) + " " + std::to_string(n);
            const int alerts =
                run(before + failing + "\n" + line + "\nfail clear\nexpect param-cell ROAD road_SX 1 3 103.7 1e-9\n",
                    &shown);
            const nlohmann::ordered_json now = host->Database().ToJson();
            const bool updated = shown.find("FAILED (line 26)") == std::string::npos;
            if (alerts == alertsBefore) {
                EXPECT_TRUE(updated) << failing << "\n" << shown;
            } else {
                takenBack = true;
                EXPECT_FALSE(updated) << failing;
                EXPECT_TRUE(now["elements"] == was["elements"]) << failing;
                EXPECT_TRUE(now["solidLinks"] == was["solidLinks"]) << failing;
            }
        }
    EXPECT_TRUE(takenBack);
}

// A section's update from the section window draws the terrain's contour lines in the plan. When the plan cannot be
// brought to the front, at any of the window changes, the update may leave the contour lines as they were, but then
// says so: an update whose undo steps end otherwise than the clean one's shows an alert the clean one does not.
TEST_F(RoadUpdateTest, ASectionUpdateThatCannotReachThePlanSaysSo) {
    // examples/road_section.script up to the update of the road from its section, in the section window.
    const ExampleCut cut = ExampleUpTo("road_section", 69);
    ASSERT_EQ(cut.at, "dialog 32400 click 6");
    const auto saysLeftAsItWas = [] {
        for (const DGDriver::LogRecord& r : DGDriver::Log())
            for (const std::string& text : r.texts)
                if (r.kind == "alert" && text.find("Left as they were") != std::string::npos) return true;
        return false;
    };
    RunAfresh(cut.before, "road_section");
    const nlohmann::ordered_json stepsBefore = host->Database().ToJson()["undoSteps"];
    RunAfresh(cut.before + cut.at + "\n", "road_section");
    const nlohmann::ordered_json cleanSteps = host->Database().ToJson()["undoSteps"];
    const int cleanAlerts = Alerts();
    int differing = 0;
    for (int n = 1; n <= 8; ++n) {
        RunAfresh(cut.before + "fail Automate -1 call " + std::to_string(n) + "\n" + cut.at + "\nfail clear\n",
                  "road_section");
        const nlohmann::ordered_json steps = host->Database().ToJson()["undoSteps"];
        if (steps == cleanSteps) continue;
        ++differing;
        EXPECT_GT(Alerts(), cleanAlerts) << "Automate refused at its call " << n;
        // The road rebuilt from the section stays: the section is not said to be left as it was.
        if (steps != stepsBefore) {
            EXPECT_FALSE(saysLeftAsItWas()) << "Automate refused at its call " << n;
        }
    }
    EXPECT_GT(differing, 0);
}

TEST_F(RoadUpdateTest, AnUpdateThatCannotTellWhichSectionsAreTheRoadsSaysSo) {
    // examples/road_section.script up to the first section's update, which reaches the road and its other section.
    const ExampleCut cut = ExampleUpTo("road_section", 80);
    ASSERT_EQ(cut.at, "dialog 32400 click 6");
    RunAfresh(cut.before + cut.at + "\n", "road_section");
    const nlohmann::ordered_json clean = host->Database().ToJson()["elements"];
    const int cleanAlerts = Alerts();
    // Each answer about an element refused alone: a section passed over keeps its old edges, which is told.
    for (const char* function : {"Element_Filter", "Element_GetUserData"})
        for (int n = 1; n <= 12; ++n) {
            RunAfresh(cut.before + "fail " + function + " -1 call " + std::to_string(n) + "\n" + cut.at +
                          "\nfail clear\n",
                      "road_section");
            if (host->Database().ToJson()["elements"] == clean) continue;
            EXPECT_GT(Alerts(), cleanAlerts) << function << " refused at its call " << n;
        }
}

}  // namespace data_update_test
