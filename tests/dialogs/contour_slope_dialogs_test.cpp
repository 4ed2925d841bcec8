// The contour-line, single-altitude and slope analysis dialogs through the headless dialog manager: what several
// objects edited at once cannot change never reaches the record, altitudes keep their order, slope bounds never
// stop rising, and each layout leaves the fields it does not show alone.
#include "ProjectHost.hpp"

#include "DGDriver.hpp"
#include "dialogs/settings/ContourAltitudeDialog.hpp"
#include "dialogs/settings/ContourLineSettingsDialog.hpp"
#include "dialogs/tools/SlopeAnalysisDialog.hpp"
#include "foundation/ModalDialog.hpp"

namespace contour_slope_dialogs_test {

class ToolDialogsTest : public ProjectHostTest {
protected:
    void SetUp() override {
        ProjectHostTest::SetUp();
        contour.SetDefaults();
        contour.firstAltitude = 101.0;
        contour.lastAltitude = 105.0;
        contour.secondPen = 3;
        slope.SetDefaults(QV_String("Arial"));
        slope.framePen = 9;
        slope.showZeros = 1;
    }
    void TearDown() override {
        EXPECT_TRUE(DGDriver::Errors().empty()) << DGDriver::LogText();
        EXPECT_TRUE(DGDriver::UnusedActions().empty());
        DGDriver::Reset();
        ProjectHostTest::TearDown();
    }
    std::string ItemText(int16_t dialog, int16_t item) const {
        for (const DGDriver::LogRecord& r : DGDriver::Log())
            if (r.id == dialog)
                for (const DGDriver::ItemState& s : r.items)
                    if (s.id == item) return s.text;
        return "?";
    }
    ContourLineSettings contour;
    SlopeRangeSettings slope;
    uint8_t changed[ContourLineSettings::FieldCount] = {};
};

TEST_F(ToolDialogsTest, TheTerrainsRangeReachesTheRecordOnlyWhenOneObjectIsEdited) {
    for (int32_t objects : {3, 1}) {
        ContourLineSettings record = contour;
        DGDriver::QueueSetLong(32549, 17, 8);
        DGDriver::QueueClick(32549, 1);
        ASSERT_EQ(RunContourLineSettingsDialog(record, changed, 100.0, 108.0, true, SettingsMode::Editing(objects)),
                  DialogAnswer::Confirmed);
        EXPECT_EQ(ItemText(32549, 6), "Terrain min: 100     max: 108");
        EXPECT_EQ(record.secondPen, 8);
        EXPECT_EQ(changed[ContourLineSettings::Id::secondPen], 1);
        // Several objects: the altitude items are disabled, show the terrain's range and are never stored.
        const bool one = objects == 1;
        EXPECT_EQ(changed[ContourLineSettings::Id::firstAltitude], one ? 1 : 0) << objects;
        EXPECT_EQ(changed[ContourLineSettings::Id::lastAltitude], one ? 1 : 0) << objects;
        EXPECT_EQ(record.firstAltitude, one ? 100.0 : 101.0) << objects;
        EXPECT_EQ(record.lastAltitude, one ? 108.0 : 105.0) << objects;
        DGDriver::Reset();
    }
}

TEST_F(ToolDialogsTest, AltitudesKeepTheirOrderAndEditsCarryAcrossTheLayouts) {
    DGDriver::QueueSetDouble(32549, 10, 107.0);  // above the final altitude: the two swap
    DGDriver::QueueClick(32549, 36);
    DGDriver::QueueClick(32506, 26);  // the third view switch, shown only in the second layout
    DGDriver::QueueClick(32506, 1);
    ASSERT_EQ(RunContourLineSettingsDialog(contour, changed, 100.0, 108.0, false, SettingsMode::Editing(1)),
              DialogAnswer::Confirmed);
    EXPECT_EQ(contour.firstAltitude, 105.0);
    EXPECT_EQ(contour.lastAltitude, 107.0);
    EXPECT_EQ(contour.showSection, 1);
    int flagged = 0;
    for (uint8_t f : changed) flagged += f;
    EXPECT_EQ(flagged, 3);
}

TEST_F(ToolDialogsTest, OneAltitudeEditedFlagsOnlyTheAltitude) {
    ContourAltitudeSettings record;
    record.SetDefaults();
    uint8_t flags[5] = {};
    DGDriver::QueueSetDouble(32566, 8, 250.5);
    DGDriver::QueueClick(32566, 1);
    ASSERT_EQ(RunContourAltitudeDialog(record, flags, SettingsMode::EditSelected), DialogAnswer::Confirmed);
    EXPECT_EQ(record.altitude, 250.5);
    const uint8_t expected[5] = {1, 0, 0, 0, 0};
    for (int k = 0; k < 5; ++k) EXPECT_EQ(flags[k], expected[k]) << k;
}

TEST_F(ToolDialogsTest, SlopeBoundsSnapBackUnlessTheyRiseAndEachLayoutKeepsWhatItDoesNotShow) {
    uint8_t flags[25] = {};
    DGDriver::QueueSetLong(32548, 20, 5);  // equal to the first bound: refused
    DGDriver::QueueAlertAnswer(1);
    DGDriver::QueueSetLong(32548, 21, 12);
    DGDriver::QueueClick(32548, 1);
    ASSERT_EQ(RunSlopeAnalysisDialog(slope, flags, SettingsMode::EditSelected), DialogAnswer::Confirmed);
    EXPECT_NE(DGDriver::LogText().find("The intervals defined are not congruent"), std::string::npos);
    const uint16_t bounds[6] = {5, 10, 12, 20, 25, 30};
    for (int16_t k = 0; k < 6; ++k) EXPECT_EQ(slope.GetShort(SlopeRangeSettings::Id::limit1 + k), bounds[k]) << k;
    EXPECT_EQ(ItemText(32548, 25), "30");
    int flagged = 0;
    for (uint8_t f : flags) flagged += f;
    EXPECT_EQ(flagged, 1);
    EXPECT_EQ(flags[SlopeRangeSettings::Id::limit3], 1);
    // The first layout has no outline pen nor zero switch; the second has no 2D switch.
    EXPECT_EQ(slope.framePen, 9);
    EXPECT_EQ(slope.showZeros, 1);
    DGDriver::Reset();
    slope.show2D = 0;
    DGDriver::QueueClick(32548, 67);
    DGDriver::QueueClick(32537, 63);
    DGDriver::QueueClick(32537, 1);
    ASSERT_EQ(RunSlopeAnalysisDialog(slope, flags, SettingsMode::EditSelected), DialogAnswer::Confirmed);
    EXPECT_EQ(slope.showZeros, 0);
    EXPECT_EQ(flags[SlopeRangeSettings::Id::showZeros], 1);
    EXPECT_EQ(slope.show2D, 0);
}

}  // namespace contour_slope_dialogs_test
