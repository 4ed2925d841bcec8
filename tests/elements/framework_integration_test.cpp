// The framework end to end on the stand-in project: an element class reads the user's terrain mesh (box, data
// record, frame polygons), places a VY_ROAD object over it inside one undoable command through its virtual slot,
// writes scalar, text and array parameters by index and by name through a parameter view, stores the object's
// element data record and writes the mesh's skirt into it; everything is read back through the views, the
// failures a view reports are checked on the placed object, and the project is dumped and undone.
#include "ProjectHost.hpp"
#include "ParamRecords.hpp"

#include "elements/BaseCls.hpp"
#include "elements/ElemDataRecord.hpp"
#include "elements/ElementHelpers.hpp"
#include "elements/LibPartViews.hpp"
#include "elements/ParamExchange.hpp"
#include "elements/GdlParams.hpp"
#include "foundation/LibPart.hpp"
#include "foundation/SelectionHelpers.hpp"
#include "elements/ChangeElementMemo.hpp"

#include "MemoryDriver.hpp"

#include <nlohmann/json.hpp>

namespace framework_integration_test {

QV_String TextOf(const API_Guid& g) {
    QV_String t;
    GuidToText(t, g);
    return t;
}

// A road-like element class: its object is a VY_ROAD "result" object laid over the terrain's box.
class TestRoadCls : public BaseRSWCls {
public:
    bool CreateObject(const QV_String& partName, int16_t, uint16_t, void*, API_Element*) override {
        libPartIndex = SearchLibPartByName(partName, APILib_ObjectID);
        if (libPartIndex < 0 || !GetObjectDefaults(object, nullptr)) return false;
        object.object.libInd = libPartIndex;
        object.object.pos = {bounds.xMin, bounds.yMin};
        object.object.level = zMin;

        // The library part's defaults, written through a view before the object is placed with them.
        GSHandle params = nullptr;
        if (!BaseLP::GetLibPartParams(libPartIndex, &params, nullptr, nullptr, nullptr)) return false;
        RoadLP view(ElemKind_Road);
        view.Attach(params, false);
        double a = bounds.xMax - bounds.xMin;
        double b = bounds.yMax - bounds.yMin;
        QV_String op("result");
        QV_String macro(partName);
        QV_List<QV_Coord3DLong> outline;
        for (const QV_CoordLong& p : frameFirst) outline.Insert({p.x - bounds.xMin, p.y - bounds.yMin, zMin, p.code});
        QV_List<int32_t> counts;
        counts.Insert(2);
        QV_List<API_Coord3D> obstacle;
        obstacle.Insert({1, 1, zMin});
        obstacle.Insert({9, 1, zMin});
        const bool written = view.GetSetDouble(0, a, LPMode_Set) && view.GetSetDouble(1, b, LPMode_Set) &&
            view.GetSetDoubleByName(QV_String("quota_minima"), zMin, LPMode_Set) &&
            view.GetSetDoubleByName(QV_String("quota_massima"), zMax, LPMode_Set) &&
            view.GetSetString(7, op, LPMode_Set) &&
            view.GetSetStringByName(QV_String("macro_name"), macro, LPMode_Set) &&
            BaseIDLP::ExchangePerimetroBase(view, outline, LPMode_Set) &&
            BaseIDLP::ExchangeObstacles(view, counts, obstacle, LPMode_Set) &&
            ExchangeCoordLists(view, frameFirst, frameSecond);
        for (int32_t index = 3; written && index <= 6; ++index) {
            int32_t present = index == 6 ? 0 : -1;  // only the terrain is linked
            if (!view.GetSetInt(index, present, LPMode_Set)) return false;
        }
        view.Detach();
        API_ElementMemo memo = {};
        memo.params = reinterpret_cast<API_AddParType**>(params);
        if (!written) {
            ReleaseParamRecords(&params);
            return false;
        }
        if (CreateElementWithMemo(&object, &memo, true) != NoError) return false;

        // Its data record ties it to itself as the result and to the terrain.
        ElemDescriptor record;
        record.ResultGuid = TextOf(object.header.guid);
        record.TerrainGuid = TextOf(element.header.guid);
        record.OriginalGuid = TextOf(element.header.guid);
        if (!ElemUserData_WriteRecord(record, ElemKind_Road, object.header)) return false;
        // And the terrain's skirt goes into the placed object.
        RoadLP edit(ElemKind_Road);
        return BaseIDLP::WriteSkirt(edit, object, element, true, true);
    }
};

class FrameworkIntegrationTest : public ProjectHostTest {
protected:
    void SetUp() override {
        ProjectHostTest::SetUp();
        std::string why;
        ASSERT_TRUE(host->AddLibraryFolder(TestSupport::BinDir() + "/library", &why)) << why;
    }
};

TEST_F(FrameworkIntegrationTest, ARoadObjectOverTheTerrainWrittenReadBackAndDumped) {
    // The user's terrain, an add-on mesh with its terrain record.
    const API_Guid terrain = PlaceMesh("terrain");
    Db().FindMutable(terrain)->record.Edit([&](API_Element& rec) { rec.mesh.skirtMat = 12; });
    Db().FindMutable(terrain)->record.Edit([&](API_Element& rec) { rec.mesh.skirtLevel = 2.5; });
    API_Element mesh = {};
    mesh.header.guid = terrain;
    ASSERT_EQ(ACAPI_Element_Get(&mesh), NoError);
    ElemDescriptor terrainRecord;
    terrainRecord.OwnGuid.ConvertFromString(TextOf(terrain).ToStdString().c_str());
    terrainRecord.Serial = 1;
    ASSERT_EQ(
        Command([&] { return ElemUserData_WriteRecord(terrainRecord, ElemKind_Terrain, mesh.header) ? NoError : -1; }),
        NoError);
    const int64_t handles = MemoryDriver::LiveHandleCount();

    // The command: read the terrain, place the object through the class's slot.
    API_Element placed = {};
    {
        TestRoadCls road;
        ASSERT_TRUE(road.ReadElement(mesh, true));
        EXPECT_EQ(road.descriptor.TerrainId.ToStdString(), TextOf(terrain).ToStdString() + "_");
        BaseCls& asBase = road;
        ASSERT_EQ(Command([&] {
                      return asBase.CreateObject(QV_String("VY_ROAD"), 1, 0, nullptr, nullptr) ? NoError
                                                                                               : LodravixErr_StepFailed;
                  }),
                  NoError);
        placed = road.object;
    }
    EXPECT_EQ(MemoryDriver::LiveHandleCount(), handles);
    ASSERT_EQ(Db().AllElements().size(), 2u);

    // The links, through views laid over the placed object.
    RoadLP view(ElemKind_Road);
    API_Guid result = {}, cut = {}, fill = {}, linkedTerrain = {};
    QV_String op;
    ASSERT_TRUE(BaseLP::AttachToElementLookup(view, placed, &result, &cut, &fill, &op, ElemKind_Road, true));
    EXPECT_TRUE(result == placed.header.guid);
    EXPECT_TRUE(cut == APINULLGuid);
    EXPECT_EQ(op.ToStdString(), "result");
    ASSERT_TRUE(BaseLP::AttachToElement(view, ElemKind_Road, placed, linkedTerrain, true));
    EXPECT_TRUE(linkedTerrain == terrain);

    // Every parameter read back by index and by name from the object's memo.
    API_ElementMemo memo = {};
    ASSERT_EQ(ACAPI_Element_GetMemo(placed.header.guid, &memo), NoError);
    view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
    double a = 0, skirt = 0, min = 0;
    int32_t material = 0, idTerrain = 9, idCut = 9;
    ASSERT_TRUE(view.GetSetDouble(0, a, LPMode_Get));
    EXPECT_EQ(a, 50.0);
    ASSERT_TRUE(view.GetSetDoubleByName(QV_String("quota_minima"), min, LPMode_Get));
    EXPECT_EQ(min, mesh.mesh.level + 1.0);
    ASSERT_TRUE(view.GetSetDouble(10, skirt, LPMode_Get));
    EXPECT_EQ(skirt, 2.5);
    ASSERT_TRUE(view.GetSetLong(9, material, LPMode_Get));
    EXPECT_EQ(material, 12);
    ASSERT_TRUE(view.GetSetInt(6, idTerrain, LPMode_Get));
    ASSERT_TRUE(view.GetSetInt(4, idCut, LPMode_Get));
    EXPECT_EQ(idTerrain, 0);
    EXPECT_EQ(idCut, -1);
    QV_String macro;
    ASSERT_TRUE(view.GetSetString(30, macro, LPMode_Get));
    EXPECT_EQ(macro.ToStdString(), "VY_ROAD");
    QV_List<QV_Coord3DLong> outline;
    ASSERT_TRUE(BaseIDLP::ExchangePerimetroBase(view, outline, LPMode_Get));
    ASSERT_GE(outline.GetCount(), 4);
    EXPECT_EQ(outline[outline.GetCount() - 1].code, -1);
    QV_List<int32_t> counts;
    QV_List<API_Coord3D> obstacle;
    ASSERT_TRUE(BaseIDLP::ExchangeObstacles(view, counts, obstacle, LPMode_Get));
    ASSERT_EQ(obstacle.GetCount(), 2);
    EXPECT_EQ(obstacle[1].x, 9.0);

    // The failures a view reports, on the placed object (its names compare exactly).
    EXPECT_FALSE(view.GetSetDoubleByName(QV_String("Quota_Minima"), min, LPMode_Get));
    EXPECT_EQ(view.status, LPStatus_NameNotFound);
    int16_t s = 0;
    EXPECT_FALSE(view.GetSetShort(7, s, LPMode_Get));  // "operatore" is a text
    EXPECT_EQ(view.status, LPStatus_WrongKind);
    EXPECT_EQ(GetArrayParamCell(view, "perimetro_base", outline.GetCount(), 0), 0.0);
    EXPECT_EQ(view.status, LPStatus_BadCell);
    QV_String noText;
    EXPECT_EQ(view.SetStringParam("macro_name", noText), -1);
    EXPECT_EQ(view.status, LPStatus_NoText);
    QV_String number;
    EXPECT_FALSE(view.GetSetStringByName(QV_String("IDresult"), number, LPMode_Get));
    EXPECT_EQ(view.status, LPStatus_WrongKind);
    view.Detach();
    ACAPI_DisposeElemMemoHdls(&memo);

    // The dump shows the object, its parameters and its data record.
    const nlohmann::ordered_json j = Db().ToJson();
    ASSERT_EQ(j["elements"].size(), 2u);
    const auto& obj = j["elements"][1];
    EXPECT_EQ(obj["libPart"], "VY_ROAD");
    EXPECT_EQ(obj["record"]["pos"][0], 0.0);
    std::map<std::string, nlohmann::ordered_json> params;
    for (const auto& p : obj["parameters"]) params[p["name"].get<std::string>()] = p;
    EXPECT_EQ(params["operatore"]["value"], "result");
    EXPECT_EQ(params["mesh_skirt"]["value"], 2.5);
    EXPECT_EQ(params["perimetro_base"]["dims"][1], 4);
    EXPECT_EQ(params["ostacolo"]["dims"], nlohmann::ordered_json::array({1, 6}));
    bool terrainLinked = false;
    for (const auto& t : obj["userData"]["texts"])
        terrainLinked = terrainLinked || (t["offset"] == 353 && t["text"] == TextOf(terrain).ToStdString());
    EXPECT_TRUE(terrainLinked);
    EXPECT_EQ(obj["userData"]["texts"][0]["text"], "C");

    // One undo takes the command back, the object with its data.
    ASSERT_TRUE(Db().Undo());
    ASSERT_EQ(Db().AllElements().size(), 1u);
    EXPECT_TRUE(Db().AllElements()[0] == terrain);
}

}  // namespace framework_integration_test
