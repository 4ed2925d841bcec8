#pragma once
// Crossing points of two circles and of a line with a circle.
#include "APICoord.hpp"

// Crossings of two circles. False when they lie apart or one inside the other by more than 0.003, or share their
// centre. Circles that just miss each other (within 0.003) or touch give one point twice.
bool IntersectTwoCircles(const API_Coord& centre1, const API_Coord& centre2, double radius1, double radius2,
                         API_Coord& point1, API_Coord& point2);

// Crossings of the line through a and b with a circle: point1 with the larger root, point2 with the smaller one
// (along x, or along y for a line steeper than vertical by 1e-5). False when the line misses the circle or a and
// b coincide.
bool IntersectLineCircle(const API_Coord& a, const API_Coord& b, const API_Coord& centre, double radius,
                         API_Coord& point1, API_Coord& point2);
