// What lower parts leave to the shell comes through the ports the shell makes at start: the model update runs each
// kind's own step, and the contour lines the upkeep and the earthworks ask for are the terrain's own.
#include "elements/ElemDataRecord.hpp"
#include "elements/ModelUpdate.hpp"
#include "shell/ModulePorts.hpp"
#include "shell/Wiring.hpp"
#include "terrain/ContourLineRegenerator.hpp"

#include <gtest/gtest.h>

#include <optional>

namespace wiring_test {

TEST(WiringTest, StartUpMakesEveryKindsStepAndTheTerrainsContourLines) {
    // The framework's own steps do their work alone; every other kind of the update gets its step at start.
    EXPECT_TRUE(FrameworkModelUpdateSteps().kindSteps.empty());
    WireSubsystems();
    const ModelUpdateSteps& steps = Ports().modelUpdateSteps;
    EXPECT_TRUE(steps.handleCopiedObjects && steps.syncChangedObjects && steps.deleteBrokenSets &&
                steps.operatorLayerUpkeep && steps.filterPendingHeads && steps.showErrorMessage);
    for (const int32_t kind :
         {ElemKind_Section, ElemKind_Contour, ElemKind_Building, ElemKind_Basin, ElemKind_ColouredArea, ElemKind_Wall,
          ElemKind_RetainingWall, ElemKind_Bridge, ElemKind_Terrain, ElemKind_Point, ElemKind_Constraint}) {
        ASSERT_EQ(steps.kindSteps.count(kind), 1u) << kind;
        EXPECT_TRUE(steps.kindSteps.at(kind)) << kind;
    }
    EXPECT_NE(dynamic_cast<ContourLineRegenerator*>(&Ports().contourLineRefresh), nullptr);
    UnwireSubsystems();
}

// The ports live from start to release; asked for outside that, they fail loudly instead of answering for the user.
TEST(WiringTest, ThePortsLiveFromStartToRelease) {
    WireSubsystems();
    EXPECT_NO_THROW(Ports());
    UnwireSubsystems();
    EXPECT_THROW(Ports(), std::bad_optional_access);
}

}  // namespace wiring_test
