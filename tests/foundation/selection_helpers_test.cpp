// Selection, window and toolbox helpers on the stand-in project database.
#include "ProjectHost.hpp"
#include "MemoryDriver.hpp"
#include "foundation/SelectionHelpers.hpp"
#include "foundation/ElemNeig.hpp"

#include <filesystem>

namespace selection_helpers_test {

class SelectionHelpersTest : public ProjectHostTest {};

TEST_F(SelectionHelpersTest, TheFrontWindowDecidesAndAFailedQueryIsNot3D) {
    EXPECT_FALSE(IsCurrentWindow3D());
    Window(APIWind_3DModelID);
    EXPECT_TRUE(IsCurrentWindow3D());
    host->FailCall("Database", int32_t(API_Selector("GWIN")), APIERR_GENERAL);
    EXPECT_FALSE(IsCurrentWindow3D());
}

TEST_F(SelectionHelpersTest, EnsureFloorPlanClearsTheSelectionOnlyAfterASwitch) {
    const API_Guid a = PlaceFill("A");
    Select({a});
    EXPECT_TRUE(EnsureFloorPlanWindow(true));
    EXPECT_EQ(Db().Selection().size(), 1u);  // in front already: nothing happens

    Window(APIWind_3DModelID);
    EXPECT_TRUE(EnsureFloorPlanWindow(false));
    EXPECT_EQ(Db().FrontWindowType(), APIWind_FloorPlanID);
    EXPECT_EQ(Db().CurrentDatabaseType(), APIWind_FloorPlanID);
    EXPECT_EQ(Db().Selection().size(), 1u);

    Window(APIWind_3DModelID);
    EXPECT_TRUE(EnsureFloorPlanWindow(true));
    EXPECT_TRUE(Db().Selection().empty());

    Select({a});
    EXPECT_TRUE(Ensure3DWindow(true));
    EXPECT_EQ(Db().FrontWindowType(), APIWind_3DModelID);
    EXPECT_TRUE(Db().Selection().empty());
    Select({a});
    EXPECT_TRUE(Ensure3DWindow(true));
    EXPECT_EQ(Db().Selection().size(), 1u);

    host->FailCall("Automate", int32_t(API_Selector("CHWD")), APIERR_GENERAL);
    EXPECT_FALSE(EnsureFloorPlanWindow(true));
    EXPECT_EQ(Db().FrontWindowType(), APIWind_3DModelID);
    EXPECT_EQ(Db().Selection().size(), 1u);  // a failed switch clears nothing
}

TEST_F(SelectionHelpersTest, ObjectDefaultsSwitchTheToolboxAndAlwaysSwitchBack) {
    API_ToolBoxItem fill = {API_HatchID, 0, {0, 0}};
    ASSERT_EQ(Db().SetToolBox(fill), NoError);
    API_Element defaults = {};
    defaults.header.typeID = API_ObjectID;
    defaults.object.libInd = 12;
    API_Element mask = {};
    mask.object.libInd = -1;
    StoredMemo memo;
    memo.params = std::vector<StoredParam>(3);
    API_ElementMemo api = {};
    ASSERT_EQ(WriteApiMemo(memo, APIMemoMask_All, &api), NoError);
    ASSERT_EQ(Db().ChangeDefaults(defaults, &api, &mask), NoError);
    DisposeApiMemo(&api);

    API_Element e;
    std::memset(&e, 0x5A, sizeof e);
    API_ElementMemo got;
    std::memset(&got, 0, sizeof got);
    ASSERT_TRUE(GetObjectDefaults(e, &got));
    EXPECT_EQ(e.header.typeID, API_ObjectID);
    EXPECT_EQ(e.object.libInd, 12);
    ASSERT_NE(got.params, nullptr);
    EXPECT_EQ(BMGetHandleSize(reinterpret_cast<GSConstHandle>(got.params)), 3 * 1600);
    ACAPI_DisposeElemMemoHdls(&got);
    API_ToolBoxItem now = {};
    Db().GetToolBox(&now);
    EXPECT_EQ(now.typeID, API_HatchID);

    ASSERT_TRUE(GetObjectDefaults(e, nullptr));  // no memo asked

    host->FailCall("Element_GetDefaults", -1, APIERR_GENERAL);
    EXPECT_FALSE(GetObjectDefaults(e, nullptr));
    Db().GetToolBox(&now);
    EXPECT_EQ(now.typeID, API_HatchID);  // put back after the failure too
    host->ClearFailures();
    host->FailCall("Environment", -1, APIERR_GENERAL);
    EXPECT_FALSE(GetObjectDefaults(e, nullptr));
    host->ClearFailures();

    SelectToolbox18();
    ASSERT_EQ(Db().SetToolBox({API_ObjectID, 0, {0, 0}}), NoError);
    SelectToolbox18();
    Db().GetToolBox(&now);
    EXPECT_EQ(now.typeID, API_HatchID);
}

TEST_F(SelectionHelpersTest, AnEmptySelectionIsSuccessEitherWayAndTheMarqueeIsKilled) {
    ElemSelection sel;
    API_Element dummy = {};
    sel.elements.Insert(dummy);
    sel.heads.Insert(dummy.header);
    const int64_t handles = MemoryDriver::LiveHandleCount();
    EXPECT_TRUE(GetSelectedElements(sel, false, nullptr, false, false, 0));
    EXPECT_EQ(sel.heads.GetCount(), 1);  // left as it was
    Db().emptySelectionIsError = false;
    EXPECT_TRUE(GetSelectedElements(sel, true, nullptr, false, false, 0));
    EXPECT_EQ(sel.heads.GetCount(), 0);
    EXPECT_EQ(sel.elements.GetCount(), 0);
    EXPECT_EQ(MemoryDriver::LiveHandleCount(), handles);

    host->FailCall("Selection_Get", -1, APIERR_GENERAL);
    EXPECT_FALSE(GetSelectedElements(sel, true, nullptr, false, false, 0));
}

TEST_F(SelectionHelpersTest, TypeAndLibraryPartFiltersKeepSelectionOrder) {
    const API_Guid wall = [&] {
        API_Element w = {};
        w.header.typeID = API_WallID;
        Db().GetDefaults(&w, nullptr);
        StoredMemo m;
        m.coords = std::vector<API_Coord>{{0, 0}, {0, 0}, {1, 0}};
        m.pends = std::vector<int32_t>{0, 2};
        w.wall.poly = {2, 1, 0, 0};
        EXPECT_EQ(Db().PlaceElement(&w, m, "W", "w"), NoError);
        return w.header.guid;
    }();
    const API_Guid obj12 = PlaceObject(API_ObjectID, libA, "O12");
    const API_Guid obj7 = PlaceObject(API_ObjectID, libB, "O7");
    const API_Guid lamp12 = PlaceObject(API_LampID, libA, "L12");
    const API_Guid door12 = PlaceObject(API_DoorID, libA, "D12");
    const API_Guid fill = PlaceFill("F");
    Select({lamp12, wall, obj7, fill, obj12, door12});

    ElemSelection sel;
    const API_ElemTypeID objects = API_ObjectID;
    ASSERT_TRUE(GetSelectedElements(sel, true, &objects, false, false, 0));
    ASSERT_EQ(sel.elements.GetCount(), 2);
    EXPECT_EQ(sel.elements[0].header.guid, obj7);
    EXPECT_EQ(sel.heads[1].guid, obj12);
    EXPECT_EQ(sel.elements[1].object.libInd, libA);

    ASSERT_TRUE(GetSelectedElements(sel, true, nullptr, false, false, libA));
    ASSERT_EQ(sel.heads.GetCount(), 3);
    EXPECT_EQ(sel.heads[0].guid, lamp12);
    EXPECT_EQ(sel.heads[1].guid, obj12);
    EXPECT_EQ(sel.heads[2].guid, door12);

    const API_ElemTypeID all = 0;
    ASSERT_TRUE(GetSelectedElements(sel, false, &all, false, false, 0));
    EXPECT_EQ(sel.heads.GetCount(), 3 + 6);  // appended
    for (int32_t i = 0; i < sel.heads.GetCount(); ++i)
        EXPECT_EQ(sel.heads[i].guid, sel.elements[i].header.guid) << i;  // parallel
}

TEST_F(SelectionHelpersTest, OnlyEditableLeavesLockedLayersOut) {
    const int32_t locked = Layer("Locked", 0);
    const API_Guid a = PlaceFill("A", locked);
    const API_Guid b = PlaceFill("B");
    Layer("Locked", APILay_Locked);
    Select({a, b});
    ElemSelection sel;
    ASSERT_TRUE(GetSelectedElements(sel, true, nullptr, true, false, 0));
    ASSERT_EQ(sel.heads.GetCount(), 1);
    EXPECT_EQ(sel.heads[0].guid, b);
    ASSERT_TRUE(GetSelectedElements(sel, true, nullptr, false, false, 0));
    EXPECT_EQ(sel.heads.GetCount(), 2);
}

TEST_F(SelectionHelpersTest, ViaFloorPlanReadsThereAndSwitchesBack) {
    const API_Guid a = PlaceFill("A");
    Select({a});
    Window(APIWind_3DModelID);
    ElemSelection sel;
    ASSERT_TRUE(GetSelectedElements(sel, true, nullptr, false, true, 0));
    EXPECT_EQ(sel.heads.GetCount(), 1);
    EXPECT_EQ(Db().CurrentDatabaseType(), APIWind_3DModelID);

    host->FailCall("Database", int32_t(API_Selector("CDAT")), APIERR_GENERAL);
    EXPECT_FALSE(GetSelectedElements(sel, true, nullptr, false, true, 0));
    EXPECT_TRUE(GetSelectedElements(sel, true, nullptr, false, false, 0));  // no switch asked
    host->ClearFailures();

    host->ClearFailures();
}

TEST_F(SelectionHelpersTest, ASelectedElementTheHostCannotReadFailsTheGatheringWhicheverItIs) {
    // Never skipped, whatever its type or place in the selection: it may be the one the command is for.
    const API_Guid a = PlaceFill("A"), b = PlaceFill("B"), c = PlaceFill("C");
    Select({a, b, c});
    const API_ElemTypeID polylines = API_PolyLineID;
    for (int32_t passes = 0; passes < 3; ++passes) {
        ElemSelection sel;
        QV_List<API_Element> list;
        ASSERT_TRUE(host->FailCallAfter("Element_Get", -1, APIERR_GENERAL, passes));
        EXPECT_FALSE(GetSelectedElements(sel, true, nullptr, false, false, 0)) << passes;
        host->ClearFailures();
        ASSERT_TRUE(host->FailCallAfter("Element_Get", -1, APIERR_GENERAL, passes));
        EXPECT_FALSE(CollectSelection(list, true, polylines, false, Leave3D::No)) << passes;  // even of another type
        host->ClearFailures();
        ASSERT_TRUE(host->FailCallAfter("Element_Get", -1, APIERR_GENERAL, passes));
        EXPECT_EQ(CountSelection(API_HatchID, false, Leave3D::No), -1) << passes;
        host->ClearFailures();
    }
    EXPECT_EQ(CountSelection(API_HatchID, false, Leave3D::No), 3);
}

// A host whose selection answer counts more elements than it hands records for.
API_Guid g_onlyRecord;
GSErrCode OverCountingSelection(API_SelectionInfo* info, GSHandle* neigs, bool) {
    std::memset(info, 0, sizeof *info);
    info->typeID = API_SelElems;
    info->sel_nElem = 5;
    info->sel_nElemEdit = 5;
    *neigs = BMAllocateHandle(sizeof(API_Neig), ALLOCATE_CLEAR, 0);
    reinterpret_cast<API_Neig*>(**neigs)->neigID = APINeig_Hatch;
    reinterpret_cast<API_Neig*>(**neigs)->guid = g_onlyRecord;
    return NoError;
}

TEST_F(SelectionHelpersTest, TheHostsCountNeverReadsPastItsRecords) {
    g_onlyRecord = PlaceFill("A");
    API_HostFunctionTable table = host->Table();
    table.Selection_Get = OverCountingSelection;
    ASSERT_EQ(SetImportedFuncAddrs(&table), NoError);
    ElemSelection sel;
    EXPECT_TRUE(GetSelectedElements(sel, true, nullptr, false, false, 0));
    ASSERT_EQ(sel.heads.GetCount(), 1);
    EXPECT_EQ(sel.heads[0].guid, g_onlyRecord);
}

TEST_F(SelectionHelpersTest, SelectElementSkipsElementsWithoutARecord) {
    const API_Guid a = PlaceFill("A");
    const API_Guid b = PlaceHotspot("B");
    API_Element e = {};
    e.header.guid = a;
    ASSERT_EQ(ACAPI_Element_Get(&e), NoError);
    EXPECT_TRUE(SelectElement(e, false));
    e.header.guid = b;
    e.header.typeID = API_HotspotID;
    EXPECT_TRUE(SelectElement(e, true));
    EXPECT_EQ(Db().Selection().size(), 2u);
    EXPECT_TRUE(SelectElement(e, false));
    EXPECT_EQ(Db().Selection().size(), 1u);

    API_Element odd = {};
    odd.header.typeID = 40;  // no selection record
    EXPECT_TRUE(SelectElement(odd, false));
    EXPECT_EQ(Db().Selection().size(), 1u);
    e.header.guid.time_low = 0xBAD;
    EXPECT_FALSE(SelectElement(e, false));
}

TEST_F(SelectionHelpersTest, NeigHandlesHoldOneRecordPerConvertibleElement) {
    QV_List<API_Element> elements;
    API_Element e = {};
    e.header.typeID = API_ObjectID;
    e.header.guid.time_low = 1;
    elements.Insert(e);
    e.header.typeID = 40;
    e.header.guid.time_low = 2;
    elements.Insert(e);
    e.header.typeID = API_MeshID;
    e.header.guid.time_low = 3;
    elements.Insert(e);
    GSHandle h = nullptr;
    ASSERT_TRUE(MakeNeigHandleFromElements(elements, &h));
    ASSERT_EQ(BMGetHandleSize(h), GSSize(2 * sizeof(API_Neig)));
    const API_Neig* n = reinterpret_cast<const API_Neig*>(*h);
    EXPECT_EQ(n[0].neigID, APINeig_Symb);
    EXPECT_EQ(n[1].guid.time_low, 3u);
    EXPECT_EQ(n[1].neigID, APINeig_Mesh);
    BMKillHandle(&h);

    QV_List<API_Elem_Head> heads;
    ASSERT_TRUE(MakeNeigHandleFromHeads(heads, &h));
    EXPECT_EQ(BMGetHandleSize(h), 0);
    BMKillHandle(&h);
    heads.Insert(elements[0].header);
    {
        MemoryDriver::ScopedReset reset;
        MemoryDriver::FailNextAllocations(1);
        EXPECT_FALSE(MakeNeigHandleFromHeads(heads, &h));
        EXPECT_EQ(h, nullptr);
    }
    API_Neig neig;
    EXPECT_FALSE(ElemHeadToNeig(&neig, &elements[1].header));
    EXPECT_EQ(neig.neigID, APINeig_None);
    EXPECT_TRUE(ElemHeadToNeig(&neig, &elements[2].header));
    EXPECT_EQ(neig.flags, APINeigFlg_Whole);
}

TEST_F(SelectionHelpersTest, DeleteFileByPathDeletesInTheFolderOfTheRest) {
    Touch("Lodravix_20_25.wyr");
    const std::string path = UserFile("Lodravix_20_25.wyr");
    std::string hostPath = path;
    for (char& c : hostPath)
        if (c == '/') c = '\\';
    EXPECT_TRUE(DeleteFileByPath(QV_String(hostPath.c_str())));
    EXPECT_FALSE(Exists("Lodravix_20_25.wyr"));
    EXPECT_FALSE(DeleteFileByPath(QV_String(hostPath.c_str())));  // gone already
    EXPECT_FALSE(DeleteFileByPath(QV_String("")));
    EXPECT_FALSE(DeleteFileByPath(QV_String()));
    std::filesystem::create_directory(UserFile("sub"));
    EXPECT_FALSE(DeleteFileByPath(QV_String((UserFile("nofolder") + "/x.txt").c_str())));
}

}  // namespace selection_helpers_test
