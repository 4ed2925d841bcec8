// The element data record stored as element user data on the stand-in project database.
#include "ProjectHost.hpp"
#include "MemoryDriver.hpp"
#include "elements/ElemDataRecord.hpp"

#include <cstring>
#include <string>
#include <vector>

namespace elem_user_data_test {

class ElemUserDataTest : public ProjectHostTest {
protected:
    void SetUp() override {
        ProjectHostTest::SetUp();
        handles = MemoryDriver::LiveHandleCount();
    }
    void TearDown() override {
        EXPECT_EQ(MemoryDriver::LiveHandleCount(), handles);  // every handle made or fetched is released
        ProjectHostTest::TearDown();
    }

    API_Elem_Head Head(const API_Guid& guid) { return Db().Find(guid)->record.header; }

    // The stored user data as the host keeps it (empty when there is none).
    std::string Stored(const API_Guid& guid) {
        const StoredElement* e = Db().Find(guid);
        if (e == nullptr || !e->userData) return std::string();
        return e->userData->bytes.str();
    }
    // Stores raw bytes as the element's user data, as an earlier release did.
    void StoreRaw(const API_Guid& guid, const std::string& bytes) {
        GSHandle h = BMAllocateHandle(GSSize(bytes.size()), 0, 0);
        std::memcpy(*h, bytes.data(), bytes.size());
        const API_ElementUserData data = {2, APIUserData_PlatformSign, 0, h};
        const API_Elem_Head head = Head(guid);
        ASSERT_EQ(Command([&] { return ACAPI_Element_SetUserData(&head, &data); }), NoError);
        BMKillHandle(&h);
    }
    bool Write(const ElemDescriptor& d, int32_t kind, const API_Guid& guid) {
        const API_Elem_Head head = Head(guid);
        bool ok = false;
        Command([&] {
            ok = ElemUserData_WriteRecord(d, kind, head);
            return NoError;
        });
        return ok;
    }
    bool Rewrite(const ElemDescriptor& d, int32_t kind, const API_Guid& guid) {
        const API_Elem_Head head = Head(guid);
        bool ok = false;
        Command([&] {
            ok = ElemUserData_RewriteRecord(d, kind, head);
            return NoError;
        });
        return ok;
    }

