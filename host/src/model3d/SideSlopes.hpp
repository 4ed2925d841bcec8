#pragma once
// The side slopes beside a 3D line (a strip's edge, a platform's outline) as plane pieces of an earthwork's design
// surface (model3d/SlopeEnvelope.hpp). Each chord's slope is the plane that holds the chord and rises (a cut) or falls
// (a fill) outward at the slope's angle on its steepest line: the envelope of the slope cones from the chord's points.
// It covers the plan between the lines where it meets its neighbours' planes (mitres at every bend) out to where it
// reaches a given height. Obstacles stop it: what lies behind an obstacle's path, seen from the chord along the
// slope's steepest line, is left out.
#include "model3d/SlopeEnvelope.hpp"

#include <functional>
#include <string>
#include <utility>
#include <vector>

struct SlopeSide {
    std::vector<ModelPoint> line;  // no two neighbours on one plan position
    bool closed = false;           // a ring: mitred at every corner
    bool left = true;              // the slope lies on the left of the line, seen along it
    double tangent = 1.0;          // of the slope's angle from the horizontal
    // An open line's ends: the directions of the lines through its first and last point that end the first and the
    // last chord's slope (a strip's ends, across its deck).
    ModelPoint startAcross = {0, 0, 0}, endAcross = {0, 0, 0};
};

// The ground the slopes meet: its highest (`highest`) or lowest height over a convex plan region, or false when none
// lies there.
using GroundExtreme =
    std::function<bool(const std::vector<std::pair<double, double>>& region, bool highest, double* z)>;

// The slope pieces of `side`, out to the height `reach` (above every ground for a cut, below it for a fill) or, with
// `ground`, to a metre past the ground each slope covers; less what lies behind the obstacles' paths (open polylines
// in plan). False with `why` when a chord rises more steeply than the slope or the line turns back on itself.
bool SlopePieces(const SlopeSide& side, bool cut, double reach, const GroundExtreme& ground,
                 const std::vector<std::vector<ModelPoint>>& obstacles, std::vector<PlanePiece>* pieces,
                 std::string* why);
