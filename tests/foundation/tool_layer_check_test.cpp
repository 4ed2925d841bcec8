// The tool-layer check: a layer that is not there and one the host will not read are told apart; a hidden one is
// offered to the user to show.
#include "AlertLog.hpp"
#include "ProjectHost.hpp"
#include "foundation/ToolLayerCheck.hpp"

namespace tool_layer_check_test {

class ToolLayerCheckTest : public ProjectHostTest {};

TEST_F(ToolLayerCheckTest, AMissingLayerAndARefusedReadAreToldApart) {
    const int32_t shown = Layer("Shown", 0);
    EXPECT_TRUE(CheckToolLayer(int16_t(shown)));
    EXPECT_EQ(AlertsSince(), 0u);
    EXPECT_FALSE(CheckToolLayer(int16_t(900)));
    EXPECT_FALSE(CheckToolLayer(0));
    const std::vector<std::string> gone = AlertTextsSince();
    ASSERT_EQ(gone.size(), 2u);
    for (const std::string& text : gone) EXPECT_NE(text.find("has been deleted"), std::string::npos) << text;
    ASSERT_TRUE(host->FailCall("Attribute_Get", -1, APIERR_GENERAL));
    EXPECT_FALSE(CheckToolLayer(int16_t(shown)));
    host->ClearFailures();
    EXPECT_EQ(AlertTextsSince(), (std::vector<std::string>{gone[0], gone[1], "Error while finding data."}));
}

TEST_F(ToolLayerCheckTest, AHiddenLayerIsShownWhenTheUserSaysSo) {
    const int32_t hidden = Layer("Hidden", APILay_Hidden | APILay_Locked);
    DGDriver::QueueAlertAnswer(2);  // "Cancel"
    EXPECT_FALSE(CheckToolLayer(int16_t(hidden)));
    EXPECT_EQ(LayerFlagsOf(hidden) & (APILay_Hidden | APILay_Locked), APILay_Hidden | APILay_Locked);
    DGDriver::QueueAlertAnswer(1);  // "Show/Unlock"
    EXPECT_TRUE(CheckToolLayer(int16_t(hidden)));
    EXPECT_EQ(LayerFlagsOf(hidden) & (APILay_Hidden | APILay_Locked), 0u);
}

}  // namespace tool_layer_check_test
