#pragma once
// The geometry of the outline search: the corridor around the drawn path, the terrain points inside it, and the
// outline nodes taken edge by edge along the path within the search cone. Pure functions over plan points; the
// path and the sides are closed (their first point repeated at the end) unless said otherwise.
#include "APIDefs.hpp"

#include <cstdint>
#include <functional>
#include <vector>

using PlanPoints = std::vector<API_Coord>;

// The direction from `a` to `b` in [0, 2 pi); 0 when they are closer than 1e-5 in x and in y.
double PlanDirection(const API_Coord& a, const API_Coord& b);

// The side vertex of one path corner: `side` 1 lies to the right of the direction of travel, 0 to the left, at
// `halfWidth` from both edges (or from the one edge that counts at a doubled or straight corner).
API_Coord OffsetCorner(const API_Coord& previous, const API_Coord& corner, const API_Coord& next, double halfWidth,
                       int32_t side);
// One corridor side: a vertex per path vertex, closed; `index` gets each vertex's 1-based path vertex number.
PlanPoints BuildCorridorSide(const PlanPoints& path, double halfWidth, int32_t side, std::vector<int16_t>* index);
// Where two segments cross (both parameters in [0, 1]); false for parallel ones.
bool SegmentsIntersect(const API_Coord& a1, const API_Coord& a2, const API_Coord& b1, const API_Coord& b2,
                       API_Coord* at);
// Cuts the loops a side makes at sharp corners: the vertices between two crossing edges move onto the crossing.
void RemoveCorridorLoops(PlanPoints& side);

// The points of `points` in the corridor between the outer side (0) and the inner side (1), in list order: on an
// edge of either side, or inside the outer and not strictly inside the inner.
PlanPoints FindCorridorPoints(const PlanPoints& outer, const PlanPoints& inner, const PlanPoints& points);
// The outline nodes: for each path edge the found points in its strip (each point serves one edge), ordered along
// the edge, each kept when its direction from the last kept node lies within half the search angle of the edge's
// direction. The window is not wrapped round 2 pi. `found` loses the points taken.
// `perEdge`, when given, is called once for each path edge (the progress window's step).
PlanPoints CollectNodesAlongEdges(const PlanPoints& outer, const PlanPoints& inner, PlanPoints& found,
                                  double searchAngle, const std::function<void()>& perEdge = nullptr);

// The closed ring crosses or folds back on itself: no terrain can be built inside it.
bool RingCrossesItself(const PlanPoints& ring);
// A place where the closed ring crosses, touches or folds back on itself, to show the user; false when none is
// found.
bool RingCrossing(const PlanPoints& ring, API_Coord& at);

// A clicked path: no two vertices on one another and no two edges that share no end crossing. A path that passes
// is turned clockwise (still closed). False leaves it as it was and, when `fault` is given, puts there the vertex
// or crossing that failed it.
bool CheckClickedPath(PlanPoints& path, API_Coord* fault = nullptr);
// The bounding box of the points on or inside the path, as a clockwise closed rectangle; false (path unchanged)
// with fewer than 2 such points.
bool FitRectangleToPoints(PlanPoints& path, const PlanPoints& points);
