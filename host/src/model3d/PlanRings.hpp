#pragma once
// Closed rings in plan, as element outlines and the regions of solid operations are given: their area, box and
// which points they hold.
#include "model3d/Surface.hpp"

#include <vector>

struct PlanRing {
    std::vector<ModelPoint> points;  // closed, the first not repeated
};

// Positive when counter-clockwise.
double SignedArea(const PlanRing& ring);
// Even-odd: inside an odd number of the rings.
bool InsideRings(const std::vector<PlanRing>& rings, double x, double y);
PlanBox BoxOf(const PlanRing& ring);
// The plan box of points (not empty).
PlanBox BoxOf(const std::vector<ModelPoint>& points);
