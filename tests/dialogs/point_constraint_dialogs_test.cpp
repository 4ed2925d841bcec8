// "Point settings", "Constraint settings" and "Outline settings" through the headless dialog manager: the code shows as five digits
// and a typed letter becomes 0, the description is cut to 20 characters, only the fields the user changed are
// flagged, and the typed values cross a layout switch.
#include "ProjectHost.hpp"
#include "DGDriver.hpp"
#include "dialogs/settings/ConstraintSettingsDialog.hpp"
#include "dialogs/settings/OutlineSettingsDialog.hpp"
#include "dialogs/settings/PointSettingsDialog.hpp"
#include "foundation/Language.hpp"

#include <string>

namespace point_constraint_dialogs_test {

class PointConstraintDialogsTest : public ProjectHostTest {
protected:
    void SetUp() override {
        ProjectHostTest::SetUp();
        DGDriver::Reset();
        LanguageIndex = LanguageEnglish;
        point.SetDefaults();
        point.codeNumber = 42;
    }
    void TearDown() override {
        EXPECT_TRUE(DGDriver::Errors().empty()) << DGDriver::LogText();
        EXPECT_TRUE(DGDriver::UnusedActions().empty());
        DGDriver::Reset();
        ProjectHostTest::TearDown();
    }
    std::string ItemText(int16_t dialog, int16_t item) const {
        std::string text = "?";
        for (const DGDriver::LogRecord& r : DGDriver::Log())
            if (r.id == dialog)
                for (const DGDriver::ItemState& s : r.items)
                    if (s.id == item) text = s.text;
        return text;
    }
    const DGDriver::ItemState* Item(int16_t dialog, int16_t item) const {
        const DGDriver::ItemState* found = nullptr;
        for (const DGDriver::LogRecord& r : DGDriver::Log())
            if (r.id == dialog)
                for (const DGDriver::ItemState& s : r.items)
                    if (s.id == item) found = &s;
        return found;
    }
    int Flags() const {
        int n = 0;
        for (uint8_t f : changed) n += f;
        return n;
    }
    PointSettings point;
    uint8_t changed[6] = {};
};

TEST_F(PointConstraintDialogsTest, CodeShowsFiveDigitsAndOnlyTheTouchedFieldsAreFlagged) {
    // OK without a change: no flag.
    DGDriver::QueueClick(32555, 1);
    ASSERT_EQ(RunPointSettingsDialog(point, changed, SettingsMode::ToolDefaults), DialogAnswer::Confirmed);
    EXPECT_EQ(ItemText(32555, 11), "00042");
    EXPECT_EQ(Flags(), 0);

    // Only the comment: flag 4 alone.
    DGDriver::QueueSetText(32555, 13, "north corner");
    DGDriver::QueueClick(32555, 1);
    ASSERT_EQ(RunPointSettingsDialog(point, changed, SettingsMode::ToolDefaults), DialogAnswer::Confirmed);
    EXPECT_EQ(point.text.ToStdString(Encoding_UTF8), "north corner");
    EXPECT_EQ(changed[PointSettings::Id::text], 1);
    EXPECT_EQ(Flags(), 1);

    // A letter in the code turns into 0; a description of 25 characters is stored cut to 20.
    point.code = "abcdefghijklmnopqrstuvwxy";
    DGDriver::QueueSetText(32555, 11, "7a7");
    DGDriver::QueueClick(32555, 1);
    ASSERT_EQ(RunPointSettingsDialog(point, changed, SettingsMode::ToolDefaults), DialogAnswer::Confirmed);
    EXPECT_EQ(point.codeNumber, 707);
    EXPECT_EQ(point.code.ToStdString(Encoding_UTF8), "abcdefghijklmnopqrst");
    EXPECT_EQ(changed[PointSettings::Id::codeNumber], 1);
    EXPECT_EQ(changed[PointSettings::Id::code], 1);
    EXPECT_EQ(Flags(), 2);
}

TEST_F(PointConstraintDialogsTest, TypedValuesCrossTheLayoutSwitchAndCancelKeepsTheRecord) {
    DGDriver::QueueSetText(32555, 13, "typed first");
    DGDriver::QueueSetText(32555, 11, "00123");
    DGDriver::QueueSetDouble(32555, 8, 101.5);
    DGDriver::QueueClick(32555, 20);
    DGDriver::QueueClick(32508, 1);
    ASSERT_EQ(RunPointSettingsDialog(point, changed, SettingsMode::ToolDefaults), DialogAnswer::Confirmed);
    EXPECT_EQ(ItemText(32508, 14), "typed first");
    EXPECT_EQ(ItemText(32508, 12), "00123");
    EXPECT_EQ(point.value, 101.5);
    EXPECT_EQ(changed[PointSettings::Id::value] + changed[PointSettings::Id::text] +
                  changed[PointSettings::Id::codeNumber],
              3);

    const PointSettings before = point;
    DGDriver::QueueSetText(32555, 13, "never stored");
    DGDriver::QueueClick(32555, 20);
    DGDriver::QueueClick(32508, 2);
    uint8_t none[6] = {};
    EXPECT_EQ(RunPointSettingsDialog(point, none, SettingsMode::ToolDefaults), DialogAnswer::Cancelled);
    EXPECT_EQ(point.text, before.text);
}

TEST_F(PointConstraintDialogsTest, ConstraintDialogFlagsOnlyWhatChanged) {
    ConstraintSettings record;
    record.SetDefaults();
    uint8_t flags[3] = {};
    DGDriver::QueueClick(32545, 1);
    ASSERT_EQ(RunConstraintSettingsDialog(record, flags, SettingsMode::ToolDefaults), DialogAnswer::Confirmed);
    EXPECT_EQ(flags[ConstraintSettings::Id::pen] + flags[ConstraintSettings::Id::lineType] +
                  flags[ConstraintSettings::Id::layer],
              0);

    DGDriver::QueueClick(32545, 15);
    DGDriver::QueueSetLong(32509, 8, 12);
    DGDriver::QueueClick(32509, 1);
    ASSERT_EQ(RunConstraintSettingsDialog(record, flags, SettingsMode::ToolDefaults), DialogAnswer::Confirmed);
    EXPECT_EQ(record.pen, 12);
    EXPECT_EQ(flags[ConstraintSettings::Id::pen], 1);
    EXPECT_EQ(flags[ConstraintSettings::Id::lineType] + flags[ConstraintSettings::Id::layer], 0);
    EXPECT_EQ(record.lineType, 1);
}

TEST_F(PointConstraintDialogsTest, OutlineSearchValuesShowInDegreesAndTheFirstLayoutKeepsTheFillAttributes) {
    OutlineDialogRecord record;
    record.settings.SetDefaults();
    record.settings.fillPen = 21;
    record.corridorWidth = 4.0;
    record.searchAngle = M_PI / 6;
    record.typeSelectable = false;  // not selectable, not locked: only the radios are off
    uint8_t flags[7] = {};
    DGDriver::QueueSetLong(32546, 18, 40);
    DGDriver::QueueClick(32546, 1);
    ASSERT_EQ(RunOutlineSettingsDialog(record, flags, SettingsMode::ToolDefaults), DialogAnswer::Confirmed);
    ASSERT_NE(Item(32546, 14), nullptr);
    EXPECT_NEAR(Item(32546, 14)->value, 30.0, 1e-9);
    EXPECT_FALSE(Item(32546, 7)->enabled);
    EXPECT_FALSE(Item(32546, 8)->enabled);
    EXPECT_TRUE(Item(32546, 12)->enabled);
    EXPECT_TRUE(Item(32546, 14)->enabled);
    EXPECT_NEAR(record.searchAngle, M_PI / 6, 1e-12);
    EXPECT_EQ(record.corridorWidth, 4.0);
    EXPECT_EQ(record.settings.pen, 40);
    EXPECT_EQ(record.settings.fillPen, 21);
    EXPECT_EQ(flags[OutlineSettings::Id::pen], 1);
    EXPECT_EQ(flags[OutlineSettings::Id::fillPen] + flags[OutlineSettings::Id::backgroundPen] +
                  flags[OutlineSettings::Id::fill] + flags[OutlineSettings::Id::lineType] +
                  flags[OutlineSettings::Id::layer] + flags[OutlineSettings::Id::name],
              0);

    // Locked as well: width and angle are off too; the second layout takes the type from its radios.
    record.corridorLocked = true;
    DGDriver::QueueClick(32546, 25);
    DGDriver::QueueClick(32502, 1);
    ASSERT_EQ(RunOutlineSettingsDialog(record, flags, SettingsMode::ToolDefaults), DialogAnswer::Confirmed);
    EXPECT_FALSE(Item(32502, 11)->enabled);
    EXPECT_FALSE(Item(32502, 13)->enabled);
    EXPECT_EQ(record.searchType, 1);
}

}  // namespace point_constraint_dialogs_test
