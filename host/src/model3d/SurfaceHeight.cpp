#include "model3d/SurfaceHeight.hpp"

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
