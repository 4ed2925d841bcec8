#pragma once
// Boolean operations on sets of closed contours by a scan-beam sweep (Vatti's method): difference, intersection,
// exclusive-or and union. Contours combine by the even-odd rule, arcs count as their chords.
#include "foundation/QV_List.hpp"
#include "geometry/QV_Poly.hpp"
#include "geometry/ScanlineContours.hpp"

#include <cstdint>
#include <vector>

// Combines the subject and the clip contours by the operation. Only the vertices are read (an arc counts as its
// chord); a usable ring is closed back to its first vertex. result is emptied first and receives one list per group:
// an outer contour followed by its holes, each contour a closed straight-edged QV_Poly (outer contours run
// counter-clockwise, holes clockwise) that keeps every vertex the sweep gave it. Returns false, with an empty
// result, for an unknown operation, a vertex that is not finite, or exhausted memory.
//
// Touching rings: every result contour is a simple ring. Where the result's boundary touches itself at a point (a
// crossing point of the inputs, a shared vertex, or a vertex on an edge, within a few units of the coordinates'
// last place), the boundary is traced piece by piece: each connected piece of the result's inside is one group,
// its outer contour the ring around it, and its holes the rings inside it (a hole may touch its outer contour or
// another hole at single points). Two pieces that meet at a point only are two groups; a hole that touches its
// outer contour at two points cuts the piece in two. So a union of two outlines that overlap is one group, and the
// groups are the polygons that GEOS reports for the same input. Contours of no area are left out.
bool ScanlinePolygons(const QV_List<QV_Poly>& subject, uint32_t operation, const QV_List<QV_Poly>& clip,
                      QV_List<QV_List<QV_Poly>>& result);

namespace Scanline {

// Runs the sweep. groups is emptied first. Returns false, with no groups, for an unknown operation, a coordinate that
// is not finite, or exhausted memory.
bool Clip(const std::vector<Contour>& subject, uint32_t operation, const std::vector<Contour>& clip,
          std::vector<Group>& groups);

}  // namespace Scanline
