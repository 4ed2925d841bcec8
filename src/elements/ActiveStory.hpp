#pragma once
// The story new elements go on.
#include <cstdint>

// What `floorInd` takes when the host cannot tell the story.
constexpr int16_t NoActiveStory = -32768;

// The index of the current story, or NoActiveStory.
int16_t ActiveStoryIndex();
