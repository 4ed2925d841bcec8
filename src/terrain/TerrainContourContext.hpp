#pragma once
#include "settings/ContourLineSettings.hpp"

#include <cstdint>

// What the contour-line steps know of one terrain: its contour settings, its height range, whether contour-line
// objects are linked to it, and the gradient (1: a gradient object goes with the terrain), current and previous.
struct TerrainContourContext {
    ContourLineSettings settings;
    double lowest = 0.0, highest = 0.0;
    bool linked = false;
    int16_t gradient = 1;
    int16_t previousGradient = 1;
};
