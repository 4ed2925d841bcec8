#pragma once
// A path polyline as the bridge, the retaining wall and the wall read it: vertices coded 0, with code 2 on the
// middle point of a three-point arc, turned into straight and arc segments.
#include "foundation/QV_List.hpp"
#include "geometry/PrimRecords.hpp"
#include "geometry/QV_Poly.hpp"

#include "APICoord.hpp"

// The centre of the circle through three points; false (centre untouched) when they are collinear.
bool CircleCentreThrough(const API_Coord& p0, const API_Coord& p1, const API_Coord& p2, API_Coord& centre);

// Clears the segments, then walks the vertices: a vertex coded 0 followed by one coded 2 and a third vertex
// starts an arc through the three; any other vertex starts a straight segment to the next. An arc middle on the
// last vertex, or three collinear arc points, give straight segments through the points instead. Fewer than two
// vertices give no segment.
void PolylineToSegments(const QV_List<QV_Coord3DLong>& vertices, QV_List<PrimPoly>& segments);
