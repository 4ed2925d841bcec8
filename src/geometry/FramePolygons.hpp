#pragma once
// The ring between an outline and a rectangle around it, as two simple closed contours.
#include <cstdint>

#include "APICoord.hpp"
#include "foundation/QV_List.hpp"
#include "geometry/QV_Poly.hpp"

struct FramePolygons {
    double margin = 0.0;            // distance of the rectangle from the box
    API_Box3D box = {};             // the outline's box; x and y widened by margin
    QV_List<QV_CoordLong> frame;    // the rectangle: lower-left, upper-left, upper-right, lower-right, lower-left
    QV_List<QV_CoordLong> outline;  // the outline in mode 2 codes, arc midpoints coded 0
    QV_List<QV_CoordLong> first;    // rectangle's left and top side, the outline's upper-left part
    QV_List<QV_CoordLong> second;   // rectangle's right and bottom side, the outline's lower-right part
};

// Fills frame polygons for the outline (a ring) and the box widened by margin: the two contours meet along cuts
// from the rectangle's lower-left and upper-right corners to the nearest outline entries. False when the outline
// has no two cut candidates.
bool BuildFramePolygons(FramePolygons& frame, const API_Box3D& box, const QV_Poly& outline, double margin);

// Fills first and second from the cut entries i0 (near lower-left) and i1 (near upper-right) of the outline.
void SplitFrameAtVertices(FramePolygons& frame, int32_t i0, int32_t i1);

// A cut on the arc midpoint at index: the half of the arc from the midpoint back to the arc's start (midpoint,
// centre, half's midpoint), or the half from the arc's end to the midpoint (centre, half's midpoint, midpoint).
void AppendHalfArcFromMidpoint(FramePolygons& frame, QV_List<QV_CoordLong>& target, int32_t index);
void AppendHalfArcToMidpoint(FramePolygons& frame, QV_List<QV_CoordLong>& target, int32_t index);

// Recodes a walked contour in mode 2 codes and closes it with a copy of its first entry.
void NormalizeContourCodes(FramePolygons& frame, QV_List<QV_CoordLong>& list);

// 1 when the point lies inside the outline (arcs segmented), 0 outside or on it.
int32_t PointInPolygonWithArcs(const QV_Poly& poly, API_Coord point);
