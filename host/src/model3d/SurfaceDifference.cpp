#include "model3d/SurfaceDifference.hpp"

#include "model3d/SlopeEnvelope.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace {
struct Plane {
    double a = 0.0, b = 0.0, c = 0.0;  // z = a x + b y + c
    double At(double x, double y) const { return a * x + b * y + c; }
};

// False for a triangle seen edge-on from above.
bool PlaneOf(const ModelPoint& p, const ModelPoint& q, const ModelPoint& r, Plane* plane) {
    PlanePiece through;
    if (!PlaneThrough(p, q, r, &through)) return false;
    *plane = {through.a, through.b, through.c};
    return true;
}

using XY = std::pair<double, double>;

// A convex polygon of at most a triangle cut by three lines, held in place: the integration visits every old
// triangle under a changed face, and a heap vector per step cost most of its time.
struct Ring {
    std::array<XY, 9> p;
    size_t n = 0;
    void Add(const XY& q) { p[n++] = q; }
};

Ring Corners(const ModelPoint& a, const ModelPoint& b, const ModelPoint& c) {
    Ring ring;
    ring.Add({a.x, a.y});
    ring.Add({b.x, b.y});
    ring.Add({c.x, c.y});
    if ((b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x) < 0) std::swap(ring.p[1], ring.p[2]);
    return ring;
}

// The part of a convex polygon where the linear `side` is not negative.
template <typename Side>
Ring Keep(const Ring& in, const Side& side) {
    Ring out;
    for (size_t i = 0; i < in.n; ++i) {
        const XY& p = in.p[i];
        const XY& q = in.p[(i + 1) % in.n];
        const double sp = side(p), sq = side(q);
        if (sp >= 0) out.Add(p);
        if ((sp >= 0) != (sq >= 0)) {
            const double t = sp / (sp - sq);
            out.Add({p.first + (q.first - p.first) * t, p.second + (q.second - p.second) * t});
        }
    }
    return out;
}

// The part of a counter-clockwise convex polygon on the left of a-b.
Ring ClipLeft(const Ring& in, const XY& a, const XY& b) {
    return Keep(in, [&](const XY& p) {
        return (b.first - a.first) * (p.second - a.second) - (b.second - a.second) * (p.first - a.first);
    });
}

// The integral over a convex polygon of max(0, d) for d linear: the polygon cut where d is 0, the part where it is
// positive integrated by its centroid's value times its area.
double PositivePart(const Ring& ring, const Plane& d) {
    const Ring positive = Keep(ring, [&](const XY& p) { return d.At(p.first, p.second); });
    double sum = 0.0;
    for (size_t i = 1; i + 1 < positive.n; ++i) {
        const XY &a = positive.p[0], &b = positive.p[i], &c = positive.p[i + 1];
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
            // Most triangles the box finds lie wholly beside a long face, and most under it wholly within it: the
            // triangle is cut only by the face's sides it lies across.
            bool across[3];
            for (size_t i = 0; i < 3; ++i) {
                const XY &e0 = face.p[i], &e1 = face.p[(i + 1) % 3];
                int left = 0, right = 0;
                for (size_t k = 0; k < 3; ++k) {
                    const double side = (e1.first - e0.first) * (piece.p[k].second - e0.second) -
                        (e1.second - e0.second) * (piece.p[k].first - e0.first);
                    left += side >= 0 ? 1 : 0;
                    right += side <= 0 ? 1 : 0;
                }
                if (right == 3 && left < 3) return;
                across[i] = left < 3;
            }
            for (size_t i = 0; i < 3 && piece.n >= 3; ++i)
                if (across[i]) piece = ClipLeft(piece, face.p[i], face.p[(i + 1) % 3]);
            if (piece.n < 3) return;
            const Plane lower = {ground.a - top.a, ground.b - top.b, ground.c - top.c};
            const Plane higher = {-lower.a, -lower.b, -lower.c};
            change.removed += PositivePart(piece, lower);
            change.added += PositivePart(piece, higher);
        });
    }
    return change;
}
