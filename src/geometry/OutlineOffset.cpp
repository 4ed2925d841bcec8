#include "geometry/OutlineOffset.hpp"

#include <cmath>

#include "GeometryPolygon2D.hpp"
#include "geometry/OffsetHelpers.hpp"
#include "geometry/PolygonExchange.hpp"
#include "geometry/QV_Arc.hpp"

namespace {

const double kSmall = 1e-4;  // coefficient and end-point tolerance of the offset
const double kSlope = 1e-3;  // slope tolerance of the parallel test
const double kMatch = 1e-5;  // point matching against the path after regularisation

// Carrier line a x + b y + c = 0 of a straight segment; (a, b) points to its left.
struct Line {
    double a, b, c;
};

Line Carrier(const PrimPoly& s) {
    return Line{s.begin.y - s.end.y, s.end.x - s.begin.x, s.begin.x * s.end.y - s.end.x * s.begin.y};
}

// Keeps a nearly singular determinant away from zero, so nearly parallel lines still give a (far) point.
double GuardedDeterminant(double det) {
    if (det == 0.0) return 1e-8;
    if (det > 0.0 && det < kSmall) return kSmall;
    if (det < 0.0 && det > -kSmall) return -kSmall;
    return det;
}

API_Coord Crossing(const Line& p, const Line& q) {
    const double det = GuardedDeterminant(p.a * q.b - q.a * p.b);
    return API_Coord{(p.b * q.c - q.b * p.c) / det, (p.c * q.a - q.c * p.a) / det};
}

bool Meet(const API_Coord& a, const API_Coord& b) {
    return std::fabs(a.x - b.x) < kSmall && std::fabs(a.y - b.y) < kSmall;
}

// Foot of the perpendicular from p on the moved line.
API_Coord OntoMovedLine(const Line& moved, const Line& original, const API_Coord& p) {
    Line perpendicular;
    if (std::fabs(original.a) >= kSmall) {
        const double k = original.b / original.a;
        perpendicular = Line{k, -1.0, p.y - p.x * k};
    } else {
        perpendicular = Line{1.0, 0.0, -p.x};
    }
    return Crossing(moved, perpendicular);
}

// Moves a straight segment sideways. False when it has no length (and so no side).
bool MoveStraight(PrimPoly& s, uint8_t side, double d) {
    const Line line = Carrier(s);
    const double length = std::hypot(line.a, line.b);
    if (!(length > 0.0)) return false;
    if (std::fabs(line.a) < kSmall && std::fabs(line.b) < kSmall) {
        // Too short for the perpendicular construction's determinant guard: move along the exact normal.
        const double k = (side == 0 ? d : -d) / length;
        s.begin = API_Coord{s.begin.x + k * line.a, s.begin.y + k * line.b};
        s.end = API_Coord{s.end.x + k * line.a, s.end.y + k * line.b};
        return true;
    }
    const Line moved{line.a, line.b, side == 0 ? line.c - length * d : line.c + length * d};
    s.begin = OntoMovedLine(moved, line, s.begin);
    s.end = OntoMovedLine(moved, line, s.end);
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

// Puts an arc's middle point halfway between its (moved) ends again, on the side of its old middle point.
void PlaceMiddleAgain(PrimPoly& s) {
    const QV_Arc arc = QV_Arc::FromThreePoints(s.begin, s.end, s.mid);
    // No arc through the three points (the ends met): the old middle point is the best there is.
    if (arc.IsDegenerate()) return;
    const double m = (arc.startAngle + arc.endAngle) / 2.0;
    s.mid = API_Coord{arc.center.x + arc.radiusX * std::cos(m), arc.center.y + arc.radiusX * std::sin(m)};
}

bool Parallel(const Line& p, const Line& q) {
    if (std::fabs(p.b) < kSmall && std::fabs(q.b) < kSmall) return true;
    if (std::fabs(p.a) < kSmall && std::fabs(q.a) < kSmall) return true;
    if (std::fabs(p.b) < kSlope) return std::fabs(q.b) < kSlope;
    return q.b != 0.0 && std::fabs(p.a / p.b - q.a / q.b) < kSlope;
}

// Joins neighbouring segments again after the move.
void JoinNeighbours(QV_List<PrimPoly>& chain) {
    int32_t i = 1;
    while (i < chain.GetCount()) {
        PrimPoly& prev = chain[i - 1];
        PrimPoly& cur = chain[i];
        API_Coord x;
        if (prev.isLine != 0 && cur.isLine != 0) {
            const Line lp = Carrier(prev), lc = Carrier(cur);
            if (Parallel(lp, lc) || Meet(prev.end, cur.begin)) {
                cur.begin = prev.end;
            } else {
                x = Crossing(lp, lc);
                prev.end = x;
                cur.begin = x;
            }
            ++i;
        } else if (prev.isLine != 0) {
            if (Meet(prev.end, cur.begin)) {
                prev.end = cur.begin;
                ++i;
            } else if (Geometry_NearestArcIntersection(&prev, cur, nullptr, true, x)) {
                prev.end = x;
                cur.begin = x;
                PlaceMiddleAgain(cur);
                ++i;
            } else {
                chain.Remove(i);
            }
        } else if (cur.isLine != 0) {
            if (Meet(prev.end, cur.begin)) {
                cur.begin = prev.end;
                ++i;
            } else if (Geometry_NearestArcIntersection(&cur, prev, nullptr, false, x)) {
                prev.end = x;
                cur.begin = x;
                PlaceMiddleAgain(prev);
                ++i;
            } else {
                chain.Remove(i - 1);
                // The straight segment is joined to the segment before the dropped arc, so no gap is left.
                if (i > 1) --i;
            }
        } else {
            if (Meet(prev.end, cur.begin)) {
                prev.end = cur.begin;
                ++i;
            } else if (Geometry_NearestArcIntersection(nullptr, prev, &cur, false, x)) {
                prev.end = x;
                cur.begin = x;
                PlaceMiddleAgain(prev);
                PlaceMiddleAgain(cur);
                ++i;
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

double Mod2Pi(double a) {
    a = std::fmod(a, 2.0 * M_PI);
    return a < 0.0 ? a + 2.0 * M_PI : a;
}

// Distance from q to a segment of the path (an arc's extent taken from its begin, middle and end).
double DistanceToSegment(const PrimPoly& p, const API_Coord& q) {
    if (p.isLine == 0) {
        const double start = std::atan2(p.begin.y - p.centre.y, p.begin.x - p.centre.x);
        const double end = std::atan2(p.end.y - p.centre.y, p.end.x - p.centre.x);
        const double mid = std::atan2(p.mid.y - p.centre.y, p.mid.x - p.centre.x);
        const double ccw = Mod2Pi(end - start);
        const bool counterClockwise = Mod2Pi(mid - start) <= ccw;
        const double a = std::atan2(q.y - p.centre.y, q.x - p.centre.x);
        const double along = counterClockwise ? Mod2Pi(a - start) : Mod2Pi(start - a);
        const double span = counterClockwise ? ccw : Mod2Pi(start - end);
        if (along <= span) return std::fabs(PointDistance(q, p.centre) - p.radius);
        return std::fmin(PointDistance(q, p.begin), PointDistance(q, p.end));
    }
    const double dx = p.end.x - p.begin.x, dy = p.end.y - p.begin.y;
    const double l2 = dx * dx + dy * dy;
    double t = l2 > 0.0 ? ((q.x - p.begin.x) * dx + (q.y - p.begin.y) * dy) / l2 : 0.0;
    t = std::fmax(0.0, std::fmin(1.0, t));
    return PointDistance(q, API_Coord{p.begin.x + t * dx, p.begin.y + t * dy});
}

// Halfway point of a segment (for an arc its middle point).
API_Coord Halfway(const PrimPoly& p) {
    if (p.isLine == 0) return p.mid;
    return API_Coord{(p.begin.x + p.end.x) / 2.0, (p.begin.y + p.end.y) / 2.0};
}

// The band's boundary can keep pieces that are no offset: parts of the path cut where a loop of the offset
// reached across it, and the loop's own remnants. They come closer to the path than the offset distance.
void RemoveTooClose(QV_List<PrimPoly>& chain, const QV_List<PrimPoly>& path, double distance) {
    if (!(distance > 0.0) || path.IsEmpty()) return;
    const double limit = distance - std::fmax(1e-6 * distance, 1e-7);
    for (int32_t i = chain.GetCount() - 1; i >= 0; --i) {
        const API_Coord h = Halfway(chain[i]);
        double nearest = 1e300;
        for (int32_t k = 0; k < path.GetCount(); ++k) nearest = std::fmin(nearest, DistanceToSegment(path[k], h));
        if (nearest < limit) chain.Remove(i);
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

void RegularizeOffsetChain(const QV_List<PrimPoly>& path, uint8_t side, QV_List<PrimPoly>& chain, double distance) {
    if (chain.IsEmpty()) return;
    QV_List<PrimPoly> reversed(chain);
    ReverseSegmentList(reversed);
    QV_List<QV_CoordLong> pathPoints, offsetPoints;
    Geometry_PrimsToPoints(path, pathPoints);
    Geometry_PrimsToPoints(reversed, offsetPoints);
    if (offsetPoints.IsEmpty()) return;

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
    if (ring.GetCount() != offsetPoints.GetCount() + pathPoints.GetCount() + 1) return;  // out of memory

    Geometry::Polygon2DData band;
    InitEmptyPolygon2DData(band);
    if (!CoordLongsToPolygon2DData(band, ring)) {
        Geometry::FreePolygon2DData(&band);
        return;
    }
    GS::VAArray<Geometry::Polygon2DData> pieces;
    const GSErrCode err = Geometry::RegularizePolygon2DData(band, pieces, nullptr, true, Geometry::RegularizeKeepHoles);
    Geometry::FreePolygon2DData(&band);
    if (err == NoError) {
        QV_List<QV_CoordLong> taken;
        bool found = false;
        for (uint32_t k = 0; k < pieces.GetSize() && !found; ++k) {
            Geometry_PolyToArcs(pieces[k], taken);
            found = true;
            for (int32_t i = 0; i < pathPoints.GetCount() && found; ++i) found = Holds(taken, pathPoints[i]);
        }
        if (found) {
            Geometry_PointsToPrims(taken, chain);
            Geometry_RemoveSharedPrims(chain, path);
            RemoveTooClose(chain, path, distance);
            RejoinAtGap(chain);
            if (side == 0) ReverseSegmentList(chain);
        }
    }
    for (Geometry::Polygon2DData& piece : pieces) Geometry::FreePolygon2DData(&piece);
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

    QV_List<PrimPoly> work(path);
    for (int32_t i = work.GetCount() - 1; i >= 0; --i) {
        PrimPoly& seg = work[i];
        const bool kept = seg.isLine != 0 ? MoveStraight(seg, s, d) : MoveArc(seg, s, d);
        if (!kept) work.Remove(i);
    }
    JoinNeighbours(work);
    if (regularize != 0) RegularizeOffsetChain(path, s, work, d);

    if (s == 0) {
        result.InsertList(work);
    } else {
        result = work;
        ReverseSegmentList(result);
    }
}
