#pragma once
// Bezier curves of imported records divided into points of equal arc length.
#include <cstdint>

#include "APICoord.hpp"
#include "GeometrySpline.hpp"
#include "foundation/QV_List.hpp"

struct SOSIData;

// Anchors (points 0, 3, 6, ...) of the record's anchor, control, control, anchor ... list and one direction record
// per anchor. Both lists are emptied first; a record without points leaves them empty.
void AppendBezierPoints(const SOSIData& record, QV_List<API_Coord>& anchors, QV_List<Geometry::DirType>& dirs);

// The curve as a polyline of segmentCount pieces of equal length (z = 0): the first anchor, the division
// points, the last anchor. A count below 1 gives the two end anchors only; a record without points, or a failed
// allocation, leaves the output empty.
void BezierToPolyline(const SOSIData& record, const int32_t& segmentCount, QV_List<API_Coord3D>& points);
