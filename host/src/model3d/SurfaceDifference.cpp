#include "model3d/SurfaceDifference.hpp"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {
struct Plane {
    double a = 0.0, b = 0.0, c = 0.0;  // z = a x + b y + c
    double At(double x, double y) const { return a * x + b * y + c; }
};

// False for a triangle seen edge-on from above.
bool PlaneOf(const ModelPoint& p, const ModelPoint& q, const ModelPoint& r, Plane* plane) {
    const double ux = q.x - p.x, uy = q.y - p.y, uz = q.z - p.z, vx = r.x - p.x, vy = r.y - p.y, vz = r.z - p.z;
    const double nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
    if (std::abs(nz) <= 1e-12 * (std::abs(nx) + std::abs(ny) + std::abs(nz)) || nz == 0.0) return false;
    plane->a = -nx / nz, plane->b = -ny / nz;
    plane->c = p.z - plane->a * p.x - plane->b * p.y;
    return true;
}

using XY = std::pair<double, double>;
using Ring = std::vector<XY>;

Ring Corners(const ModelPoint& p, const ModelPoint& q, const ModelPoint& r) {
    Ring ring = {{p.x, p.y}, {q.x, q.y}, {r.x, r.y}};
    if ((q.x - p.x) * (r.y - p.y) - (q.y - p.y) * (r.x - p.x) < 0) std::swap(ring[1], ring[2]);
    return ring;
}

// The part of a counter-clockwise convex polygon on the left of a-b.
Ring ClipLeft(const Ring& in, const XY& a, const XY& b) {
    Ring out;
    const auto side = [&](const XY& p) {
        return (b.first - a.first) * (p.second - a.second) - (b.second - a.second) * (p.first - a.first);
    };
    for (size_t i = 0; i < in.size(); ++i) {
        const XY& p = in[i];
        const XY& q = in[(i + 1) % in.size()];
        const double sp = side(p), sq = side(q);
        if (sp >= 0) out.push_back(p);
        if ((sp >= 0) != (sq >= 0)) {
            const double t = sp / (sp - sq);
            out.push_back({p.first + (q.first - p.first) * t, p.second + (q.second - p.second) * t});
        }
    }
    return out;
}

// The integral over a convex polygon of max(0, d) for d linear: the polygon cut where d is 0, the part where it is
// positive integrated by its centroid's value times its area.
double PositivePart(const Ring& ring, const Plane& d) {
    Ring positive;
    for (size_t i = 0; i < ring.size(); ++i) {
        const XY& p = ring[i];
        const XY& q = ring[(i + 1) % ring.size()];
        const double dp = d.At(p.first, p.second), dq = d.At(q.first, q.second);
        if (dp >= 0) positive.push_back(p);
        if ((dp >= 0) != (dq >= 0)) {
            const double t = dp / (dp - dq);
            positive.push_back({p.first + (q.first - p.first) * t, p.second + (q.second - p.second) * t});
        }
    }
    double sum = 0.0;
    for (size_t i = 1; i + 1 < positive.size(); ++i) {
        const XY &a = positive[0], &b = positive[i], &c = positive[i + 1];
        const double area =
            ((b.first - a.first) * (c.second - a.second) - (b.second - a.second) * (c.first - a.first)) / 2;
        const double mean = (d.At(a.first, a.second) + d.At(b.first, b.second) + d.At(c.first, c.second)) / 3;
        sum += std::abs(area) * std::max(0.0, mean);
    }
    return sum;
}
}  // namespace

SurfaceChange SurfaceDifference(const std::vector<std::array<ModelPoint, 3>>& faces, const Surface& old,
                                const SurfaceIndex& index) {
    SurfaceChange change;
    for (const std::array<ModelPoint, 3>& f : faces) {
        Plane top;
        if (!PlaneOf(f[0], f[1], f[2], &top)) continue;
        const Ring face = Corners(f[0], f[1], f[2]);
        const PlanBox box = {std::min({f[0].x, f[1].x, f[2].x}), std::min({f[0].y, f[1].y, f[2].y}),
                             std::max({f[0].x, f[1].x, f[2].x}), std::max({f[0].y, f[1].y, f[2].y})};
        index.ForTrianglesNear(box, [&](size_t t) {
            const auto& tri = old.triangles[t];
            const ModelPoint &a = old.points[size_t(tri[0])], &b = old.points[size_t(tri[1])],
                             &c = old.points[size_t(tri[2])];
            Plane ground;
            if (!PlaneOf(a, b, c, &ground)) return;
            Ring piece = Corners(a, b, c);
            for (size_t i = 0; i < 3 && piece.size() >= 3; ++i) piece = ClipLeft(piece, face[i], face[(i + 1) % 3]);
            if (piece.size() < 3) return;
            const Plane lower = {ground.a - top.a, ground.b - top.b, ground.c - top.c};
            const Plane higher = {-lower.a, -lower.b, -lower.c};
            change.removed += PositivePart(piece, lower);
            change.added += PositivePart(piece, higher);
        });
    }
    return change;
}
