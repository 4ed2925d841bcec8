#pragma once
// Arcs to points: single points, equal divisions, grid segmentation, and arcs from imported curve records.
#include <cstdint>

#include "APICoord.hpp"
#include "foundation/QV_List.hpp"
#include "geometry/QV_Arc.hpp"

class QV_Poly;

// n equal steps from the start to the end angle: n + 1 points (only the start point for n < 1).
void DivideRange(const QV_Arc& arc, QV_List<API_Coord>& points, const int32_t& n);

// Appends the arc's points on the global grid of spacing pi 2^k (the largest not above maxStep), then its end
// point, as straight-edged vertices; the arc's start is expected to be the target's last vertex already.
void AppendArcGridPoints(QV_Poly& target, const QV_Arc& arc, double maxStep);

// How an imported curve gives its arc or circle: through its first three points, or by a radius (an arc from its
// first to its last point with a signed radius, a circle about its first point).
enum class CurveArcForm { ThroughPoints, ByRadius };

// Arc of a curve's points: by radius from the first and last point and the signed radius, else through the first
// three points. Degenerate input (collinear points, too few points) gives the degenerate arc.
QV_Arc ArcFromCurveRecord(const QV_List<API_Coord3D>& points, double radius, CurveArcForm form);
// Full circle of a curve's points: by radius about the first point, else through the first three points.
// Degenerate input gives the degenerate arc.
QV_Arc CircleFromCurveRecord(const QV_List<API_Coord3D>& points, double radius, CurveArcForm form);
