// The camera distance in its two layouts: held between 0.1 and the path's length, carried across layout switches,
// taken only on OK.
#include "ProjectHost.hpp"

#include "DGDriver.hpp"
#include "dialogs/tools/CameraSettingsDialog.hpp"
#include "foundation/Language.hpp"
#include "foundation/ModalDialog.hpp"

#include <string>
#include <utility>

namespace camera_dialogs_test {

class CameraDialogsTest : public ProjectHostTest {
protected:
    void TearDown() override {
        EXPECT_TRUE(DGDriver::Errors().empty()) << DGDriver::LogText();
        EXPECT_TRUE(DGDriver::UnusedActions().empty());
        DGDriver::Reset();
        ProjectHostTest::TearDown();
    }
};

TEST_F(CameraDialogsTest, TheDistanceStaysWithinThePathAndCrossesLayoutSwitches) {
    const SettingsMode mode = SettingsMode::NewElement;
    // A default beyond the path opens lowered to its length; the user may type from 0.1 up to it.
    double distance = 500.0;
    DGDriver::QueueClick(32558, 1);
    ASSERT_EQ(AskCameraDistance(distance, 80.0, mode), DialogAnswer::Confirmed);
    EXPECT_EQ(distance, 80.0);
    const DGDriver::ItemState* edit = nullptr;
    for (const DGDriver::ItemState& i : DGDriver::Log().back().items)
        if (i.id == 8) edit = &i;
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(edit->hasMin && edit->hasMax);
    EXPECT_EQ(edit->minValue, 0.1);
    EXPECT_EQ(edit->maxValue, 80.0);
    DGDriver::QueueSetDouble(32558, 8, 0.1);
    DGDriver::QueueClick(32558, 1);
    ASSERT_EQ(AskCameraDistance(distance, 80.0, mode), DialogAnswer::Confirmed);
    EXPECT_EQ(distance, 0.1);

    // Typed in the first layout, carried to the second, changed there and confirmed.
    DGDriver::QueueSetDouble(32558, 8, 12.0);
    DGDriver::QueueClick(32558, 9);
    DGDriver::QueueSetDouble(32522, 6, 20.0);
    DGDriver::QueueClick(32522, 7);
    DGDriver::QueueClick(32558, 1);
    ASSERT_EQ(AskCameraDistance(distance, 80.0, mode), DialogAnswer::Confirmed);
    EXPECT_EQ(distance, 20.0);

    // Cancel after a switch keeps the caller's distance.
    DGDriver::QueueSetDouble(32558, 8, 30.0);
    DGDriver::QueueClick(32558, 9);
    DGDriver::QueueClick(32522, 2);
    EXPECT_EQ(AskCameraDistance(distance, 80.0, mode), DialogAnswer::Cancelled);
    EXPECT_EQ(distance, 20.0);
}

TEST_F(CameraDialogsTest, TheHeaderShowsWhatTheOwnerAsksFor) {
    LanguageIndex = LanguageEnglish;
    const std::pair<SettingsMode, std::string> cases[] = {{SettingsMode::ToolDefaults, "Default"},
                                                          {SettingsMode::NewElement, "Creation"},
                                                          {SettingsMode::Editing(2), "Editing 2 entities"}};
    for (const auto& [mode, expected] : cases) {
        DGDriver::Reset();
        double distance = 5.0;
        DGDriver::QueueClick(32558, 2);
        EXPECT_EQ(AskCameraDistance(distance, 80.0, mode), DialogAnswer::Cancelled);
        std::string header;
        for (const DGDriver::ItemState& i : DGDriver::Log().back().items)
            if (i.id == 3) header = i.text;
        EXPECT_EQ(header, expected);
    }
}

}  // namespace camera_dialogs_test
