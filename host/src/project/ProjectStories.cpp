#include "project/ProjectStories.hpp"

#include "GSRoot.hpp"

#include <algorithm>
#include <cstring>

GSErrCode ProjectStories::GetStories(API_StoryInfo* info) const {
    if (info == nullptr) return APIERR_BADPARS;
    std::memset(static_cast<void*>(info), 0, sizeof *info);
    GSHandle h = BMAllocateHandle(GSSize(model_.stories.size() * sizeof(API_StoryType)), ALLOCATE_CLEAR, 0);
    if (h == nullptr) return Refuse(APIERR_MEMFULL, "no memory for the stories");
    if (!model_.stories.empty()) std::memcpy(*h, model_.stories.data(), model_.stories.size() * sizeof(API_StoryType));
    info->firstStory = model_.stories.empty() ? 0 : model_.stories.front().index;
    info->lastStory = model_.stories.empty() ? -1 : model_.stories.back().index;
    info->actStory = currentStory_;
    info->data = reinterpret_cast<API_StoryType**>(h);
    return NoError;
}

GSErrCode ProjectStories::GoToStory(int16_t index) {
    for (const API_StoryType& s : model_.stories)
        if (s.index == index) {
            currentStory_ = index;
            return NoError;
        }
    return Refuse(APIERR_BADINDEX, "no story " + std::to_string(index));
}

void ProjectStories::SetStory(int16_t index, double level, const std::string& name) {
    API_StoryType s = {};
    s.index = index;
    s.level = level;
    CopyU16(s.uName, 128, Utf16(name));
    for (API_StoryType& t : model_.stories)
        if (t.index == index) {
            t = s;
            return;
        }
    model_.stories.push_back(s);
    std::sort(model_.stories.begin(), model_.stories.end(),
              [](const API_StoryType& a, const API_StoryType& b) { return a.index < b.index; });
}

bool ProjectStories::RemoveStory(int16_t index) {
    if (model_.stories.size() < 2) return false;
    for (const auto& kv : model_.elements)
        if (kv.second.record.header.floorInd == index) return false;
    const auto it = std::find_if(model_.stories.begin(), model_.stories.end(),
                                 [index](const API_StoryType& s) { return s.index == index; });
    if (it == model_.stories.end()) return false;
    model_.stories.erase(it);
    AfterModelRestored();
    return true;
}
