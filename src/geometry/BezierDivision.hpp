#pragma once
// Bezier curves of imported records divided into points of equal arc length.
#include <cstdint>

#include "APICoord.hpp"
#include "GeometrySpline.hpp"
#include "foundation/QV_List.hpp"

// Anchors (points 0, 3, 6, ...) of a curve's anchor, control, control, anchor ... points and one direction record
// per anchor. Both lists are emptied first; no points leave them empty.
void AppendBezierPoints(const QV_List<API_Coord3D>& curve, QV_List<API_Coord>& anchors,
                        QV_List<Geometry::DirType>& dirs);

// The curve as a polyline of segmentCount pieces of equal length (z = 0): the first anchor, the division
// points, the last anchor. A count below 1 gives the two end anchors only; a curve without points, or a failed
// allocation, leaves the output empty.
void BezierToPolyline(const QV_List<API_Coord3D>& curve, const int32_t& segmentCount, QV_List<API_Coord3D>& points);
