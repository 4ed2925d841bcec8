#pragma once
// Level lines of a triangulated height field: where the surface cuts the planes z = level, joined across the
// triangles into polylines (closed ones end on their first point). A corner at a level counts as above it, so
// every line crosses each triangle once and the pieces of neighbouring triangles meet exactly.
#include "model3d/ModelBody.hpp"

#include <array>
#include <cstdint>
#include <vector>

struct LevelLine {
    int32_t level = 0;  // the level's place in the list asked for
    bool closed = false;
    std::vector<ModelPoint> points;  // z is the level
};

// The lines of the surface `triangles` (corners numbered into `points`, which corners sharing a place share) at
// each of `levels` (ascending). Triangles with a corner that is not a number are left out.
std::vector<LevelLine> TraceLevelLines(const std::vector<ModelPoint>& points,
                                       const std::vector<std::array<int32_t, 3>>& triangles,
                                       const std::vector<double>& levels);
