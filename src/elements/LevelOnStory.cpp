#include "elements/LevelOnStory.hpp"

#include "elements/ParamIndexes.hpp"
#include "elements/StoryHelpers.hpp"

namespace {
constexpr double kNoLevel = 1.7976931348623157e308;
}  // namespace

bool SetLPLevelOnStory(BaseLP& view, double level, int16_t storyIndex, int32_t mode) {
    if (mode != LPMode_Set) return false;
    const double elevation = GetStoryLevel(storyIndex);
    if (elevation == kNoLevel) return false;
    double value = level + elevation;
    return view.GetSetDouble(BaseIDParam::OriginalMeshLevel, value, LPMode_Set);
}
