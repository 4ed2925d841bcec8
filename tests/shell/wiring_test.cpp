// The steps lower parts leave to the shell. Unwired, such a step only notes its call and answers "cancelled" or
// "done"; in the module as it starts none of them may be left so.
#include "elements/ElemDataRecord.hpp"
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
    EXPECT_WIRED(upkeep, WiredUpkeepHooks(), runContourLines);
    EXPECT_WIRED(upkeep, WiredUpkeepHooks(), checkAddOnLibraryFolders);
    // The framework's own object-set steps do their work unregistered; every other kind of the update has its step.
    const ModelUpdateSteps& now = WiredModelUpdateSteps();
    EXPECT_TRUE(steps.kindSteps.empty());
    for (const int32_t kind :
         {ElemKind_Section, ElemKind_Contour, ElemKind_Building, ElemKind_Basin, ElemKind_ColouredArea, ElemKind_Wall,
          ElemKind_RetainingWall, ElemKind_Bridge, ElemKind_Terrain, ElemKind_Point, ElemKind_Constraint})
        EXPECT_EQ(now.kindSteps.count(kind), 1u) << kind;
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
