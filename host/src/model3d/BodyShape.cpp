#include "model3d/BodyShape.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

namespace {
using Coords = std::array<double, 3>;

Coords Of(const ModelPoint& p) { return {p.x, p.y, p.z}; }

// Whether two distinct points lie within the welding tolerance of each other (as the solid welds them).
bool HasNearPoints(const std::vector<ModelPoint>& points) {
    double extent = 1.0;
    for (const ModelPoint& p : points) extent = std::max({extent, std::fabs(p.x), std::fabs(p.y), std::fabs(p.z)});
    const double tolerance = 1e-12 * extent;
    std::vector<Coords> sorted;
    sorted.reserve(points.size());
    for (const ModelPoint& p : points) sorted.push_back(Of(p));
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    for (size_t k = 0; k < sorted.size(); ++k)
        for (size_t m = k + 1; m < sorted.size() && sorted[m][0] - sorted[k][0] <= tolerance; ++m)
            if (std::fabs(sorted[m][1] - sorted[k][1]) <= tolerance &&
                std::fabs(sorted[m][2] - sorted[k][2]) <= tolerance)
                return true;
    return false;
}
}  // namespace

bool ShapeOf(const ModelBody& body, std::vector<double>* shape) {
    shape->clear();
    for (const ModelPoint& p : body.vertices)
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return false;
    if (HasNearPoints(body.vertices)) return false;
    std::vector<std::vector<Coords>> polygons;
    polygons.reserve(body.pgons.size());
    for (int32_t p = 1; p <= int32_t(body.pgons.size()); ++p) {
        const auto [first, last] = body.pgons[size_t(p - 1)];
        for (int32_t e = first; e <= last; ++e) {
            if (e < 1 || size_t(e) > body.pedges.size()) return false;
            const int32_t edge = body.pedges[size_t(e - 1)];
            if (edge == 0 || size_t(std::abs(edge)) > body.edges.size()) return false;
            const auto [a, b] = body.edges[size_t(std::abs(edge) - 1)];
            if (a < 1 || b < 1 || size_t(a) > body.vertices.size() || size_t(b) > body.vertices.size()) return false;
        }
        std::vector<Coords> ring;
        for (int32_t v : body.PolygonVertices(p)) ring.push_back(Of(body.vertices[size_t(v - 1)]));
        // A triangle is the same face from any corner; a larger polygon may not be flat, and where it is cut into
        // triangles follows its first corner, so it keeps it.
        if (ring.size() == 3) std::rotate(ring.begin(), std::min_element(ring.begin(), ring.end()), ring.end());
        polygons.push_back(std::move(ring));
    }
    std::sort(polygons.begin(), polygons.end());
    for (const std::vector<Coords>& ring : polygons) {
        shape->push_back(double(ring.size()));
        for (const Coords& c : ring) shape->insert(shape->end(), c.begin(), c.end());
    }
    return true;
}
