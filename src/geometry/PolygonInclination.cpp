#include "geometry/PolygonInclination.hpp"

#include <cmath>

namespace {
struct Vec {
    double x, y, z;
};

Vec Sub(const API_Coord3D& a, const API_Coord3D& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec Cross(const Vec& a, const Vec& b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }

// The angle between a plane's normal and the vertical is the plane's inclination; measured with atan2 it stays
// defined for a vertical plane, whose plan projection has no normal of its own.
double InclinationOf(const Vec& n) { return std::atan2(std::hypot(n.x, n.y), std::fabs(n.z)); }

bool HasArea(const Vec& n, double scale) {
    const double len = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
    return len > 1e-12 * scale && std::isfinite(len);
}
}  // namespace

double PolygonInclination(const API_Coord3D* ring, int32_t count) {
    if (ring == nullptr || count < 1) return 0.0;
    const API_Coord3D& p0 = ring[0];
    const API_Coord3D& p1 = ring[1 % count];
    const API_Coord3D& p2 = ring[2 % count];
    const Vec a = Sub(p1, p0);
    const Vec b = Sub(p2, p0);
    const double scale =
        (std::fabs(a.x) + std::fabs(a.y) + std::fabs(a.z)) * (std::fabs(b.x) + std::fabs(b.y) + std::fabs(b.z));
    const Vec n = Cross(a, b);
    if (HasArea(n, scale)) return InclinationOf(n);

    // Newell's normal of the whole ring: the first three points may lie on one line while the ring does not.
    Vec sum = {0.0, 0.0, 0.0};
    double extent = 0.0;
    for (int32_t i = 0; i < count; ++i) {
        const API_Coord3D& c = ring[i];
        const API_Coord3D& d = ring[(i + 1) % count];
        sum.x += (c.y - d.y) * (c.z + d.z);
        sum.y += (c.z - d.z) * (c.x + d.x);
        sum.z += (c.x - d.x) * (c.y + d.y);
        const Vec e = Sub(d, c);
        extent = std::fmax(extent, std::fabs(e.x) + std::fabs(e.y) + std::fabs(e.z));
    }
    return HasArea(sum, extent * extent) ? InclinationOf(sum) : 0.0;
}

void ComputeTriangleNormalAngles(MeshBody& body) {
    const int32_t n = body.polygons.GetCount();
    if (n == 0) return;
    if (!body.angles.SetSize(n)) return;
    for (int32_t i = 0; i < n; ++i) {
        const QV_List<API_Coord3D>& points = body.polygons[i].points;
        body.angles[i] = PolygonInclination(points.begin(), points.GetCount());
    }
}
