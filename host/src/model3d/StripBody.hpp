#pragma once
// The solid of a strip between two 3D edges (a road's or a railway's) with its side slopes, as an earthwork's cut
// or fill takes it: the surface lofted between the edges, and on each side a slope that rises (cut) or falls
// (fill) outward at that side's angle until it has met the ground for the last time (its daylight); the ends are
// vertical. A cut closes with walls up to a lid above its highest point, a fill with walls down to a floor below
// the terrain's lowest point.
#include "model3d/ElementModels.hpp"

#include <string>
#include <vector>

struct StripSides {
    std::vector<ModelPoint> left, right;     // plan coordinates and heights, in the strip's direction
    double leftRise = 1.0, rightRise = 1.0;  // tangents of the side slopes
    bool upright = false;                    // no slopes: the sides stand upright on the edges
};

// The body (oriented as it comes) and, in `daylight`, where each side's slope meets the ground (left, then right).
// An empty body when the slopes meet no ground to cut or fill. False with `why` when the slopes cross themselves
// or an edge is too short.
bool BuildStripBody(const StripSides& sides, const MeshSurfaceModel& ground, bool cut, ModelBody* body,
                    std::vector<std::vector<ModelPoint>>* daylight, std::string* why);
