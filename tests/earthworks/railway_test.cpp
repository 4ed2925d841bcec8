// The railway tool through its settings dialog on the in-process stand-in host: three linked "VY_RAILWAY"
// objects with their tracks, the gauge and tie spacing never taken from a disabled item, and edits of several
// railways that keep each one's own track data.
#include "FakeContourLineRefresh.hpp"
#include "GridTerrain.hpp"
#include "ScriptedToolTest.hpp"
#include "SettingsKinds.hpp"

#include "DGDriver.hpp"
#include "dialogs/settings/RailwaySettingsDialog.hpp"
#include "earthworks/Railway.hpp"
#include "elements/ChangeElementMemo.hpp"
#include "elements/LibPartViews.hpp"
#include "elements/ParamIndexes.hpp"
#include "foundation/Language.hpp"
#include "foundation/ModalDialog.hpp"
#include "settings/Settings.hpp"
#include "shell/EarthworkDialogBoxes.hpp"

#include <cmath>
#include <string>

namespace railway_test {

double Plane(double x, double y) { return 100.0 + 0.1 * x + 0.05 * y; }

class RailwayToolTest : public ScriptedToolTest {
protected:
    void SetUp() override {
        ScriptedToolTest::SetUp();
        if (HasFatalFailure()) return;
        GlobalSettings.SetDouble(GeneralKind, MiscSettings::Id::roadWidth, 8.0);
        GlobalSettings.SetShort(GeneralKind, MiscSettings::Id::railwayReferenceLine, 2);
        terrain = PlaceTerrain(GridTerrainPoints(Plane));
    }
    API_Element Polyline(double y) {
        API_Guid g = {};
        EXPECT_EQ(Db().PlacePolygonElement(API_PolyLineID, {{20, y, 0}, {180, y, 0}}, false, 1,
                                           "track" + std::to_string(int(y)), &g),
                  NoError);
        return Get(g);
    }
    std::vector<API_Element> Railways() { return Objects(ElemKind_Railway); }
    std::string Role(const API_Element& e) {
        API_ElementMemo memo = {};
        EXPECT_EQ(ACAPI_Element_GetMemo(e.header.guid, &memo, AttachMemoMask), NoError);
        RailwayLP view(ElemKind_Railway);
        view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
        QV_String role;
        EXPECT_TRUE(view.GetSetString(BaseIDParam::Operatore, role, LPMode_Get));
        view.Detach();
        ACAPI_DisposeElemMemoHdls(&memo);
        return role.ToStdString();
    }
    using ScriptedToolTest::Item;
    const DGDriver::ItemState* Item(int16_t item) const { return Item(32580, item); }
    API_Element terrain = {};
    EarthworkDialogBoxes dialogs;
    FakeContourLineRefresh contours;
};

TEST_F(RailwayToolTest, TwoTracksAlongAPolylineOnThePlane) {
    DGDriver::QueueClick(32580, 2);
    {
        RailwayCls railway;
        EXPECT_EQ(railway.CreateAlongPolyline(GlobalSettings, dialogs, contours, Polyline(50), terrain), 0);
    }
    EXPECT_TRUE(Railways().empty());

    DGDriver::QueueSetLong(32580, 58, 1);
    DGDriver::QueueClick(32580, 1);
    {
        RailwayCls railway;
        ASSERT_EQ(railway.CreateAlongPolyline(GlobalSettings, dialogs, contours, Polyline(60), terrain), 0);
    }
    const std::vector<API_Element> made = Railways();
    ASSERT_EQ(made.size(), 3u);
    for (const API_Element& e : made) {
        EXPECT_EQ(Param(e, "et_num_track"), 2.0);
        EXPECT_NEAR(Param(e, "et_GaugeTrack"), 1.435, 1e-12);
        EXPECT_EQ(Param(e, "IDoriginal"), -1.0);
        API_ElementMemo memo = {};
        ASSERT_EQ(ACAPI_Element_GetMemo(e.header.guid, &memo, AttachMemoMask), NoError);
        RailwayLP view(ElemKind_Railway);
        view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
        QV_List<API_Coord3D> left, right;
        ASSERT_TRUE(RailwayLP::ExchangeDoubleListA(view, left, LPMode_Get));
        ASSERT_TRUE(RailwayLP::ExchangeDoubleListB(view, right, LPMode_Get));
        view.Detach();
        ACAPI_DisposeElemMemoHdls(&memo);
        ASSERT_EQ(left.GetCount(), 9);
        ASSERT_EQ(right.GetCount(), 9);
        for (const QV_List<API_Coord3D>* edge : {&left, &right})
            for (int32_t k = 0; k < 9; ++k) {
                const double x = (*edge)[k].x + e.object.pos.x, y = (*edge)[k].y + e.object.pos.y;
                EXPECT_NEAR((*edge)[k].z, Plane(x, y), 1e-6);
                EXPECT_NEAR(std::fabs(y - 60.0), 4.0, 1e-6);
            }
    }
}

TEST_F(RailwayToolTest, GaugeAndTiesComeFromTheRecordNeverFromADisabledItem) {
    // The defaults edit shows the defaults' gauge with its item disabled; OK leaves it as it was.
    DGDriver::QueueClick(32580, 1);
    {
        RailwayCls railway;
        railway.EditDefaults(GlobalSettings, dialogs);
    }
    ASSERT_NE(Item(10), nullptr);
    EXPECT_FALSE(Item(10)->enabled);
    EXPECT_NEAR(Item(10)->value, 1.435, 1e-12);
    EXPECT_NEAR(GlobalSettings.railway.gauge, 1.435, 1e-12);
    EXPECT_NEAR(GlobalSettings.railway.tieSpacing, 0.6, 1e-12);

    // Two railways, the first given its own gauge and ties; an edit of the cut slope keeps both railways' own.
    DGDriver::QueueClick(32580, 1);
    DGDriver::QueueClick(32580, 1);
    {
        RailwayCls a, b;
        ASSERT_EQ(a.CreateAlongPolyline(GlobalSettings, dialogs, contours, Polyline(40), terrain), 0);
        ASSERT_EQ(b.CreateAlongPolyline(GlobalSettings, dialogs, contours, Polyline(90), terrain), 0);
    }
    const std::vector<API_Element> all = Railways();
    ASSERT_EQ(all.size(), 6u);
    for (int k = 0; k < 3; ++k) {
        SetParam(all[size_t(k)], "et_GaugeTrack", 1.0);
        SetParam(all[size_t(k)], "et_DistTie", 0.75);
    }
    QV_List<API_Element> selected;
    for (const API_Element& e : all) selected.Insert(e);
    DGDriver::QueueSetDouble(32580, 19, 40.0);
    DGDriver::QueueClick(32580, 1);
    {
        RailwayCls railway;
        EXPECT_EQ(railway.ModifySelected(GlobalSettings, dialogs, selected), 0);
    }
    // The edit shows the general width, locked; OK leaves it as it was.
    ASSERT_NE(Item(8), nullptr);
    EXPECT_FALSE(Item(8)->enabled);
    EXPECT_EQ(Item(8)->value, 8.0);
    EXPECT_EQ(GlobalSettings.GetDouble(GeneralKind, MiscSettings::Id::roadWidth), 8.0);
    for (size_t k = 0; k < all.size(); ++k) {
        EXPECT_NEAR(Param(all[k], "slope_SX_cut"), 40.0 * 0.017453292519943295, 1e-9) << k;
        EXPECT_NEAR(Param(all[k], "et_GaugeTrack"), k < 3 ? 1.0 : 1.435, 1e-12) << k;
        EXPECT_NEAR(Param(all[k], "et_DistTie"), k < 3 ? 0.75 : 0.6, 1e-12) << k;
    }
}

// The railway command hands over the objects as they are selected: whichever one of a set is edited, its cut, fill
// and result objects all carry the change afterwards, as a road's do.
TEST_F(RailwayToolTest, AnEditOfAnyOneObjectOfASetReachesItsPartners) {
    DGDriver::QueueClick(32580, 1);
    {
        RailwayCls railway;
        ASSERT_EQ(railway.CreateAlongPolyline(GlobalSettings, dialogs, contours, Polyline(70), terrain), 0);
    }
    const std::vector<API_Element> set = Railways();
    ASSERT_EQ(set.size(), 3u);
    double degrees = 30.0;
    for (const API_Element& edited : set) {
        degrees += 5.0;
        QV_List<API_Element> selected;
        selected.Insert(edited);
        DGDriver::QueueSetDouble(32580, 19, degrees);
        DGDriver::QueueClick(32580, 1);
        {
            RailwayCls railway;
            ASSERT_EQ(railway.ModifySelected(GlobalSettings, dialogs, selected), 0) << Role(edited);
        }
        for (const API_Element& e : Railways())
            EXPECT_NEAR(Param(e, "slope_SX_cut"), degrees * 0.017453292519943295, 1e-9)
                << Role(e) << " after an edit of the " << Role(edited);
    }
}

}  // namespace railway_test
