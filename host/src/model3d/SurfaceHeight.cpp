#include "model3d/SurfaceHeight.hpp"

#include <algorithm>
#include <cmath>

namespace {
using XY = std::pair<double, double>;

// Whether two convex plan polygons overlap or touch: no side of either has the other wholly beyond it.
bool Separated(const std::vector<XY>& a, const std::vector<XY>& b) {
    for (const std::vector<XY>* p : {&a, &b}) {
        const std::vector<XY>& poly = *p;
        const std::vector<XY>& other = p == &a ? b : a;
        double turn = 0.0;  // the polygon's orientation, from its signed area
        for (size_t i = 0; i < poly.size(); ++i) {
            const XY& u = poly[i];
            const XY& v = poly[(i + 1) % poly.size()];
            turn += u.first * v.second - v.first * u.second;
        }
        for (size_t i = 0; i < poly.size(); ++i) {
            const XY& u = poly[i];
            const XY& v = poly[(i + 1) % poly.size()];
            bool allOut = true;
            for (const XY& q : other) {
                const double side =
                    (v.first - u.first) * (q.second - u.second) - (v.second - u.second) * (q.first - u.first);
                allOut = allOut && (turn >= 0 ? side < 0 : side > 0);
            }
            if (allOut) return true;
        }
    }
    return false;
}
}  // namespace

bool SurfaceHeightAt(const Surface& surface, const SurfaceIndex& index, double x, double y, double* z) {
    bool found = false;
    index.ForTrianglesNear({x, y, x, y}, [&](size_t t) {
        if (found) return;
        const auto& tri = surface.triangles[t];
        const ModelPoint &a = surface.points[size_t(tri[0])], &b = surface.points[size_t(tri[1])],
                         &c = surface.points[size_t(tri[2])];
        const auto side = [&](const ModelPoint& p, const ModelPoint& q) {
            return (q.x - p.x) * (y - p.y) - (q.y - p.y) * (x - p.x);
        };
        // Counter-clockwise triangles: inside or on the edges when no side sees the point on its right.
        if (side(a, b) < 0 || side(b, c) < 0 || side(c, a) < 0) return;
        *z = surface.HeightOn(t, x, y);
        found = true;
    });
    return found;
}

bool SurfaceExtremeOver(const Surface& surface, const SurfaceIndex& index, const std::vector<XY>& region, bool highest,
                        double* z) {
    if (region.empty()) return false;
    PlanBox box = {region[0].first, region[0].second, region[0].first, region[0].second};
    for (const XY& p : region)
        box = {std::min(box.xMin, p.first), std::min(box.yMin, p.second), std::max(box.xMax, p.first),
               std::max(box.yMax, p.second)};
    bool found = false;
    std::vector<XY> corners(3);
    index.ForTrianglesNear(box, [&](size_t t) {
        const auto& tri = surface.triangles[t];
        double extreme = 0.0;
        for (size_t k = 0; k < 3; ++k) {
            const ModelPoint& p = surface.points[size_t(tri[k])];
            corners[k] = {p.x, p.y};
            extreme = k == 0 ? p.z : highest ? std::max(extreme, p.z) : std::min(extreme, p.z);
        }
        if (found && (highest ? extreme <= *z : extreme >= *z)) return;
        if (Separated(corners, region)) return;
        *z = extreme;
        found = true;
    });
    return found;
}
