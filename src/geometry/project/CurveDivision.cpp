#include "geometry/project/CurveDivision.hpp"

#include "foundation/ACAPI.hpp"
#include "foundation/SelectionHelpers.hpp"
#include "foundation/OwnedMemo.hpp"

#include "GeometrySpline.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

CurveSegmentationRecord CurveSegmentation = {0, 0.0, 0};

void ResetCurveSegmentation(bool loaded) {
    CurveSegmentation = loaded ? CurveSegmentationRecord{1, 1.0, 36} : CurveSegmentationRecord{0, 0.0, 0};
}

namespace {
constexpr double kSamePoint = 1e-7;
constexpr double kParallel = 1e-5;
constexpr double kChainTolerance = 5e-5;
constexpr double kTwoPi = 6.283185307179586476925286766559;
constexpr uint64_t kMemoMask = 0x3fffffffbfffffffull;
// More chords than this per arc in length mode would make the crossing test (every candidate against the whole
// list) unbearably slow: the chords are lengthened to stay within it.
constexpr double kMostChordsPerArc = 10000.0;

bool Same(double ax, double ay, double bx, double by, double tolerance) {
    return std::fabs(ax - bx) < tolerance && std::fabs(ay - by) < tolerance;
}

API_Coord ArcPoint(const QV_Arc& arc, double angle) {
    double x = arc.radiusX * std::cos(angle);
    double y = arc.radiusY * std::sin(angle);
    if (std::fabs(arc.rotation) >= 1e-7) {
        const double c = std::cos(arc.rotation), s = std::sin(arc.rotation);
        const double rx = c * x - s * y;
        y = s * x + c * y;
        x = rx;
    }
    return {arc.center.x + x, arc.center.y + y};
}

void OfferChord(const API_Coord& a, const API_Coord& b, QV_List<PlanSegment>& list) {
    OfferSegment({a.x, a.y, b.x, b.y}, list);
}

// The memo's records as a count (a handle too small for what the element claims counts as what it holds).
template <typename T>
int32_t HandleCount(T** handle) {
    if (handle == nullptr) return 0;
    return int32_t(BMGetHandleSize(reinterpret_cast<GSConstHandle>(handle)) / GSSize(sizeof(T)));
}
}  // namespace

// --- segments ------------------------------------------------------------------------------------------------

bool IntersectSegments(const PlanSegment& s, const PlanSegment& t, API_Coord& point) {
    const double dx = s.x2 - s.x1, dy = s.y2 - s.y1;
    const double ex = t.x2 - t.x1, ey = t.y2 - t.y1;
    const double denominator = ey * dx - ex * dy;
    if (!(std::fabs(denominator) >= kParallel)) return false;
    const double u = ((t.x1 - s.x1) * dy + (s.y1 - t.y1) * dx) / denominator;
    const double w = std::fabs(dx) < kParallel ? (u * ey + t.y1 - s.y1) / dy : (u * ex + t.x1 - s.x1) / dx;
    if (!(u >= 0.0 && u <= 1.0 && w >= 0.0 && w <= 1.0)) return false;
    point = {s.x1 + w * dx, s.y1 + w * dy};
    return true;
}

bool SegmentCrossesList(const PlanSegment& segment, const QV_List<PlanSegment>& list) {
    for (const PlanSegment& other : list) {
        const bool sharesEnd = Same(other.x1, other.y1, segment.x1, segment.y1, kSamePoint) ||
            Same(other.x1, other.y1, segment.x2, segment.y2, kSamePoint) ||
            Same(other.x2, other.y2, segment.x1, segment.y1, kSamePoint) ||
            Same(other.x2, other.y2, segment.x2, segment.y2, kSamePoint);
        if (sharesEnd) continue;
        API_Coord p;
        if (IntersectSegments(segment, other, p)) return true;
    }
    return false;
}

bool OfferSegment(const PlanSegment& segment, QV_List<PlanSegment>& list) {
    if (SegmentCrossesList(segment, list)) return false;
    return list.Insert(segment);
}

// --- arcs ----------------------------------------------------------------------------------------------------

