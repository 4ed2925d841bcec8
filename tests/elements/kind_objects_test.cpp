// The add-on's objects of one kind on the stand-in project: collecting them by library part or data record, and
// selecting the "result" objects of a kind with their layers opened and restored.
#include "ProjectHost.hpp"

#include "elements/ElemDataRecord.hpp"
#include "elements/KindObjects.hpp"
#include "elements/AddOnObjects.hpp"

#include "MemoryDriver.hpp"

#include <algorithm>
#include <cstring>

namespace kind_objects_test {

class KindObjectsTest : public ProjectHostTest {
protected:
    void SetUp() override {
        ProjectHostTest::SetUp();
        std::string why;
        ASSERT_TRUE(host->AddLibraryFolder(TestSupport::BinDir() + "/library", &why)) << why;
        road = host->Project().libraries.FindByName("VY_ROAD", 0);
        basin = host->Project().libraries.FindByName("VY_BASIN", 0);
        ASSERT_GT(road, 0);
        ASSERT_GT(basin, 0);
    }
    // An object whose "operatore" reads `op`.
    API_Guid Feature(int32_t lib, const char* op, const std::string& name, int32_t layer = 1) {
        const API_Guid g = PlaceObject(API_ObjectID, lib, name, layer);
        StoredElement* e = Db().FindMutable(g);
        EXPECT_TRUE(e != nullptr && e->memo->params);
        for (StoredParam& p : *e->memo.Mutable().params)
            if (std::strcmp(p.record.name, "operatore") == 0) {
                std::memset(p.record.value.uStr, 0, sizeof p.record.value.uStr);
                for (size_t i = 0; op[i] != '\0'; ++i) p.record.value.uStr[i] = char16_t(op[i]);
            }
        return g;
    }
    static std::vector<API_Guid> Guids(const QV_List<API_Element>& list) {
        std::vector<API_Guid> out;
        for (const API_Element& e : list) out.push_back(e.header.guid);
        return out;
    }
    int32_t road = 0;
    int32_t basin = 0;
};

TEST_F(KindObjectsTest, ObjectsOfAKindAreFoundByTheirLibraryPartOrTheirRecord) {
    EXPECT_EQ(ElemKindOfLibPartName(QV_String("vy_sloped_plateau")), 7);
    EXPECT_EQ(ElemKindOfLibPartName(QV_String("VY_RAILWAY")), 21);
    EXPECT_EQ(ElemKindOfLibPartName(QV_String("PART_A")), 0);

    const API_Guid r1 = Feature(road, "result", "r1");
    Feature(basin, "result", "b1");
    PlaceObject(API_ObjectID, libA, "a1");
    const API_Guid r2 = Feature(road, "cut", "r2");
    QV_List<API_Element> found;
    ASSERT_EQ(CollectAddOnObjects(6, API_ObjectID, 0, found), 1);
    EXPECT_EQ(Guids(found), (std::vector<API_Guid>{r1, r2}));
    ASSERT_EQ(CollectAddOnObjects(16, API_ObjectID, 0, found), 1);
    EXPECT_EQ(found.GetCount(), 0);

    // Meshes: the terrain's data record tells.
    const API_Guid terrain = PlaceMesh("terrain");
    PlaceMesh("plain");
    ElemDescriptor d;
    d.TerrainGuid = QV_String("x");
    ASSERT_EQ(Command([&] { return ElemUserData_WriteRecord(d, 4, Db().Find(terrain)->record.header) ? NoError : -1; }),
              NoError);
    ASSERT_EQ(CollectAddOnObjects(4, API_MeshID, 0, found), 1);
    EXPECT_EQ(Guids(found), (std::vector<API_Guid>{terrain}));

    ASSERT_TRUE(host->FailCall("Element_Get", -1, APIERR_GENERAL));
    EXPECT_EQ(CollectAddOnObjects(6, API_ObjectID, 0, found), 0);
    EXPECT_EQ(found.GetCount(), 0);
}

TEST_F(KindObjectsTest, EveryResultObjectIsSelectedThroughItsOpenedLayer) {
    const int32_t closed = Layer("Closed", 0);
    const API_Guid r1 = Feature(road, "result", "r1", closed);
    const API_Guid c1 = Feature(road, "cut", "c1");
    const API_Guid r2 = Feature(road, "result", "r2");
    const API_Guid other = Feature(basin, "result", "basin");
    Layer("Closed", APILay_Hidden | APILay_Locked);
    Select({other});

    QV_List<API_Element> elements;
    ASSERT_TRUE(SelectResultObjects(elements, 6));
    EXPECT_EQ(Guids(elements), (std::vector<API_Guid>{r1, r2}));
    EXPECT_EQ(LayerFlagsOf(closed), APILay_Hidden | APILay_Locked);
    // r1 was selected while its layer was open: it shows once the user shows the layer.
    Layer("Closed", 0);
    const std::vector<API_Guid> selected = Db().Selection();
    EXPECT_EQ(selected, (std::vector<API_Guid>{other, r1, r2}));
    EXPECT_EQ(std::count(selected.begin(), selected.end(), c1), 0);

    // Kinds without an operator have no result objects.
    ASSERT_TRUE(SelectResultObjects(elements, 12));
    EXPECT_EQ(elements.GetCount(), 0);
}

TEST_F(KindObjectsTest, TheFloorPlanIsReadFromThe3DWindowAndFailuresStopBeforeSelecting) {
    const API_Guid r1 = Feature(road, "result", "r1");
    Window(APIWind_3DModelID);
    ASSERT_EQ(Db().CurrentDatabaseType(), APIWind_3DModelID);
    QV_List<API_Element> elements;
    ASSERT_TRUE(SelectResultObjects(elements, 6));
    EXPECT_EQ(Guids(elements), (std::vector<API_Guid>{r1}));
    EXPECT_EQ(Db().CurrentDatabaseType(), APIWind_3DModelID);
    Db().DeselectAll();

    ASSERT_TRUE(host->FailCall("Database", int32_t(API_Selector("CDAT")), APIERR_GENERAL));
    EXPECT_FALSE(SelectResultObjects(elements, 6));
    host->ClearFailures();
    ASSERT_TRUE(host->FailCall("Element_GetMemo", -1, APIERR_GENERAL));
    EXPECT_FALSE(SelectResultObjects(elements, 6));
    EXPECT_EQ(elements.GetCount(), 0);
    host->ClearFailures();
    EXPECT_TRUE(Db().Selection().empty());
    EXPECT_EQ(Db().CurrentDatabaseType(), APIWind_3DModelID);
}

}  // namespace kind_objects_test
