#include "geometry/OffsetHelpers.hpp"

#include <cmath>

#include "geometry/CircleIntersections.hpp"
#include "geometry/QV_Arc.hpp"

namespace {

const double kSame = 1e-5;

bool Same(const API_Coord& a, const API_Coord& b) {
    return std::fabs(a.x - b.x) < kSame && std::fabs(a.y - b.y) < kSame;
}

double Distance(const API_Coord& a, const API_Coord& b) { return std::hypot(a.x - b.x, a.y - b.y); }

bool Matches(const PrimPoly& p, const PrimPoly& r) {
    if ((p.isLine != 0) != (r.isLine != 0)) return false;
    return (Same(p.begin, r.begin) && Same(p.end, r.end)) || (Same(p.begin, r.end) && Same(p.end, r.begin));
}

}  // namespace

void Geometry_PolyToArcs(const Geometry::Polygon2DData& polygon, QV_List<QV_CoordLong>& points) {
    points.Clear();
    if (Geometry::CheckPolygon2DDataIntegrity(polygon) != NoError) return;
    const API_Coord* v = *polygon.vertices;
    const int32_t n = polygon.nVertices;
    QV_ReserveItems(points, 3 * n + 1);
    points.Insert(QV_CoordLong{0.0, 0.0, QV_CodeVertex1});  // placeholder, set at the end
    int32_t contour = 1;
    for (int32_t i = 1; i < n; ++i) {
        const int32_t j = i + 1;
        if (i == (*polygon.contourEnds)[contour]) {
            // The closing repeat of a contour: the next contour starts at j.
            points[points.GetCount() - 1].code = QV_CodeContourEnd;
            ++contour;
            points.Insert(QV_CoordLong{v[j].x, v[j].y, QV_CodeVertex1});
            continue;
        }
        const Geometry::PolyArcRec* arc = Geometry::FindArc(polygon, i);
        if (arc != nullptr && std::fabs(arc->arcAngle) > 1e-12) {
            const double a = arc->arcAngle;
            API_Coord centre;
            if (std::fabs(a - M_PI) < 1e-5) {
                centre = API_Coord{(v[i].x + v[j].x) / 2.0, (v[i].y + v[j].y) / 2.0};
            } else {
                const double cot = 1.0 / std::tan(a / 2.0);
                centre = API_Coord{(v[i].x + v[j].x - (v[j].y - v[i].y) * cot) / 2.0,
                                   ((v[j].x - v[i].x) * cot + v[i].y + v[j].y) / 2.0};
            }
            const double radius = Distance(centre, v[i]);
            double start = 0.0;
            if (!(std::fabs(v[i].x - centre.x) < 1e-5 && std::fabs(v[i].y - centre.y) < 1e-5))
                start = NormalizedAtan2(v[i].y - centre.y, v[i].x - centre.x);
            const double m = start + a / 2.0;
            points.Insert(QV_CoordLong{centre.x, centre.y, QV_CodeArcCentreChain});
            points.Insert(
                QV_CoordLong{centre.x + radius * std::cos(m), centre.y + radius * std::sin(m), QV_CodeArcMid1});
        }
        points.Insert(QV_CoordLong{v[j].x, v[j].y, QV_CodeVertex1});
    }
    const int32_t last = points.GetCount() - 1;
    // The placeholder stands for vertex 1: with one contour the last vertex repeats it.
    points[0] = polygon.nContours == 1 ? points[last] : QV_CoordLong{v[1].x, v[1].y, QV_CodeVertex1};
    points[last].code = QV_CodeContourEnd;
}

void Geometry_PointsToPrims(const QV_List<QV_CoordLong>& points, QV_List<PrimPoly>& prims) {
    prims.Clear();
    const int32_t n = points.GetCount();
    for (int32_t i = 0; i + 1 < n; ++i) {
        const QV_CoordLong& p = points[i];
        PrimPoly prim{};
        prim.begin = API_Coord{p.x, p.y};
        if (points[i + 1].code == QV_CodeArcCentreChain) {
            if (i + 3 >= n) break;
            const QV_CoordLong& c = points[i + 1];
            const QV_CoordLong& m = points[i + 2];
            const QV_CoordLong& e = points[i + 3];
            prim.isLine = 0;
            prim.centre = API_Coord{c.x, c.y};
            prim.mid = API_Coord{m.x, m.y};
            prim.end = API_Coord{e.x, e.y};
            prim.radius = Distance(prim.begin, prim.centre);
            prims.Insert(prim);
            i += 2;  // on to the arc's end, which starts the next segment
            continue;
        }
        if (p.code == QV_CodeContourEnd) continue;  // no segment joins two contours
        prim.isLine = 1;
        prim.end = API_Coord{points[i + 1].x, points[i + 1].y};
        prims.Insert(prim);
    }
}

