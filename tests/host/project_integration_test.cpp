// One feature's way through the framework on the stand-in project: the user's terrain mesh, an add-on object of
// the add-on's own library placed over it inside one undoable command (the cut object on the opened operator
// layer), its parameters written and its data record stored, everything read back and dumped, then undone.
#include "ProjectHost.hpp"
#include "MemoryDriver.hpp"
#include "elements/ElementHelpers.hpp"
#include "elements/LayerHelpers.hpp"
#include "elements/StoryHelpers.hpp"
#include "foundation/LibPart.hpp"
#include "foundation/SelectionHelpers.hpp"

#include <nlohmann/json.hpp>

namespace project_integration_test {

class ProjectIntegrationTest : public ProjectHostTest {
protected:
    // The object's parameter record of that name in a memo, or null.
    static API_AddParType* Param(API_ElementMemo& memo, const char* name) {
        const GSSize n = BMGetHandleSize(reinterpret_cast<GSConstHandle>(memo.params)) / GSSize(sizeof(API_AddParType));
        for (GSSize i = 0; i < n; ++i)
            if (std::strcmp((*memo.params)[i].name, name) == 0) return &(*memo.params)[i];
        return nullptr;
    }
};

TEST_F(ProjectIntegrationTest, AnObjectOverTheTerrainIsPlacedWrittenReadBackDumpedAndUndone) {
    std::string why;
    ASSERT_TRUE(host->AddLibraryFolder(TestSupport::BinDir() + "/library", &why)) << why;
    const API_Guid terrain = PlaceMesh("terrain");
    Select({terrain});
    Window(APIWind_3DModelID);  // the user looks at the terrain in 3D
    const int64_t handles = MemoryDriver::LiveHandleCount();

    const int32_t libInd = SearchLibPartByName(QV_String("VY_PREFS.gsm"), 4);
    ASSERT_GT(libInd, 0);
    API_Element result = {}, cut = {};
    API_ElementMemo memo = {};
    GSErrCode err = ACAPI_CallUndoableCommand(GS::UniString("External command"), [&]() -> GSErrCode {
        ElemSelection selection;
        const API_ElemTypeID meshes = API_MeshID;
        if (!GetSelectedElements(selection, true, &meshes, false, true, 0) || selection.elements.GetCount() != 1)
            return LodravixErr_StepFailed;
        const API_Element& mesh = selection.elements[0];

        // The result object on the terrain's story, with the library part's defaults.
        if (!GetObjectDefaults(result, &memo)) return LodravixErr_StepFailed;
        result.object.libInd = libInd;
        result.object.pos = {25.0, 20.0};
        result.object.level = -GetStoryLevel(mesh.header.floorInd);
        double a = 0, b = 0;
        int32_t count = 0;
        GSHandle params = nullptr;
        if (ACAPI_LibPart_GetParams(libInd, &a, &b, &count, &params) != NoError) return LodravixErr_StepFailed;
        memo.params = reinterpret_cast<API_AddParType**>(params);
        result.object.xRatio = a;
        result.object.yRatio = b;
        QV_String info("Terrain");
        SetMemoInfoString(memo, info);
        GSErrCode e = CreateElementWithMemo(&result, &memo, true);
        if (e != NoError) return e;

        // The cut object goes to the operator layer, opened for the placement and closed again.
        const int32_t operators = EnsureOperatorLayer();
        if (operators <= 0) return LodravixErr_StepFailed;
        LayerFlags saved;
        const uint8_t zero = 0;
        if (OpenLayerByName(VY_Operators, saved, 0, &zero, &zero, &zero, &zero) != NoError)
            return LodravixErr_StepFailed;
        cut = result;
        cut.header.layer = operators;
        e = CreateElementWithMemo(&cut, nullptr, false);
        SetLayerState(VY_Operators, 0, saved);
        if (e != NoError) return e;

        // Parameters written by name and the whole memo written back.
        e = ACAPI_Element_GetMemo(result.header.guid, &memo, APIMemoMask_AddPars);
        if (e != NoError) return e;
        API_AddParType* pen = Param(memo, "punti_2D_pen");
        API_AddParType* code = Param(memo, "punti_code");
        if (pen == nullptr || code == nullptr) return LodravixErr_StepFailed;
        pen->value.real = 17;
        const std::u16string text = u"P\u00E6";
        std::memset(code->value.uStr, 0, sizeof code->value.uStr);
        std::copy(text.begin(), text.end(), code->value.uStr);
        API_Element mask = {};
        e = ChangeElement(&result, &memo, &mask);
        DisposeElemMemo(memo);
        if (e != NoError) return e;

        // The element data record: 650 bytes of text behind the version word.
        GSHandle record = BMAllocateHandle(650, ALLOCATE_CLEAR, 0);
        std::memcpy(*record, "5", 1);
        std::memcpy(*record + 53, "TERRAIN_1", 9);
        const API_ElementUserData data = {2, APIUserData_PlatformSign, 0, record};
        e = ACAPI_Element_SetUserData(&result.header, &data);
        BMKillHandle(&record);
        return e;
    });
    // The user data is written in the floor plan's database: a selection was there, so the floor plan stayed.
    ASSERT_EQ(err, NoError);
    EXPECT_EQ(Db().CurrentDatabaseType(), APIWind_FloorPlanID);
    EXPECT_EQ(MemoryDriver::LiveHandleCount(), handles);

    // Read back through the module's calls.
    API_ElementMemo back = {};
    ASSERT_EQ(ACAPI_Element_GetMemo(result.header.guid, &back), NoError);
    ASSERT_NE(Param(back, "punti_2D_pen"), nullptr);
    EXPECT_EQ(Param(back, "punti_2D_pen")->value.real, 17.0);
    EXPECT_EQ(std::u16string(Param(back, "punti_code")->value.uStr), u"P\u00E6");
    ASSERT_NE(back.elemInfoString, nullptr);
    EXPECT_EQ(back.elemInfoString->ToUtf8(), "Terrain");
    ACAPI_DisposeElemMemoHdls(&back);
    API_ElementUserData data = {};
    ASSERT_EQ(ACAPI_Element_GetUserData(&result.header, &data), NoError);
    ASSERT_EQ(BMGetHandleSize(data.dataHdl), 650);
    EXPECT_EQ(std::string(*data.dataHdl + 53), "TERRAIN_1");
    BMKillHandle(&data.dataHdl);
    // The terrain and the result object: the cut object, selected too, lies on the hidden operator layer again.
    EXPECT_EQ(Db().Selection().size(), 2u);
    const int32_t operators = Db().FindAttribute(API_LayerID, "VY_Operators");
    EXPECT_EQ(LayerFlagsOf(operators), OperatorLayerCreationFlags);  // closed again

    const nlohmann::ordered_json j = Db().ToJson();
    ASSERT_EQ(j["elements"].size(), 3u);
    const auto& obj = j["elements"][1];
    EXPECT_EQ(obj["type"], "object");
    EXPECT_EQ(obj["libPart"], "VY_PREFS");
    EXPECT_EQ(obj["record"]["pos"][0], 25.0);
    EXPECT_EQ(obj["memo"]["infoString"], "Terrain");
    EXPECT_EQ(obj["userData"]["texts"][1]["text"], "TERRAIN_1");
    bool penFound = false;
    for (const auto& p : obj["parameters"])
        if (p["name"] == "punti_2D_pen") penFound = p["value"] == 17.0;
    EXPECT_TRUE(penFound);
    EXPECT_EQ(j["elements"][2]["layer"], operators);
    EXPECT_EQ(j["undoSteps"].back(), "External command");

    // One undo takes the whole command back.
    ASSERT_TRUE(Db().Undo());
    ASSERT_EQ(Db().AllElements().size(), 1u);
    EXPECT_EQ(Db().AllElements()[0], terrain);
}

}  // namespace project_integration_test
