#pragma once
// Point, segment and polygon tests on outlines.
#include <cstdint>

#include "geometry/QV_Poly.hpp"

// Where (x, y) lies against the outline (always taken as closed, arcs as chords): 1 inside, 0 on the boundary
// (edge gets the 1-based number of the edge that reported it), -1 outside (edge 0).
int32_t PointInPolygon(const QV_Poly& poly, double x, double y, int32_t& edge, const double& tolerance);

// One edge A-B of that test: whether (x, y) lies on it, or the ray from (x, y) to +x crosses it, or neither.
// An edge matters only when y lies within [min(Ay, By) - tolerance, max(Ay, By) + tolerance].
enum class RayStep { None, Crosses, OnEdge };
RayStep PointInPolygonStep(const API_Coord& a, const API_Coord& b, double x, double y, double tolerance);

// How two rings lie: -1 invalid or apart, 0 crossing or touching, 1 B within A, 2 A within B. With a touch flag
// a touch does not end the test; the flag tells whether the rings touch.
int32_t GetPolygonRelation(const QV_Poly& a, const QV_Poly& b, const double& tolerance, uint8_t* touch = nullptr);