    int64_t handles = 0;
};

ElemDescriptor RoadDescriptor() {
    ElemDescriptor d;
    d.ResultGuid = "11111111-1111-1111-1111-111111111111";
    d.FillGuid = "22222222-2222-2222-2222-222222222222";
    d.CutGuid = "33333333-3333-3333-3333-333333333333";
    d.TerrainGuid = "44444444-4444-4444-4444-444444444444";
    d.OriginalGuid = "55555555-5555-5555-5555-555555555555";
    return d;
}

TEST_F(ElemUserDataTest, WrittenAndReadBackInTheFloorPlan) {
    const API_Guid fill = PlaceFill("road outline");
    ASSERT_TRUE(Write(RoadDescriptor(), ElemKind_Road, fill));
    const std::string stored = Stored(fill);
    ASSERT_EQ(stored.size(), 650u);
    EXPECT_EQ(stored[0], 'C');
    EXPECT_EQ(std::string(stored.c_str() + 203), "11111111-1111-1111-1111-111111111111");
    const StoredElement* e = Db().Find(fill);
    EXPECT_EQ(e->userData->dataVersion, 2);
    EXPECT_EQ(e->userData->platformSign, 0x5757);
    EXPECT_EQ(e->userData->flags, 0u);

    const API_Elem_Head head = Head(fill);
    ElemDescriptor back;
    ASSERT_TRUE(ElemUserData_Read(back, ElemKind_Road, head));
    EXPECT_EQ(back.CutGuid.ToStdString(), "33333333-3333-3333-3333-333333333333");
    EXPECT_EQ(back.OriginalGuid.ToStdString(), "55555555-5555-5555-5555-555555555555");
    ASSERT_TRUE(ElemUserData_ReadFromElement(back, ElemKind_Road, head, true));
    EXPECT_EQ(back.TerrainGuid.ToStdString(), "44444444-4444-4444-4444-444444444444");
    EXPECT_FALSE(ElemUserData_Read(back, ElemKind_Plateau, head));  // 'C' is not 'D'
    EXPECT_TRUE(back.ResultGuid.IsEmpty());

    API_ElementUserData data = {};
    ASSERT_EQ(ACAPI_Element_GetUserData(&head, &data), NoError);
    EXPECT_TRUE(ElemUserData_ReadRecord(back, ElemKind_Road, data));
    EXPECT_FALSE(ElemUserData_ReadRecord(back, ElemKind_Railway, data));
    BMKillHandle(&data.dataHdl);
    EXPECT_FALSE(ElemUserData_ReadRecord(back, ElemKind_Road, data));  // no handle
}

TEST_F(ElemUserDataTest, RefusedOutsideACommandAndForKindsWithoutTag) {
    const API_Guid fill = PlaceFill("f");
    const API_Elem_Head head = Head(fill);
    EXPECT_FALSE(ElemUserData_WriteRecord(RoadDescriptor(), ElemKind_Road, head));  // no undoable command
    EXPECT_EQ(Stored(fill), "");

    ASSERT_TRUE(Write(RoadDescriptor(), ElemKind_Road, fill));
    const std::string before = Stored(fill);
    for (int32_t kind : {0, 17, 22}) {
        EXPECT_FALSE(Write(RoadDescriptor(), kind, fill)) << kind;
        EXPECT_FALSE(Rewrite(RoadDescriptor(), kind, fill)) << kind;
        EXPECT_EQ(Stored(fill), before) << kind;  // the old record is untouched
    }
}

TEST_F(ElemUserDataTest, FromThe3DWindowThroughTheFloorPlan) {
    const API_Guid mesh = PlaceMesh("terrain");
    Window(APIWind_3DModelID);
    ASSERT_EQ(Db().CurrentDatabaseType(), APIWind_3DModelID);
    ElemDescriptor d;
    d.OwnGuid.ConvertFromString("9A8B7C6D-0000-4000-8000-00000000ABCD");
    d.Serial = 12;
    d.Level1 = 1234.5678;
    ASSERT_TRUE(Write(d, ElemKind_Terrain, mesh));
    EXPECT_EQ(Db().CurrentDatabaseType(), APIWind_3DModelID);  // switched back
    EXPECT_EQ(std::string(Stored(mesh).c_str() + 53), "9A8B7C6D-0000-4000-8000-00000000ABCD_");

    const API_Elem_Head head = Head(mesh);
    ElemDescriptor back;
    EXPECT_FALSE(ElemUserData_Read(back, ElemKind_Terrain, head));  // the 3D model's database holds no user data
    ASSERT_TRUE(ElemUserData_ReadFromElement(back, ElemKind_Terrain, head, true));
    EXPECT_EQ(back.Level1, 1234.5678);
    EXPECT_EQ(Db().CurrentDatabaseType(), APIWind_3DModelID);
    ASSERT_TRUE(back.FromElement(ElemKind_Terrain, head, true));
    EXPECT_EQ(back.TerrainId.ToStdString(), "9A8B7C6D-0000-4000-8000-00000000ABCD_");
    EXPECT_FALSE(back.FromElement(ElemKind_Terrain, head, false));

    // A failing switch ends the operation before anything is read or written.
    ASSERT_TRUE(host->FailCall("Database", int32_t(API_Selector("CDAT")), APIERR_GENERAL));
    EXPECT_FALSE(ElemUserData_ReadFromElement(back, ElemKind_Terrain, head, true));
    EXPECT_FALSE(Write(ElemDescriptor(), ElemKind_Terrain, mesh));
    host->ClearFailures();
    EXPECT_EQ(std::string(Stored(mesh).c_str() + 53), "9A8B7C6D-0000-4000-8000-00000000ABCD_");
}

TEST_F(ElemUserDataTest, DescriptorFromElement) {
    const API_Guid fill = PlaceFill("f");
    const API_Elem_Head head = Head(fill);
    ElemDescriptor d = RoadDescriptor();
    EXPECT_FALSE(d.FromElement(ElemKind_Road, head, true));  // no user data
    EXPECT_TRUE(d.ResultGuid.IsEmpty());

    ASSERT_TRUE(Write(RoadDescriptor(), ElemKind_Road, fill));
    for (int32_t kind : {0, 22}) {
        d = RoadDescriptor();
        EXPECT_TRUE(d.FromElement(kind, head, true)) << kind;
        EXPECT_TRUE(d.ResultGuid.IsEmpty());
    }
    // No tag check here: the plateau's fields of a road record.
    ASSERT_TRUE(d.FromElement(ElemKind_Plateau, head, true));
    EXPECT_EQ(d.FillGuid.ToStdString(), "22222222-2222-2222-2222-222222222222");
    EXPECT_TRUE(d.OriginalGuid.IsEmpty());

    StoreRaw(fill, std::string(100, 'x'));  // not a record of ours
    EXPECT_FALSE(d.FromElement(ElemKind_Plateau, head, true));
    EXPECT_TRUE(d.FromElement(ElemKind_None, head, true));
}

TEST_F(ElemUserDataTest, OlderRecordsAreReadAndRewritten) {
    const API_Guid hotspot = PlaceHotspot("point");
    std::string old(650, '\0');
    old[0] = '1';
    std::memcpy(&old[2], "12.5", 4);
    std::memcpy(&old[28], "PZ007", 5);
    StoreRaw(hotspot, old);

    const API_Elem_Head head = Head(hotspot);
    ElemDescriptor d;
    EXPECT_FALSE(ElemUserData_ReadLegacy(d, ElemKind_Constraint, head));
    ASSERT_TRUE(ElemUserData_ReadLegacy(d, ElemKind_Point, head));
    EXPECT_EQ(d.Name.ToStdString(), "PZ");
    EXPECT_EQ(d.Number, 7);
    EXPECT_EQ(d.Value, 12.5);

    ASSERT_TRUE(Rewrite(d, ElemKind_Point, hotspot));
    const std::string now = Stored(hotspot);
    ASSERT_EQ(now.size(), 650u);
    EXPECT_EQ(std::string(now.c_str() + 1), "12.5");
    EXPECT_EQ(std::string(now.c_str() + 27), "PZ007");  // the digits stay with the name
    ElemDescriptor back;
    ASSERT_TRUE(ElemUserData_Read(back, ElemKind_Point, head));
    EXPECT_EQ(back.Number, 7);

    // A legacy terrain record keeps its identifier as it was.
    const API_Guid mesh = PlaceMesh("terrain");
    std::string oldTerrain(40, '\0');
    oldTerrain[0] = '5';
    std::memcpy(&oldTerrain[28], "T-OLD_", 6);
    StoreRaw(mesh, oldTerrain);
    ASSERT_TRUE(ElemUserData_ReadLegacy(d, ElemKind_Terrain, Head(mesh)));
    ASSERT_TRUE(Rewrite(d, ElemKind_Terrain, mesh));
    EXPECT_EQ(std::string(Stored(mesh).c_str() + 53), "T-OLD_");
}

TEST_F(ElemUserDataTest, AFailedRewritePutsTheOldRecordBack) {
    const API_Guid fill = PlaceFill("f");
    ASSERT_TRUE(Write(RoadDescriptor(), ElemKind_Road, fill));
    const std::string before = Stored(fill);

    // The 3D window in front with the floor plan's database current: the road's record is stored through a
    // switch to the floor plan, which fails here.
    Window(APIWind_3DModelID);
    API_DatabaseInfo plan = {};
    plan.typeID = APIWind_FloorPlanID;
    ASSERT_EQ(Db().ChangeDatabase(plan), NoError);
    ASSERT_TRUE(host->FailCall("Database", int32_t(API_Selector("CDAT")), APIERR_GENERAL));
    ElemDescriptor other = RoadDescriptor();
    other.CutGuid = "66666666-6666-6666-6666-666666666666";
    EXPECT_FALSE(Rewrite(other, ElemKind_Road, fill));
    EXPECT_EQ(Stored(fill), before);

    // A refused store keeps the old record whole; the rewrite never needs the old one deleted.
    host->ClearFailures();
    Window(APIWind_FloorPlanID);
    ASSERT_TRUE(host->FailCall("Element_SetUserData", -1, APIERR_GENERAL));
    EXPECT_FALSE(Rewrite(other, ElemKind_Road, fill));
    EXPECT_EQ(Stored(fill), before);
    host->ClearFailures();
    ASSERT_TRUE(host->FailCall("Element_DeleteUserData", -1, APIERR_GENERAL));
    EXPECT_TRUE(Rewrite(other, ElemKind_Road, fill));
    host->ClearFailures();
    EXPECT_TRUE(Rewrite(other, ElemKind_Road, fill));
    EXPECT_EQ(std::string(Stored(fill).c_str() + 303), "66666666-6666-6666-6666-666666666666");
}

TEST_F(ElemUserDataTest, MemoryFailureStoresNothing) {
    MemoryDriver::ScopedReset reset;
    const API_Guid fill = PlaceFill("f");
    ASSERT_TRUE(Write(RoadDescriptor(), ElemKind_Road, fill));
    const std::string before = Stored(fill);
    ElemDescriptor other = RoadDescriptor();
    other.FillGuid = "77777777-7777-7777-7777-777777777777";
    const API_Elem_Head head = Head(fill);
    bool ok = true;
    Command([&] {
        MemoryDriver::FailNextAllocations(1);  // the record's handle
        ok = ElemUserData_RewriteRecord(other, ElemKind_Road, head);
        return NoError;
    });
    EXPECT_FALSE(ok);
    EXPECT_EQ(Stored(fill), before);
}

}  // namespace elem_user_data_test
