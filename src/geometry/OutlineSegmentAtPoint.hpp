#pragma once
// Which edge of an outline a point lies on: the markers take a click on the terrain's outline as a click on the
// terrain.
#include "geometry/QV_Poly.hpp"

#include "APICoord.hpp"

#include <cstdint>

// The 1-based number of the first edge of `outline` (straight, or an arc by its code) that holds `point` within
// `tolerance`; -1 when none does or the outline has no edge.
int32_t FindOutlineSegmentAtPoint(const QV_Poly& outline, const API_Coord& point, double tolerance);

// On the outline (1e-7) or inside it.
bool PointOnOrInsideOutline(const QV_Poly& outline, const API_Coord& point);
