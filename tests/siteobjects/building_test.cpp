// Buildings on the in-process stand-in host, terrain on the plane z = 100 + 0.05x + 0.02y: placed objects checked
// against the plane and mapped back onto their fills, the settings dialog's height rules, edits of several
// buildings, and rebuilds that never leave a building unlinked.
#include "SlopedTerrainTest.hpp"

#include "DGDriver.hpp"
#include "dialogs/settings/BuildingSettingsDialog.hpp"
#include "elements/LibPartViews.hpp"
#include "foundation/Language.hpp"
#include "shell/SiteObjectDialogBoxes.hpp"
#include "siteobjects/Building.hpp"

#include <algorithm>
#include <cmath>

namespace building_test {

class BuildingTest : public SlopedTerrainTest {
protected:
    API_Element Fill(const std::vector<API_Coord3D>& outline) { return Drawn(API_HatchID, outline); }
    // Creates one building of height h on the fill through the dialog.
    API_Element Build(const std::vector<API_Coord3D>& outline, double h) {
        DGDriver::QueueSetDouble(32561, 8, h);
        DGDriver::QueueClick(32561, 1);
        BuildingCls cls;
        EXPECT_EQ(cls.Create(GlobalSettings, dialogs, Fill(outline), terrain), 0);
        return Objects(ElemKind_Building).back();
    }
    QV_List<QV_Coord3DLong> Outline(const API_Element& e) {
        API_ElementMemo memo = {};
        EXPECT_EQ(ACAPI_Element_GetMemo(e.header.guid, &memo, AttachMemoMask), NoError);
        BuildingLP view(ElemKind_Building);
        view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
        QV_List<QV_Coord3DLong> out;
        EXPECT_TRUE(BaseIDLP::ExchangePerimetroBase(view, out, LPMode_Get));
        view.Detach();
        ACAPI_DisposeElemMemoHdls(&memo);
        return out;
    }
    bool LinkedToTerrain(const API_Element& e) {
        GS::Array<API_Guid> operators;
        if (ACAPI_Element_SolidLink_GetOperators(e.header.guid, &operators) != NoError) return false;
        for (uint32_t i = 0; i < operators.GetSize(); ++i)
            if (operators[i] == terrain.header.guid) return true;
        return false;
    }
    void Place(API_Element e, double dx, double dy, double angle) {
        API_Element mask = {};
        std::memset(&mask.object.pos, 0xFF, sizeof mask.object.pos);
        std::memset(&mask.object.angle, 0xFF, sizeof mask.object.angle);
        e.object.pos.x += dx;
        e.object.pos.y += dy;
        e.object.angle = angle;
        ASSERT_EQ(Command([&] { return ACAPI_Element_Change(&e, &mask, nullptr, 0); }), NoError);
    }
    SiteObjectDialogBoxes dialogs;
};

TEST_F(BuildingTest, BuildingsStandOnTheLowestCornerOfTheirOutlineAndMapBackOntoTheirFill) {
    const std::vector<std::vector<API_Coord3D>> shapes = {
        {{30, 20, 0}, {40, 20, 0}, {40, 40, 0}, {30, 40, 0}},
        {{150, 90, 0}, {110, 100, 0}, {120, 60, 0}},
        {{60.5, 10.25, 0}, {95, 30, 0}, {80, 70, 0}, {55, 55, 0}, {50, 30, 0}},
        {{10, 110, 0}, {10, 80, 0}, {35, 95, 0}},
    };
    double h = 2.0;
    for (const auto& shape : shapes) {
        h += 1.5;
        const API_Element b = Build(shape, h);
        double lowest = 1e300, highest = -1e300;
        for (const API_Coord3D& p : shape) {
            lowest = std::min(lowest, Plane(p.x, p.y));
            highest = std::max(highest, Plane(p.x, p.y));
        }
        // The dialog offers the least height that clears the highest corner; the top is h above the lowest.
        ASSERT_NE(Item(32561, 8), nullptr);
        EXPECT_NEAR(Param(b, "acca_palazzo"), h, 1e-9);
        EXPECT_NEAR(Param(b, "ZZYZX"), lowest + h, 1e-6);
        EXPECT_EQ(Param(b, "IDterrain"), 0.0);
        EXPECT_NEAR(Param(b, "original_mesh_level"), terrain.mesh.level, 1e-9);
        EXPECT_EQ(b.object.level, terrain.mesh.level);
        EXPECT_TRUE(LinkedToTerrain(b));
        const QV_List<QV_Coord3DLong> outline = Outline(b);
        ASSERT_EQ(outline.GetCount(), int32_t(shape.size()) + 1);
        for (int32_t k = 0; k < outline.GetCount(); ++k) {
            const API_Coord3D& p = shape[size_t(k) % shape.size()];
            EXPECT_NEAR(outline[k].x + b.object.pos.x, p.x, 1e-9);
            EXPECT_NEAR(outline[k].y + b.object.pos.y, p.y, 1e-9);
            EXPECT_EQ(outline[k].z, 0.0);
        }
        EXPECT_EQ(outline[outline.GetCount() - 1].code, -1);
        (void)highest;
    }
    // Cancel places nothing and keeps the defaults.
    const BuildingSettings defaults = GlobalSettings.building;
    DGDriver::QueueSetDouble(32561, 8, 44.0);
    DGDriver::QueueClick(32561, 2);
    BuildingCls cls;
    EXPECT_EQ(cls.Create(GlobalSettings, dialogs, Fill(shapes[0]), terrain), 0);
    EXPECT_EQ(Objects(ElemKind_Building).size(), shapes.size());
    EXPECT_EQ(GlobalSettings.building.height, defaults.height);
}

TEST_F(BuildingTest, TheHeightItemNeverGoesBelowTheOutlinesRiseAndADisabledOneSetsNothing) {
    BuildingDialogState state;
    state.record.SetDefaults();
    state.baseLevel = 100.0;
    state.minHeight = 2.5;
    // Creation opens at 2.501; 1.0 is raised to it; OK stores it over the base level.
    DGDriver::QueueSetDouble(32561, 8, 1.0);
    DGDriver::QueueClick(32561, 1);
    ASSERT_EQ(OpenBuildingSettingsDialog(state, SettingsMode::ToolDefaults), DialogAnswer::Confirmed);
    EXPECT_NEAR(state.record.height, 2.501, 1e-12);
    EXPECT_NEAR(state.record.topLevel, 102.501, 1e-12);
    EXPECT_EQ(state.changed[BuildingSettings::Id::topLevel], 1);
    EXPECT_EQ(state.changed[BuildingSettings::Id::height], 1);
    EXPECT_EQ(state.changed[BuildingSettings::Id::pen3D], 0);

    // Editing shows the record's top over the base, but never less than the least height.
    for (const auto& c : {std::make_pair(110.0, 10.0), std::make_pair(101.0, 2.501)}) {
        BuildingDialogState edit = state;
        edit.editing = 1;
        edit.record.topLevel = c.first;
        DGDriver::QueueClick(32561, 2);
        EXPECT_EQ(OpenBuildingSettingsDialog(edit, SettingsMode::ToolDefaults), DialogAnswer::Cancelled);
        ASSERT_NE(Item(32561, 8), nullptr);
        EXPECT_NEAR(Item(32561, 8)->value, c.second, 1e-9);
    }

    // Several buildings, or the tool's defaults: the height item is disabled and OK changes neither height.
    for (int mode = 0; mode < 2; ++mode) {
        BuildingDialogState locked;
        locked.record.SetDefaults();
        locked.record.topLevel = 77.0;
        locked.record.height = 5.0;
        locked.baseLevel = 100.0;
        locked.defaultMode = mode == 0 ? 1 : 0;
        locked.editing = mode == 1 ? 1 : 0;
        locked.several = mode == 1 ? 1 : 0;
        DGDriver::QueueClick(32561, 1);
        ASSERT_EQ(OpenBuildingSettingsDialog(locked, SettingsMode::ToolDefaults), DialogAnswer::Confirmed);
        EXPECT_FALSE(Item(32561, 8)->enabled);
        EXPECT_EQ(locked.record.topLevel, 77.0);
        EXPECT_EQ(locked.record.height, 5.0);
        for (uint8_t flag : locked.changed) EXPECT_EQ(flag, 0);
    }
}

TEST_F(BuildingTest, EditsBeforeALayoutSwitchAreStoredAndFlaggedAndCancelAfterItWritesNothing) {
    BuildingDialogState state;
    state.record.SetDefaults();
    state.defaultMode = 1;
    // The roof turned on with its angle in the first layout, the fill pen in the second, OK there.
    DGDriver::QueueClick(32561, 16);
    DGDriver::QueueSetDouble(32561, 18, 30.0);
    DGDriver::QueueSetLong(32561, 27, 7);
    DGDriver::QueueClick(32561, 36);
    DGDriver::QueueSetLong(32513, 34, 9);
    DGDriver::QueueClick(32513, 1);
    ASSERT_EQ(OpenBuildingSettingsDialog(state, SettingsMode::ToolDefaults), DialogAnswer::Confirmed);
    EXPECT_EQ(state.record.showRoof, 1);
    EXPECT_NEAR(state.record.roofAngle, 30.0 * M_PI / 180.0, 1e-12);
    EXPECT_EQ(state.record.pen3D, 7);
    EXPECT_EQ(state.record.fillPen, 9);
    for (int id : {BuildingSettings::Id::pen3D, BuildingSettings::Id::showRoof, BuildingSettings::Id::roofAngle,
                   BuildingSettings::Id::fillPen})
        EXPECT_EQ(state.changed[id], 1) << id;
    for (int id : {BuildingSettings::Id::material, BuildingSettings::Id::roofMaterial, BuildingSettings::Id::fill,
                   BuildingSettings::Id::fillBackgroundPen, BuildingSettings::Id::pen2D, BuildingSettings::Id::layer,
                   BuildingSettings::Id::name, BuildingSettings::Id::topLevel, BuildingSettings::Id::resolution,
                   BuildingSettings::Id::height})
        EXPECT_EQ(state.changed[id], 0) << id;

    BuildingDialogState again;
    again.record.SetDefaults();
    again.defaultMode = 1;
    DGDriver::QueueSetLong(32561, 27, 8);
    DGDriver::QueueClick(32561, 36);
    DGDriver::QueueClick(32513, 2);
    EXPECT_EQ(OpenBuildingSettingsDialog(again, SettingsMode::ToolDefaults), DialogAnswer::Cancelled);
    EXPECT_EQ(again.record.pen3D, 1);
    for (uint8_t flag : again.changed) EXPECT_EQ(flag, 0);
}

// The heights are probed by slabs the command makes and deletes before the dialog: a Cancel, or a dialog whose
// resources the host refuses, leaves the project and its undo list as they were.
TEST_F(BuildingTest, ACancelledOrUnopenedDialogLeavesNoStepAndNoProbe) {
    const API_Element fill = Fill({{30, 20, 0}, {40, 20, 0}, {40, 40, 0}, {30, 40, 0}});
    const auto before = Db().ToJson();
    DGDriver::QueueClick(32561, 2);
    BuildingCls cls;
    EXPECT_EQ(cls.Create(GlobalSettings, dialogs, fill, terrain), 0);
    EXPECT_EQ(Db().ToJson(), before);
    for (int32_t passes = 0; passes < 4; ++passes) {
        ASSERT_TRUE(host->FailCallAfter("GetOwnResModule", -1, APIERR_GENERAL, passes));
        DGDriver::QueueClick(32561, 2);
        BuildingCls again;
        again.Create(GlobalSettings, dialogs, fill, terrain);
        host->ClearFailures();
        DGDriver::ClearQueueAndLog();
        EXPECT_EQ(Db().ToJson(), before) << passes;
    }
}

TEST_F(BuildingTest, EditingSeveralBuildingsChangesOnlyTheEditedFieldAndAFailedSwitchSaysSo) {
    const API_Element a = Build({{30, 20, 0}, {40, 20, 0}, {40, 40, 0}, {30, 40, 0}}, 6.0);
    const API_Element b = Build({{100, 60, 0}, {120, 60, 0}, {120, 80, 0}}, 12.0);
    QV_List<API_Element> both;
    both.Insert(a);
    both.Insert(b);
    DGDriver::QueueSetLong(32561, 27, 4);
    DGDriver::QueueClick(32561, 1);
    {
        BuildingCls cls;
        ASSERT_EQ(cls.Modify(dialogs, both), 0);
        EXPECT_EQ(cls.unlinked, 1);
    }
    EXPECT_FALSE(Item(32561, 8)->enabled);
    EXPECT_EQ(Param(Get(a.header.guid), "penna3D"), 4.0);
    EXPECT_EQ(Param(Get(b.header.guid), "penna3D"), 4.0);
    EXPECT_NEAR(Param(Get(b.header.guid), "acca_palazzo"), 12.0, 1e-9);
    EXPECT_NEAR(Param(Get(a.header.guid), "acca_palazzo"), 6.0, 1e-9);
    EXPECT_TRUE(LinkedToTerrain(Get(b.header.guid)));

    // From the 3D window a floor plan that cannot be reached is a database error, and nothing is asked.
    Window(APIWind_3DModelID);
    ASSERT_TRUE(host->FailCall("Database", int32_t(API_Selector("CDAT")), APIERR_GENERAL));
    BuildingCls cls;
    EXPECT_EQ(cls.Modify(dialogs, both), 42);
    // An outline without a vertex has no level range to stand on.
    EXPECT_FALSE(cls.ComputeLevelRange());
}

TEST_F(BuildingTest, ARebuildFollowsTheTerrainAndAFailedOneLeavesTheBuildingLinked) {
    // The least height over a 10 x 20 outline rising 0.9 along the plane.
    const API_Element b = Build({{30, 20, 0}, {40, 20, 0}, {40, 40, 0}, {30, 40, 0}}, 0.5);
    EXPECT_NEAR(Param(b, "acca_palazzo"), 0.901, 1e-9);
    // Turned a quarter and moved to (80, 50), it covers (60..80, 50..60), rising 1.2: its top clears the highest
    // corner rather than standing 0.901 above the lowest.
    Place(b, 50.0, 30.0, M_PI / 2.0);
    {
        BuildingCls cls;
        ASSERT_EQ(cls.Rebuild(Get(b.header.guid)), 0);
    }
    const double lowest = Plane(60, 50), highest = Plane(80, 60);
    EXPECT_NEAR(Param(Get(b.header.guid), "ZZYZX"), highest + 0.001, 1e-6);
    EXPECT_NEAR(BuildingTopLevel(0.901, lowest, highest), highest + 0.001, 1e-12);
    EXPECT_NEAR(BuildingTopLevel(5.0, lowest, highest), lowest + 5.001, 1e-12);
    EXPECT_TRUE(LinkedToTerrain(Get(b.header.guid)));

    ASSERT_TRUE(host->FailCall("Element_ChangeParameters", -1, APIERR_GENERAL));
    {
        BuildingCls cls;
        EXPECT_EQ(cls.Rebuild(Get(b.header.guid)), 43);
    }
    EXPECT_TRUE(LinkedToTerrain(Get(b.header.guid)));
}

}  // namespace building_test
