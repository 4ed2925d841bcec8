// The steps lower parts leave to the shell. Unwired, such a step only notes its call and answers "cancelled" or
// "done"; in the module as it starts none of them may be left so.
#include "elements/ModelUpdate.hpp"
#include "elements/UpkeepHooks.hpp"
#include "shell/ModulePorts.hpp"
#include "shell/Wiring.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace {

// Wired: set, and to something else than the unwired default.
template <typename F>
bool Wired(const std::function<F>& unwired, const std::function<F>& now) {
    return static_cast<bool>(now) && now.target_type() != unwired.target_type();
}

#define EXPECT_WIRED(unwired, now, member) EXPECT_TRUE(Wired((unwired).member, (now).member)) << #member

TEST(WiringTest, StartUpLeavesNoStepToItsUnwiredDefault) {
    UnwireSubsystems();
    const UpkeepHooks upkeep = WiredUpkeepHooks();
    const ModelUpdateSteps steps = WiredModelUpdateSteps();

    WireSubsystems();
    EXPECT_WIRED(upkeep, WiredUpkeepHooks(), isRoadSection);
    EXPECT_WIRED(upkeep, WiredUpkeepHooks(), keepRoadSections);
    EXPECT_WIRED(upkeep, WiredUpkeepHooks(), runContourLines);
    EXPECT_WIRED(upkeep, WiredUpkeepHooks(), checkAddOnLibraryFolders);
    // The framework's own object-set steps do their work unwired; the element kinds' steps do not.
    const ModelUpdateSteps& now = WiredModelUpdateSteps();
    EXPECT_WIRED(steps, now, sectionEvent);
    EXPECT_WIRED(steps, now, contourLineRefresh);
    EXPECT_WIRED(steps, now, buildingEvent);
    EXPECT_WIRED(steps, now, basinUpdate);
    EXPECT_WIRED(steps, now, paintEvent);
    EXPECT_WIRED(steps, now, wallEvent);
    EXPECT_WIRED(steps, now, obstacleEvent);
    EXPECT_WIRED(steps, now, bridgeUpdate);
    EXPECT_WIRED(steps, now, collectTerrainElements);
    EXPECT_WIRED(steps, now, pointToolEvent);
    EXPECT_WIRED(steps, now, constraintRefreshA);
    EXPECT_WIRED(steps, now, constraintRefreshB);
    EXPECT_WIRED(steps, now, constraintRefreshC);
    UnwireSubsystems();
}

// The ports live from start to release; asked for outside that, they fail loudly instead of answering for the user.
TEST(WiringTest, ThePortsLiveFromStartToRelease) {
    WireSubsystems();
    EXPECT_NO_THROW(Ports());
    UnwireSubsystems();
    EXPECT_THROW(Ports(), std::bad_optional_access);
}

}  // namespace
