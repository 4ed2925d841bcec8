// Coloured areas on the in-process stand-in host: one object per terrain found by the terrain's GUID even when
// two terrains share their ID text, new outlines stored in the frame of a moved, turned and mirrored object so
// that they map back onto what was drawn, and the dialog's rows, markers and layout switch.
#include "FakeContourLineRefresh.hpp"
#include "ScriptedToolTest.hpp"

#include "DGDriver.hpp"
#include "dialogs/settings/ColouredAreaSettingsDialog.hpp"
#include "elements/LibPartViews.hpp"
#include "foundation/Language.hpp"
#include "shell/SiteObjectDialogBoxes.hpp"
#include "siteobjects/Paint.hpp"

#include <cmath>

namespace paint_test {

double Plane(double x, double y) { return 100.0 + 0.05 * x + 0.02 * y; }

class PaintTest : public ScriptedToolTest {
protected:
    API_Element Terrain(double dx, const std::string& name) {
        std::vector<API_Coord3D> points;
        for (int i = 0; i <= 4; ++i)
            for (int j = 0; j <= 3; ++j) points.push_back({dx + 40.0 * i, 30.0 * j, Plane(dx + 40.0 * i, 30.0 * j)});
        return PlaceTerrain(points, name);
    }
    API_Element Fill(const std::vector<API_Coord3D>& outline) {
        API_Guid g = {};
        EXPECT_EQ(Db().PlacePolygonElement(API_HatchID, outline, true, 1, "fill" + std::to_string(++fills), &g),
                  NoError);
        return Get(g);
    }
    int32_t Paint(const std::vector<API_Coord3D>& outline, const API_Element& terrain) {
        QV_List<API_Element> drawn;
        drawn.Insert(Fill(outline));
        DGDriver::QueueClick(32562, 1);
        PaintCls cls;
        return cls.Create(GlobalSettings, dialogs, contours, drawn, terrain);
    }
    QV_List<PaintInfo> Areas(const API_Element& o) {
        API_ElementMemo memo = {};
        EXPECT_EQ(ACAPI_Element_GetMemo(o.header.guid, &memo, AttachMemoMask), NoError);
        PaintLP view(ElemKind_ColouredArea);
        view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
        QV_List<PaintInfo> areas;
        EXPECT_TRUE(PaintLP::ExchangePolygon(view, areas, LPMode_Get));
        view.Detach();
        ACAPI_DisposeElemMemoHdls(&memo);
        return areas;
    }
    SiteObjectDialogBoxes dialogs;
    FakeContourLineRefresh contours;
    int fills = 0;
};

TEST_F(PaintTest, EachTerrainKeepsOneObjectAndNewOutlinesMapBackOntoTheirDrawing) {
    const API_Element t1 = Terrain(0.0, "t1");
    API_Element t2 = Terrain(300.0, "t2");
    // The second terrain carries the first one's identifier, as a copied terrain does.
    ElemDescriptor same;
    same.OwnGuid = *reinterpret_cast<const GS::Guid*>(&t1.header.guid);
    same.Serial = 1;
    ASSERT_EQ(Command([&] { return ElemUserData_WriteRecord(same, ElemKind_Terrain, t2.header) ? NoError : -1; }),
              NoError);
    ASSERT_EQ(Paint({{10, 10, 0}, {30, 10, 0}, {30, 30, 0}}, t1), 0);
    ASSERT_EQ(Paint({{310, 10, 0}, {330, 10, 0}, {330, 30, 0}}, t2), 0);
    std::vector<API_Element> objects = Objects(ElemKind_ColouredArea);
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(Areas(objects[0]).GetCount(), 1);
    EXPECT_EQ(Areas(objects[1]).GetCount(), 1);

    // The first terrain's object moved, turned and mirrored: a new area joins it and lies where it was drawn.
    API_Element o = objects[0];
    API_Element mask = {};
    std::memset(&mask.object.pos, 0xFF, sizeof mask.object.pos);
    std::memset(&mask.object.angle, 0xFF, sizeof mask.object.angle);
    std::memset(&mask.object.reflected, 0xFF, sizeof mask.object.reflected);
    o.object.pos = {7.5, -3.25};
    o.object.angle = 0.7;
    o.object.reflected = 1;
    ASSERT_EQ(Command([&] { return ACAPI_Element_Change(&o, &mask, nullptr, 0); }), NoError);
    const std::vector<API_Coord3D> drawn = {{50, 40, 0}, {90, 45, 0}, {70, 80, 0}, {55, 70, 0}};
    ASSERT_EQ(Paint(drawn, t1), 0);
    ASSERT_EQ(Objects(ElemKind_ColouredArea).size(), 2u);
    o = Get(o.header.guid);
    const QV_List<PaintInfo> areas = Areas(o);
    ASSERT_EQ(areas.GetCount(), 2);
    const QV_List<API_Coord3D>& added = areas[1].points;
    ASSERT_EQ(added.GetCount(), int32_t(drawn.size()) + 1);
    for (int32_t k = 0; k < added.GetCount(); ++k) {
        const double lx = -added[k].x, ly = added[k].y;  // mirrored
        const double x = o.object.pos.x + lx * std::cos(0.7) - ly * std::sin(0.7);
        const double y = o.object.pos.y + lx * std::sin(0.7) + ly * std::cos(0.7);
        EXPECT_NEAR(x, drawn[size_t(k) % drawn.size()].x, 1e-9);
        EXPECT_NEAR(y, drawn[size_t(k) % drawn.size()].y, 1e-9);
    }
}

TEST_F(PaintTest, RowsTakeTheirEditsAndMarkersAndFlagsSurviveALayoutSwitch) {
    QV_List<PaintInfo> areas;
    for (int i = 0; i < 5; ++i) {
        PaintInfo a;
        a.points.Insert(API_Coord3D{0, 0, 0});
        a.penna = uint16_t(i + 1);
        a.mat = 77;
        a.dislivello = i == 2 ? -0.004 : 1234567.891;
        areas.Insert(a);
    }
    const int32_t earlier = 3;
    PaintDialogState state;
    state.record.SetDefaults();
    state.areas = &areas;
    state.earlierCount = &earlier;
    for (int i = 0; i < 5; ++i) state.markers.Insert(uint8_t(0));
    DGDriver::QueueClickListRow(32562, 35, 1, 580);
    DGDriver::QueueClickListRow(32562, 35, 2, 580);
    DGDriver::QueueClickListRow(32562, 35, 2, 580);
    DGDriver::QueueClickListRow(32562, 35, 4, 580);  // a new row: no marker to turn
    DGDriver::QueuePickListRow(32562, 35, 5);
    DGDriver::QueueSetLong(32562, 28, 7);
    DGDriver::QueueSetDouble(32562, 34, 2.5);
    DGDriver::QueueClick(32562, 9);  // show ID, before the switch
    DGDriver::QueueClick(32562, 36);
    DGDriver::QueueClick(32511, 1);
    ASSERT_EQ(OpenColouredAreaSettingsDialog(state, SettingsMode::ToolDefaults), DialogAnswer::Confirmed);
    EXPECT_EQ(areas[4].penna, 7);
    EXPECT_EQ(areas[4].dislivello, 2.5);
    EXPECT_EQ(areas[0].penna, 1);
    EXPECT_EQ(state.lastValue, 2.5);
    EXPECT_EQ(state.record.showName, 1);
    EXPECT_EQ(state.changed[PaintSettings::Id::showName], 1);
    ASSERT_EQ(state.markers.GetCount(), 5);
    const uint8_t expected[5] = {1, 0, 1, 1, 1};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(state.markers[i], expected[i]) << i;
    ASSERT_NE(Item(32562, 35), nullptr);
    ASSERT_EQ(Item(32562, 35)->rows.size(), 5u);
    EXPECT_EQ(Item(32562, 35)->rows[3].texts[0], "4*");
    // Values as the host writes numbers: two decimals, no grouping, no negative zero.
    EXPECT_EQ(Item(32562, 35)->rows[2].texts[15], "0.00");
    EXPECT_EQ(Item(32562, 35)->rows[0].texts[15], "1234567.89");
    EXPECT_EQ(Item(32562, 35)->rows[4].texts[15], "2.50");
    // The second layout shows the markers as the first left them.
    ASSERT_NE(Item(32511, 36), nullptr);
    ASSERT_EQ(Item(32511, 36)->rows.size(), 5u);
    EXPECT_EQ(Item(32511, 36)->rows[0].icons[16], 32713);
    EXPECT_EQ(Item(32511, 36)->rows[1].icons[16], 32714);

    // Cancel after a switch leaves the owner's rows and record alone.
    PaintDialogState again = state;
    again.areas = &areas;
    again.earlierCount = &earlier;
    DGDriver::QueuePickListRow(32562, 35, 1);
    DGDriver::QueueSetLong(32562, 28, 9);
    DGDriver::QueueClick(32562, 7);
    DGDriver::QueueClick(32562, 36);
    DGDriver::QueueClick(32511, 2);
    EXPECT_EQ(OpenColouredAreaSettingsDialog(again, SettingsMode::ToolDefaults), DialogAnswer::Cancelled);
    EXPECT_EQ(areas[0].penna, 1);
    EXPECT_EQ(again.record.show2D, state.record.show2D);
}

}  // namespace paint_test
