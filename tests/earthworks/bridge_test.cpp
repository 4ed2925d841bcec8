// The bridge tool on the in-process stand-in host: a path raised onto a known plane, the terrain cutting the
// object, rebuilds of turned and mirrored bridges, multi-editing field by field, and its settings dialog.
#include "GridTerrain.hpp"
#include "ScriptedToolTest.hpp"
#include "TableFieldIds.hpp"

#include "DGDriver.hpp"
#include "dialogs/settings/BridgeSettingsDialog.hpp"
#include "earthworks/Bridge.hpp"
#include "elements/LibPartViews.hpp"
#include "foundation/Language.hpp"
#include "foundation/ModalDialog.hpp"
#include "settings/ElementSections.hpp"
#include "settings/Settings.hpp"
#include "shell/EarthworkDialogBoxes.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace bridge_test {

double Plane(double x, double y) { return 100.0 + 0.1 * x + 0.05 * y; }

class BridgeToolTest : public ScriptedToolTest {
protected:
    void SetUp() override {
        ScriptedToolTest::SetUp();
        if (HasFatalFailure()) return;
        terrain = PlaceTerrain(GridTerrainPoints(Plane));
    }
    API_Element Polyline(const std::vector<API_Coord3D>& points) {
        API_Guid g = {};
        EXPECT_EQ(Db().PlacePolygonElement(API_PolyLineID, points, false, 1, "path" + std::to_string(++paths), &g),
                  NoError);
        return Get(g);
    }
    int32_t Create(const std::vector<API_Coord3D>& points) {
        DGDriver::QueueClick(32579, 1);
        BridgeCls bridge;
        return bridge.Create(GlobalSettings, dialogs, Polyline(points), terrain);
    }
    // "Data update" of one bridge inside the undoable command its caller runs.
    GSErrCode UpdateInCommand(const API_Element& bridge) {
        return Command([&] {
            BridgeCls update;
            return update.Update(Get(bridge.header.guid)) ? NoError : APIERR_GENERAL;
        });
    }
    QV_List<QV_Coord3DLong> WorldPath(const API_Element& bridge) {
        API_ElementMemo memo = {};
        EXPECT_EQ(ACAPI_Element_GetMemo(bridge.header.guid, &memo, AttachMemoMask), NoError);
        BridgeLP view(ElemKind_Bridge);
        view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
        QV_List<QV_Coord3DLong> path;
        EXPECT_TRUE(BaseIDLP::ExchangePerimetroBase(view, path, LPMode_Get));
        view.Detach();
        ACAPI_DisposeElemMemoHdls(&memo);
        PathToWorld(bridge.object, path);
        return path;
    }
    BridgeSettings Read(const API_Element& bridge) {
        API_ElementMemo memo = {};
        EXPECT_EQ(ACAPI_Element_GetMemo(bridge.header.guid, &memo, AttachMemoMask), NoError);
        BridgeLP view(ElemKind_Bridge);
        view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
        BridgeSettings s;
        EXPECT_TRUE(SerializeSettings(view, s, 0));
        view.Detach();
        ACAPI_DisposeElemMemoHdls(&memo);
        return s;
    }
    bool CutByTerrain(const API_Element& bridge) {
        GS::Array<API_Guid> operators;
        if (ACAPI_Element_SolidLink_GetOperators(bridge.header.guid, &operators) != NoError) return false;
        return operators.GetSize() == 1 && operators[0] == terrain.header.guid;
    }
    API_Element terrain = {};
    int paths = 0;
    EarthworkDialogBoxes dialogs;
};

TEST_F(BridgeToolTest, EveryPathVertexTakesThePlanesHeight) {
    ASSERT_EQ(Create({{20, 60, 0}, {100, 60, 0}, {170, 100, 0}}), 0);
    const std::vector<API_Element> bridges = Objects(ElemKind_Bridge);
    ASSERT_EQ(bridges.size(), 1u);
    const QV_List<QV_Coord3DLong> path = WorldPath(bridges[0]);
    ASSERT_EQ(path.GetCount(), 3);
    for (const QV_Coord3DLong& p : path) EXPECT_NEAR(p.z, Plane(p.x, p.y), 1e-6);
    EXPECT_NEAR(path[0].x, 20.0, 1e-9);
    EXPECT_NEAR(path[2].y, 100.0, 1e-9);
    EXPECT_EQ(Param(bridges[0], "IDterrain"), 0.0);
    EXPECT_EQ(Param(bridges[0], "num_track"), 1.0);
    EXPECT_TRUE(CutByTerrain(bridges[0]));
}

TEST_F(BridgeToolTest, AClosedPathIsRefusedBeforeTheDialogAndACancelMakesNothing) {
    {
        BridgeCls bridge;
        EXPECT_EQ(bridge.Create(GlobalSettings, dialogs, Polyline({{20, 20, 0}, {80, 20, 0}, {80, 80, 0}, {20, 20, 0}}),
                                terrain),
                  45);
    }
    EXPECT_TRUE(DGDriver::Log().empty());
    DGDriver::QueueClick(32579, 2);
    {
        BridgeCls bridge;
        EXPECT_EQ(bridge.Create(GlobalSettings, dialogs, Polyline({{20, 20, 0}, {80, 20, 0}}), terrain), 0);
    }
    EXPECT_TRUE(Objects(ElemKind_Bridge).empty());
}

