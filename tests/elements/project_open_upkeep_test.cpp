// The upkeep of a project being opened, run through the module's project-event handler: road and railway slope
// parameters converted once, the user's railway settings kept, the add-on's legacy slabs removed, and their layer
// removed only when nothing of the user's lies on it.
#include "UpkeepFixture.hpp"
#include "elements/LayerHelpers.hpp"
#include "project/Guids.hpp"
#include "shell/Notifications.hpp"

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace project_open_upkeep_test {

class ProjectOpenUpkeepTest : public UpkeepTest {
protected:
    void Open() {
        ASSERT_EQ(ProjectEventHandler(APINotify_Open, 0), NoError);
        EXPECT_EQ(DialogsShown(), 0u);
    }
    // A road or railway object of an earlier release: old slope values, not converted yet.
    API_Guid SlopeObject(const std::string& part, int32_t kind, const std::string& name, double fill, double cut) {
        const API_Guid g = PlacePart(part, name);
        SetNumber(g, "use_new_slope", 0);
        SetNumber(g, "slope_inc_fill", fill);
        SetNumber(g, "slope_inc_cut", cut);
        CurrentRecord(g, kind, ElemDescriptor());
        return g;
    }
    API_Guid Slab(const std::string& name, int32_t layer, const std::string& id) {
        API_Guid g = {};
        EXPECT_EQ(Db().PlacePolygonElement(API_SlabID, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}, true, layer, name, &g),
                  NoError);
        Db().FindMutable(g)->memo.Mutable().elemInfoString = GS::UniString(id).ToU16String();
        return g;
    }
    void Delete(const API_Guid& g) {
        ASSERT_EQ(Db().RunUndoableCommand("delete", [&] { return Db().DeleteElements(&g, 1); }), NoError);
    }
    bool Exists(const API_Guid& g) { return Db().Find(g) != nullptr; }
    // Every parameter value of the object, to see that nothing changed.
    std::vector<std::string> Values(const API_Guid& g) {
        std::vector<std::string> out;
        for (const StoredParam& p : *Db().Find(g)->memo->params)
            out.push_back(std::string(reinterpret_cast<const char*>(&p.record.value), sizeof p.record.value));
        return out;
    }
};

TEST_F(ProjectOpenUpkeepTest, SlopesAreConvertedOnceAndTheUsersRailwaySettingsKept) {
    LoadLibrary();
    LanguageIndex = 3;  // German: language number 4
    const int32_t operators = Layer("VY_Operators", APILay_Hidden | APILay_Locked);
    const API_Guid road = SlopeObject("VY_ROAD", ElemKind_Road, "R", 1.5, 2.5);
    const API_Guid done = PlacePart("VY_ROAD", "converted");
    SetNumber(done, "language", 5);
    CurrentRecord(done, ElemKind_Road, ElemDescriptor());
    const API_Guid unrecorded = PlacePart("VY_ROAD", "no record");
    SetNumber(unrecorded, "use_new_slope", 0);
    const API_Guid railway = SlopeObject("VY_RAILWAY", ElemKind_Railway, "W", 0.5, 0.75);
    SetNumber(railway, "et_num_track", 2);
    SetNumber(railway, "et_GaugeTrack", 1.0);
    const std::vector<std::string> doneBefore = Values(done);
    const std::vector<std::string> unrecordedBefore = Values(unrecorded);

    Open();
    EXPECT_EQ(Number(road, "use_new_slope"), 1.0);
    EXPECT_EQ(Number(road, "slope_depth_fill"), 1.5);
    EXPECT_EQ(Number(road, "slope_depth_cut"), 2.5);
    EXPECT_EQ(Number(road, "language"), 4.0);
    EXPECT_EQ(Values(done), doneBefore);
    EXPECT_EQ(Values(unrecorded), unrecordedBefore);
    EXPECT_EQ(Number(railway, "use_new_slope"), 1.0);
    EXPECT_EQ(Number(railway, "slope_depth_fill"), 0.5);
    EXPECT_EQ(Number(railway, "slope_depth_cut"), 0.75);
    EXPECT_EQ(Number(railway, "et_num_track"), 2.0);
    EXPECT_EQ(Number(railway, "et_GaugeTrack"), 1.0);
    EXPECT_EQ(LayerFlagsOf(operators), APILay_Hidden | APILay_Locked);

    // The second opening finds everything converted: no change, no undo step.
    const std::vector<std::string> roadAfter = Values(road);
    const std::vector<std::string> railwayAfter = Values(railway);
    const size_t steps = Db().UndoTexts().size();
    Open();
    EXPECT_EQ(Values(road), roadAfter);
    EXPECT_EQ(Values(railway), railwayAfter);
    EXPECT_EQ(Db().UndoTexts().size(), steps);
}

