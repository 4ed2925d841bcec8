#include "geometry/CircleIntersections.hpp"

#include <algorithm>
#include <cmath>

namespace {

const double kCloseEnough = 0.003;

// Roots of a u^2 + b u + c = 0, a > 0; a negative discriminant counts as 0 when allowed.
bool SolveQuadratic(double a, double b, double c, bool clampNegative, double& plus, double& minus) {
    double disc = b * b - 4.0 * a * c;
    if (disc < 0.0) {
        if (!clampNegative) return false;
        disc = 0.0;
    }
    const double root = std::sqrt(disc);
    plus = (-b + root) / (2.0 * a);
    minus = (-b - root) / (2.0 * a);
    return std::isfinite(plus) && std::isfinite(minus);
}

}  // namespace

bool IntersectTwoCircles(const API_Coord& centre1, const API_Coord& centre2, double radius1, double radius2,
                         API_Coord& point1, API_Coord& point2) {
    // Worked relative to centre 1, so large coordinates keep their precision.
    const double dx = centre2.x - centre1.x, dy = centre2.y - centre1.y;
    const double d = std::hypot(dx, dy);
    if (radius1 + radius2 - d <= -kCloseEnough) return false;
    if (std::min(radius1, radius2) + d - std::max(radius1, radius2) <= -kCloseEnough) return false;
    // Concentric circles have no radical line.
    if (!(d > 1e-12)) return false;
    // Radical line: 2 dx x + 2 dy y = k.
    const double k = radius1 * radius1 - radius2 * radius2 + d * d;
    double plus, minus;
    if (std::fabs(dx) >= 1e-4) {
        // x = (k - 2 dy y) / (2 dx) into x^2 + y^2 = r1^2.
        const double m = -dy / dx, q = k / (2.0 * dx);
        if (!SolveQuadratic(1.0 + m * m, 2.0 * m * q, q * q - radius1 * radius1, true, plus, minus)) return false;
        point1 = API_Coord{centre1.x + m * plus + q, centre1.y + plus};
        point2 = API_Coord{centre1.x + m * minus + q, centre1.y + minus};
    } else {
        const double m = -dx / dy, q = k / (2.0 * dy);
        if (!SolveQuadratic(1.0 + m * m, 2.0 * m * q, q * q - radius1 * radius1, true, plus, minus)) return false;
        point1 = API_Coord{centre1.x + plus, centre1.y + m * plus + q};
        point2 = API_Coord{centre1.x + minus, centre1.y + m * minus + q};
    }
    return true;
}

bool IntersectLineCircle(const API_Coord& a, const API_Coord& b, const API_Coord& centre, double radius,
                         API_Coord& point1, API_Coord& point2) {
    const double ax = a.x - centre.x, ay = a.y - centre.y;
    const double bx = b.x - centre.x, by = b.y - centre.y;
    double plus, minus;
    if (std::fabs(ax - bx) > 1e-5) {
        // y = m x + q
        const double m = (by - ay) / (bx - ax), q = ay - m * ax;
        if (!SolveQuadratic(1.0 + m * m, 2.0 * m * q, q * q - radius * radius, false, plus, minus)) return false;
        point1 = API_Coord{centre.x + plus, centre.y + m * plus + q};
        point2 = API_Coord{centre.x + minus, centre.y + m * minus + q};
        return true;
    }
    if (!(std::fabs(ay - by) > 0.0)) return false;  // no line through one point
    // x = m y + q
    const double m = (bx - ax) / (by - ay), q = ax - m * ay;
    if (!SolveQuadratic(1.0 + m * m, 2.0 * m * q, q * q - radius * radius, false, plus, minus)) return false;
    point1 = API_Coord{centre.x + m * plus + q, centre.y + plus};
    point2 = API_Coord{centre.x + m * minus + q, centre.y + minus};
    return true;
}
