#include "elements/LevelOnStory.hpp"

#include "elements/StoryHelpers.hpp"

namespace {
constexpr int32_t kOriginalMeshLevel = 38;
constexpr double kNoLevel = 1.7976931348623157e308;
}  // namespace

bool SetLPLevelOnStory(BaseLP& view, double level, int16_t storyIndex, int32_t mode) {
    if (mode != LPMode_Set) return false;
    const double elevation = GetStoryLevel(storyIndex);
    if (elevation == kNoLevel) return false;
    double value = level + elevation;
    return view.GetSetDouble(kOriginalMeshLevel, value, LPMode_Set);
}
