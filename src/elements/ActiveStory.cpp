#include "elements/ActiveStory.hpp"

#include "foundation/ACAPI.hpp"

int16_t ActiveStoryIndex() {
    API_StoryInfo info = {};
    if (ACAPI_Environment(APIEnv_GetStorySettingsID, &info) != NoError) return NoActiveStory;
    // Only the index is wanted; the story list comes with it and is ours to free.
    if (info.data != nullptr) {
        GSHandle h = reinterpret_cast<GSHandle>(info.data);
        BMKillHandle(&h);
    }
    return info.actStory;
}
