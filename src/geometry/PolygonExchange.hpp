#pragma once
// Outlines to and from the host geometry library's polygon records.
#include <cstdint>

#include "APIElements.hpp"
#include "GeometryPolygon2D.hpp"
#include "foundation/QV_List.hpp"
#include "geometry/QV_Poly.hpp"

// Initialises an empty polygon record: user data 4 bytes wide everywhere, zero by default.
void InitEmptyPolygon2DData(Geometry::Polygon2DData& target);

// Initialises target and copies source into it; false when the copy fails (target then empty).
bool InitAndCopyPolygon2DData(Geometry::Polygon2DData& target, const Geometry::Polygon2DData& source);

// One contour from a chain list (code 1 an arc centre, followed by the arc's middle point and its end; every other
// entry a vertex), closed by its last entry repeating the first. The target (initialised) is freed and
// re-initialised first;
// on failure (a malformed list, an open contour, a record the library refuses) it is left empty and the result is
// false. An arc whose three points lie on a line, or whose ends coincide, becomes a straight edge.
bool CoordLongsToPolygon2DData(Geometry::Polygon2DData& target, const QV_List<QV_CoordLong>& chain);

// 1 when both records have the same contour structure, the same vertices (in any order, 1e-7) and the same arcs
// (end points in either order, angles within 1e-7), else 0.
int32_t ArePolygon2DDataEqual(const Geometry::Polygon2DData& first, const Geometry::Polygon2DData& second);

// Filter of the memo reads of element outlines.
constexpr uint64_t ElementOutlineMemoMask = 0x3fffffffbfffffffull;

// Polygon counts of an element: true for the polygon-bearing types (wall, slab, roof, mesh, zone, fill,
// polyline, detail), else false with all three 0.
bool GetElementPolygonCounts(const API_Element& element, int32_t& nCoords, int32_t& nArcs, int32_t& nSubPolys);
// Sets the polygon counts of a polygon-bearing element; no effect for other types.
void SetElementPolygonCounts(API_Element& element, int32_t nCoords, int32_t nArcs, int32_t nSubPolys);
