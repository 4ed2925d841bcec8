#include "model3d/Daylight.hpp"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

namespace {
struct Plane {
    double a, b, c;  // z = a x + b y + c
    double At(double x, double y) const { return a * x + b * y + c; }
};

// False for a face seen edge-on from above.
bool PlaneOf(const ModelPoint& p, const ModelPoint& q, const ModelPoint& r, Plane* plane, double* nz) {
    const double ux = q.x - p.x, uy = q.y - p.y, uz = q.z - p.z, vx = r.x - p.x, vy = r.y - p.y, vz = r.z - p.z;
    const double nx = uy * vz - uz * vy, ny = uz * vx - ux * vz;
    *nz = ux * vy - uy * vx;
    if (std::abs(*nz) <= 1e-12 * (std::abs(nx) + std::abs(ny) + std::abs(*nz))) return false;
    plane->a = -nx / *nz, plane->b = -ny / *nz;
    plane->c = p.z - plane->a * p.x - plane->b * p.y;
    return true;
}

using Ring = std::vector<std::pair<double, double>>;

// The part of a plan polygon on the left of the line a-b (counter-clockwise clipping).
Ring ClipLeft(const Ring& in, std::pair<double, double> a, std::pair<double, double> b) {
    Ring out;
    const auto side = [&](const std::pair<double, double>& p) {
        return (b.first - a.first) * (p.second - a.second) - (b.second - a.second) * (p.first - a.first);
    };
    for (size_t i = 0; i < in.size(); ++i) {
        const auto& p = in[i];
        const auto& q = in[(i + 1) % in.size()];
        const double sp = side(p), sq = side(q);
        if (sp >= 0) out.push_back(p);
        if ((sp >= 0) != (sq >= 0)) {
            const double t = sp / (sp - sq);
            out.push_back({p.first + (q.first - p.first) * t, p.second + (q.second - p.second) * t});
        }
    }
    return out;
}

// Counter-clockwise plan corners of a triangle.
Ring Corners(const ModelPoint& p, const ModelPoint& q, const ModelPoint& r) {
    Ring ring = {{p.x, p.y}, {q.x, q.y}, {r.x, r.y}};
    if ((q.x - p.x) * (r.y - p.y) - (q.y - p.y) * (r.x - p.x) < 0) std::swap(ring[1], ring[2]);
    return ring;
}

using Key = std::pair<long long, long long>;
Key KeyOf(const ModelPoint& p) { return {std::llround(p.x * 1e3), std::llround(p.y * 1e3)}; }

// Segments joined where their ends meet (within a millimetre or so: two pieces compute a shared point apart) into
// lines.
std::vector<std::vector<ModelPoint>> Chained(const std::vector<std::pair<ModelPoint, ModelPoint>>& segments) {
    std::multimap<Key, size_t> ends;
    for (size_t i = 0; i < segments.size(); ++i) {
        ends.emplace(KeyOf(segments[i].first), i);
        ends.emplace(KeyOf(segments[i].second), i);
    }
    std::vector<bool> used(segments.size(), false);
    const auto extend = [&](std::vector<ModelPoint>* line) {
        for (;;) {
            const Key at = KeyOf(line->back());
            size_t next = segments.size();
            for (long long dx = -1; dx <= 1 && next == segments.size(); ++dx)
                for (long long dy = -1; dy <= 1; ++dy) {
                    auto range = ends.equal_range({at.first + dx, at.second + dy});
                    for (auto it = range.first; it != range.second; ++it)
                        if (!used[it->second]) next = it->second;
                }
            if (next == segments.size()) return;
            used[next] = true;
            const ModelPoint& a = segments[next].first;
            const ModelPoint& b = segments[next].second;
            const bool forward = std::hypot(a.x - line->back().x, a.y - line->back().y) <=
                std::hypot(b.x - line->back().x, b.y - line->back().y);
            line->push_back(forward ? segments[next].second : segments[next].first);
        }
    };
    std::vector<std::vector<ModelPoint>> lines;
    for (size_t i = 0; i < segments.size(); ++i) {
        if (used[i]) continue;
        used[i] = true;
        std::vector<ModelPoint> line = {segments[i].first, segments[i].second};
        extend(&line);
        std::reverse(line.begin(), line.end());
        extend(&line);
        lines.push_back(std::move(line));
    }
    return lines;
}
}  // namespace

std::vector<std::vector<ModelPoint>> DaylightLines(const ModelBody& body, bool cut, const Surface& ground,
                                                   const SurfaceIndex& index) {
    std::vector<std::pair<ModelPoint, ModelPoint>> segments;
    for (int32_t f = 1; f <= int32_t(body.pgons.size()); ++f) {
        const std::vector<int32_t> ring = body.PolygonVertices(f);
        for (size_t k = 1; k + 1 < ring.size(); ++k) {
            const ModelPoint &p = body.vertices[size_t(ring[0] - 1)], &q = body.vertices[size_t(ring[k] - 1)],
                             &r = body.vertices[size_t(ring[k + 1] - 1)];
            Plane design;
            double nz = 0.0;
            // A cut's underside faces down, a fill's top up (both bodies run their faces round outward).
            if (!PlaneOf(p, q, r, &design, &nz) || (cut ? nz > 0 : nz < 0)) continue;
            const Ring face = Corners(p, q, r);
            const PlanBox box = {std::min({p.x, q.x, r.x}), std::min({p.y, q.y, r.y}), std::max({p.x, q.x, r.x}),
                                 std::max({p.y, q.y, r.y})};
            index.ForTrianglesNear(box, [&](size_t t) {
                const auto& tri = ground.triangles[t];
                const ModelPoint &a = ground.points[size_t(tri[0])], &b = ground.points[size_t(tri[1])],
                                 &c = ground.points[size_t(tri[2])];
                Plane terrain;
                double tz = 0.0;
                if (!PlaneOf(a, b, c, &terrain, &tz)) return;
                Ring piece = Corners(a, b, c);
                for (size_t i = 0; i < 3 && piece.size() >= 3; ++i) piece = ClipLeft(piece, face[i], face[(i + 1) % 3]);
                // Where the ground's height less the design's changes sign along the piece's sides.
                std::vector<ModelPoint> zero;
                const auto d = [&](const std::pair<double, double>& v) {
                    return terrain.At(v.first, v.second) - design.At(v.first, v.second);
                };
                for (size_t i = 0; i < piece.size() && piece.size() >= 3; ++i) {
                    const auto& u = piece[i];
                    const auto& v = piece[(i + 1) % piece.size()];
                    const double du = d(u), dv = d(v);
                    if ((du < 0) == (dv < 0)) continue;
                    const double s = du / (du - dv);
                    const double x = u.first + (v.first - u.first) * s, y = u.second + (v.second - u.second) * s;
                    zero.push_back({x, y, design.At(x, y)});
                }
                // A piece that only touches the ground at a point (a corner of the mitre) draws nothing.
                if (zero.size() == 2 && std::hypot(zero[0].x - zero[1].x, zero[0].y - zero[1].y) > 1e-9)
                    segments.push_back({zero[0], zero[1]});
            });
        }
    }
    return Chained(segments);
}
