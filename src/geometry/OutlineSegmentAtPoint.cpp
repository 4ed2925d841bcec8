#include "geometry/OutlineSegmentAtPoint.hpp"

#include "geometry/PolygonTests.hpp"

#include <algorithm>
#include <cmath>

namespace {
constexpr double TwoPi = 6.283185307179586;
constexpr double CentreTolerance = 1e-5;
constexpr double OnOutline = 1e-7;

double Distance(const API_Coord& a, const API_Coord& b) { return std::hypot(a.x - b.x, a.y - b.y); }

bool OnArc(const QV_Arc& arc, const API_Coord& p, double tolerance) {
    const double radius = arc.radiusX;
    if (radius <= 0.0 || std::fabs(Distance(p, arc.center) - radius) >= tolerance) return false;
    const double angle = QV_Arc::AngleOfPoint(arc, p, CentreTolerance);
    const double low = std::min(arc.startAngle, arc.endAngle);
    const double high = std::max(arc.startAngle, arc.endAngle);
    const double slack = tolerance / radius;
    if (std::fabs((high - low) - TwoPi) < slack) return true;
    // The angle brought into the turn that starts at the smaller end angle.
    double a = angle;
    while (a < low) a += TwoPi;
    while (a >= low + TwoPi) a -= TwoPi;
    if (a <= high + slack) return true;
    return std::fabs(a - low) < slack || std::fabs(a - (low + TwoPi)) < slack;
}
}  // namespace

int32_t FindOutlineSegmentAtPoint(const QV_Poly& outline, const API_Coord& point, double tolerance) {
    const int32_t n = outline.VertexCount();
    if (n == 0) return -1;
    for (int32_t i = 0; i < outline.CodeCount(); ++i) {
        const int32_t code = outline.codes[i];
        if (code < 0) {
            const API_Coord& a = outline.vertices[i];
            const API_Coord& b = outline.vertices[(i + 1) % n];
            if (Distance(a, point) + Distance(b, point) - Distance(a, b) < tolerance) return i + 1;
        } else if (code < outline.arcs.GetCount() && OnArc(outline.arcs[code], point, tolerance)) {
            return i + 1;
        }
    }
    return -1;
}

bool PointOnOrInsideOutline(const QV_Poly& outline, const API_Coord& point) {
    if (FindOutlineSegmentAtPoint(outline, point, OnOutline) > 0) return true;
    int32_t edge = 0;
    return PointInPolygon(outline, point.x, point.y, edge, OnOutline) == 1;
}
