#include "model3d/Surface.hpp"

#include <algorithm>
#include <cmath>

double Surface::HeightOn(size_t t, double x, double y) const {
    const ModelPoint& a = points[size_t(triangles[t][0])];
    const ModelPoint& b = points[size_t(triangles[t][1])];
    const ModelPoint& c = points[size_t(triangles[t][2])];
    // Barycentric weights; at a corner of the triangle the corner's own height comes back exactly.
    if (x == a.x && y == a.y) return a.z;
    if (x == b.x && y == b.y) return b.z;
    if (x == c.x && y == c.y) return c.z;
    const double d = (b.y - c.y) * (a.x - c.x) + (c.x - b.x) * (a.y - c.y);
    const double wa = ((b.y - c.y) * (x - c.x) + (c.x - b.x) * (y - c.y)) / d;
    const double wb = ((c.y - a.y) * (x - c.x) + (a.x - c.x) * (y - c.y)) / d;
    return wa * a.z + wb * b.z + (1.0 - wa - wb) * c.z;
}

void Surface::ZRange(double* zMin, double* zMax) const {
    *zMin = 0.0;
    *zMax = 0.0;
    for (size_t i = 0; i < points.size(); ++i) {
        *zMin = i == 0 ? points[i].z : std::min(*zMin, points[i].z);
        *zMax = i == 0 ? points[i].z : std::max(*zMax, points[i].z);
    }
}

SurfaceIndex::SurfaceIndex(const Surface& surface) : surface_(surface) {
    const size_t n = surface.triangles.size();
    seen_.assign(n, 0);
    if (n == 0) return;
    bool first = true;
    for (const auto& t : surface.triangles)
        for (int32_t v : t) {
            const ModelPoint& p = surface.points[size_t(v)];
            if (first) box_ = {p.x, p.y, p.x, p.y};
            first = false;
            box_.xMin = std::min(box_.xMin, p.x);
            box_.yMin = std::min(box_.yMin, p.y);
            box_.xMax = std::max(box_.xMax, p.x);
            box_.yMax = std::max(box_.yMax, p.y);
        }
    // About two triangles per cell.
    const double w = std::max(box_.xMax - box_.xMin, 1e-9), h = std::max(box_.yMax - box_.yMin, 1e-9);
    cell_ = std::max(std::sqrt(w * h * 2.0 / double(n)), 1e-9);
    nx_ = std::clamp(int32_t(std::ceil(w / cell_)), 1, 1 << 15);
    ny_ = std::clamp(int32_t(std::ceil(h / cell_)), 1, 1 << 15);
    cell_ = std::max(w / nx_, h / ny_);
    // Two passes (count, then fill) keep the cells in one array.
    std::vector<int32_t> count(size_t(nx_) * size_t(ny_) + 1, 0);
    // Each point's cell once: cells grow with the place, so a triangle's cells run from its corners' lowest to
    // their highest.
    std::vector<std::pair<int32_t, int32_t>> cellOf(surface.points.size());
    for (size_t i = 0; i < cellOf.size(); ++i) cellOf[i] = {CellX(surface.points[i].x), CellY(surface.points[i].y)};
    const auto forCells = [&](size_t t, auto&& f) {
        const auto& tri = surface.triangles[t];
        const auto& a = cellOf[size_t(tri[0])];
        const auto& b = cellOf[size_t(tri[1])];
        const auto& c = cellOf[size_t(tri[2])];
        const int32_t x0 = std::min({a.first, b.first, c.first}), x1 = std::max({a.first, b.first, c.first});
        const int32_t y0 = std::min({a.second, b.second, c.second}), y1 = std::max({a.second, b.second, c.second});
        for (int32_t cy = y0; cy <= y1; ++cy)
            for (int32_t cx = x0; cx <= x1; ++cx) f(size_t(cy) * size_t(nx_) + size_t(cx));
    };
    for (size_t t = 0; t < n; ++t) forCells(t, [&](size_t c) { ++count[c + 1]; });
    for (size_t c = 1; c < count.size(); ++c) count[c] += count[c - 1];
    cellStart_ = count;
    cellTriangles_.resize(size_t(count.back()));
    for (size_t t = 0; t < n; ++t) forCells(t, [&](size_t c) { cellTriangles_[size_t(count[c]++)] = int32_t(t); });
}
