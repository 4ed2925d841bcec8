#pragma once
// The solid of a strip between two 3D edges (a road's, a railway's, a sidewalk's) with its side slopes, as an
// earthwork's cut or fill takes it: the deck lofted between the edges (straight chords between their points), and on
// each side the slopes of its edge's chords (model3d/SideSlopes.hpp), reaching on until they are clear of every
// ground; where slopes of a bend run into each other the lower (a cut's) or the higher (a fill's) holds. The ends stand
// upright across the deck. A cut closes with a lid above its highest point, a fill with a floor below its lowest.
#include "model3d/ElementModels.hpp"
#include "model3d/SideSlopes.hpp"

#include <string>
#include <vector>

struct StripSides {
    std::vector<ModelPoint> left, right;     // plan coordinates and heights, in the strip's direction
    double leftRise = 1.0, rightRise = 1.0;  // tangents of the side slopes
    bool upright = false;                    // no slopes: the sides stand upright on the edges
};

// The body (oriented outward), its slopes out to the height `reach` (a metre past every ground a cut's may meet, or a
// fill's), or to a metre past the ground each covers (SideSlopes), less what lies behind the obstacles' paths (open
// polylines in plan). An empty body when the slopes meet no ground to cut or fill. False with `why` when the edges
// cross each other or an edge is too short or steeper than its slope.
bool BuildStripBody(const StripSides& sides, double reach, const GroundExtreme& ground, bool cut,
                    const std::vector<std::vector<ModelPoint>>& obstacles, ModelBody* body, std::string* why);
