#include "geometry/PointRotation.hpp"

#include <cmath>

void RotatePoint(double& x, double& y, double cx, double cy, double angle) {
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    const double dx = x - cx;
    const double dy = y - cy;
    x = cx + dx * c - dy * s;
    y = cy + dx * s + dy * c;
}