// A bridge turned or mirrored in place keeps its world path; "Data update" raises it onto the plane again and
// stores it back in the object's own frame.
TEST_F(BridgeToolTest, RebuildsOfTurnedAndMirroredBridgesFollowThePlane) {
    // Short enough to stay on the terrain however it is turned about its first vertex.
    ASSERT_EQ(Create({{100, 60, 0}, {130, 60, 0}, {150, 80, 0}}), 0);
    API_Element bridge = Objects(ElemKind_Bridge)[0];
    for (const double angle : {0.7, 2.5}) {
        for (const uint8_t mirrored : {uint8_t(0), uint8_t(1)}) {
            API_Element moved = bridge;
            moved.object.angle = angle;
            moved.object.reflected = mirrored;
            API_Element mask = {};
            std::memset(&mask.object.angle, 0xFF, sizeof mask.object.angle);
            std::memset(&mask.object.reflected, 0xFF, sizeof mask.object.reflected);
            ASSERT_EQ(Command([&] {
                          GS::Array<API_Guid> one;
                          one.Push(moved.header.guid);
                          return ACAPI_Element_ChangeParameters(one, &moved, nullptr, &mask);
                      }),
                      NoError);
            ASSERT_EQ(UpdateInCommand(bridge), NoError);
            const QV_List<QV_Coord3DLong> path = WorldPath(Get(bridge.header.guid));
            ASSERT_EQ(path.GetCount(), 3);
            for (const QV_Coord3DLong& p : path) EXPECT_NEAR(p.z, Plane(p.x, p.y), 1e-6) << angle;
            EXPECT_NEAR(path[0].x, 100.0, 1e-9);  // the origin stays the first vertex
        }
    }
    EXPECT_TRUE(CutByTerrain(bridge));

    // The host refuses the new parameters: reported, the bridge still cut by the terrain.
    ASSERT_TRUE(host->FailCall("Element_ChangeParameters", -1, APIERR_GENERAL));
    EXPECT_EQ(UpdateInCommand(bridge), APIERR_GENERAL);
    host->ClearFailures();
    EXPECT_TRUE(CutByTerrain(bridge));
}

// Each of the 25 flags alone carries its field onto every bridge, railway fields included, and nothing else.
TEST_F(BridgeToolTest, EveryChangeFlagAloneCarriesItsFieldOntoEveryBridge) {
    ASSERT_EQ(Create({{20, 30, 0}, {150, 30, 0}}), 0);
    ASSERT_EQ(Create({{20, 90, 0}, {150, 90, 0}}), 0);
    QV_List<API_Element> list;
    for (const API_Element& e : Objects(ElemKind_Bridge)) list.Insert(e);
    const std::vector<int16_t> shorts = FieldIdsByType<BridgeSettings>(TableRows::All).integers;
    for (int16_t id = 0; id < BridgeFieldCount; ++id) {
        if (id == BridgeSettings::Id::side || id == BridgeSettings::Id::layer || id == BridgeSettings::Id::name)
            continue;  // not parameters
        const BridgeSettings before = Read(list[0]);
        BridgeCls cls;
        cls.settings = before;
        const bool isShort = std::count(shorts.begin(), shorts.end(), id) > 0;
        if (isShort)
            cls.settings.SetShort(id, int16_t(before.GetShort(id) == 1 ? 0 : 1));
        else
            cls.settings.SetReal(id, before.GetReal(id) + 0.25);
        cls.changed[id] = 1;
        ASSERT_EQ(Command([&] { return cls.ApplyToSelected(list) ? NoError : GSErrCode(-1); }), NoError) << id;
        for (const API_Element& e : list) {
            const BridgeSettings after = Read(Get(e.header.guid));
            for (int16_t k = 0; k < BridgeFieldCount; ++k) {
                const BridgeSettings& want = k == id ? cls.settings : before;
                EXPECT_EQ(after.GetShort(k), want.GetShort(k)) << id << " " << k;
                EXPECT_NEAR(after.GetReal(k), want.GetReal(k), 1e-12) << id << " " << k;
            }
        }
    }
}

TEST_F(BridgeToolTest, TheDialogKeepsSwitchedOffSidewalksAndLockedRailwayFields) {
    BridgeSettings record;
    record.SetDefaults();
    uint8_t changed[BridgeFieldCount] = {};
    DGDriver::QueueSetDouble(32579, 20, 0.3);         // a left sidewalk thickness typed ...
    DGDriver::QueueSetLong(32579, 18, 0);             // ... then no sidewalk on the left
    DGDriver::QueueSetDouble(32579, 11, 6.00000001);  // a width changed by less than 1e-7
    DGDriver::QueueSetLong(32579, 56, 1);             // double track
    DGDriver::QueueClick(32579, 1);
    ASSERT_EQ(OpenBridgeSettingsDialog(record, changed, false, SettingsMode::ToolDefaults), DialogAnswer::Confirmed);
    EXPECT_EQ(record.sidewalkLeft, 0);
    EXPECT_NEAR(record.sidewalkThicknessLeft, 0.1, 1e-12);
    EXPECT_NEAR(record.roadWidth, 6.0, 1e-12);
    EXPECT_EQ(record.twoTracks, 1);
    for (int id = 0; id < BridgeFieldCount; ++id)
        EXPECT_EQ(changed[id], id == BridgeSettings::Id::sidewalkLeft || id == BridgeSettings::Id::twoTracks ? 1 : 0)
            << id;

    // Editing placed bridges: the railway items are disabled and OK flags none of them.
    DGDriver::QueueClick(32579, 1);
    ASSERT_EQ(OpenBridgeSettingsDialog(record, changed, true, SettingsMode::ToolDefaults), DialogAnswer::Confirmed);
    for (int16_t item : {54, 56, 58, 60}) {
        bool disabled = false;
        for (const DGDriver::LogRecord& r : DGDriver::Log())
            for (const DGDriver::ItemState& s : r.items)
                if (r.id == 32579 && s.id == item) disabled = !s.enabled;
        EXPECT_TRUE(disabled) << item;
    }
    for (uint8_t f : changed) EXPECT_EQ(f, 0);
}

}  // namespace bridge_test
