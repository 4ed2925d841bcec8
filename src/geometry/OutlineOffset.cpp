#include "geometry/OutlineOffset.hpp"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "GeometryPolygon2D.hpp"
#include "geometry/OffsetHelpers.hpp"
#include "geometry/PolygonExchange.hpp"
#include "geometry/QV_Arc.hpp"

namespace {

// Tolerances are relative to the lengths of the segments involved; the factors give the usual 1e-4 for segments
// of about 10 units. Everything runs in a frame whose origin is the path's first point, so that survey
// coordinates (millions of units) lose no digits to line coefficients and tolerances formed from them.
const double kRelative = 1e-5;       // end-point meeting and near-axis tests, times the segment length
const double kRelativeSlope = 1e-4;  // near-vertical test of the parallel check, times the segment length
const double kSlope = 1e-3;          // slope tolerance of the parallel test
const double kSine = 1e-6;           // floor of the determinant of two carriers, as the sine of their angle
const double kMeetCap = 1e-4;        // end points never meet farther apart than this
const double kMatch = 1e-5;          // point matching against the path after regularisation

// Carrier line a x + b y + c = 0 of a straight segment; (a, b) points to its left; length = |(a, b)|.
struct Line {
    double a, b, c;
    double length;
};

Line Carrier(const PrimPoly& s) {
    const double a = s.begin.y - s.end.y, b = s.end.x - s.begin.x;
    return Line{a, b, s.begin.x * s.end.y - s.end.x * s.begin.y, std::hypot(a, b)};
}

double ChordLength(const PrimPoly& s) { return std::hypot(s.end.x - s.begin.x, s.end.y - s.begin.y); }

// Keeps a nearly singular determinant away from zero, so nearly parallel lines still give a (far) point. The floor
// is relative to the product of the two lengths.
double GuardedDeterminant(double det, double scale) {
    const double floor = kSine * scale;
    if (det == 0.0) return 1e-4 * floor;
    if (det > 0.0 && det < floor) return floor;
    if (det < 0.0 && det > -floor) return -floor;
    return det;
}

API_Coord Crossing(const Line& p, const Line& q) {
    const double det = GuardedDeterminant(p.a * q.b - q.a * p.b, p.length * q.length);
    return API_Coord{(p.b * q.c - q.b * p.c) / det, (p.c * q.a - q.c * p.a) / det};
}

bool Meet(const API_Coord& a, const API_Coord& b, double length) {
    const double tolerance = std::fmin(kMeetCap, kRelative * length);
    return std::fabs(a.x - b.x) < tolerance && std::fabs(a.y - b.y) < tolerance;
}

// Moves a straight segment sideways: each end to the foot of its perpendicular on the moved line. A segment that
// is nearly horizontal keeps the x of its ends. False when it has no length (and so no side).
bool MoveStraight(PrimPoly& s, uint8_t side, double d) {
    const Line line = Carrier(s);
    if (!(line.length > 0.0)) return false;
    const double k = (side == 0 ? d : -d) / line.length;
    if (std::fabs(line.a) < kRelative * line.length) {
        // The foot lies on the vertical through the end; the moved line's height there.
        const double shift = k * line.length * line.length / line.b;
        s.begin.y += shift;
        s.end.y += shift;
        return true;
    }
    s.begin = API_Coord{s.begin.x + k * line.a, s.begin.y + k * line.b};
    s.end = API_Coord{s.end.x + k * line.a, s.end.y + k * line.b};
    return true;
}

// Moves an arc to its concentric circle. False when the new radius is negative.
bool MoveArc(PrimPoly& s, uint8_t side, double d) {
    const double turn = (s.end.x - s.begin.x) * (s.mid.y - s.begin.y) - (s.end.y - s.begin.y) * (s.mid.x - s.begin.x);
    const bool clockwise = turn > 0.0;  // the middle point left of the chord
    const bool grows = (side == 0) == clockwise;
    const double radius = grows ? s.radius + d : s.radius - d;
    if (radius < 0.0) return false;
    s.begin = Geometry_PointToward(s.centre, s.begin, radius);
    s.end = Geometry_PointToward(s.centre, s.end, radius);
    s.mid = Geometry_PointToward(s.centre, s.mid, radius);
    s.radius = radius;
    return true;
}

double Mod2Pi(double a) {
    a = std::fmod(a, 2.0 * M_PI);
    return a < 0.0 ? a + 2.0 * M_PI : a;
}

double WrapPi(double a) {
    a = std::fmod(a, 2.0 * M_PI);
    if (a > M_PI) a -= 2.0 * M_PI;
    if (a <= -M_PI) a += 2.0 * M_PI;
    return a;
}

// Gives an arc new ends on its circle and puts its middle point halfway between them again. The arc keeps its
// turning direction (taken from where its old middle point lies), so an end cut back past the old middle point
// does not turn it into the other part of the circle. False, with the arc unchanged, when the new ends leave it
// nothing: its end would come before its begin.
bool ReshapeArc(PrimPoly& s, const API_Coord& begin, const API_Coord& end) {
    if (!(s.radius > 0.0)) {
        s.begin = begin;
        s.end = end;
        return true;
    }
    const bool ccw =
        (s.end.x - s.begin.x) * (s.mid.y - s.begin.y) - (s.end.y - s.begin.y) * (s.mid.x - s.begin.x) < 0.0;
    const double sign = ccw ? 1.0 : -1.0;
    auto angle = [&s](const API_Coord& p) { return std::atan2(p.y - s.centre.y, p.x - s.centre.x); };
    const double a0 = angle(s.begin);
    double span = Mod2Pi(sign * (angle(s.end) - a0));
    if (span == 0.0) span = Mod2Pi(sign * (angle(s.mid) - a0)) * 2.0;  // a full turn by its middle point
    const double moveBegin = sign * WrapPi(angle(begin) - a0);
    const double moveEnd = sign * WrapPi(angle(end) - angle(s.end));
    const double newSpan = span - moveBegin + moveEnd;
    if (!(newSpan > 0.0)) return false;
    const double m = a0 + sign * (moveBegin + newSpan / 2.0);
    s.begin = begin;
    s.end = end;
    s.mid = API_Coord{s.centre.x + s.radius * std::cos(m), s.centre.y + s.radius * std::sin(m)};
    return true;
}

bool Parallel(const Line& p, const Line& q) {
    if (std::fabs(p.b) < kRelative * p.length && std::fabs(q.b) < kRelative * q.length) return true;
    if (std::fabs(p.a) < kRelative * p.length && std::fabs(q.a) < kRelative * q.length) return true;
    if (std::fabs(p.b) < kRelativeSlope * p.length) return std::fabs(q.b) < kRelativeSlope * q.length;
    return q.b != 0.0 && std::fabs(p.a / p.b - q.a / q.b) < kSlope;
}

// Joins neighbouring segments again after the move.
void JoinNeighbours(QV_List<PrimPoly>& chain) {
    int32_t i = 1;
    while (i < chain.GetCount()) {
        PrimPoly& prev = chain[i - 1];
        PrimPoly& cur = chain[i];
        API_Coord x;
        const double length = std::fmax(ChordLength(prev), ChordLength(cur));
        if (prev.isLine != 0 && cur.isLine != 0) {
            const Line lp = Carrier(prev), lc = Carrier(cur);
            if (Parallel(lp, lc) || Meet(prev.end, cur.begin, length)) {
                cur.begin = prev.end;
            } else {
                x = Crossing(lp, lc);
                prev.end = x;
                cur.begin = x;
            }
            ++i;
        } else if (prev.isLine != 0) {
            if (Meet(prev.end, cur.begin, length)) {
                prev.end = cur.begin;
                ++i;
            } else if (Geometry_NearestArcIntersection(&prev, cur, nullptr, true, x) && ReshapeArc(cur, x, cur.end)) {
                prev.end = x;
                ++i;
            } else {
                chain.Remove(i);
            }
        } else if (cur.isLine != 0) {
            if (Meet(prev.end, cur.begin, length)) {
                cur.begin = prev.end;
                ++i;
            } else if (Geometry_NearestArcIntersection(&cur, prev, nullptr, false, x) &&
                       ReshapeArc(prev, prev.begin, x)) {
                cur.begin = x;
                ++i;
            } else {
                chain.Remove(i - 1);
                // The straight segment is joined to the segment before the dropped arc, so no gap is left.
                if (i > 1) --i;
            }
        } else {
            if (Meet(prev.end, cur.begin, length)) {
                prev.end = cur.begin;
                ++i;
            } else if (Geometry_NearestArcIntersection(nullptr, prev, &cur, false, x)) {
                // An arc that the crossing uses up goes, as if there were no crossing.
                PrimPoly before = prev;
                if (!ReshapeArc(before, prev.begin, x)) {
                    chain.Remove(i - 1);
                    if (i > 1) --i;
                } else if (!ReshapeArc(cur, x, cur.end)) {
                    chain.Remove(i);
                } else {
                    prev = before;
                    ++i;
                }
            } else {
                chain.Remove(i);
            }
        }
    }
}

bool Holds(const QV_List<QV_CoordLong>& points, const QV_CoordLong& p) {
    for (int32_t i = 0; i < points.GetCount(); ++i)
        if (std::fabs(points[i].x - p.x) < kMatch && std::fabs(points[i].y - p.y) < kMatch) return true;
    return false;
}

double PointDistance(const API_Coord& a, const API_Coord& b) { return std::hypot(a.x - b.x, a.y - b.y); }

// A segment with what the distance work needs at hand: an arc's start angle and signed sweep (from its begin,
// middle and end point), its length and its box.
struct Piece {
    PrimPoly prim;
    double start = 0.0, sweep = 0.0;
    double length = 0.0;
    API_Box box{};

