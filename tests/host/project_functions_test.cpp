// The project database reached as the module reaches it: the ACAPI_ wrappers over the host table's entries,
// selector records, failures set on purpose, undoable commands run from the module, and the script commands.
#include "InProcessHost.hpp"
#include "MemoryDriver.hpp"
#include "script/ScriptRunner.hpp"

#include <nlohmann/json.hpp>

#include <cstring>
#include <stdexcept>

namespace project_functions_test {

class ProjectFunctionsTest : public InProcessHostTest {
protected:
    void SetUp() override {
        InProcessHostTest::SetUp();
        ASSERT_TRUE(host->Attach());
    }
    ProjectDatabase& Db() { return host->Database(); }

    API_Guid Fill(const std::string& name) {
        API_Guid g = {};
        EXPECT_EQ(Db().PlacePolygonElement(API_HatchID, {{0, 0, 0}, {2, 0, 0}, {2, 2, 0}}, true, 1, name, &g), NoError);
        return g;
    }

    bool RunScript(const std::string& text, std::string* out) {
        std::ostringstream o;
        ScriptRunner runner(*host, o);
        const bool ok = runner.RunText(text, "test");
        *out = o.str();
        return ok;
    }
};

TEST_F(ProjectFunctionsTest, ElementsAreCreatedReadAndListedThroughTheWrappers) {
    API_Element e = {};
    e.header.typeID = API_HotspotID;
    ASSERT_EQ(ACAPI_Element_GetDefaults(&e, nullptr), NoError);
    e.hotspot.pos = {3, 4};
    EXPECT_EQ(ACAPI_Element_Create(&e, nullptr), APIERR_NEEDSUNDOSCOPE);
    const GSErrCode err = ACAPI_CallUndoableCommand(GS::UniString("Place"),
                                                    [&]() -> GSErrCode { return ACAPI_Element_Create(&e, nullptr); });
    ASSERT_EQ(err, NoError);
    EXPECT_EQ(Db().UndoTexts().back(), "Place");

    API_Element back = {};
    back.header.guid = e.header.guid;
    ASSERT_EQ(ACAPI_Element_Get(&back), NoError);
    EXPECT_EQ(back.hotspot.pos.y, 4.0);

    Fill("F");
    GS::Array<API_Guid> list;
    list.Push(APINULLGuid);  // emptied first
    ASSERT_EQ(ACAPI_Element_GetElemList(API_HatchID, &list), NoError);
    EXPECT_EQ(list.GetSize(), 1u);
    ASSERT_EQ(ACAPI_Element_GetElemList(API_ZombieElemID, &list), NoError);
    ASSERT_EQ(list.GetSize(), 2u);
    EXPECT_EQ(list[0], e.header.guid);  // creation order
    EXPECT_EQ(ACAPI_Element_GetElemList(99, &list), APIERR_BADELEMTYPE);
    EXPECT_TRUE(ACAPI_Element_Filter(e.header.guid, APIFilt_IsEditable));
    EXPECT_FALSE(ACAPI_Element_Filter(APINULLGuid));
}

TEST_F(ProjectFunctionsTest, ModuleCommandsFormOneStepAndExceptionsDoNotEscape) {
    const API_Guid a = Fill("A");
    const API_Guid b = Fill("B");
    const GSErrCode err = ACAPI_CallUndoableCommand(GS::UniString("Delete two"), [&]() -> GSErrCode {
        GS::Array<API_Guid> one;
        one.Push(a);
        GSErrCode e = ACAPI_Element_Delete(one);
        if (e != NoError) return e;
        one[0] = b;
        e = ACAPI_Element_Delete(one);
        return ACAPI_CallUndoableCommand(GS::UniString("inner"), [] { return NoError; });
    });
    EXPECT_EQ(err, APIERR_REFUSEDCMD);
    // The body reported the refusal: the whole command is taken back, and leaves no step.
    EXPECT_EQ(Db().AllElements().size(), 2u);
    const size_t steps = Db().UndoTexts().size();
    EXPECT_EQ(ACAPI_CallUndoableCommand(GS::UniString("Delete two"),
                                        [&]() -> GSErrCode {
                                            GS::Array<API_Guid> two;
                                            two.Push(a);
                                            two.Push(b);
                                            return ACAPI_Element_Delete(two);
                                        }),
              NoError);
    EXPECT_TRUE(Db().AllElements().empty());
    EXPECT_EQ(Db().UndoTexts().size(), steps + 1);
    ASSERT_TRUE(Db().Undo());
    EXPECT_EQ(Db().AllElements().size(), 2u);

    const GSErrCode thrown = ACAPI_CallUndoableCommand(GS::UniString("throws"), []() -> GSErrCode {
        GS::Array<int> none;
        return GSErrCode(none[3]);
    });
    EXPECT_EQ(thrown, APIERR_GENERAL);
    EXPECT_FALSE(Db().InCommand());
}

TEST_F(ProjectFunctionsTest, SelectionComesBackAsRecordsAndTheMarqueeIsTheCallersHandle) {
    const API_Guid a = Fill("A");
    GS::Array<API_Neig> neigs;
    API_SelectionInfo info = {};
    const int64_t handles = MemoryDriver::LiveHandleCount();
    EXPECT_EQ(ACAPI_Selection_Get(&info, &neigs, false), APIERR_NOSEL);
    GSHandle marquee = reinterpret_cast<GSHandle>(info.marquee);
    BMKillHandle(&marquee);
    EXPECT_EQ(MemoryDriver::LiveHandleCount(), handles);

    API_Neig n = {};
    n.neigID = APINeig_Hatch;
    n.guid = a;
    GS::Array<API_Neig> one;
    one.Push(n);
    ASSERT_EQ(ACAPI_Element_Select(one, false), NoError);
    ASSERT_EQ(ACAPI_Selection_Get(&info, &neigs, true), NoError);
    ASSERT_EQ(neigs.GetSize(), 1u);
    EXPECT_EQ(neigs[0].guid, a);
    EXPECT_EQ(info.sel_nElem, 1);
    marquee = reinterpret_cast<GSHandle>(info.marquee);
    BMKillHandle(&marquee);
    EXPECT_EQ(MemoryDriver::LiveHandleCount(), handles);

    // The handle form checks the count against the handle.
    GSHandle h = BMAllocateHandle(sizeof(API_Neig), 0, 0);
    std::memcpy(*h, &n, sizeof n);
    EXPECT_EQ(ACAPI_Element_Select(reinterpret_cast<API_Neig**>(h), 2, false), APIERR_BADPARS);
    EXPECT_EQ(ACAPI_Element_Select(reinterpret_cast<API_Neig**>(h), 1, false), NoError);
    BMKillHandle(&h);
    ASSERT_EQ(ACAPI_Element_DeselectAll(), NoError);
    EXPECT_TRUE(Db().Selection().empty());
}

TEST_F(ProjectFunctionsTest, SelectorFamiliesCheckTheirRecordsAndAnswerTheProject) {
    API_WindowInfo w = {};
    ASSERT_EQ(ACAPI_Database(APIDb_GetCurrentWindowID, &w), NoError);
    EXPECT_EQ(w.typeID, APIWind_FloorPlanID);
    w.typeID = APIWind_3DModelID;
    ASSERT_EQ(ACAPI_Automate(APIDo_ChangeWindowID, &w), NoError);
    API_DatabaseInfo d = {};
    ASSERT_EQ(ACAPI_Database(APIDb_GetCurrentDatabaseID, &d), NoError);
    EXPECT_EQ(d.typeID, APIWind_3DModelID);
    w.typeID = 77;
    EXPECT_EQ(ACAPI_Database(APIDb_ChangeWindowID, &w), APIERR_BADWINDOW);
    EXPECT_EQ(ACAPI_Automate(APIDo_RebuildID), NoError);
    API_RebuildParams pars = {1, 0};
    EXPECT_EQ(ACAPI_Automate(APIDo_RebuildID, &pars), NoError);
    EXPECT_EQ(Db().RebuildCount(), 2);

    API_ToolBoxItem tool = {};
    tool.typeID = API_HatchID;
    ASSERT_EQ(ACAPI_Environment(APIEnv_SetToolBoxModeID, &tool), NoError);
    API_ToolBoxItem now = {};
    ASSERT_EQ(ACAPI_Environment(APIEnv_GetToolBoxModeID, &now), NoError);
    EXPECT_EQ(now.typeID, API_HatchID);
    API_StoryCmdType cmd = {};
    cmd.index = 3;
    EXPECT_EQ(ACAPI_Environment(APIEnv_ChangeStorySettingsID, &cmd), APIERR_BADINDEX);
    cmd.action = 1;
    EXPECT_EQ(ACAPI_Environment(APIEnv_ChangeStorySettingsID, &cmd), APIERR_BADPARS);
    API_ServerApplicationInfo app = {};
    EXPECT_EQ(ACAPI_Environment(APIEnv_ApplicationID, &app), NoError);  // the older selectors still answer

    // A record of the wrong size is refused and reported.
    EXPECT_EQ(
        HostInterface::CallSelector(HostInterface::Table().Database, APIDb_GetCurrentWindowID.code, &w, 8, nullptr, 0),
        APIERR_BADPARS);
    EXPECT_EQ(
        HostInterface::CallSelector(HostInterface::Table().Automate, API_Selector("XXXX"), nullptr, 0, nullptr, 0),
        APIERR_BADPARS);
    ASSERT_EQ(host->Errors().size(), 1u);
    EXPECT_NE(host->Errors()[0].find("'GWIN'"), std::string::npos);
    ASSERT_EQ(host->RefusedSelectors().size(), 1u);
}

TEST_F(ProjectFunctionsTest, BoundsComeFromTheElementsOwnRecordAboveItsStory) {
    Db().SetStory(1, 3.0, "First");
    ASSERT_EQ(Db().GoToStory(1), NoError);
    API_Guid mesh = {};
    ASSERT_EQ(Db().PlacePolygonElement(API_MeshID, {{0, 0, 1}, {10, 0, 4}, {10, 5, 2}}, true, 1, "T", &mesh), NoError);
    Db().FindMutable(mesh)->record.Edit([&](API_Element& rec) { rec.mesh.level = 0.5; });
    API_Element e = {};
    e.header.guid = mesh;
    API_Box3D box = {};
    ASSERT_EQ(ACAPI_Database(APIDb_CalcBoundsID, &e, &box), NoError);
    EXPECT_EQ(box.xMin, 0.0);
    EXPECT_EQ(box.yMax, 5.0);
    EXPECT_EQ(box.zMin, 4.5);
    EXPECT_EQ(box.zMax, 7.5);

    API_Guid h = {};
    ASSERT_EQ(Db().PlaceHotspot({-2, 7}, 1, "H", &h), NoError);
    e.header.guid = h;
    ASSERT_EQ(ACAPI_Database(APIDb_CalcBoundsID, &e, &box), NoError);
    EXPECT_EQ(box.xMin, -2.0);
    EXPECT_EQ(box.xMax, -2.0);
    EXPECT_EQ(box.zMin, 3.0);
    e.header.guid.time_low = 0xBAD;
    box.xMin = 99;
    EXPECT_EQ(ACAPI_Database(APIDb_CalcBoundsID, &e, &box), APIERR_BADID);
    EXPECT_EQ(box.xMin, 99.0);                                          // untouched
    EXPECT_EQ(ACAPI_Database(APIDb_CalcBoundsID, &e), APIERR_BADPARS);  // no box record
    EXPECT_EQ(host->Errors().size(), 1u);
}

TEST_F(ProjectFunctionsTest, FailuresCanBeSetPerFunctionAndPerSelector) {
    const API_Guid a = Fill("A");
    ASSERT_TRUE(host->FailCall("Element_Get", -1, APIERR_GENERAL));
    API_Element e = {};
    e.header.guid = a;
    EXPECT_EQ(ACAPI_Element_Get(&e), APIERR_GENERAL);
    ASSERT_TRUE(host->FailCall("Database", int32_t(API_Selector("CDAT")), APIERR_BADPARS));
    API_DatabaseInfo d = {};
    d.typeID = APIWind_FloorPlanID;
    EXPECT_EQ(ACAPI_Database(APIDb_ChangeCurrentDatabaseID, &d), APIERR_BADPARS);
    EXPECT_EQ(ACAPI_Database(APIDb_GetCurrentDatabaseID, &d), NoError);  // other selectors still work
    ASSERT_TRUE(host->FailCall("Element_Filter", -1, APIERR_GENERAL));
    EXPECT_FALSE(ACAPI_Element_Filter(a));
    EXPECT_FALSE(host->FailCall("Element_Nothing", -1, APIERR_GENERAL));
    host->ClearFailures();
    EXPECT_EQ(ACAPI_Element_Get(&e), NoError);
}

TEST_F(ProjectFunctionsTest, MemosAndUserDataCrossTheBoundaryWhole) {
    const API_Guid a = Fill("A");
    API_ElementMemo memo = {};
    ASSERT_EQ(ACAPI_Element_GetMemo(a, &memo, APIMemoMask_Polygon), NoError);
    ASSERT_NE(memo.coords, nullptr);
    EXPECT_EQ(BMGetHandleSize(reinterpret_cast<GSConstHandle>(memo.coords)), GSSize(5 * sizeof(API_Coord)));
    EXPECT_EQ((*memo.coords)[2].x, 2.0);
    memo.elemInfoString = new GS::UniString("VY30 Slab");
    GS::Array<API_Guid> one;
    one.Push(a);
    API_Element mask = {};
    ASSERT_EQ(ACAPI_CallUndoableCommand(
                  GS::UniString("x"),
                  [&]() -> GSErrCode { return ACAPI_Element_ChangeParameters(one, nullptr, &memo, &mask); }),
              NoError);
    ASSERT_EQ(ACAPI_DisposeElemMemoHdls(&memo), NoError);
    EXPECT_EQ(memo.coords, nullptr);
    EXPECT_EQ(*Db().Find(a)->memo->elemInfoString, u"VY30 Slab");

    API_Elem_Head head = {};
    head.guid = a;
    GSHandle data = BMAllocateHandle(650, ALLOCATE_CLEAR, 0);
    API_ElementUserData ud = {2, APIUserData_PlatformSign, 0, data};
    ASSERT_EQ(ACAPI_CallUndoableCommand(GS::UniString("ud"),
                                        [&]() -> GSErrCode { return ACAPI_Element_SetUserData(&head, &ud); }),
              NoError);
    BMKillHandle(&data);
    API_ElementUserData got = {};
    ASSERT_EQ(ACAPI_Element_GetUserData(&head, &got), NoError);
    EXPECT_EQ(BMGetHandleSize(got.dataHdl), 650);
    BMKillHandle(&got.dataHdl);
}

TEST_F(ProjectFunctionsTest, ScriptsPlaceSelectUndoAndDump) {
    std::string out;
    const bool ok = RunScript(R"(layer Survey
use-layer Survey
story 1 3.5 First
story current 1
place mesh T "0,0,1 10,0,2 10,8,3" -2.5
place polyline P "0,0 10,0 10,5"
place fill F "0,0 4,0 4,4"
place hotspot H "1,2"
place line L "0,0 5,5"
select P
select add H
expect selection 2
expect selected H
expect elements 5
expect elements 1 mesh
expect elements 1 18
expect element T /record/level -2.5
expect element T /story 1
expect element T /memo/meshPolyZ/4 1
expect element F /memo/coords/4/0 0
expect json /layers/1/name Survey
undo
expect elements 4
expect undo-steps 4
layer Survey 1
expect selection 0
window 3d
expect window 3d
expect database 3d
dump project.json
)",
                              &out);
    EXPECT_TRUE(ok) << out;
    std::ifstream in(UserFile("project.json"));
    const nlohmann::ordered_json j = nlohmann::ordered_json::parse(in);
    EXPECT_EQ(j["elements"].size(), 4u);
    EXPECT_EQ(j["window"]["typeID"], 4);
}

