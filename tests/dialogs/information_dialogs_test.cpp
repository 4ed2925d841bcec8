// The about box shows its fixed release texts; the update notice answers Yes or No and, either way, reports its
// box, which is all the caller needs to turn the question off.
#include "ProjectHost.hpp"
#include "DGDriver.hpp"
#include "dialogs/tools/AboutDialog.hpp"
#include "dialogs/tools/UpdateConfirmDialog.hpp"
#include "foundation/Language.hpp"

#include <map>
#include <string>

namespace information_dialogs_test {

class InformationDialogsTest : public ProjectHostTest {
protected:
    void SetUp() override {
        ProjectHostTest::SetUp();
        DGDriver::Reset();
        LanguageIndex = LanguageEnglish;
    }
    void TearDown() override {
        EXPECT_TRUE(DGDriver::Errors().empty()) << DGDriver::LogText();
        EXPECT_TRUE(DGDriver::UnusedActions().empty());
        DGDriver::Reset();
        ProjectHostTest::TearDown();
    }
};

TEST_F(InformationDialogsTest, AboutBoxShowsTheRelease) {
    DGDriver::QueueClick(AboutDialogId, 2);
    OpenAboutDialog();
    const DGDriver::LogRecord& r = DGDriver::Log().back();
    EXPECT_EQ(r.id, AboutDialogId);
    EXPECT_EQ(r.result, 2);
    EXPECT_EQ(r.clientWidth, 390);
    EXPECT_EQ(r.clientHeight, 137);
    std::map<int16_t, std::string> texts;
    for (const DGDriver::ItemState& item : r.items) texts[item.id] = item.text;
    EXPECT_EQ(texts[3], "Name");
    EXPECT_EQ(texts[6], "Lodravix 2.1 (DUdaz)");
    EXPECT_EQ(texts[7], "2.1.0.1001");
    EXPECT_EQ(texts[8], "09/05/2021");
}

TEST_F(InformationDialogsTest, UpdateNoticeReportsItsBoxWhateverTheAnswer) {
    for (const int16_t answer : {1, 2})
        for (const bool box : {false, true}) {
            if (box) DGDriver::QueueClick(UpdateConfirmDialogId, 5);
            DGDriver::QueueClick(UpdateConfirmDialogId, answer);
            UpdateConfirmDialogData data = {0, 1};  // the opener clears a stale box
            EXPECT_EQ(OpenUpdateConfirmDialog(data), answer == 1) << answer << box;
            EXPECT_EQ(data.dontShowAgain, box ? 1 : 0) << answer << box;
        }
}

}  // namespace information_dialogs_test