    explicit Piece(const PrimPoly& p) : prim(p) {
        if (p.isLine == 0) {
            start = std::atan2(p.begin.y - p.centre.y, p.begin.x - p.centre.x);
            const double end = std::atan2(p.end.y - p.centre.y, p.end.x - p.centre.x);
            const double mid = std::atan2(p.mid.y - p.centre.y, p.mid.x - p.centre.x);
            const double ccw = Mod2Pi(end - start);
            sweep = Mod2Pi(mid - start) <= ccw ? ccw : -Mod2Pi(start - end);
            length = std::fabs(sweep) * p.radius;
        } else {
            length = PointDistance(p.begin, p.end);
        }
        box = API_Box{std::fmin(p.begin.x, p.end.x), std::fmin(p.begin.y, p.end.y), std::fmax(p.begin.x, p.end.x),
                      std::fmax(p.begin.y, p.end.y)};
        if (p.isLine == 0) {
            // The whole circle's box: enough for a filter.
            box = API_Box{p.centre.x - p.radius, p.centre.y - p.radius, p.centre.x + p.radius, p.centre.y + p.radius};
        }
    }

    API_Coord At(double t) const {
        if (t <= 0.0) return prim.begin;
        if (t >= 1.0) return prim.end;
        if (prim.isLine != 0)
            return API_Coord{prim.begin.x + t * (prim.end.x - prim.begin.x),
                             prim.begin.y + t * (prim.end.y - prim.begin.y)};
        const double a = start + t * sweep;
        return API_Coord{prim.centre.x + prim.radius * std::cos(a), prim.centre.y + prim.radius * std::sin(a)};
    }

