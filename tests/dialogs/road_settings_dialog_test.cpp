// The road settings dialog through the road tool's dialog loop: values shown and stored back unchanged, the pens
// under cleared boxes, the linked materials, the width as each situation allows it, the reference line.
#include "SettingsDialogFixture.hpp"

#include "dialogs/settings/RoadSettingsDialog.hpp"
#include "earthworks/Road.hpp"
#include "shell/EarthworkDialogBoxes.hpp"

#include <cmath>
#include <random>

namespace road_settings_dialog_test {

class RoadSettingsDialogTest : public SettingsDialogTest {
protected:
    EarthworkDialogBoxes dialogs;
};

// Whatever the record holds within the items' ranges, OK without edits in either layout writes nothing back.
TEST_F(RoadSettingsDialogTest, OKWithoutEditsFlagsNothingForAnyRecord) {
    std::mt19937 random(12);
    std::uniform_real_distribution<double> angle(0.0, M_PI / 2.0);
    std::uniform_real_distribution<double> extension(-1000.0, 1000.0);
    std::uniform_int_distribution<int> small(0, 255);
    for (int run = 0; run < 40; ++run) {
        RoadCls road;
        road.settings.leftCutAngle = run == 0 ? M_PI / 3.0 : angle(random);
        road.settings.rightFillAngle = angle(random);
        road.settings.cutExtension = extension(random);
        road.settings.resolution = int16_t(3 + small(random) % 253);
        road.settings.pen2D = int16_t(small(random));
        road.settings.show2D = int16_t(run % 2);
        road.settings.obstacleShow2D = int16_t(run % 3 == 0);
        road.settings.obstaclePen = int16_t(small(random));
        const RoadData before = road.settings;
        DGDriver::Reset();
        if (run % 2 == 1) DGDriver::QueueClick(32554, 44);
        DGDriver::QueueClick(run % 2 == 1 ? 32504 : 32554, 1);
        ASSERT_EQ(road.RunSettingsDialog(GlobalSettings.misc, dialogs, SettingsMode::ToolDefaults, true, false, false),
                  DialogAnswer::Confirmed);
        ASSERT_EQ(Flags(road), 0) << run;
        EXPECT_NEAR(road.settings.leftCutAngle, before.leftCutAngle, 1e-7);
        if (run == 0) {
            ASSERT_NE(Item(32554, 15), nullptr);
            EXPECT_NEAR(Item(32554, 15)->value, 60.0, 1e-9);
        }
    }
}

TEST_F(RoadSettingsDialogTest, PensUnderAClearedBoxStayAndLinkedMaterialsFollow) {
    RoadCls road;
    road.settings.show2D = 1;
    road.settings.obstacleShow2D = 1;
    const RoadData before = road.settings;
    DGDriver::QueueSetLong(32554, 37, 9);  // the 2D pen edited, then its box cleared
    DGDriver::QueueSetLong(32554, 35, 0);
    DGDriver::QueueSetLong(32554, 33, 1);  // link on: the cut material takes the others along
    DGDriver::QueueSetLong(32554, 31, 3);
    DGDriver::QueueClick(32554, 44);
    DGDriver::QueueSetLong(32504, 46, 8);  // the obstacle pen edited, then the obstacle box cleared
    DGDriver::QueueSetLong(32504, 44, 0);
    DGDriver::QueueClick(32504, 1);
    ASSERT_EQ(road.RunSettingsDialog(GlobalSettings.misc, dialogs, SettingsMode::ToolDefaults, true, false, false),
              DialogAnswer::Confirmed);
    EXPECT_EQ(road.settings.show2D, 0);
    EXPECT_EQ(road.settings.pen2D, before.pen2D);
    EXPECT_EQ(road.changed[RoadData::Id::pen2D], 0);
    EXPECT_EQ(road.settings.obstaclePen, before.obstaclePen);
    EXPECT_EQ(road.changed[RoadData::Id::obstaclePen], 0);
    EXPECT_EQ(road.changed[RoadData::Id::obstacleLineType], 0);
    EXPECT_FALSE(Item(32504, 46)->enabled);
    EXPECT_FALSE(Item(32504, 48)->enabled);
    EXPECT_EQ(road.settings.cutMaterial, 3);  // "Asphalt" of the project's materials
    EXPECT_EQ(road.settings.levelMaterial, 3);
    EXPECT_EQ(road.settings.fillMaterial, 3);

    // Link off: only the one chosen changes.
    RoadCls other;
    DGDriver::Reset();
    DGDriver::QueueSetLong(32554, 31, 2);
    DGDriver::QueueClick(32554, 1);
    ASSERT_EQ(other.RunSettingsDialog(GlobalSettings.misc, dialogs, SettingsMode::ToolDefaults, true, false, false),
              DialogAnswer::Confirmed);
    EXPECT_EQ(other.settings.cutMaterial, 2);
    EXPECT_EQ(other.settings.levelMaterial, before.levelMaterial);
    EXPECT_EQ(other.changed[RoadData::Id::cutMaterial], 1);
    EXPECT_EQ(Flags(other), 1);
}

TEST_F(RoadSettingsDialogTest, TheWidthAndTheReferenceLineAsEachSituationAllowsThem) {
    GlobalSettings.misc.roadWidth = 7.5;
    GlobalSettings.misc.roadReferenceLine = 2;
    // Editing placed roads: width greyed and disabled, not handed back as chosen; radios disabled.
    RoadCls edited;
    DGDriver::QueueClick(32554, 1);
    ASSERT_EQ(edited.RunSettingsDialog(GlobalSettings.misc, dialogs, SettingsMode::EditSelected, false, false, true),
              DialogAnswer::Confirmed);
    EXPECT_FALSE(Item(32554, 8)->enabled);
    EXPECT_EQ(Item(32554, 7)->image, 32641);
    EXPECT_FALSE(Item(32554, 46)->enabled);
    EXPECT_FALSE(edited.stripWidthChosen);
    EXPECT_EQ(edited.referenceLine, 2);

    // Creating with the width editable: the global width shown, and the one confirmed handed back with the
    // reference line; the dialog itself stores nothing (the command keeps them for later roads).
    RoadCls created;
    DGDriver::Reset();
    DGDriver::QueueSetDouble(32554, 8, 9.25);
    DGDriver::QueueClick(32554, 1);
    ASSERT_EQ(created.RunSettingsDialog(GlobalSettings.misc, dialogs, SettingsMode::NewElement, false, true, false),
              DialogAnswer::Confirmed);
    EXPECT_TRUE(Item(32554, 8)->enabled);
    EXPECT_TRUE(created.stripWidthChosen);
    EXPECT_EQ(created.stripWidth, 9.25);
    EXPECT_EQ(created.referenceLine, 2);
    EXPECT_EQ(GlobalSettings.misc.roadWidth, 7.5);

    // Cancel in the second layout after a choice in the first: nothing handed back.
    RoadCls cancelled;
    DGDriver::Reset();
    DGDriver::QueueSetLong(32554, 46, 1);
    DGDriver::QueueSetDouble(32554, 8, 3.0);
    DGDriver::QueueClick(32554, 44);
    DGDriver::QueueClick(32504, 2);
    EXPECT_EQ(cancelled.RunSettingsDialog(GlobalSettings.misc, dialogs, SettingsMode::NewElement, true, true, false),
              DialogAnswer::Cancelled);
    EXPECT_FALSE(cancelled.stripWidthChosen);
    EXPECT_EQ(cancelled.referenceLine, 2);
    EXPECT_EQ(GlobalSettings.misc.roadReferenceLine, 2);
    EXPECT_EQ(GlobalSettings.misc.roadWidth, 7.5);
}

}  // namespace road_settings_dialog_test