TEST_F(ProjectOpenUpkeepTest, LegacySlabsGoButTheirLayerOnlyOnceNothingOfTheUsersLiesOnIt) {
    LoadLibrary();
    const int32_t hidden = Layer("Lodrava Hidden", APILay_Hidden);
    const API_Guid legacy = Slab("legacy", hidden, "VY30 Slab");
    const API_Guid users = Slab("users", 1, "vy30 slab");  // another ID, in letter case only
    const API_Guid keep = PlaceHotspot("kept on the legacy layer", hidden);

    // The user's hotspot on the layer keeps it (deleting a layer would delete the hotspot).
    Open();
    EXPECT_FALSE(Exists(legacy));
    EXPECT_TRUE(Exists(users));
    EXPECT_TRUE(Exists(keep));
    EXPECT_NE(Db().FindAttribute(API_LayerID, "Lodrava Hidden"), 0);

    // So does an element in the database of a section marker.
    API_Element cut = {};
    cut.header.typeID = API_CutPlaneID;
    ASSERT_EQ(Db().GetDefaults(&cut, nullptr), NoError);
    ASSERT_EQ(Db().PlaceElement(&cut, StoredMemo(), "marker", "Place"), NoError);
    API_DatabaseInfo section = {};
    section.typeID = APIWind_SectionID;
    section.databaseUnId = Element(cut.header.guid).cutPlane.databaseUnId;
    ASSERT_EQ(Db().ChangeDatabase(section), NoError);
    const API_Guid inSection = PlaceHotspot("in the section", hidden);
    API_DatabaseInfo plan = {};
    plan.typeID = APIWind_FloorPlanID;
    ASSERT_EQ(Db().ChangeDatabase(plan), NoError);
    Delete(keep);
    Open();
    EXPECT_TRUE(Exists(inSection));
    EXPECT_NE(Db().FindAttribute(API_LayerID, "Lodrava Hidden"), 0);
    EXPECT_EQ(Db().CurrentDatabaseType(), APIWind_FloorPlanID);

    // Once the layer is empty it goes.
    Delete(cut.header.guid);  // takes its database along
    Open();
    EXPECT_EQ(Db().FindAttribute(API_LayerID, "Lodrava Hidden"), 0);
    EXPECT_TRUE(Exists(users));
}