    double DistanceTo(const API_Coord& q) const {
        if (prim.isLine == 0) {
            const double a = std::atan2(q.y - prim.centre.y, q.x - prim.centre.x);
            const double along = sweep >= 0.0 ? Mod2Pi(a - start) : Mod2Pi(start - a);
            if (along <= std::fabs(sweep)) return std::fabs(PointDistance(q, prim.centre) - prim.radius);
            return std::fmin(PointDistance(q, prim.begin), PointDistance(q, prim.end));
        }
        const double dx = prim.end.x - prim.begin.x, dy = prim.end.y - prim.begin.y;
        const double l2 = dx * dx + dy * dy;
        double t = l2 > 0.0 ? ((q.x - prim.begin.x) * dx + (q.y - prim.begin.y) * dy) / l2 : 0.0;
        t = std::fmax(0.0, std::fmin(1.0, t));
        return PointDistance(q, API_Coord{prim.begin.x + t * dx, prim.begin.y + t * dy});
    }

    // The part from t0 to t1 as a segment of its own.
    PrimPoly Part(double t0, double t1) const {
        PrimPoly p = prim;
        p.begin = At(t0);
        p.end = At(t1);
        if (prim.isLine == 0) p.mid = At(0.5 * (t0 + t1));
        return p;
    }
};

bool BoxesNear(const API_Box& a, const API_Box& b, double margin) {
    return a.xMin - margin <= b.xMax && b.xMin - margin <= a.xMax && a.yMin - margin <= b.yMax &&
        b.yMin - margin <= a.yMax;
}

// Ranges of a segment's parameter where it comes closer than the distance (less the tolerance) to one segment of
// the path. The distance along the segment is sampled; around every sampled local minimum the true minimum is
// found by golden-section search, and, when it is too close, the ends of the range by bisection.
void TooCloseRanges(const Piece& s, const Piece& k, double d, double tolerance, double edgeTolerance, int samples,
                    std::vector<std::pair<double, double>>& ranges) {
    std::vector<double> g(static_cast<size_t>(samples) + 1);
    double largest = 0.0;
    for (int i = 0; i <= samples; ++i) {
        g[i] = k.DistanceTo(s.At(double(i) / samples)) - d;
        largest = std::fmax(largest, std::fabs(g[i]));
    }
    if (largest < tolerance) return;  // the segment's own source: at the distance all along
    auto f = [&](double t) { return k.DistanceTo(s.At(t)) - d; };
    const double h = 1.0 / samples;
    const double step = s.length * h;  // the distance changes by at most this between samples
    const double golden = 0.5 * (std::sqrt(5.0) - 1.0);
    for (int i = 0; i <= samples; ++i) {
        if ((i > 0 && g[i] > g[i - 1]) || (i < samples && g[i] > g[i + 1])) continue;
        if (g[i] - step >= -tolerance) continue;
        double lo = std::fmax(0.0, (i - 1) * h), hi = std::fmin(1.0, (i + 1) * h);
        double tMin = i * h, gMin = g[i];
        double x1 = hi - golden * (hi - lo), x2 = lo + golden * (hi - lo);
        double f1 = f(x1), f2 = f(x2);
        for (int it = 0; it < 60 && hi - lo > 1e-15; ++it) {
            if (f1 < f2) {
                hi = x2;
                x2 = x1;
                f2 = f1;
                x1 = hi - golden * (hi - lo);
                f1 = f(x1);
            } else {
                lo = x1;
                x1 = x2;
                f1 = f2;
                x2 = lo + golden * (hi - lo);
                f2 = f(x2);
            }
        }
        if (f1 < gMin) gMin = f1, tMin = x1;
        if (f2 < gMin) gMin = f2, tMin = x2;
        if (gMin >= -tolerance) continue;
        // The range ends where the distance is reached again: bisection towards the nearest sample on each side
        // that lies at the distance or farther.
        auto edge = [&](int direction) {
            int j = i;
            while (j + direction >= 0 && j + direction <= samples && g[j + direction] < -edgeTolerance) j += direction;
            if (j + direction < 0) return 0.0;
            if (j + direction > samples) return 1.0;
            double inside = j == i ? tMin : j * h;
            double outside = (j + direction) * h;
            for (int it = 0; it < 60 && std::fabs(outside - inside) > 1e-15; ++it) {
                const double m = 0.5 * (inside + outside);
                (f(m) < -edgeTolerance ? inside : outside) = m;
            }
            return outside;
        };
        ranges.emplace_back(edge(-1), edge(1));
    }
}

// Cuts away every part of the chain that comes closer to the path than the distance: pieces of the path itself
// that the band's boundary kept, loop remnants, and the ends of segments that run into the reach of another part
// of the path (those are cut, not dropped, so that no true offset point is lost).
void TrimTooClose(QV_List<PrimPoly>& chain, const QV_List<PrimPoly>& path, double distance, bool lenient = false) {
    if (!(distance > 0.0) || path.IsEmpty() || chain.IsEmpty()) return;
    std::vector<Piece> pieces;
    API_Box extent{1e300, 1e300, -1e300, -1e300};
    for (const PrimPoly& p : path) {
        pieces.emplace_back(p);
        const API_Box& b = pieces.back().box;
        extent = API_Box{std::fmin(extent.xMin, b.xMin), std::fmin(extent.yMin, b.yMin), std::fmax(extent.xMax, b.xMax),
                         std::fmax(extent.yMax, b.yMax)};
    }
    const double size = std::fmax(extent.xMax - extent.xMin, extent.yMax - extent.yMin);
    const double tolerance = 1e-9 * std::fmax(1.0, std::fmax(size, distance));
    QV_List<PrimPoly> kept;
    std::vector<std::pair<double, double>> ranges;
    for (const PrimPoly& prim : chain) {
        const Piece s(prim);
        const int samples = static_cast<int>(std::fmin(2048.0, std::fmax(16.0, std::ceil(8.0 * s.length / distance))));
        ranges.clear();
        for (const Piece& k : pieces)
            if (BoxesNear(s.box, k.box, distance))
                TooCloseRanges(s, k, distance, tolerance, lenient ? tolerance : 0.0, samples, ranges);
        if (ranges.empty()) {
            kept.Insert(prim);
            continue;
        }
        std::sort(ranges.begin(), ranges.end());
        // Parameter steps shorter than this leave no segment behind.
        const double shortest = s.length > 0.0 ? tolerance / s.length : 1.0;
        double from = 0.0;
        for (const auto& r : ranges) {
            if (r.first - from > shortest) kept.Insert(s.Part(from, r.first));
            from = std::fmax(from, r.second);
        }
        if (1.0 - from > shortest) kept.Insert(s.Part(from, 1.0));
    }
    chain = kept;
}

// True when some point of the reference chain lies off the chain (by more than a millionth of its size).
bool Misses(const QV_List<PrimPoly>& chain, const QV_List<PrimPoly>& reference) {
    if (reference.IsEmpty()) return false;
    std::vector<Piece> pieces;
    double size = 0.0;
    for (const PrimPoly& p : chain) {
        pieces.emplace_back(p);
        size = std::fmax(size, pieces.back().length);
    }
    for (const PrimPoly& p : reference) {
        const Piece r(p);
        size = std::fmax(size, r.length);
    }
    const double tolerance = 1e-9 * std::fmax(1.0, size);
    for (const PrimPoly& p : reference) {
        const Piece r(p);
        for (int k = 0; k <= 16; ++k) {
            const API_Coord q = r.At(k / 16.0);
            double nearest = 1e300;
            for (const Piece& c : pieces) {
                nearest = std::fmin(nearest, c.DistanceTo(q));
                if (nearest <= tolerance) break;
            }
            if (nearest > tolerance) return true;
        }
    }
    return false;
}

// Direction of travel and the offset side's normal at one end of a path segment.
struct EndFrame {
    API_Coord tangent, normal;
};

EndFrame FrameAt(const Piece& p, bool atEnd, uint8_t side) {
    API_Coord t;
    if (p.prim.isLine != 0) {
        const double l = p.length > 0.0 ? p.length : 1.0;
        t = API_Coord{(p.prim.end.x - p.prim.begin.x) / l, (p.prim.end.y - p.prim.begin.y) / l};
    } else {
        const double a = p.start + (atEnd ? p.sweep : 0.0);
        const double turn = p.sweep >= 0.0 ? 1.0 : -1.0;
        t = API_Coord{-turn * std::sin(a), turn * std::cos(a)};
    }
    const double k = side == 0 ? 1.0 : -1.0;
    return EndFrame{t, API_Coord{-k * t.y, k * t.x}};
}

API_Coord Along(const API_Coord& p, const API_Coord& n, double d) { return API_Coord{p.x + d * n.x, p.y + d * n.y}; }

// An arc about centre of radius d from the direction of a turning by sweep (radians, positive counter-clockwise);
// none when it has no length.
void AddRound(QV_List<PrimPoly>& out, const API_Coord& centre, double d, double from, double sweep) {
    // Tangent neighbours differ in direction by rounding only: no join.
    if (!(std::fabs(sweep) > 1e-7)) return;
    auto at = [&](double a) { return API_Coord{centre.x + d * std::cos(a), centre.y + d * std::sin(a)}; };
    PrimPoly p{};
    p.isLine = 0;
    p.begin = at(from);
    p.end = at(from + sweep);
    p.mid = at(from + 0.5 * sweep);
    p.centre = centre;
    p.radius = d;
    out.Insert(p);
}

double Heading(const API_Coord& v) { return std::atan2(v.y, v.x); }

// The offset with round joins: every segment moved by the distance, neighbours joined by arcs about their common
// point, and an arc that the distance uses up replaced by what is left of its offset, the arcs of radius d about
// its two ends up to where they meet beyond its centre. Cut back to where it lies at the distance, this is the
// true offset of the path. moved is filled with the moved segments alone.
void RoundOffset(const QV_List<PrimPoly>& path, uint8_t side, double d, QV_List<PrimPoly>& round,
                 QV_List<PrimPoly>& moved) {
    round.Clear();
    moved.Clear();
    for (int32_t i = 0; i < path.GetCount(); ++i) {
        const Piece p(path[i]);
        const EndFrame b = FrameAt(p, false, side), e = FrameAt(p, true, side);
        if (i > 0) {
            const Piece q(path[i - 1]);
            const EndFrame before = FrameAt(q, true, side);
            if (PointDistance(q.prim.end, p.prim.begin) <= 1e-12 * std::fmax(1.0, d)) {
                const double turn = std::atan2(before.tangent.x * b.tangent.y - before.tangent.y * b.tangent.x,
                                               before.tangent.x * b.tangent.x + before.tangent.y * b.tangent.y);
                AddRound(round, p.prim.begin, d, Heading(before.normal), turn);
            }
        }
        PrimPoly m = p.prim;
        m.begin = Along(p.prim.begin, b.normal, d);
        m.end = Along(p.prim.end, e.normal, d);
        if (p.prim.isLine != 0) {
            if (!(p.length > 0.0)) continue;
            round.Insert(m);
            moved.Insert(m);
            continue;
        }
        const API_Coord u{p.prim.begin.x - p.prim.centre.x, p.prim.begin.y - p.prim.centre.y};
        const bool inward = u.x * b.normal.x + u.y * b.normal.y < 0.0;
        const double radius = inward ? p.prim.radius - d : p.prim.radius + d;
        if (radius > 0.0) {
            m.radius = radius;
            const double a = p.start + 0.5 * p.sweep;
            m.mid = API_Coord{p.prim.centre.x + radius * std::cos(a), p.prim.centre.y + radius * std::sin(a)};
            round.Insert(m);
            moved.Insert(m);
            continue;
        }
        // Used up: the circles of radius d about its ends meet on the far side of its chord from its middle.
        const API_Coord e1 = p.prim.begin, e2 = p.prim.end;
        const double half = 0.5 * PointDistance(e1, e2);
        if (!(half > 0.0) || half > d) continue;
        const API_Coord c{0.5 * (e1.x + e2.x), 0.5 * (e1.y + e2.y)};
        API_Coord w{-(e2.y - e1.y) / (2.0 * half), (e2.x - e1.x) / (2.0 * half)};
        const API_Coord mid = p.At(0.5);
        if ((mid.x - c.x) * w.x + (mid.y - c.y) * w.y > 0.0) w = API_Coord{-w.x, -w.y};
        const API_Coord x = Along(c, w, std::sqrt(d * d - half * half));
        const double a1 = Heading(b.normal), x1 = Heading(API_Coord{x.x - e1.x, x.y - e1.y});
        const double x2 = Heading(API_Coord{x.x - e2.x, x.y - e2.y}), a2 = Heading(e.normal);
        AddRound(round, e1, d, a1, WrapPi(x1 - a1));
        AddRound(round, e2, d, x2, WrapPi(a2 - x2));
    }
}

bool Joined(const PrimPoly& a, const PrimPoly& b) {
    return std::fabs(a.end.x - b.begin.x) < kMatch && std::fabs(a.end.y - b.begin.y) < kMatch;
}

// A piece whose boundary started inside the offset run comes back as its tail followed by its head: turned so
// that it runs through in one piece again.
void RejoinAtGap(QV_List<PrimPoly>& chain) {
    const int32_t n = chain.GetCount();
    int32_t gap = -1;
    for (int32_t i = 1; i < n; ++i) {
        if (!Joined(chain[i - 1], chain[i])) {
            if (gap >= 0) return;  // more than one gap: not a single run
            gap = i;
        }
    }
    if (gap < 0 || !Joined(chain[n - 1], chain[0])) return;
    QV_List<PrimPoly> turned;
    QV_ReserveItems(turned, n);
    for (int32_t k = 0; k < n; ++k) turned.Insert(chain[(gap + k) % n]);
    if (turned.GetCount() == n) chain = turned;
}

}  // namespace

