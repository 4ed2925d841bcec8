// The plateau and sidewalk settings dialogs through their tools' dialog loops: the slope and its direction as each
// situation allows them, values under cleared boxes, the compact sidewalk layout's own rules, linked materials and
// the width item.
#include "SettingsDialogFixture.hpp"

#include "dialogs/settings/PlateauSettingsDialog.hpp"
#include "dialogs/settings/SidewalkSettingsDialog.hpp"
#include "earthworks/Digging.hpp"
#include "earthworks/Sidewalk.hpp"
#include "shell/EarthworkDialogBoxes.hpp"

#include <cmath>
#include <random>

namespace plateau_sidewalk_dialogs_test {

class PlateauSidewalkDialogTest : public SettingsDialogTest {
protected:
    EarthworkDialogBoxes dialogs;
};

TEST_F(PlateauSidewalkDialogTest, AFlatPlateausSlopeIsTakenOnlyUnderItsBox) {
    DiggingCls plateau;
    const double slope = plateau.settings.slope;
    double direction = 0.0;
    uint8_t directionChanged = 0;
    DGDriver::QueueSetLong(32553, 9, 1);  // sloped on: the slope item opens
    DGDriver::QueueSetDouble(32553, 11, 20.0);
    DGDriver::QueueSetLong(32553, 9, 0);  // and off again before OK
    DGDriver::QueueClick(32553, 1);
    ASSERT_EQ(plateau.RunSettingsDialog(dialogs, SettingsMode::ToolDefaults, direction, directionChanged, false, false),
              DialogAnswer::Confirmed);
    EXPECT_EQ(plateau.settings.slope, slope);
    EXPECT_EQ(Flags(plateau), 0);
    const DGDriver::ItemState* slopeItem = Item(32553, 11);
    ASSERT_NE(slopeItem, nullptr);
    EXPECT_FALSE(slopeItem->enabled);
    EXPECT_EQ(Item(32553, 10)->image, 32642);

    // Checked and confirmed: the sloped switch and the slope are both taken.
    DiggingCls sloped;
    DGDriver::Reset();
    DGDriver::QueueSetLong(32553, 9, 1);
    DGDriver::QueueSetDouble(32553, 11, 20.0);
    DGDriver::QueueClick(32553, 1);
    ASSERT_EQ(sloped.RunSettingsDialog(dialogs, SettingsMode::ToolDefaults, direction, directionChanged, false, false),
              DialogAnswer::Confirmed);
    EXPECT_EQ(sloped.settings.sloped, 1);
    EXPECT_NEAR(sloped.settings.slope, 20.0 * M_PI / 180.0, 1e-12);
    EXPECT_EQ(Flags(sloped), 2);
    EXPECT_EQ(Item(32553, 10)->image, 32575);
}

// Whatever the direction, OK in the second layout without touching it reports no change; any edit of it does.
TEST_F(PlateauSidewalkDialogTest, TheDirectionChangesOnlyWhenEditedAndEditable) {
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> angle(0.0, 2.0 * M_PI);
    for (int run = 0; run < 30; ++run) {
        DiggingCls plateau;
        plateau.settings.sloped = 1;
        double direction = angle(rng);
        const double given = direction;
        uint8_t directionChanged = 7;
        DGDriver::Reset();
        DGDriver::QueueClick(32553, 44);
        DGDriver::QueueClick(32505, 1);
        ASSERT_EQ(
            plateau.RunSettingsDialog(dialogs, SettingsMode::EditSelected, direction, directionChanged, true, true),
            DialogAnswer::Confirmed);
        EXPECT_EQ(directionChanged, 0) << run;
        EXPECT_EQ(direction, given);
        EXPECT_EQ(Flags(plateau), 0);
        EXPECT_TRUE(Item(32505, 13)->enabled);
    }
    // The smallest edit counts.
    DiggingCls plateau;
    plateau.settings.sloped = 1;
    double direction = 1.0;
    uint8_t directionChanged = 0;
    DGDriver::Reset();
    DGDriver::QueueClick(32553, 44);
    DGDriver::QueueSetDouble(32505, 13, 1.0 * 57.29577951308232 + 1e-9);
    DGDriver::QueueClick(32505, 1);
    ASSERT_EQ(plateau.RunSettingsDialog(dialogs, SettingsMode::EditSelected, direction, directionChanged, true, true),
              DialogAnswer::Confirmed);
    EXPECT_EQ(directionChanged, 1);
    EXPECT_NEAR(direction, 1.0, 1e-9);
    // Plateaus not all sloped: slope, box and direction closed; OK keeps the direction.
    DiggingCls mixed;
    DGDriver::Reset();
    DGDriver::QueueClick(32553, 44);
    DGDriver::QueueClick(32505, 1);
    direction = 2.0;
    ASSERT_EQ(mixed.RunSettingsDialog(dialogs, SettingsMode::EditSelected, direction, directionChanged, true, false),
              DialogAnswer::Confirmed);
    EXPECT_EQ(directionChanged, 0);
    EXPECT_EQ(direction, 2.0);
    EXPECT_FALSE(Item(32505, 13)->enabled);
    EXPECT_FALSE(Item(32505, 9)->enabled);
    EXPECT_FALSE(Item(32505, 11)->enabled);
    EXPECT_EQ(Item(32505, 12)->image, 32643);
}

TEST_F(PlateauSidewalkDialogTest, TheCompactSidewalkLayoutDrawsIn2DAndGivesTheCutSideTheFillsMaterial) {
    SideWalkCls sidewalk;
    sidewalk.settings.show2D = 0;
    sidewalk.settings.cutMaterial = 9;
    sidewalk.settings.fillMaterial = 3;
    DGDriver::QueueClick(32552, 1);
    ASSERT_EQ(sidewalk.RunSidewalkSettingsDialog(dialogs, SettingsMode::ToolDefaults, 0), DialogAnswer::Confirmed);
    EXPECT_EQ(sidewalk.settings.show2D, 1);
    EXPECT_EQ(sidewalk.settings.cutMaterial, 3);
    EXPECT_EQ(sidewalk.changed[SidewalkSettings::Id::show2D], 1);
    EXPECT_EQ(sidewalk.changed[SidewalkSettings::Id::cutMaterial], 1);
    EXPECT_EQ(Flags(sidewalk), 2);

    // Second layout: a pen edited under the 2D box then cleared stays; linked materials follow the cut side; the
    // width shows 0.1, greyed.
    SideWalkCls other;
    const int16_t pen = other.settings.pen2D;
    DGDriver::Reset();
    DGDriver::QueueClick(32552, 28);
    DGDriver::QueueSetLong(32515, 23, 9);
    DGDriver::QueueSetLong(32515, 21, 0);
    DGDriver::QueueSetLong(32515, 18, 1);
    DGDriver::QueueSetLong(32515, 16, 2);
    DGDriver::QueueClick(32515, 1);
    ASSERT_EQ(other.RunSidewalkSettingsDialog(dialogs, SettingsMode::ToolDefaults, 0), DialogAnswer::Confirmed);
    EXPECT_EQ(other.settings.pen2D, pen);
    EXPECT_EQ(other.changed[SidewalkSettings::Id::pen2D], 0);
    EXPECT_EQ(other.settings.show2D, 0);
    EXPECT_EQ(other.settings.cutMaterial, 2);
    EXPECT_EQ(other.settings.levelMaterial, 2);
    EXPECT_EQ(other.settings.fillMaterial, 2);
    EXPECT_FALSE(Item(32515, 8)->enabled);
    EXPECT_EQ(Item(32515, 7)->image, 32637);
    EXPECT_NEAR(Item(32515, 8)->value, 0.1, 1e-12);

    // Cancel in either layout writes nothing.
    SideWalkCls cancelled;
    DGDriver::Reset();
    DGDriver::QueueSetDouble(32552, 8, 2.0);
    DGDriver::QueueClick(32552, 28);
    DGDriver::QueueClick(32515, 2);
    EXPECT_EQ(cancelled.RunSidewalkSettingsDialog(dialogs, SettingsMode::ToolDefaults, 0), DialogAnswer::Cancelled);
    EXPECT_NEAR(cancelled.settings.thickness, 0.15, 1e-12);
    EXPECT_EQ(Flags(cancelled), 0);
}

}  // namespace plateau_sidewalk_dialogs_test
