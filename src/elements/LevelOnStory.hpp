#pragma once
// "original_mesh_level" of a placed object: the terrain's level seen from the project zero, i.e. plus the elevation
// of the story the level is taken on.
#include "elements/BaseLP.hpp"

#include <cstdint>

// Writes level + the story's elevation into "original_mesh_level" of the view; mode must be the set
// mode (story 0 too, whatever its elevation). False when the story is unknown or the write fails.
bool SetLPLevelOnStory(BaseLP& view, double level, int16_t storyIndex, int32_t mode);