void Geometry_RemoveSharedPrims(QV_List<PrimPoly>& prims, const QV_List<PrimPoly>& reference) {
    for (int32_t i = prims.GetCount() - 1; i >= 0; --i) {
        for (int32_t k = 0; k < reference.GetCount(); ++k) {
            if (Matches(prims[i], reference[k])) {
                prims.Remove(i);
                break;
            }
        }
    }
    if (reference.IsEmpty()) return;
    const API_Coord first = reference[0].begin;
    const API_Coord last = reference[reference.GetCount() - 1].end;
    for (int32_t i = prims.GetCount() - 1; i >= 0; --i) {
        const PrimPoly& p = prims[i];
        if (Same(p.begin, first) || Same(p.end, first) || Same(p.begin, last) || Same(p.end, last)) prims.Remove(i);
    }
}

bool Geometry_NearestArcIntersection(const PrimPoly* line, const PrimPoly& arc1, const PrimPoly* arc2, bool whichEnd,
                                     API_Coord& point) {
    API_Coord p, q, ref1, ref2;
    if (line == nullptr) {
        if (arc2 == nullptr || !IntersectTwoCircles(arc1.centre, arc2->centre, arc1.radius, arc2->radius, p, q))
            return false;
        ref1 = arc1.end;
        ref2 = arc2->begin;
    } else {
        if (!IntersectLineCircle(line->begin, line->end, arc1.centre, arc1.radius, p, q)) return false;
        ref1 = whichEnd ? line->end : line->begin;
        ref2 = whichEnd ? arc1.begin : arc1.end;
    }
    const bool qFarther = Distance(q, ref1) > Distance(p, ref1) && Distance(q, ref2) > Distance(p, ref2);
    point = qFarther ? p : q;
    return true;
}

void Geometry_PrimsToPoints(const QV_List<PrimPoly>& prims, QV_List<QV_CoordLong>& points) {
    points.Clear();
    const int32_t n = prims.GetCount();
    if (n == 0) return;
    QV_ReserveItems(points, 3 * n + 1);
    points.Insert(QV_CoordLong{prims[0].begin.x, prims[0].begin.y, QV_CodeVertex1});
    for (int32_t i = 0; i < n; ++i) {
        const PrimPoly& p = prims[i];
        if (p.isLine == 0) {
            points.Insert(QV_CoordLong{p.centre.x, p.centre.y, QV_CodeArcCentreChain});
            points.Insert(QV_CoordLong{p.mid.x, p.mid.y, QV_CodeArcMid1});
        }
        points.Insert(QV_CoordLong{p.end.x, p.end.y, QV_CodeVertex1});
    }
    points[points.GetCount() - 1].code = QV_CodeContourEnd;
}

API_Coord Geometry_PointToward(const API_Coord& p, const API_Coord& target, double distance) {
    const bool sameX = std::fabs(p.x - target.x) < 1e-7;
    const bool sameY = std::fabs(p.y - target.y) < 1e-7;
    API_Coord out = p;
    if (sameX && sameY) return out;
    double angle;
    if (sameX) {
        angle = M_PI / 2.0;
    } else if (sameY) {
        angle = 0.0;
    } else {
        angle = std::fmod(std::atan2(target.y - p.y, target.x - p.x), M_PI);
        if (angle < 0.0) angle += M_PI;
        if (angle > M_PI / 2.0) angle = M_PI - angle;
    }
    const double dx = distance * std::cos(angle), dy = distance * std::sin(angle);
    if (!sameY) out.y += target.y > p.y ? dy : -dy;
    if (!sameX) out.x += target.x > p.x ? dx : -dx;
    return out;
}
