#pragma once
// Conversions between outline chains, coded point lists and the host's polygon records, used by the outline
// offset.
#include "APICoord.hpp"
#include "GeometryPolygon2D.hpp"
#include "geometry/PrimRecords.hpp"
#include "foundation/QV_List.hpp"
#include "geometry/QV_Poly.hpp"

// Coded chain list of a polygon record: each vertex with code 0; an arc edge adds its centre (code 1) and the
// point halfway along it (code 2) before its end. The list starts with a copy of the last vertex; each contour's
// last vertex gets code -1 (the contour end). Arcs of a turn below 1e-12 count as straight.
void Geometry_PolyToArcs(const Geometry::Polygon2DData& polygon, QV_List<QV_CoordLong>& points);

// Chain from a coded list: a record followed by a centre (code 1) starts an arc (start, centre, middle, end);
// other pairs of consecutive records are straight segments. No segment leaves a contour end (code -1). An arc
// whose records run past the list's end is dropped. The chain is emptied first.
void Geometry_PointsToPrims(const QV_List<QV_CoordLong>& points, QV_List<PrimPoly>& prims);

// Removes from prims every segment that matches a reference segment (same kind, same ends in either direction,
// 1e-5), then every segment with an end at the reference's first start or last end.
void Geometry_RemoveSharedPrims(QV_List<PrimPoly>& prims, const QV_List<PrimPoly>& reference);

// Crossing of the circles of arc1 and arc2 (line == nullptr), or of the line with arc1's circle. Of the two
// crossings the second is taken unless it is farther than the first from both reference points: for two arcs
// arc1's end and arc2's start; for a line, with whichEnd the line's end and the arc's start, else the line's
// start and the arc's end. False when they do not cross.
bool Geometry_NearestArcIntersection(const PrimPoly* line, const PrimPoly& arc1, const PrimPoly* arc2, bool whichEnd,
                                     API_Coord& point);

// Coded chain list of a chain: the first start (code 0); per segment, for an arc its centre (1) and middle (2),
// then its end (0); the last entry gets code -1. The list is emptied first; an empty chain gives an empty list.
void Geometry_PrimsToPoints(const QV_List<PrimPoly>& prims, QV_List<QV_CoordLong>& points);

// The point at the distance from p in the direction of target (p itself when they coincide within 1e-7).
API_Coord Geometry_PointToward(const API_Coord& p, const API_Coord& target, double distance);
