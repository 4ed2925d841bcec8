#pragma once
// Chains of straight and arc segments for the offset and outline tests, and exact distances to them.
#include <cmath>
#include <vector>

#include "geometry/PrimRecords.hpp"
#include "foundation/QV_List.hpp"

namespace OffsetTest {

inline PrimPoly Line(double x1, double y1, double x2, double y2) {
    PrimPoly p{};
    p.begin = API_Coord{x1, y1};
    p.end = API_Coord{x2, y2};
    p.isLine = 1;
    return p;
}

// Arc about the centre from angle a1 to angle a2 (degrees, signed direction).
inline PrimPoly Arc(double cx, double cy, double r, double a1, double a2) {
    const double k = M_PI / 180.0;
    const double am = (a1 + a2) / 2.0;
    PrimPoly p{};
    p.begin = API_Coord{cx + r * std::cos(a1 * k), cy + r * std::sin(a1 * k)};
    p.end = API_Coord{cx + r * std::cos(a2 * k), cy + r * std::sin(a2 * k)};
    p.mid = API_Coord{cx + r * std::cos(am * k), cy + r * std::sin(am * k)};
    p.centre = API_Coord{cx, cy};
    p.radius = r;
    p.isLine = 0;
    return p;
}

inline QV_List<PrimPoly> Chain(const std::vector<PrimPoly>& prims) {
    QV_List<PrimPoly> list;
    for (const PrimPoly& p : prims) list.Insert(p);
    return list;
}

inline std::vector<PrimPoly> Items(const QV_List<PrimPoly>& list) {
    return std::vector<PrimPoly>(list.begin(), list.end());
}

inline double Mod2Pi(double a) {
    a = std::fmod(a, 2.0 * M_PI);
    return a < 0.0 ? a + 2.0 * M_PI : a;
}

// Start angle and signed sweep of an arc record, from its begin, middle and end about its centre.
inline void ArcSpan(const PrimPoly& p, double& start, double& sweep) {
    start = std::atan2(p.begin.y - p.centre.y, p.begin.x - p.centre.x);
    const double end = std::atan2(p.end.y - p.centre.y, p.end.x - p.centre.x);
    const double mid = std::atan2(p.mid.y - p.centre.y, p.mid.x - p.centre.x);
    const double ccw = Mod2Pi(end - start);
    if (Mod2Pi(mid - start) <= ccw)
        sweep = ccw;
    else
        sweep = -Mod2Pi(start - end);
}

inline API_Coord PointAt(const PrimPoly& p, double t) {
    if (p.isLine != 0) return API_Coord{p.begin.x + t * (p.end.x - p.begin.x), p.begin.y + t * (p.end.y - p.begin.y)};
    double start, sweep;
    ArcSpan(p, start, sweep);
    const double a = start + t * sweep;
    return API_Coord{p.centre.x + p.radius * std::cos(a), p.centre.y + p.radius * std::sin(a)};
}

inline double Distance(const API_Coord& a, const API_Coord& b) { return std::hypot(a.x - b.x, a.y - b.y); }

inline double DistanceTo(const PrimPoly& p, const API_Coord& q) {
    if (p.isLine != 0) {
        const double dx = p.end.x - p.begin.x, dy = p.end.y - p.begin.y;
        const double l2 = dx * dx + dy * dy;
        double t = l2 > 0.0 ? ((q.x - p.begin.x) * dx + (q.y - p.begin.y) * dy) / l2 : 0.0;
        t = std::fmax(0.0, std::fmin(1.0, t));
        return Distance(q, API_Coord{p.begin.x + t * dx, p.begin.y + t * dy});
    }
    double start, sweep;
    ArcSpan(p, start, sweep);
    const double a = std::atan2(q.y - p.centre.y, q.x - p.centre.x);
    const double along = sweep >= 0.0 ? Mod2Pi(a - start) : Mod2Pi(start - a);
    if (along <= std::fabs(sweep)) return std::fabs(Distance(q, p.centre) - p.radius);
    return std::fmin(Distance(q, p.begin), Distance(q, p.end));
}

// Distance to the segment's carrier: its infinite line or full circle.
inline double DistanceToCarrier(const PrimPoly& p, const API_Coord& q) {
    if (p.isLine != 0) {
        const double dx = p.end.x - p.begin.x, dy = p.end.y - p.begin.y;
        return std::fabs(dx * (q.y - p.begin.y) - dy * (q.x - p.begin.x)) / std::hypot(dx, dy);
    }
    return std::fabs(Distance(q, p.centre) - p.radius);
}

inline double DistanceTo(const QV_List<PrimPoly>& chain, const API_Coord& q) {
    double d = 1e300;
    for (const PrimPoly& p : chain) d = std::fmin(d, DistanceTo(p, q));
    return d;
}

// Sample points of every segment of a chain (ends included).
inline std::vector<API_Coord> Samples(const QV_List<PrimPoly>& chain, int perSegment = 16) {
    std::vector<API_Coord> out;
    for (const PrimPoly& p : chain)
        for (int k = 0; k <= perSegment; ++k) out.push_back(PointAt(p, double(k) / perSegment));
    return out;
}

}  // namespace OffsetTest
