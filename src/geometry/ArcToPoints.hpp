#pragma once
// Arcs of imported curves as points (z 0), for the limiting-area test and the objects placed from them.
#include <cstdint>

#include "APICoord.hpp"
#include "foundation/QV_List.hpp"
#include "geometry/QV_Arc.hpp"

// `segments` equal steps from start to end (DivideRange), z 0.
void ArcToPointsFixed(const QV_Arc& arc, QV_List<API_Coord3D>& points, int32_t segments);

// Start point, the points at the multiples of a step of pi 2^k strictly between start and end, then the end
// point. The step is the largest such fraction of pi not above the sweep over the count (`segments`, or
// `smallSegments` for a radius up to `smallRadius`; at least 3), so neighbouring arcs of one circle share their
// vertices. A count or threshold that is not positive leaves the list empty; a sweep of (almost) 0 gives the two
// end points.
void ArcToPointsByRadius(const QV_Arc& arc, QV_List<API_Coord3D>& points, int32_t segments, int32_t smallSegments,
                         double smallRadius);