TEST_F(ProjectFunctionsTest, ScriptRefusalsAndBadPointsAreReported) {
    std::string out;
    EXPECT_FALSE(RunScript("place polyline P \"0,0 1,x\"\n", &out));
    EXPECT_NE(out.find("'1,x' is not a point"), std::string::npos) << out;
    EXPECT_FALSE(RunScript("place hotspot H \"1,2 3,4\"\n", &out));
    EXPECT_NE(out.find("'1,2 3,4' holds more than one point"), std::string::npos) << out;
    EXPECT_FALSE(RunScript("place hotspot H \"1,2\"\nplace hotspot H \"1,2\"\n", &out));
    EXPECT_NE(out.find("named \"H\" already"), std::string::npos) << out;
    EXPECT_FALSE(RunScript("undo\nundo\nundo\n", &out));
    EXPECT_NE(out.find("nothing to undo"), std::string::npos) << out;
    EXPECT_FALSE(RunScript("expect json /elements/9/type mesh\n", &out));
    EXPECT_NE(out.find("nothing at /elements/9/type"), std::string::npos) << out;
    EXPECT_FALSE(RunScript("layer L 2\nuse-layer L\nplace hotspot H2 \"1,2\"\n", &out));
    EXPECT_NE(out.find("layer 2 is locked"), std::string::npos) << out;
}

}  // namespace project_functions_test