// The opening's three upkeeps (roads, railways, the legacy slabs with their layer) each stand whole or not at all
// when a host call fails, on its first call or after some passed: the failing one is taken back, those after it do
// not run, those before it stand, and the user is told. Where the failure is not met the opening is complete.
TEST_F(ProjectOpenUpkeepTest, AnUpkeepTheHostFailsIsTakenBackWholeAndTold) {
    LoadLibrary();
    const int32_t operators = Layer("VY_Operators", APILay_Hidden | APILay_Locked);
    const API_Guid road = SlopeObject("VY_ROAD", ElemKind_Road, "R", 1.5, 2.5);
    const API_Guid railway = SlopeObject("VY_RAILWAY", ElemKind_Railway, "W", 0.5, 0.75);
    const API_Guid slab = Slab("legacy", Layer("Lodrava Hidden", APILay_Hidden), "VY30 Slab");
    Slab("users", 1, "VY30 slab");

    // Each upkeep's part of the project, as it went in and as a clean opening leaves it.
    auto element = [&](const API_Guid& g) {
        const std::string guid = GuidText(g);
        const nlohmann::ordered_json project = Db().ToJson();
        for (const nlohmann::ordered_json& e : project["elements"])
            if (e["guid"].get<std::string>() == guid) return e.dump();
        return std::string();
    };
    auto parts = [&] {
        return std::vector<std::string>{element(road), element(railway),
                                        element(slab) + Db().ToJson()["layers"].dump()};
    };
    const std::vector<std::string> before = parts();
    const size_t steps = Db().UndoTexts().size();
    Open();
    const std::vector<std::string> after = parts();
    ASSERT_EQ(Db().UndoTexts().size(), steps + 3);
    for (size_t i = 0; i < 3; ++i) {
        ASSERT_NE(after[i], before[i]) << i;
        ASSERT_TRUE(Db().Undo());
    }
    ASSERT_EQ(parts(), before);

    int failed = 0;
    for (const char* function :
         {"Element_GetElemList", "Element_Filter", "Element_Get", "Element_GetUserData", "Element_GetMemo",
          "Element_ChangeParameters", "LibPart_Search", "Attribute_Get", "Attribute_Modify", "Database",
          "Element_Delete", "Attribute_Delete", "CallUndoableCommand"})
        for (int32_t passes : {0, 1, 2, 4}) {
            SCOPED_TRACE(std::string(function) + " after " + std::to_string(passes));
            const size_t shown = DialogsShown();
            const size_t unobserved = AlertsSaying(NotLookedAt);
            ASSERT_TRUE(host->FailCallAfter(function, -1, APIERR_GENERAL, passes));
            ASSERT_EQ(ProjectEventHandler(APINotify_Open, 0), NoError);
            host->ClearFailures();
            const std::vector<std::string> now = parts();
            size_t done = 0;
            while (done < 3 && now[done] == after[done]) ++done;
            for (size_t i = done; i < 3; ++i) EXPECT_EQ(now[i], before[i]) << i;
            EXPECT_EQ(Db().UndoTexts().size(), steps + done);
            EXPECT_EQ(LayerFlagsOf(operators), APILay_Hidden | APILay_Locked);
            // The pass that observes the add-on's elements tells its own failure, apart from the upkeep's.
            const size_t observing = AlertsSaying(NotLookedAt) - unobserved;
            const std::string f = function;
            if (passes == 0 &&
                (f == "Element_GetElemList" || f == "Element_Filter" || f == "Element_Get" ||
                 f == "Element_GetUserData")) {
                EXPECT_EQ(observing, 1u);
            }
            EXPECT_EQ(DialogsShown() - observing, shown + (done < 3 ? 1 : 0));
            failed += done < 3 ? 1 : 0;
            for (size_t i = 0; i < done; ++i) ASSERT_TRUE(Db().Undo());
        }
    EXPECT_GT(failed, 30);
}

TEST_F(ProjectOpenUpkeepTest, AProjectWithoutRoadsLeavesTheOperatorLayerAlone) {
    LoadLibrary();
    const int32_t operators = Layer("VY_Operators", APILay_Hidden | APILay_Locked);
    const size_t steps = Db().UndoTexts().size();
    Window(APIWind_3DModelID);
    Open();
    EXPECT_EQ(LayerFlagsOf(operators), APILay_Hidden | APILay_Locked);
    EXPECT_EQ(Db().UndoTexts().size(), steps);
    EXPECT_EQ(Db().CurrentDatabaseType(), APIWind_3DModelID);
}

TEST_F(ProjectOpenUpkeepTest, AProjectWithNothingToUpkeepComesOutOfEveryOpeningAsItWentIn) {
    LoadLibrary();
    Layer("Walls", 0);
    const std::string before = Db().DumpJson();
    for (const int32_t event : {APINotify_New, APINotify_NewAndReset, APINotify_Open}) {
        ASSERT_EQ(ProjectEventHandler(event, 0), NoError);
        EXPECT_EQ(Db().FindAttribute(API_LayerID, "VY_Operators"), 0) << event;
        EXPECT_EQ(Db().DumpJson(), before) << event;
    }
}

}  // namespace project_open_upkeep_test
