#include "geometry/OutlineShape.hpp"

#include <algorithm>
#include <cmath>

namespace {
double Cross(const API_Coord& o, const API_Coord& a, const API_Coord& b) {
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

// -1, 0 or 1 by the side of `p` against the line a-b; within `eps` of it counts as on it.
int Side(const API_Coord& a, const API_Coord& b, const API_Coord& p, double eps) {
    const double len = std::hypot(b.x - a.x, b.y - a.y);
    const double c = Cross(a, b, p);
    return std::fabs(c) <= eps * len ? 0 : (c > 0 ? 1 : -1);
}

bool Within(const API_Coord& a, const API_Coord& b, const API_Coord& p, double eps) {
    return p.x >= std::min(a.x, b.x) - eps && p.x <= std::max(a.x, b.x) + eps && p.y >= std::min(a.y, b.y) - eps &&
        p.y <= std::max(a.y, b.y) + eps;
}

// Whether the sides a-b and c-d share a point.
bool Meet(const API_Coord& a, const API_Coord& b, const API_Coord& c, const API_Coord& d, double eps) {
    const int s1 = Side(a, b, c, eps), s2 = Side(a, b, d, eps), s3 = Side(c, d, a, eps), s4 = Side(c, d, b, eps);
    if (s1 * s2 < 0 && s3 * s4 < 0) return true;
    return (s1 == 0 && Within(a, b, c, eps)) || (s2 == 0 && Within(a, b, d, eps)) ||
        (s3 == 0 && Within(c, d, a, eps)) || (s4 == 0 && Within(c, d, b, eps));
}
}  // namespace

OutlineShape ClassifyOutline(const std::vector<API_Coord>& points) {
    if (points.empty()) return OutlineShape::TooFewPoints;
    double xMin = points[0].x, xMax = xMin, yMin = points[0].y, yMax = yMin;
    for (const API_Coord& p : points) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) return OutlineShape::TooFewPoints;
        xMin = std::min(xMin, p.x), xMax = std::max(xMax, p.x), yMin = std::min(yMin, p.y), yMax = std::max(yMax, p.y);
    }
    const double size = std::hypot(xMax - xMin, yMax - yMin);
    const double eps = size * 1e-6;
    std::vector<API_Coord> ring;
    for (const API_Coord& p : points)
        if (ring.empty() || std::hypot(p.x - ring.back().x, p.y - ring.back().y) > eps) ring.push_back(p);
    while (ring.size() > 1 && std::hypot(ring[0].x - ring.back().x, ring[0].y - ring.back().y) <= eps) ring.pop_back();
    const size_t n = ring.size();
    if (n < 3) return OutlineShape::TooFewPoints;
    // On one line: every place on the line from the first to the one farthest from it.
    size_t far = 1;
    for (size_t i = 1; i < n; ++i)
        if (std::hypot(ring[i].x - ring[0].x, ring[i].y - ring[0].y) >
            std::hypot(ring[far].x - ring[0].x, ring[far].y - ring[0].y))
            far = i;
    bool onLine = true;
    for (size_t i = 1; i < n && onLine; ++i) onLine = Side(ring[0], ring[far], ring[i], eps) == 0;
    if (onLine) return OutlineShape::Flat;
    for (size_t i = 0; i < n; ++i) {
        const API_Coord &a = ring[i], &b = ring[(i + 1) % n], &c = ring[(i + 2) % n];
        // A side that turns straight back along the one before it.
        if (Side(a, b, c, eps) == 0 && (c.x - b.x) * (b.x - a.x) + (c.y - b.y) * (b.y - a.y) < 0)
            return OutlineShape::CrossesItself;
        for (size_t j = i + 2; j < n; ++j) {
            if (i == 0 && j == n - 1) continue;  // neighbours across the closing point
            if (Meet(a, b, ring[j], ring[(j + 1) % n], eps)) return OutlineShape::CrossesItself;
        }
    }
    double area = 0.0;
    for (size_t i = 0; i < n; ++i) area += Cross(ring[0], ring[i], ring[(i + 1) % n]);
    return std::fabs(area) / 2.0 <= eps * size ? OutlineShape::Flat : OutlineShape::Simple;
}
