// "Point settings" and "Constraint settings" through the headless dialog manager: the code shows as five digits
// and a typed letter becomes 0, the description is cut to 20 characters, only the fields the user changed are
// flagged, and the typed values cross a layout switch.
#include "ProjectHost.hpp"
#include "DGDriver.hpp"
#include "dialogs/settings/ConstraintSettingsDialog.hpp"
#include "dialogs/settings/PointSettingsDialog.hpp"
#include "foundation/Language.hpp"

#include <string>

namespace {

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
    ASSERT_TRUE(RunPointSettingsDialog(point, changed));
    EXPECT_EQ(ItemText(32555, 11), "00042");
    EXPECT_EQ(Flags(), 0);

    // Only the comment: flag 4 alone.
    DGDriver::QueueSetText(32555, 13, "north corner");
    DGDriver::QueueClick(32555, 1);
    ASSERT_TRUE(RunPointSettingsDialog(point, changed));
    EXPECT_EQ(point.comment.ToStdString(Encoding_UTF8), "north corner");
    EXPECT_EQ(changed[4], 1);
    EXPECT_EQ(Flags(), 1);

    // A letter in the code turns into 0; a description of 25 characters is stored cut to 20.
    point.code = "abcdefghijklmnopqrstuvwxy";
    DGDriver::QueueSetText(32555, 11, "7a7");
    DGDriver::QueueClick(32555, 1);
    ASSERT_TRUE(RunPointSettingsDialog(point, changed));
    EXPECT_EQ(point.codeNumber, 707u);
    EXPECT_EQ(point.code.ToStdString(Encoding_UTF8), "abcdefghijklmnopqrst");
    EXPECT_EQ(changed[3], 1);
    EXPECT_EQ(changed[2], 1);
    EXPECT_EQ(Flags(), 2);
}

TEST_F(PointConstraintDialogsTest, TypedValuesCrossTheLayoutSwitchAndCancelKeepsTheRecord) {
    DGDriver::QueueSetText(32555, 13, "typed first");
    DGDriver::QueueSetText(32555, 11, "00123");
    DGDriver::QueueSetDouble(32555, 8, 101.5);
    DGDriver::QueueClick(32555, 20);
    DGDriver::QueueClick(32508, 1);
    ASSERT_TRUE(RunPointSettingsDialog(point, changed));
    EXPECT_EQ(ItemText(32508, 14), "typed first");
    EXPECT_EQ(ItemText(32508, 12), "00123");
    EXPECT_EQ(point.height, 101.5);
    EXPECT_EQ(changed[5] + changed[4] + changed[3], 3);

    const PointSettings before = point;
    DGDriver::QueueSetText(32555, 13, "never stored");
    DGDriver::QueueClick(32555, 20);
    DGDriver::QueueClick(32508, 2);
    uint8_t none[6] = {};
    EXPECT_FALSE(RunPointSettingsDialog(point, none));
    EXPECT_EQ(point.comment, before.comment);
}

TEST_F(PointConstraintDialogsTest, ConstraintDialogFlagsOnlyWhatChanged) {
    ConstraintSettings record;
    record.SetDefaults();
    uint8_t flags[3] = {};
    DGDriver::QueueClick(32545, 1);
    ASSERT_TRUE(RunConstraintSettingsDialog(record, flags));
    EXPECT_EQ(flags[0] + flags[1] + flags[2], 0);

    DGDriver::QueueClick(32545, 15);
    DGDriver::QueueSetLong(32509, 8, 12);
    DGDriver::QueueClick(32509, 1);
    ASSERT_TRUE(RunConstraintSettingsDialog(record, flags));
    EXPECT_EQ(record.pen, 12);
    EXPECT_EQ(flags[0], 1);
    EXPECT_EQ(flags[1] + flags[2], 0);
    EXPECT_EQ(record.lineType, 1);
}

}  // namespace
