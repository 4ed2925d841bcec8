// "Cross section settings" on the headless dialog manager: what OK writes and flags, what the layout switch
// carries, and that Cancel writes nothing.
#include "ProjectHost.hpp"

#include "DGDriver.hpp"
#include "dialogs/tools/DialogUtilities.hpp"
#include "dialogs/tools/SectionSettingsDialog.hpp"
#include "elements/HostFonts.hpp"
#include "foundation/ModalDialog.hpp"

namespace section_settings_dialog_test {

class SectionDialogTest : public ProjectHostTest {
protected:
    void SetUp() override {
        ProjectHostTest::SetUp();
        ASSERT_TRUE(FillHostFontList());
        GetFontNameList(fonts);
        ASSERT_GE(fonts.GetCount(), 2);
        state.record.SetDefaults(fonts[0]);
        state.record.bottomLevel = 12.5;
    }
    void TearDown() override {
        EXPECT_TRUE(DGDriver::Errors().empty()) << DGDriver::LogText();
        EXPECT_TRUE(DGDriver::UnusedActions().empty());
        DGDriver::Reset();
        HostFontList.Clear();
        ProjectHostTest::TearDown();
    }
    std::vector<int16_t> Flagged() const {
        std::vector<int16_t> ids;
        for (int16_t id = 0; id < SectionFieldCount; ++id)
            if (state.changed[id] != 0) ids.push_back(id);
        return ids;
    }
    QV_List<QV_String> fonts;
    SectionDialogState state;
};

TEST_F(SectionDialogTest, OKFlagsOnlyWhatTheUserChanged) {
    // A level moved by less than 1e-7 is no change; one check box is.
    DGDriver::QueueSetDouble(32556, 7, 12.5 + 5e-8);
    DGDriver::QueueSetLong(32556, 42, 1);
    DGDriver::QueueClick(32556, 1);
    ASSERT_EQ(RunSectionSettingsDialog(state, SettingsMode::EditSelected), DialogAnswer::Confirmed);
    EXPECT_EQ(Flagged(), std::vector<int16_t>{15});
    EXPECT_EQ(state.record.flipLeft, 1);
    EXPECT_EQ(state.record.bottomLevel, 12.5);
    EXPECT_EQ(state.record.font.ToStdString(), fonts[0].ToStdString());
}

TEST_F(SectionDialogTest, EditsCarryAcrossTheLayoutsAndCancelWritesNothing) {
    DGDriver::QueueSetLong(32556, 9, 12);  // the pen's edit; its control follows
    DGDriver::QueueSetDouble(32556, 29, 4.0);
    DGDriver::QueueClick(32556, 48);
    DGDriver::QueuePickPopUpItem(32520, 27, 2);
    DGDriver::QueueClick(32520, 1);
    ASSERT_EQ(RunSectionSettingsDialog(state, SettingsMode::EditSelected), DialogAnswer::Confirmed);
    EXPECT_EQ(state.record.straightPen, 12);
    EXPECT_EQ(state.record.textSize, 4.0);
    EXPECT_EQ(state.record.font.ToStdString(), fonts[1].ToStdString());
    EXPECT_EQ(Flagged(), (std::vector<int16_t>{2, 9, 10}));

    DGDriver::Reset();
    const SectionSettings before = state.record;
    DGDriver::QueueSetLong(32556, 12, 40);
    DGDriver::QueueClick(32556, 48);
    DGDriver::QueueClick(32520, 2);
    EXPECT_EQ(RunSectionSettingsDialog(state, SettingsMode::EditSelected), DialogAnswer::Cancelled);
    EXPECT_EQ(state.record.curvePen, before.curvePen);
    EXPECT_TRUE(Flagged().empty());
}

TEST(SectionRecordTest, TheItemAccessorsReachOnlyTheSixteenBitFields) {
    SectionSettings record;
    record.SetDefaults(QV_String("Arial"));
    record.bottomLevel = 3.0;
    record.textSize = 2.5;
    for (int16_t id = -2; id < 20; ++id) {
        using Id = SectionSettings::Id;
        const bool typed =
            id >= 0 && id < SectionFieldCount && id != Id::bottomLevel && id != Id::font && id != Id::textSize;
        SectionSettings copy = record;
        copy.SetShort(id, -7);
        EXPECT_EQ(copy.GetShort(id), typed ? -7 : 0) << id;
        EXPECT_EQ(copy.bottomLevel, 3.0);
        EXPECT_EQ(copy.textSize, 2.5);
        EXPECT_EQ(copy.font.ToStdString(), "Arial");
    }
}

}  // namespace section_settings_dialog_test