void SegmentArcRecord(const QV_Arc& arc, QV_List<PlanSegment>& segments) {
    if (arc.IsDegenerate()) return;
    const double start = arc.startAngle, end = arc.endAngle;
    const double sweep = std::fabs(end - start);
    if (!std::isfinite(sweep)) return;
    const double direction = end < start ? -1.0 : 1.0;
    API_Coord previous = ArcPoint(arc, start);

    if (CurveSegmentation.byCount != 0) {
        const int32_t n = CurveSegmentation.segmentCount;
        if (n < 1) return;
        const double step = direction * sweep / n;
        for (int32_t i = 1; i <= n; ++i) {
            const API_Coord next = ArcPoint(arc, start + i * step);
            OfferChord(previous, next, segments);
            previous = next;
        }
        return;
    }

    // By length: a chord of segmentLength spans 2 asin(length / 2r); a length the circle cannot hold, or none,
    // gives no step at all.
    const double length = CurveSegmentation.segmentLength;
    const double radius = arc.radiusX;
    if (!(length > 0.0) || !(radius > 0.0) || !(length <= 2.0 * radius)) return;
    double step = 2.0 * std::asin(length / (2.0 * radius));
    if (!(step > 0.0)) return;
    if (step >= sweep) return;
    if (sweep / step > kMostChordsPerArc) step = sweep / kMostChordsPerArc;
    step *= direction;
    double angle = start;
    for (int32_t i = 1;; ++i) {
        const double next = start + i * step;
        if (direction > 0 ? next > end : next < end) break;
        const API_Coord point = ArcPoint(arc, next);
        OfferChord(previous, point, segments);
        previous = point;
        angle = next;
    }
    // Up to the end, unless the last chord ended there already.
    if (std::fabs(angle - end) > 1e-12) OfferChord(previous, ArcPoint(arc, end), segments);
}

// --- elements ------------------------------------------------------------------------------------------------

bool SegmentPolylineElement(const API_Element& polyline, QV_List<PlanSegment>& segments,
                            QV_List<API_Elem_Head>& sources) {
    OwnedMemo memo;
    if (memo.Read(polyline.header.guid, kMemoMask) != NoError) return false;
    sources.Insert(polyline.header, -1);
    // Counts as the record claims them, never beyond what the memo holds.
    const API_Polygon& poly = polyline.polyLine.poly;
    const int32_t n = std::min(poly.nCoords, HandleCount(memo->coords) - 1);
    const int32_t subs = std::min(poly.nSubPolys, HandleCount(memo->pends) - 1);
    const int32_t arcs = std::min(poly.nArcs, HandleCount(memo->parcs));
    if (n >= 2) {
        const API_Coord* c = *memo->coords;
        const int32_t* ends = memo->pends != nullptr ? *memo->pends : nullptr;
        const auto arcFrom = [&](int32_t index) -> const API_PolyArc* {
            for (int32_t k = 0; k < arcs; ++k)
                if ((*memo->parcs)[k].begIndex == index) return &(*memo->parcs)[k];
            return nullptr;
        };
        // Sub-polyline by sub-polyline: each starts afresh at its first point.
        int32_t first = 1;
        for (int32_t sub = 1; sub <= std::max(subs, 1) && first <= n; ++sub) {
            const int32_t last = ends != nullptr && subs >= 1 ? std::min(ends[sub], n) : n;
            if (last < first) break;  // contour ends that do not rise
            API_Coord previous = c[first];
            int32_t previousIndex = first;
            for (int32_t i = first + 1; i <= last; ++i) {
                const API_Coord current = c[i];
                if (Same(current.x, current.y, previous.x, previous.y, kSamePoint)) continue;
                const API_PolyArc* arc = arcFrom(previousIndex);
                const QV_Arc curve = arc != nullptr ? QV_Arc::FromEndPointsAndAngle(previous, current, arc->arcAngle)
                                                    : QV_Arc::Degenerate();
                if (arc != nullptr && !curve.IsDegenerate())
                    SegmentArcRecord(curve, segments);
                else
                    OfferChord(previous, current, segments);
                previous = current;
                previousIndex = i;
            }
            first = last + 1;
        }
    }
    return true;
}

