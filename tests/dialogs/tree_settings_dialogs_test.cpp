// "Tree settings" and its "2D settings" through the headless dialog manager: the dialog's own rules on the angle
// and the counts, the flags of what the user changed (kept across layout switches), Cancel changing nothing, and
// choosers the host refuses to set up.
#include "ProjectHost.hpp"

#include "DGDriver.hpp"
#include "dialogs/settings/TreeSettingsDialog.hpp"
#include "foundation/Language.hpp"
#include "foundation/ModalDialog.hpp"

namespace tree_settings_dialogs_test {

class TreeDialogsTest : public ProjectHostTest {
protected:
    void SetUp() override {
        ProjectHostTest::SetUp();
        record.branches = record.branches2 = 4;
        record.levels = record.levels2 = 4;
        record.angle = 45.0;
        record.height = 8.0;
        record.layer = 1;
        record.trunkStyle = 2;
        record.leafStyle = 1;
        record.symbolType = 1;
        record.textSize = 2.5;
        record.font = QV_String("Arial");
        for (int16_t i = 0; i < TreePenCount; ++i) {
            record.SetLong(int16_t(TreeSettings::Id::crownPen + i), 1);
            record.SetLong(int16_t(TreeSettings::Id::crownPen2 + i), 1);
        }
        record.textPen = record.textPen2 = 1;
    }
    void TearDown() override {
        EXPECT_TRUE(DGDriver::Errors().empty()) << DGDriver::LogText();
        EXPECT_TRUE(DGDriver::UnusedActions().empty());
        DGDriver::Reset();
        ProjectHostTest::TearDown();
    }
    std::vector<int16_t> Flagged() const {
        std::vector<int16_t> out;
        for (int16_t i = 0; i < TreeSettings::FieldCount; ++i)
            if (flags.flag[i] != 0) out.push_back(i);
        return out;
    }
    TreeSettings record;
    TreeChangeFlags flags;
};

TEST(TreeDialogRules, AnglesAndCountsStayWhereTheDialogKeepsThem) {
    for (double a = -20.0; a <= 70.0; a += 0.5) {
        const double c = ClampTreeAngle(a);
        EXPECT_TRUE(c <= -15.0 || c >= 20.0) << a;
        if (a <= -15.0 || a >= 20.0) {
            EXPECT_EQ(c, a);
        }
    }
    // No pair the caps leave grows a tree of more than 4^5 + ... rows.
    for (int32_t b = 3; b <= 9; ++b)
        for (int32_t c = 1; c <= 5; ++c) {
            const int32_t levels = CapTreeLevels(b, c);
            const int32_t branches = CapTreeBranches(c, b);
            EXPECT_LE(levels, c);
            EXPECT_LE(branches, b);
            if (b >= 5) {
                EXPECT_LE(levels, 3) << b << " " << c;
            }
            if (c >= 4) {
                EXPECT_LE(branches, 4) << b << " " << c;
            }
        }
}

TEST_F(TreeDialogsTest, ANegativeAngleSelectsTheConicalFormAndOnlyChangedFieldsAreFlagged) {
    DGDriver::QueueSetDouble(32564, 10, -5.0);
    DGDriver::QueueClick(32564, 1);
    ASSERT_EQ(RunTreeSettingsDialogs(record, flags, SettingsMode::Editing(2)), DialogAnswer::Confirmed);
    EXPECT_EQ(record.angle, -15.0);
    EXPECT_EQ(record.levels, 2);
    EXPECT_EQ(record.branches, 7);
    EXPECT_EQ(record.leafStyle, 2);
    EXPECT_EQ(Flagged(),
              (std::vector<int16_t>{TreeSettings::Id::branches, TreeSettings::Id::branches2, TreeSettings::Id::levels,
                                    TreeSettings::Id::levels2, TreeSettings::Id::leafStyle, TreeSettings::Id::angle}));
}

TEST_F(TreeDialogsTest, RaisingTheBranchesLowersTheLevels) {
    DGDriver::QueueSetLong(32564, 20, 6);
    DGDriver::QueueClick(32564, 1);
    ASSERT_EQ(RunTreeSettingsDialogs(record, flags, SettingsMode::Editing(2)), DialogAnswer::Confirmed);
    EXPECT_EQ(record.branches, 6);
    EXPECT_EQ(record.branches2, 6);
    EXPECT_EQ(record.levels, 3);
}

TEST_F(TreeDialogsTest, EditsBeforeALayoutSwitchStayFlaggedAndCancelAfterItChangesNothing) {
    for (const bool confirm : {true, false}) {
        SCOPED_TRACE(confirm);
        TreeSettings before = record;
        flags.Clear();
        DGDriver::QueueSetDouble(32564, 8, 12.0);
        DGDriver::QueueClick(32564, 59);
        DGDriver::QueueSetLong(32525, 13, 20);
        DGDriver::QueueClick(32525, confirm ? 1 : 2);
        EXPECT_EQ(RunTreeSettingsDialogs(record, flags, SettingsMode::Editing(2)), ConfirmedIf(confirm));
        if (confirm) {
            EXPECT_EQ(record.height, 12.0);
            EXPECT_EQ(record.resolution, 20);
            EXPECT_EQ(Flagged(), (std::vector<int16_t>{TreeSettings::Id::resolution, TreeSettings::Id::height}));
        } else {
            EXPECT_EQ(record.height, before.height);
            EXPECT_EQ(record.resolution, before.resolution);
            EXPECT_TRUE(Flagged().empty());
        }
        record = before;
    }
}

TEST_F(TreeDialogsTest, The2DSettingsFlagOnlyWhatChangedThereAndCancelKeepsTheWorkingCopy) {
    DGDriver::QueueClick(32564, 49);
    DGDriver::QueueSetDouble(32565, 32, 4.0);
    DGDriver::QueueClick(32565, 2);
    DGDriver::QueueClick(32564, 49);
    DGDriver::QueueSetDouble(32565, 32, 3.5);
    DGDriver::QueueSetLong(32565, 14, 6);
    DGDriver::QueueSetLong(32565, 5, 1);  // the third symbol kind
    DGDriver::QueueClick(32565, 37);
    DGDriver::QueueClick(32526, 1);
    DGDriver::QueueClick(32564, 1);
    ASSERT_EQ(RunTreeSettingsDialogs(record, flags, SettingsMode::Editing(2)), DialogAnswer::Confirmed);
    EXPECT_EQ(record.textSize, 3.5);
    // The edit changed its pen control with it.
    EXPECT_EQ(record.borderPen, 6);
    EXPECT_EQ(record.borderPen2, 6);
    EXPECT_EQ(record.symbolType, 3);
    EXPECT_EQ(Flagged(),
              (std::vector<int16_t>{TreeSettings::Id::symbolType, TreeSettings::Id::crownPen + 1,
                                    TreeSettings::Id::crownPen2 + 1, TreeSettings::Id::textSize}));
}

TEST_F(TreeDialogsTest, ChoosersTheHostWillNotSetUpAreSaidOnceAndTheRestOfTheDialogWorks) {
    LanguageIndex = LanguageEnglish;
    ASSERT_TRUE(host->FailCall("Interface", -1, APIERR_GENERAL));
    DGDriver::QueueSetLong(32564, 20, 3);
    DGDriver::QueueClick(32564, 1);
    ASSERT_EQ(RunTreeSettingsDialogs(record, flags, SettingsMode::Editing(2)), DialogAnswer::Confirmed);
    EXPECT_EQ(record.branches, 3);
    int alerts = 0;
    for (const DGDriver::LogRecord& r : DGDriver::Log())
        if (r.kind == "alert") {
            ++alerts;
            ASSERT_FALSE(r.texts.empty());
            EXPECT_EQ(r.texts[0], "Error while managing the dialog");
        }
    EXPECT_EQ(alerts, 1);
}

}  // namespace tree_settings_dialogs_test
