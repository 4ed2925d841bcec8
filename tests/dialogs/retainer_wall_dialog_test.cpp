// The retainer wall settings dialog through the retaining-wall tool's dialog loop: values shown and stored back
// unchanged, angles in degrees, the thickness beside the record, the edit lock, the fill control following the 2D
// pen, and edits carried across the two layouts.
#include "SettingsDialogFixture.hpp"
#include "SettingsKinds.hpp"

#include "dialogs/settings/RetainerWallSettingsDialog.hpp"
#include "earthworks/Obstacle.hpp"
#include "shell/EarthworkDialogBoxes.hpp"

#include <cmath>

namespace retainer_wall_dialog_test {

class RetainerWallDialogTest : public SettingsDialogTest {
protected:
    EarthworkDialogBoxes dialogs;
};

// OK without edits, in either layout, flags nothing: 45 degrees shown as such and stored as it was.
TEST_F(RetainerWallDialogTest, OKWithoutEditsFlagsNothing) {
    for (const int16_t layout : {int16_t(32560), int16_t(32517)}) {
        ObstacleCls wall;
        wall.settings.leftAngle = M_PI / 4;
        wall.settings.fillPen = 77;
        DGDriver::Reset();
        if (layout == 32517) DGDriver::QueueClick(32560, 36);
        DGDriver::QueueClick(layout, 1);
        ASSERT_EQ(wall.RunSettingsDialog(GlobalSettings.misc, dialogs, SettingsMode::ToolDefaults, 0),
                  DialogAnswer::Confirmed);
        EXPECT_EQ(Flags(wall), 0) << layout;
        EXPECT_NEAR(Item(layout, 12)->value, 45.0, 1e-12);
        EXPECT_EQ(wall.settings.leftAngle, M_PI / 4);
        EXPECT_EQ(wall.settings.fillPen, 77);
    }
}

TEST_F(RetainerWallDialogTest, EditsAreFlaggedTheThicknessStoredAndLockedWhenEditingPlacedWalls) {
    GlobalSettings.SetDouble(GeneralKind, MiscSettings::Id::retainingThickness, 0.4);
    ObstacleCls wall;
    wall.settings.SetDefaults();
    DGDriver::QueueSetDouble(32560, 12, 60.0);
    DGDriver::QueueSetDouble(32560, 8, 0.5 + 5e-8);  // below the 1e-7 that counts as a change
    DGDriver::QueueSetDouble(32560, 10, 0.75);
    DGDriver::QueueSetLong(32560, 27, 7);  // the 2D pen: the fill control takes it as its first colour
    DGDriver::QueueClick(32560, 36);
    DGDriver::QueueSetLong(32517, 33, 12);  // the fill pen, only in the second layout
    DGDriver::QueueSetText(32517, 37, "Wall A");
    DGDriver::QueueClick(32517, 1);
    ASSERT_EQ(wall.RunSettingsDialog(GlobalSettings.misc, dialogs, SettingsMode::ToolDefaults, 0),
              DialogAnswer::Confirmed);
    EXPECT_NEAR(wall.settings.leftAngle, M_PI / 3, 1e-12);
    EXPECT_EQ(wall.changed[RetainerWallSettings::Id::leftAngle], 1);
    EXPECT_EQ(wall.changed[RetainerWallSettings::Id::height], 0);
    EXPECT_EQ(wall.settings.pen2D, 7);
    EXPECT_EQ(wall.changed[RetainerWallSettings::Id::pen2D], 1);
    EXPECT_EQ(wall.settings.fillPen, 12);
    EXPECT_EQ(wall.changed[RetainerWallSettings::Id::fillPen], 1);
    EXPECT_EQ(wall.settings.name.ToStdString(), "Wall A");
    EXPECT_EQ(wall.changed[RetainerWallSettings::Id::name], 1);
    EXPECT_EQ(Flags(wall), 4);
    EXPECT_EQ(GlobalSettings.GetDouble(GeneralKind, MiscSettings::Id::retainingThickness), 0.75);
    EXPECT_EQ(Item(32517, 10)->value, 0.75);  // the thickness went across the switch

    // Placed walls: thickness and resolution disabled; OK still writes the thickness shown.
    ObstacleCls placed;
    DGDriver::Reset();
    DGDriver::QueueClick(32560, 1);
    ASSERT_EQ(placed.RunSettingsDialog(GlobalSettings.misc, dialogs, SettingsMode::ToolDefaults, 1),
              DialogAnswer::Confirmed);
    EXPECT_FALSE(Item(32560, 10)->enabled);
    EXPECT_FALSE(Item(32560, 16)->enabled);
    EXPECT_EQ(GlobalSettings.GetDouble(GeneralKind, MiscSettings::Id::retainingThickness), 0.75);

    // Cancel: nothing changes, neither the record nor the thickness.
    ObstacleCls cancelled;
    const RetainerWallSettings before = cancelled.settings;
    DGDriver::Reset();
    DGDriver::QueueSetDouble(32560, 10, 3.0);
    DGDriver::QueueSetDouble(32560, 8, 2.0);
    DGDriver::QueueClick(32560, 2);
    EXPECT_EQ(cancelled.RunSettingsDialog(GlobalSettings.misc, dialogs, SettingsMode::ToolDefaults, 0),
              DialogAnswer::Cancelled);
    EXPECT_EQ(cancelled.settings.height, before.height);
    EXPECT_EQ(GlobalSettings.GetDouble(GeneralKind, MiscSettings::Id::retainingThickness), 0.75);
    EXPECT_EQ(Flags(cancelled), 0);
}

}  // namespace retainer_wall_dialog_test
