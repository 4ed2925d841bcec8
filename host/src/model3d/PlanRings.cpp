#include "model3d/PlanRings.hpp"

#include <algorithm>

double SignedArea(const PlanRing& ring) {
    double a = 0.0;
    const size_t n = ring.points.size();
    for (size_t i = 0; i < n; ++i) {
        const ModelPoint& p = ring.points[i];
        const ModelPoint& q = ring.points[(i + 1) % n];
        a += p.x * q.y - q.x * p.y;
    }
    return a / 2.0;
}

bool InsideRings(const std::vector<PlanRing>& rings, double x, double y) {
    bool inside = false;
    for (const PlanRing& ring : rings) {
        const size_t n = ring.points.size();
        for (size_t i = 0, j = n - 1; i < n; j = i++) {
            const ModelPoint& a = ring.points[i];
            const ModelPoint& b = ring.points[j];
            if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) inside = !inside;
        }
    }
    return inside;
}

PlanBox BoxOf(const PlanRing& ring) { return BoxOf(ring.points); }

PlanBox BoxOf(const std::vector<ModelPoint>& points) {
    PlanBox b = {points[0].x, points[0].y, points[0].x, points[0].y};
    for (const ModelPoint& p : points) {
        b.xMin = std::min(b.xMin, p.x);
        b.yMin = std::min(b.yMin, p.y);
        b.xMax = std::max(b.xMax, p.x);
        b.yMax = std::max(b.yMax, p.y);
    }
    return b;
}
