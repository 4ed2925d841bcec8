#pragma once
// Shared helpers of the polygon operations: typed handle access and circular-arc geometry.
#include <cmath>
#include <cstdint>
#include <cstring>

#include "GeometryPolygon2D.hpp"

namespace Geometry {
namespace Poly2DInternal {

constexpr double kTwoPi = 2.0 * M_PI;

template <typename T>
T* Items(T** handle) {
    return handle != nullptr ? *handle : nullptr;
}

inline uint8_t* Bytes(GSHandle handle) { return handle != nullptr ? reinterpret_cast<uint8_t*>(*handle) : nullptr; }

inline uint8_t* UserEntry(GSHandle handle, uint32_t size, int32_t index) {
    return Bytes(handle) + static_cast<size_t>(size) * static_cast<size_t>(index);
}

// Circle of an arc from a to b turning by the signed angle (positive counter-clockwise).
struct Circle {
    API_Coord centre;
    double radius;
};

inline Circle ArcCircle(const API_Coord& a, const API_Coord& b, double angle) {
    const double mx = 0.5 * (a.x + b.x), my = 0.5 * (a.y + b.y);
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double half = 0.5 * angle;
    // Centre on the chord's perpendicular bisector, to the left of the chord for a counter-clockwise arc
    // shorter than a half circle.
    const double k = std::cos(half) / std::sin(half) * 0.5;
    Circle c;
    c.centre = API_Coord{mx - dy * k, my + dx * k};
    c.radius = std::hypot(dx, dy) / (2.0 * std::fabs(std::sin(half)));
    return c;
}

// Angle of p about the centre, in [0, 2 pi).
inline double AngleAbout(const API_Coord& centre, const API_Coord& p) {
    double a = std::atan2(p.y - centre.y, p.x - centre.x);
    if (a < 0.0) a += kTwoPi;
    if (a >= kTwoPi) a = 0.0;
    return a;
}

// Signed area of the circular segment between an arc and its chord (adds to a contour's shoelace area).
inline double ArcSegmentArea(double radius, double angle) { return 0.5 * radius * radius * (angle - std::sin(angle)); }

}  // namespace Poly2DInternal
}  // namespace Geometry
