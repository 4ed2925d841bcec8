// Walls and the terrain probe on the in-process stand-in host, terrain on the plane z = 100 + 0.05x + 0.02y: base
// lines at the plane's heights, a closed polyline refused before any dialog, rebuilds that keep the wall's own
// settings, edits of several walls, and the dialog's side normalised.
#include "SlopedTerrainTest.hpp"

#include "DGDriver.hpp"
#include "dialogs/settings/WallSettingsDialog.hpp"
#include "elements/LibPartViews.hpp"
#include "elements/TerrainProbe.hpp"
#include "foundation/Language.hpp"
#include "shell/SiteObjectDialogBoxes.hpp"
#include "siteobjects/Wall.hpp"

#include <cmath>

namespace wall_test {

class WallTest : public SlopedTerrainTest {
protected:
    API_Element Polyline(const std::vector<API_Coord3D>& points) { return Drawn(API_PolyLineID, points); }
    QV_List<QV_Coord3DLong> BaseLine(const API_Element& e) {
        API_ElementMemo memo = {};
        EXPECT_EQ(ACAPI_Element_GetMemo(e.header.guid, &memo, AttachMemoMask), NoError);
        WallLP view(ElemKind_Wall);
        view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
        QV_List<QV_Coord3DLong> out;
        EXPECT_TRUE(BaseIDLP::ExchangePerimetroBase(view, out, LPMode_Get));
        view.Detach();
        ACAPI_DisposeElemMemoHdls(&memo);
        return out;
    }
    // Every vertex of the base line, in the plan, carries the plane's height there.
    void ExpectOnThePlane(const API_Element& wall, int32_t count) {
        const QV_List<QV_Coord3DLong> line = BaseLine(wall);
        ASSERT_EQ(line.GetCount(), count);
        for (const QV_Coord3DLong& v : line)
            EXPECT_NEAR(v.z, Plane(v.x + wall.object.pos.x, v.y + wall.object.pos.y), 1e-6);
    }
    bool LinkedToTerrain(const API_Element& e) {
        GS::Array<API_Guid> operators;
        if (ACAPI_Element_SolidLink_GetOperators(e.header.guid, &operators) != NoError) return false;
        for (uint32_t i = 0; i < operators.GetSize(); ++i)
            if (operators[i] == terrain.header.guid) return true;
        return false;
    }
    API_Element PlaceWall(const std::vector<API_Coord3D>& points) {
        DGDriver::QueueClick(32550, 1);
        WallCls cls;
        EXPECT_EQ(cls.Place(GlobalSettings, dialogs, Polyline(points), terrain), 0);
        return Objects(ElemKind_Wall).back();
    }
    SiteObjectDialogBoxes dialogs;
};

TEST_F(WallTest, ABaseLineCarriesThePlanesHeightsAndAClosedPolylineIsRefusedFirst) {
    const API_Element w = PlaceWall({{30, 60, 0}, {60, 70, 0}, {90, 60, 0}, {130, 20, 0}});
    EXPECT_EQ(w.object.pos.x, 30.0);
    EXPECT_EQ(w.object.pos.y, 60.0);
    ExpectOnThePlane(w, 4);
    EXPECT_NEAR(Param(w, "spessore"), 0.45, 1e-12);
    EXPECT_NEAR(Param(w, "ZZYZX"), 3.0, 1e-12);
    EXPECT_TRUE(LinkedToTerrain(w));

    WallCls cls;
    EXPECT_EQ(
        cls.Place(GlobalSettings, dialogs, Polyline({{30, 75, 0}, {50, 75, 0}, {50, 85, 0}, {30, 75, 0}}), terrain),
        45);
    EXPECT_TRUE(DGDriver::Log().size() == 1u);
    EXPECT_EQ(Objects(ElemKind_Wall).size(), 1u);
}

TEST_F(WallTest, ARebuildKeepsTheWallsOwnSettingsAndAFailedChangeIsNoSuccess) {
    API_Element w = PlaceWall({{30, 60, 0}, {60, 70, 0}, {90, 60, 0}});
    API_Element mask = {};
    std::memset(&mask.object.pos, 0xFF, sizeof mask.object.pos);
    std::memset(&mask.object.angle, 0xFF, sizeof mask.object.angle);
    w.object.pos.x += 40.0;
    w.object.pos.y -= 25.0;
    w.object.angle = 0.5;
    ASSERT_EQ(Command([&] { return ACAPI_Element_Change(&w, &mask, nullptr, 0); }), NoError);
    {
        WallCls cls;
        ASSERT_EQ(Command([&] { return cls.RebuildObject(Get(w.header.guid)) ? NoError : APIERR_GENERAL; }), NoError);
    }
    // Object coordinates turned by the angle, then moved: each vertex's height is the plane's at that place.
    const API_Element moved = Get(w.header.guid);
    const QV_List<QV_Coord3DLong> line = BaseLine(moved);
    ASSERT_EQ(line.GetCount(), 3);
    for (const QV_Coord3DLong& v : line) {
        const double x = moved.object.pos.x + v.x * std::cos(0.5) - v.y * std::sin(0.5);
        const double y = moved.object.pos.y + v.x * std::sin(0.5) + v.y * std::cos(0.5);
        EXPECT_NEAR(v.z, Plane(x, y), 1e-6);
    }
    EXPECT_NEAR(Param(moved, "spessore"), 0.45, 1e-12);
    EXPECT_NEAR(Param(moved, "ZZYZX"), 3.0, 1e-12);
    EXPECT_TRUE(LinkedToTerrain(moved));

    ASSERT_TRUE(host->FailCall("Element_ChangeParameters", -1, APIERR_GENERAL));
    WallCls cls;
    bool rebuilt = true;
    Command([&] {
        rebuilt = cls.RebuildObject(moved);
        return NoError;
    });
    EXPECT_FALSE(rebuilt);
    EXPECT_TRUE(LinkedToTerrain(Get(w.header.guid)));
}

TEST_F(WallTest, EditingSeveralWallsCarriesOnlyTheChangedFields) {
    const API_Element a = PlaceWall({{30, 60, 0}, {60, 70, 0}});
    DGDriver::QueueSetDouble(32550, 10, 0.8);
    DGDriver::QueueClick(32550, 1);
    {
        WallCls cls;
        ASSERT_EQ(cls.Place(GlobalSettings, dialogs, Polyline({{100, 20, 0}, {140, 30, 0}}), terrain), 0);
    }
    const API_Element b = Objects(ElemKind_Wall).back();
    QV_List<API_Element> both;
    both.Insert(a);
    both.Insert(b);
    // The first wall's settings are shown; only the height is changed.
    DGDriver::QueueSetDouble(32550, 8, 4.5);
    DGDriver::QueueClick(32550, 1);
    WallCls cls;
    ASSERT_EQ(cls.ModifySelected(dialogs, both), 0);
    EXPECT_NEAR(Param(Get(a.header.guid), "ZZYZX"), 4.5, 1e-12);
    EXPECT_NEAR(Param(Get(b.header.guid), "ZZYZX"), 4.5, 1e-12);
    EXPECT_NEAR(Param(Get(a.header.guid), "spessore"), 0.45, 1e-12);
    EXPECT_NEAR(Param(Get(b.header.guid), "spessore"), 0.8, 1e-12);

    // From the 3D window a floor plan that cannot be reached is a database error, and nothing is asked.
    Window(APIWind_3DModelID);
    ASSERT_TRUE(host->FailCall("Database", int32_t(API_Selector("CDAT")), APIERR_GENERAL));
    EXPECT_EQ(cls.ModifySelected(dialogs, both), 42);
}

TEST_F(WallTest, TheDialogNormalisesTheSideAndTheFirstLayoutNeverTouchesTheFillPens) {
    WallDialogState state;
    state.record.SetDefaults();
    state.record.side = "Left";
    DGDriver::QueueClick(32550, 1);
    ASSERT_EQ(OpenWallSettingsDialog(state, SettingsMode::ToolDefaults), DialogAnswer::Confirmed);
    EXPECT_EQ(state.record.side.Compare(QV_String("middle")), 0);
    EXPECT_EQ(state.changed[WallData::Id::side], 1);
    for (int id : {WallData::Id::pen3D, WallData::Id::material, WallData::Id::thickness, WallData::Id::fill,
                   WallData::Id::fillPen, WallData::Id::fillBackgroundPen, WallData::Id::pen2D, WallData::Id::layer,
                   WallData::Id::name, WallData::Id::height, WallData::Id::resolution})
        EXPECT_EQ(state.changed[id], 0) << id;

    // The second layout lets the fill's background pen be 0.
    WallDialogState twin;
    twin.record.SetDefaults();
    DGDriver::QueueClick(32550, 13);
    DGDriver::QueueClick(32550, 34);
    DGDriver::QueueSetLong(32512, 28, 0);
    DGDriver::QueueClick(32512, 1);
    ASSERT_EQ(OpenWallSettingsDialog(twin, SettingsMode::ToolDefaults), DialogAnswer::Confirmed);
    EXPECT_EQ(twin.record.side.Compare(QV_String("right")), 0);
    EXPECT_EQ(twin.record.fillBackgroundPen, 0);
    EXPECT_EQ(twin.changed[WallData::Id::side], 1);
    EXPECT_EQ(twin.changed[WallData::Id::fillBackgroundPen], 1);
}

TEST_F(WallTest, AProbeOffTheTerrainTakesItsLowestHeightAndLeavesNothingBehind) {
    const size_t before = Db().AllElements().size();
    MeshBody body;
    QV_List<QV_Coord3DLong> points;
    points.Insert(QV_Coord3DLong{70.0, 50.0, 0.0, 0});
    points.Insert(QV_Coord3DLong{500.0, 500.0, 0.0, 0});
    points.Insert(QV_Coord3DLong{199.5, 119.0, 0.0, 0});
    double lowest = 0.0, highest = 0.0;
    bool ok = false;
    ASSERT_EQ(Command([&] {
                  ok = ProbeTerrainHeights(body, terrain, points, lowest, highest);
                  return NoError;
              }),
              NoError);
    ASSERT_TRUE(ok);
    EXPECT_NEAR(points[0].z, Plane(70, 50), 1e-9);
    EXPECT_NEAR(points[2].z, Plane(199.5, 119), 1e-9);
    EXPECT_NEAR(points[1].z, Plane(0, 0), 1e-9);  // the terrain's lowest point
    EXPECT_EQ(Db().AllElements().size(), before);
    GS::Array<API_Guid> operators;
    ACAPI_Element_SolidLink_GetOperators(terrain.header.guid, &operators);
    EXPECT_EQ(operators.GetSize(), 0u);
}

}  // namespace wall_test
