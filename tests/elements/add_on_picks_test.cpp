// Finding the elements a tool works on: the selected add-on objects of a kind, the selected host elements of a
// type, and every add-on object of a kind in the project, read from the floor plan also while the 3D window is
// in front.
#include "ProjectHost.hpp"

#include "elements/AddOnObjects.hpp"
#include "elements/BaseCls.hpp"
#include "elements/ElemDataRecord.hpp"
#include "foundation/SelectionHelpers.hpp"

#include <algorithm>
#include <random>
#include <vector>

namespace add_on_picks_test {

class AddOnPicksTest : public ProjectHostTest {
protected:
    void SetUp() override {
        ProjectHostTest::SetUp();
        std::string why;
        ASSERT_TRUE(host->AddLibraryFolder(TestSupport::BinDir() + "/library", &why)) << why;
        road = host->Project().libraries.FindByName("VY_ROAD", 0);
        ASSERT_GT(road, 0);
    }
    API_Guid PlacePolyline(const std::string& name) {
        API_Guid g = {};
        EXPECT_EQ(Db().PlacePolygonElement(API_PolyLineID, {{0, 0, 0}, {5, 0, 0}, {5, 5, 0}}, false, 1, name, &g),
                  NoError);
        return g;
    }
    API_Guid PlaceTerrain(const std::string& name) {
        const API_Guid g = PlaceMesh(name);
        ElemDescriptor d;
        d.TerrainGuid = QV_String("t");
        EXPECT_EQ(Command([&] { return ElemUserData_WriteRecord(d, 4, Db().Find(g)->record.header) ? NoError : -1; }),
                  NoError);
        return g;
    }
    template <typename T, typename GuidOf>
    static std::vector<API_Guid> Guids(const QV_List<T>& list, GuidOf guidOf) {
        std::vector<API_Guid> out;
        for (int32_t i = 0; i < list.GetCount(); ++i) out.push_back(guidOf(list[i]));
        return out;
    }
    static std::vector<API_Guid> Guids(const QV_List<API_Element>& list) {
        return Guids(list, [](const API_Element& e) { return e.header.guid; });
    }
    int32_t road = 0;
};

TEST_F(AddOnPicksTest, SelectedObjectsOfAKindAreSortedFromTheRestOfTheSelection) {
    const API_Guid r1 = PlaceObject(API_ObjectID, road, "r1");
    const API_Guid plain = PlaceObject(API_ObjectID, libA, "plain");
    const API_Guid r2 = PlaceObject(API_ObjectID, road, "r2");
    const API_Guid line = PlacePolyline("line");
    PlaceObject(API_ObjectID, road, "unselected");

    QV_List<API_Element> picked;
    EXPECT_EQ(CountSelection(0, false, Leave3D::No), 0);  // nothing selected is a count, not a failure
    ASSERT_TRUE(PickElements(6, API_ObjectID, false, Leave3D::No, picked, true));
    EXPECT_EQ(picked.GetCount(), 0);

    Select({r1, plain, r2, line});
    ASSERT_TRUE(PickElements(6, API_ObjectID, false, Leave3D::No, picked, true));
    EXPECT_EQ(Guids(picked), (std::vector<API_Guid>{r1, r2}));
    ASSERT_TRUE(PickElements(6, API_ObjectID, false, Leave3D::No, picked, false));  // appends without clear
    EXPECT_EQ(picked.GetCount(), 4);

    QV_List<API_Element> lines;
    ASSERT_TRUE(CollectSelection(lines, true, API_PolyLineID, false, Leave3D::No));
    EXPECT_EQ(Guids(lines), (std::vector<API_Guid>{line}));
    QV_List<API_Elem_Head> heads;
    ASSERT_TRUE(CollectSelectionHeads(heads, true, 0, false, Leave3D::No));
    EXPECT_EQ(heads.GetCount(), 4);
    EXPECT_EQ(CountSelection(API_ObjectID, false, Leave3D::No), 3);
    EXPECT_EQ(CountSelection(API_ObjectID, false, Leave3D::No, road), 2);

    ASSERT_TRUE(host->FailCall("Selection_Get", -1, APIERR_GENERAL));
    EXPECT_EQ(CountSelection(0, false, Leave3D::No), -1);
    ASSERT_TRUE(host->FailCall("Selection_Get", -1, APIERR_GENERAL));
    EXPECT_FALSE(PickElements(6, API_ObjectID, false, Leave3D::No, picked, true));
    host->ClearFailures();
    // A part the host cannot name is no part of another kind: the pick fails rather than find no road.
    ASSERT_TRUE(host->FailCall("LibPart_Get", -1, APIERR_GENERAL));
    EXPECT_FALSE(PickElements(6, API_ObjectID, false, Leave3D::No, picked, true));
    EXPECT_FALSE(CollectAddOnObjects(6, API_ObjectID, Leave3D::No, picked));
}

TEST_F(AddOnPicksTest, ProjectObjectsAreFoundFromEitherWindowAndThe3DWindowStaysInFront) {
    const API_Guid t1 = PlaceTerrain("t1");
    PlaceMesh("plain mesh");
    const API_Guid r1 = PlaceObject(API_ObjectID, road, "r1");

    for (const int32_t window : {APIWind_FloorPlanID, APIWind_3DModelID}) {
        Window(window);
        QV_List<API_Element> terrains;
        ASSERT_TRUE(CollectAddOnObjects(4, API_MeshID, Leave3D::Yes, terrains));
        EXPECT_EQ(Guids(terrains), (std::vector<API_Guid>{t1}));
        QV_List<API_Elem_Head> heads;
        ASSERT_TRUE(CollectAddOnObjectHeads(4, API_MeshID, Leave3D::Yes, heads));
        EXPECT_EQ(Guids(heads, [](const API_Elem_Head& h) { return h.guid; }), (std::vector<API_Guid>{t1}));
        QV_List<ElemEntry> entries;  // kinds gathered in turn into one list
        ASSERT_TRUE(CollectAddOnObjectsLayered(4, API_MeshID, Leave3D::Yes, entries));
        ASSERT_TRUE(CollectAddOnObjectsLayered(6, API_ObjectID, Leave3D::Yes, entries));
        ASSERT_EQ(entries.GetCount(), 2);
        EXPECT_EQ(entries[0].kind, 4);
        EXPECT_EQ(entries[1].kind, 6);
        EXPECT_EQ(entries[1].element.header.guid, r1);
        EXPECT_EQ(IsCurrentWindow3D(), window == APIWind_3DModelID);
        API_DatabaseInfo db = {};
        ASSERT_EQ(ACAPI_Database(APIDb_GetCurrentDatabaseID, &db), NoError);
        EXPECT_EQ(db.typeID, window);
    }

    // Leaving the 3D window fails when the floor plan's database cannot be made current.
    ASSERT_TRUE(host->FailCall("Database", int32_t(API_Selector("CDAT")), APIERR_GENERAL));
    QV_List<API_Element> terrains;
    EXPECT_FALSE(CollectAddOnObjects(4, API_MeshID, Leave3D::Yes, terrains));
    EXPECT_EQ(terrains.GetCount(), 0);
    // A listed element that cannot be read is a failure, not an empty project.
    ASSERT_TRUE(host->FailCall("Element_Get", -1, APIERR_GENERAL));
    EXPECT_FALSE(CollectAddOnObjects(4, API_MeshID, Leave3D::Yes, terrains));
    ASSERT_TRUE(host->FailCall("Element_GetElemList", -1, APIERR_GENERAL));
    EXPECT_FALSE(CollectAddOnObjects(4, API_MeshID, Leave3D::No, terrains));
}

TEST_F(AddOnPicksTest, ObjectsOfSeveralKindsInOneWalkAreThoseOfOneWalkPerKind) {
    // Parts of five kinds and a plain one, placed in a random order; any choice of kinds in any order.
    std::vector<int32_t> parts = {road, libA};
    for (const char* name : {"VY_PLATEAU", "VY_CONTOURLINES", "VY_BUILDING", "VY_SLOPED_PLATEAU"}) {
        parts.push_back(host->Project().libraries.FindByName(name, 0));
        ASSERT_GT(parts.back(), 0) << name;
    }
    std::mt19937 rng(5);
    for (int i = 0; i < 40; ++i) PlaceObject(API_ObjectID, parts[rng() % parts.size()], "o" + std::to_string(i));
    PlaceTerrain("t1");
    const auto same = [](const QV_List<ElemEntry>& a, const QV_List<ElemEntry>& b) {
        if (a.GetCount() != b.GetCount()) return false;
        for (int32_t i = 0; i < a.GetCount(); ++i)
            if (a[i].kind != b[i].kind || a[i].element.header.guid != b[i].element.header.guid) return false;
        return true;
    };
    std::vector<int32_t> all = {6, 7, 19, 11, 8, 5, 9, 10, 15, 12, 4};
    for (int round = 0; round < 30; ++round) {
        std::shuffle(all.begin(), all.end(), rng);
        const size_t n = 1 + rng() % all.size();
        const API_ElemTypeID type = round % 5 == 4 ? API_MeshID : API_ObjectID;
        Window(round % 2 == 0 ? APIWind_FloorPlanID : APIWind_3DModelID);
        QV_List<ElemEntry> oneWalk, perKind;
        ASSERT_TRUE(CollectAddOnObjectsOfKinds(all.data(), n, type, Leave3D::Yes, oneWalk));
        for (size_t k = 0; k < n; ++k) ASSERT_TRUE(CollectAddOnObjectsLayered(all[k], type, Leave3D::Yes, perKind));
        EXPECT_TRUE(same(oneWalk, perKind)) << "round " << round;
    }
    // A listed element that cannot be read is a failure, as for one kind.
    Window(APIWind_FloorPlanID);
    ASSERT_TRUE(host->FailCall("Element_Get", -1, APIERR_GENERAL));
    QV_List<ElemEntry> entries;
    EXPECT_FALSE(CollectAddOnObjectsOfKinds(all.data(), all.size(), API_ObjectID, Leave3D::No, entries));
}

}  // namespace add_on_picks_test
