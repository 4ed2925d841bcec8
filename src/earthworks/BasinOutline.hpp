#pragma once
// Choosing a basin's outline among the level polygons the tracer's drawing explodes into: around the picked
// point when the basin is made, or the one that still meets the stored outline when it is brought up to date.
#include "foundation/QV_List.hpp"
#include "geometry/QV_Poly.hpp"
#include "geometry/project/QV_Explode.hpp"

#include "APICoord.hpp"

#include <cstdint>

namespace Basin {

// Leaves only the polygons in the container, in their order (their coordinate lists are untouched).
void KeepPolygonPrimitives(QV_Explode& container);

// Appends every contour of polygon `index` to the outline in drawing order, the last vertex of each contour
// coded -1, every other 0. False, outline untouched, when the index or the polygon's points are out of range.
bool PolygonPrimitiveToOutline(int32_t index, const QV_Explode& container, QV_List<QV_CoordLong>& outline);

// The distance from the point to the nearest perpendicular foot that lands on an edge of the polygon's first
// contour; vertices do not count. A polygon with no such foot gives the largest double's predecessor.
double DistanceToFirstContour(int32_t index, const QV_Explode& container, const API_Coord& point);

// The outline at creation: the nearest polygon (first one on a tie) together with every polygon whose edges
// cross or touch it, transitively, united. The outline is emptied first; false when no polygon qualifies or a
// union fails.
bool ChooseOutline(const QV_Explode& container, const API_Coord& point, QV_List<QV_CoordLong>& outline);

// The outline at an update: the first traced polygon that meets the stored outline's first contour or starts
// inside it. The outline is emptied first; false when none qualifies.
bool ChooseUpdatedOutline(const QV_List<QV_CoordLong>& stored, const QV_Explode& container,
                          QV_List<QV_CoordLong>& outline);

}  // namespace Basin
