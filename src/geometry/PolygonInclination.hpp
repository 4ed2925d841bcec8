#pragma once
// The inclination of a mesh body's polygons against the horizontal, for the slope analysis.
#include "APICoord.hpp"
#include "geometry/MeshBody.hpp"

#include <cstdint>

// Inclination in radians (0 flat, pi/2 vertical) of the plane of the triangle (p0, p1, p2). A triangle without
// area has no plane: then the plane of the whole ring (its first `count` points) is taken, and a ring without
// area in any direction has inclination 0.
double PolygonInclination(const API_Coord3D* ring, int32_t count);

// One angle per polygon of `body.polygons` into `body.angles` (resized to the polygon count, new entries 0.0):
// the inclination of the plane through the polygon's vertices 0, 1 and 2 (indexes modulo the vertex count).
// Nothing happens without polygons.
void ComputeTriangleNormalAngles(MeshBody& body);