void ReverseSegmentList(QV_List<PrimPoly>& chain) {
    const int32_t n = chain.GetCount();
    for (int32_t i = 0, j = n - 1; i < j; ++i, --j) {
        const PrimPoly t = chain[i];
        chain[i] = chain[j];
        chain[j] = t;
    }
    for (int32_t i = 0; i < n; ++i) {
        const API_Coord t = chain[i].begin;
        chain[i].begin = chain[i].end;
        chain[i].end = t;
    }
}

namespace {

// Moves every point of a chain by (dx, dy); straight segments keep their zero middle point and centre.
void Shift(QV_List<PrimPoly>& chain, double dx, double dy) {
    for (PrimPoly& p : chain) {
        p.begin = API_Coord{p.begin.x + dx, p.begin.y + dy};
        p.end = API_Coord{p.end.x + dx, p.end.y + dy};
        if (p.isLine == 0) {
            p.mid = API_Coord{p.mid.x + dx, p.mid.y + dy};
            p.centre = API_Coord{p.centre.x + dx, p.centre.y + dy};
        }
    }
}

// Origin of the local frame: the path's first point (the chain's when the path is empty).
API_Coord FrameOrigin(const QV_List<PrimPoly>& path, const QV_List<PrimPoly>& chain) {
    const API_Coord o = !path.IsEmpty() ? path[0].begin : !chain.IsEmpty() ? chain[0].begin : API_Coord{0.0, 0.0};
    return std::isfinite(o.x) && std::isfinite(o.y) ? o : API_Coord{0.0, 0.0};
}

// True when a regularised piece was taken.
bool RegularizeLocal(const QV_List<PrimPoly>& path, uint8_t side, QV_List<PrimPoly>& chain, double distance) {
    if (chain.IsEmpty()) return false;
    QV_List<PrimPoly> reversed(chain);
    ReverseSegmentList(reversed);
    QV_List<QV_CoordLong> pathPoints, offsetPoints;
    Geometry_PrimsToPoints(path, pathPoints);
    Geometry_PrimsToPoints(reversed, offsetPoints);
    if (offsetPoints.IsEmpty()) return false;

    // The band: the offset backwards, the path forwards, closed at the offset's end.
    QV_List<QV_CoordLong> ring;
    QV_ReserveItems(ring, offsetPoints.GetCount() + pathPoints.GetCount() + 1);
    offsetPoints[offsetPoints.GetCount() - 1].code = QV_CodeVertex1;
    ring.InsertList(offsetPoints);
    if (!pathPoints.IsEmpty()) {
        QV_List<QV_CoordLong> pathOpen(pathPoints);
        pathOpen[pathOpen.GetCount() - 1].code = QV_CodeVertex1;
        ring.InsertList(pathOpen);
    }
    QV_CoordLong closing = offsetPoints[0];
    closing.code = QV_CodeContourEnd;
    ring.Insert(closing);
    if (ring.GetCount() != offsetPoints.GetCount() + pathPoints.GetCount() + 1) return false;  // out of memory

    Geometry::Polygon2DData band;
    InitEmptyPolygon2DData(band);
    if (!CoordLongsToPolygon2DData(band, ring)) {
        Geometry::FreePolygon2DData(&band);
        return false;
    }
    GS::VAArray<Geometry::Polygon2DData> pieces;
    const GSErrCode err = Geometry::RegularizePolygon2DData(band, pieces, nullptr, true, Geometry::RegularizeKeepHoles);
    Geometry::FreePolygon2DData(&band);
    bool found = false;
    if (err == NoError) {
        QV_List<QV_CoordLong> taken;
        for (uint32_t k = 0; k < pieces.GetSize() && !found; ++k) {
            Geometry_PolyToArcs(pieces[k], taken);
            found = true;
            for (int32_t i = 0; i < pathPoints.GetCount() && found; ++i) found = Holds(taken, pathPoints[i]);
        }
        if (found) {
            Geometry_PointsToPrims(taken, chain);
            Geometry_RemoveSharedPrims(chain, path);
            TrimTooClose(chain, path, distance);
            RejoinAtGap(chain);
            if (side == 0) ReverseSegmentList(chain);
        }
    }
    for (Geometry::Polygon2DData& piece : pieces) Geometry::FreePolygon2DData(&piece);
    return found;
}

}  // namespace

