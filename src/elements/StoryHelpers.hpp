#pragma once
// The project's stories and the current window.
#include <cstdint>

// The index of the current story; -32768 when the host cannot tell.
int16_t GetCurrentStory();
// Makes a story current; true when the host accepts.
bool SetCurrentStory(int16_t index);
// The level of the story with that index; 1.7976931348623157e308 when the host cannot tell or none matches.
double GetStoryLevel(int16_t index);
// With `switch3D`: the 3D model's database becomes current and, with `rebuild`, the window is rebuilt (`flag`
// asks for a full regeneration). Nothing happens without `switch3D`.
void RebuildCurrentWindow(bool switch3D, bool rebuild, int32_t flag);
