#pragma once
// The project's stories and the current one.
#include "project/ProjectCore.hpp"

class ProjectStories : public virtual ProjectCore {
public:
    GSErrCode GetStories(API_StoryInfo* info) const;  // allocates info->data
    GSErrCode GoToStory(int16_t index);
    int16_t CurrentStory() const { return currentStory_; }
    // Adds the story or changes its level and name (host side: the user's story settings).
    void SetStory(int16_t index, double level, const std::string& name);
    // False while elements stand on it or when it is the last one.
    bool RemoveStory(int16_t index);
};
