#pragma once
// Constrained Delaunay triangulations in plan (CGAL): the top surface of a mesh from its outline, level points
// and level lines, and the faces of a region bounded by closed rings (a slab's top and bottom, a body's floor).
#include "model3d/PlanRings.hpp"

#include <string>
#include <vector>

// The surface of a mesh: the triangles inside the outline rings (the first outer, the others holes; rings
// nested deeper alternate), with the outline points, the level points and the level lines (polylines, kept as
// triangle edges) as vertices at their heights. Level points outside the outline are left out. A point where
// two level lines, or a level line and the outline, cross gets its height along the level line. False with
// `why` when the outline has fewer than three points.
bool TriangulateMeshSurface(const std::vector<PlanRing>& outline, const std::vector<ModelPoint>& levelPoints,
                            const std::vector<std::vector<ModelPoint>>& levelLines, Surface* surface, std::string* why);

// The triangles (counter-clockwise in plan) of the region inside `rings` (nesting alternates inside and
// outside), over the ring points' numbers `ids` (ids[r][k] for point k of ring r). A point met twice keeps the
// first number. False with `why` when rings cross each other or themselves.
bool TriangulateRegion(const std::vector<PlanRing>& rings, const std::vector<std::vector<int32_t>>& ids,
                       std::vector<std::array<int32_t, 3>>* triangles, std::string* why);

// The triangles of the plan segments' triangulation (segments kept as edges, split where they cross), as corner
// points with z = 0, counter-clockwise.
void TriangulateSegments(const std::vector<std::pair<ModelPoint, ModelPoint>>& segments,
                         std::vector<std::array<ModelPoint, 3>>* triangles);