bool SegmentSplineElement(const API_Element& spline, QV_List<PlanSegment>& segments, QV_List<API_Elem_Head>& sources) {
    OwnedMemo memo;
    if (memo.Read(spline.header.guid, kMemoMask) != NoError) return false;
    const int32_t n = HandleCount(memo->coords);
    std::vector<API_Coord> points;
    std::vector<Geometry::DirType> dirs;
    if (n >= 2) {
        const int32_t nDirs = HandleCount(memo->bezierDirs);
        for (int32_t i = 0; i < n; ++i) {
            points.push_back((*memo->coords)[i]);
            Geometry::DirType d;
            std::memset(&d, 0, sizeof d);
            if (i < nDirs) {  // a missing direction is a corner without handles
                const API_SplineDir& s = (*memo->bezierDirs)[i];
                d.lenPrev = s.lenPrev;
                d.lenNext = s.lenNext;
                d.dirAng = s.dirAng;
            }
            dirs.push_back(d);
        }
    }
    memo.Dispose();
    if (n < 2) return true;  // no curve to divide
    sources.Insert(spline.header, -1);

    const bool closed = spline.spline.closed != 0;
    const double tEnd = n - 1.001 + (closed ? 1.0 : 0.0);
    const Geometry::BezierDetails details(n, points.data(), dirs.data(), closed);
    const double length = Geometry::SplineLen(details, 0.001, tEnd);
    double step = 0.0;
    if (CurveSegmentation.byCount != 0) {
        if (CurveSegmentation.segmentCount < 1) return true;
        step = length / CurveSegmentation.segmentCount;
    } else {
        step = CurveSegmentation.segmentLength;
    }
    if (!(step > 0.0) || !std::isfinite(step)) return true;
    GS::Array<double> params;
    Geometry::DivSplinePart(n, points.data(), dirs.data(), closed, true, 0, step, params);

    std::vector<API_Coord> path;
    path.push_back(points.front());
    for (uint32_t i = 0; i < params.GetSize(); ++i) path.push_back(Geometry::GetSplineVal(details, params[i]));
    path.push_back(closed ? points.front() : points.back());
    for (size_t i = 1; i < path.size(); ++i) OfferChord(path[i - 1], path[i], segments);
    return true;
}

int32_t SegmentSelectedSplines(CurveSegmentationAsk ask, uint8_t onlyEditable, uint8_t viaFloorPlan,
                               QV_List<PlanSegment>& segments, QV_List<API_Elem_Head>& sources) {
    ElemSelection lines, arcs, circles, polylines, splines;
    const struct {
        ElemSelection* list;
        API_ElemTypeID type;
    } kinds[] = {{&lines, API_LineID},
                 {&arcs, API_ArcID},
                 {&circles, API_CircleID},
                 {&polylines, API_PolyLineID},
                 {&splines, API_SplineID}};
    for (const auto& k : kinds)
        if (!GetSelectedElements(*k.list, true, &k.type, onlyEditable != 0, viaFloorPlan != 0, -1))
            return CurveDivision_Failed;

    // The work list: lines, circular arcs and circles, polylines, splines.
    QV_List<API_Element> work;
    bool curve = splines.elements.GetCount() > 0;
    for (const API_Element& e : lines.elements) work.Insert(e);
    for (const ElemSelection* round : {&arcs, &circles})
        for (const API_Element& e : round->elements)
            if (std::fabs(e.arc.ratio - 1.0) <= 1e-12) {
                work.Insert(e);
                curve = true;
            }
    for (const API_Element& e : polylines.elements) {
        work.Insert(e);
        curve = curve || e.polyLine.poly.nArcs > 0;
    }
    for (const API_Element& e : splines.elements) work.Insert(e);
    if (work.GetCount() == 0) return CurveDivision_Done;

    if (curve) {
        if (ask == nullptr || !ask(CurveSegmentation)) return CurveDivision_Cancelled;
    }

    for (const API_Element& e : work) {
        switch (e.header.typeID) {
            case API_LineID:
                sources.Insert(e.header, -1);
                OfferSegment({e.line.begC.x, e.line.begC.y, e.line.endC.x, e.line.endC.y}, segments);
                break;
            case API_PolyLineID:
                if (!SegmentPolylineElement(e, segments, sources)) return CurveDivision_Failed;
                break;
            case API_ArcID:
            case API_CircleID: {
                sources.Insert(e.header, -1);
                QV_Arc arc = QV_Arc::Degenerate();
                const bool whole = e.header.typeID == API_CircleID || e.arc.whole != 0;
                if (whole || std::fabs(e.arc.endAng - e.arc.begAng) >= 1e-5) {
                    arc.center = e.arc.origC;
                    arc.startAngle = whole ? 0.0 : e.arc.begAng;
                    arc.endAngle = whole ? kTwoPi : e.arc.endAng;
                    arc.radiusX = arc.radiusY = e.arc.r;
                }
                SegmentArcRecord(arc, segments);
                break;
            }
            case API_SplineID:
                if (!SegmentSplineElement(e, segments, sources)) return CurveDivision_Failed;
                break;
            default: break;
        }
    }
    return CurveDivision_Done;
}

