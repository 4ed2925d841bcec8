#include "earthworks/PathSegments.hpp"

#include <cmath>

namespace {

constexpr int32_t kArcMiddle = 2;

PrimPoly Straight(const QV_Coord3DLong& a, const QV_Coord3DLong& b) {
    PrimPoly s{};
    s.begin = {a.x, a.y};
    s.end = {b.x, b.y};
    s.isLine = 1;
    return s;
}

}  // namespace

bool CircleCentreThrough(const API_Coord& p0, const API_Coord& p1, const API_Coord& p2, API_Coord& centre) {
    // Taken about the first point: the squares of far-off coordinates would swamp a small circle.
    const double x1 = p1.x - p0.x, y1 = p1.y - p0.y, x2 = p2.x - p0.x, y2 = p2.y - p0.y;
    const double d = x1 * y2 - x2 * y1;
    if (d == 0.0 || std::fabs(d) <= 1e-12 * (std::fabs(x1 * y2) + std::fabs(x2 * y1))) return false;
    const double s1 = x1 * x1 + y1 * y1, s2 = x2 * x2 + y2 * y2;
    const API_Coord c{p0.x + (s1 * y2 - s2 * y1) / (2 * d), p0.y + (s2 * x1 - s1 * x2) / (2 * d)};
    if (!std::isfinite(c.x) || !std::isfinite(c.y)) return false;
    centre = c;
    return true;
}

void PolylineToSegments(const QV_List<QV_Coord3DLong>& vertices, QV_List<PrimPoly>& segments) {
    segments.Clear();
    const int32_t n = vertices.GetCount();
    for (int32_t i = 0; i + 1 < n;) {
        const QV_Coord3DLong& a = vertices[i];
        const QV_Coord3DLong& m = vertices[i + 1];
        if (a.code == 0 && m.code == kArcMiddle && i + 2 < n) {
            const QV_Coord3DLong& b = vertices[i + 2];
            API_Coord centre{};
            if (CircleCentreThrough({a.x, a.y}, {m.x, m.y}, {b.x, b.y}, centre)) {
                PrimPoly s = Straight(a, b);
                s.isLine = 0;
                s.mid = {m.x, m.y};
                s.centre = centre;
                s.radius = std::hypot(a.x - centre.x, a.y - centre.y);
                segments.Insert(s);
            } else {
                segments.Insert(Straight(a, m));
                segments.Insert(Straight(m, b));
            }
            i += 2;
            continue;
        }
        segments.Insert(Straight(a, m));
        ++i;
    }
}
