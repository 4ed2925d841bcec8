#include "elements/StoryHelpers.hpp"

#include "elements/ActiveStory.hpp"
#include "foundation/ACAPI.hpp"

int16_t GetCurrentStory() { return ActiveStoryIndex(); }

bool SetCurrentStory(int16_t index) {
    API_StoryCmdType cmd = {};
    cmd.action = APIStory_GoTo;
    cmd.index = index;
    return ACAPI_Environment(APIEnv_ChangeStorySettingsID, &cmd) == NoError;
}

double GetStoryLevel(int16_t index) {
    constexpr double kNoLevel = 1.7976931348623157e308;
    API_StoryInfo info = {};
    if (ACAPI_Environment(APIEnv_GetStorySettingsID, &info) != NoError) return kNoLevel;
    double level = kNoLevel;
    if (info.data != nullptr) {
        // The stories from the first to the last index, but never past what the handle holds.
        const int64_t wanted = int64_t(info.lastStory) - int64_t(info.firstStory) + 1;
        const int64_t held =
            int64_t(BMGetHandleSize(reinterpret_cast<GSConstHandle>(info.data)) / GSSize(sizeof(API_StoryType)));
        const int64_t n = wanted < held ? wanted : held;
        for (int64_t i = 0; i < n; ++i)
            if ((*info.data)[i].index == index) {
                level = (*info.data)[i].level;
                break;
            }
        GSHandle h = reinterpret_cast<GSHandle>(info.data);
        BMKillHandle(&h);
    }
    return level;
}

void RebuildCurrentWindow(bool switch3D, bool rebuild, int32_t flag) {
    if (!switch3D) return;
    API_DatabaseInfo db = {};
    db.typeID = APIWind_3DModelID;
    ACAPI_Database(APIDb_ChangeCurrentDatabaseID, &db);
    if (!rebuild) return;
    API_RebuildParams pars = {};
    pars.regenerate = flag;
    ACAPI_Automate(APIDo_RebuildID, &pars);
}