// --- chains --------------------------------------------------------------------------------------------------

namespace {
struct End {
    double x, y;
};
End Start(const PlanSegment& s) { return {s.x1, s.y1}; }
End Finish(const PlanSegment& s) { return {s.x2, s.y2}; }
bool Meets(const End& a, const End& b) { return Same(a.x, a.y, b.x, b.y, kChainTolerance); }

void Reverse(PlanSegment& s) {
    std::swap(s.x1, s.x2);
    std::swap(s.y1, s.y2);
}

// Moves the segment at `from` to `to`; those in between shift by one.
void Move(QV_List<PlanSegment>& list, int32_t from, int32_t to) {
    if (from == to) return;
    const PlanSegment s = list[from];
    list.Remove(from);
    list.Insert(s, to);
}

// Segments first to last follow each other end to start.
bool JoinedEndToStart(const QV_List<PlanSegment>& list, int32_t first, int32_t last) {
    for (int32_t m = first; m < last; ++m)
        if (!Meets(Finish(list[m]), Start(list[m + 1]))) return false;
    return true;
}
}  // namespace

void MatchSegmentEndpoints(QV_List<PlanSegment>& list) {
    const int32_t n = list.GetCount();
    if (n < 2) return;
    // Branch points first.
    int32_t front = 0;
    for (int32_t i = 0; i < n - 1; ++i) {
        int32_t atStart = 0, atEnd = 0;
        for (int32_t j = i + 1; j < n; ++j) {
            const PlanSegment& t = list[j];
            if (Meets(Start(t), Start(list[i])) || Meets(Finish(t), Start(list[i]))) ++atStart;
            if (Meets(Start(t), Finish(list[i])) || Meets(Finish(t), Finish(list[i]))) ++atEnd;
        }
        if (atStart >= 2 || atEnd >= 2) Move(list, i, front++);
    }
    // Chains. Every restart of a position moves a segment in front of it; a segment that returns to where it was
    // can only come from points that meet in several ways at once, so the restarts are bounded as well.
    int64_t restartsLeft = int64_t(n) * n + n;
    for (int32_t k = front; k < n - 1; ++k) {
        for (int32_t j = k + 1; j < n; ++j) {
            PlanSegment t = list[j];
            const PlanSegment& s = list[k];
            if (Meets(Finish(t), Finish(s))) {
                Reverse(t);
                list[j] = t;
                Move(list, j, k + 1);
            } else if (Meets(Start(t), Start(s))) {
                Reverse(t);
                list[j] = t;
                Move(list, j, k);
                if (--restartsLeft < 0) return;
                j = k;  // position k again, from its next segment
            } else if (Meets(Finish(t), Start(s)) && !JoinedEndToStart(list, k, j)) {
                Move(list, j, k);
                if (--restartsLeft < 0) return;
                j = k;
            } else if (Meets(Start(t), Finish(s)) && j != k + 1) {
                Move(list, j, k + 1);
            }
        }
    }
}
