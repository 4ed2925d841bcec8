// The tool commands in the stand-in host: what every command shares (the start, the floor plan it needs, the
// one report at its end) and each command's choice of operation by the selection and the project's terrain.
#include "ProjectHost.hpp"

#include "DGDriver.hpp"
#include "foundation/SelectionHelpers.hpp"
#include "settings/Settings.hpp"
#include "shell/commands/ToolCommand.hpp"

#include <string>
#include <vector>

namespace {

class ToolCommandsTest : public ProjectHostTest {
protected:
    std::vector<DGDriver::LogRecord> Alerts() const {
        std::vector<DGDriver::LogRecord> out;
        for (const DGDriver::LogRecord& r : DGDriver::Log())
            if (r.kind == "alert") out.push_back(r);
        return out;
    }
};

TEST_F(ToolCommandsTest, TheReportShowsTheErrorTableTextAndNothingForZero) {
    ReportToolResult(0);
    EXPECT_TRUE(Alerts().empty());
    ReportToolResult(ToolErrFindingData);
    ReportToolResult(ToolErrDatabase);
    const auto alerts = Alerts();
    ASSERT_EQ(alerts.size(), 2u);
    EXPECT_EQ(alerts[0].title, "Error");
    ASSERT_FALSE(alerts[0].texts.empty());
    EXPECT_EQ(alerts[0].texts[0], "Error while finding data.");
    EXPECT_EQ(alerts[1].texts[0], "Error while modifying database.");
}

TEST_F(ToolCommandsTest, TheFloorPlanIsBroughtToFrontOrTheCommandIsRefused) {
    Window(APIWind_3DModelID);
    EXPECT_TRUE(RequireFloorPlan());
    EXPECT_FALSE(IsCurrentWindow3D());
    EXPECT_TRUE(RequireFloorPlan());  // already in front: no switch needed, so a refusing host does not matter

    Window(APIWind_3DModelID);
    ASSERT_TRUE(host->FailCall("Automate", int32_t(API_Selector("CHWD")), APIERR_GENERAL));
    EXPECT_FALSE(RequireFloorPlan());
    EXPECT_TRUE(IsCurrentWindow3D());
}

}  // namespace