void RegularizeOffsetChain(const QV_List<PrimPoly>& path, uint8_t side, QV_List<PrimPoly>& chain, double distance) {
    if (chain.IsEmpty()) return;
    const API_Coord o = FrameOrigin(path, chain);
    QV_List<PrimPoly> local(path);
    Shift(local, -o.x, -o.y);
    Shift(chain, -o.x, -o.y);
    RegularizeLocal(local, side, chain, distance);
    Shift(chain, o.x, o.y);
}

void OffsetPolygonWithArcs(const QV_List<PrimPoly>& path, uint8_t side, const double& distance,
                           QV_List<PrimPoly>& result, uint8_t regularize) {
    result.Clear();
    double d = distance;
    uint8_t s = side == 0 ? 0 : 1;
    if (d < 0.0) {
        d = -d;
        s = static_cast<uint8_t>(1 - s);
    }
    if (!std::isfinite(d)) return;

    // Worked in a frame at the path's first point.
    const API_Coord o = FrameOrigin(path, path);
    QV_List<PrimPoly> local(path);
    Shift(local, -o.x, -o.y);
    QV_List<PrimPoly> work(local);
    for (int32_t i = work.GetCount() - 1; i >= 0; --i) {
        PrimPoly& seg = work[i];
        const bool kept = seg.isLine != 0 ? MoveStraight(seg, s, d) : MoveArc(seg, s, d);
        if (!kept) work.Remove(i);
    }
    JoinNeighbours(work);
    if (regularize != 0) {
        // The joined chain cut back to where it is at the distance: what regularisation must keep. Where it
        // finds no piece, or its piece misses some of that, the cut chain is the result.
        QV_List<PrimPoly> cut(work);
        TrimTooClose(cut, local, d);
        const bool took = RegularizeLocal(local, s, work, d);
        if (!took || Misses(work, cut)) work = cut;
        // The joins of the moved segments (mitres, or neighbours of an arc that vanished joined directly) may cut
        // off some of their true offset; then round joins give it all.
        QV_List<PrimPoly> round, moved;
        RoundOffset(local, s, d, round, moved);
        TrimTooClose(moved, local, d);
        if (Misses(work, moved)) {
            // Where a join only touches the reach of the path, rounding decides what is closer: it stays.
            TrimTooClose(round, local, d, true);
            work = round;
        }
    }
    Shift(work, o.x, o.y);

    if (s == 0) {
        result.InsertList(work);
    } else {
        result = work;
        ReverseSegmentList(result);
    }
}
