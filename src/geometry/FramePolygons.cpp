#include "geometry/FramePolygons.hpp"

#include <cmath>
#include <vector>

#include "geometry/PolygonTests.hpp"

namespace {

const int32_t kMidpoint = 0;  // arc midpoints inside this file

bool SameXY(const QV_CoordLong& a, const QV_CoordLong& b) {
    return std::fabs(a.x - b.x) < 1e-7 && std::fabs(a.y - b.y) < 1e-7;
}

// Angle of (dx, dy) in [0, 2pi), exact on the axes.
double HalfArcAngle(double dx, double dy) {
    if (std::fabs(dx) < 1e-7) {
        if (std::fabs(dy) < 1e-7) return 0.0;
        return dy > 0 ? M_PI / 2 : 1.5 * M_PI;
    }
    return NormalizedAtan2(dy, dx);
}

// The middle of a half arc: at the angle of `from` minus a quarter of the arc's sweep. Falls back to the middle
// of the straight segment when the three points make no arc.
API_Coord HalfArcMiddle(const FramePolygons& frame, int32_t index, const QV_CoordLong& from, const QV_CoordLong& to) {
    const QV_CoordLong& s = frame.outline[index - 2];
    const QV_CoordLong& c = frame.outline[index - 1];
    const QV_CoordLong& m = frame.outline[index];
    const QV_CoordLong& e = frame.outline[index + 1];
    const QV_Arc arc = QV_Arc::FromThreePoints(API_Coord{s.x, s.y}, API_Coord{e.x, e.y}, API_Coord{m.x, m.y});
    if (arc.IsDegenerate()) return API_Coord{(from.x + to.x) / 2, (from.y + to.y) / 2};
    const double sweep = arc.endAngle - arc.startAngle;
    const double r = std::hypot(c.x - s.x, c.y - s.y);
    const double a = HalfArcAngle(from.x - arc.center.x, from.y - arc.center.y) - sweep / 4;
    return API_Coord{arc.center.x + r * std::cos(a), arc.center.y + r * std::sin(a)};
}

// Whether the outline's last entry repeats entry 0 (a ring whose last edge is an arc ends on its start).
bool LastRepeatsFirst(const FramePolygons& frame) {
    const int32_t c = frame.outline.GetCount();
    return c > 1 && SameXY(frame.outline[c - 1], frame.outline[0]);
}

// Appends the outline from entry `from` down to entry `to`, wrapping from entry 0 to the last entry when
// from < to. Entry 0 is visited; the last entry is skipped when it only repeats entry 0. A walk that starts on an
// arc midpoint starts with the half arc back to the arc's start; one that ends on a midpoint ends with the half
// arc from the arc's end.
void Walk(FramePolygons& frame, QV_List<QV_CoordLong>& target, int32_t from, int32_t to) {
    const int32_t count = frame.outline.GetCount();
    const int32_t top = LastRepeatsFirst(frame) ? count - 2 : count - 1;
    std::vector<int32_t> steps;
    if (from >= to) {
        for (int32_t j = from; j >= to; --j) steps.push_back(j);
    } else {
        for (int32_t j = from; j >= 0; --j) steps.push_back(j);
        for (int32_t j = top; j >= to; --j) steps.push_back(j);
    }
    auto isMidpoint = [&](int32_t j) { return frame.outline[j].code == kMidpoint && j >= 2 && j + 1 < count; };
    size_t k = 0;
    if (steps.size() > 2 && isMidpoint(steps[0])) {
        AppendHalfArcFromMidpoint(frame, target, steps[0]);
        k = 2;  // the centre is replaced too; the walk goes on at the arc's start
    }
    for (; k < steps.size(); ++k) {
        const int32_t j = steps[k];
        if (k + 1 == steps.size() && k > 0 && isMidpoint(j)) {
            AppendHalfArcToMidpoint(frame, target, j);
            break;
        }
        target.Insert(frame.outline[j]);
    }
}

}  // namespace

void AppendHalfArcFromMidpoint(FramePolygons& frame, QV_List<QV_CoordLong>& target, int32_t index) {
    // A midpoint has its arc's start and centre before it and the arc's end after it.
    if (index < 2 || index + 1 >= frame.outline.GetCount()) return;
    const QV_CoordLong m = frame.outline[index];
    const QV_CoordLong c = frame.outline[index - 1];
    const API_Coord h = HalfArcMiddle(frame, index, m, frame.outline[index - 2]);
    target.Insert(QV_CoordLong{m.x, m.y, QV_CodeVertex2});
    target.Insert(QV_CoordLong{c.x, c.y, QV_CodeArcCentre2});
    target.Insert(QV_CoordLong{h.x, h.y, QV_CodeArcPoint2});
}

void AppendHalfArcToMidpoint(FramePolygons& frame, QV_List<QV_CoordLong>& target, int32_t index) {
    // A midpoint has its arc's start and centre before it and the arc's end after it.
    if (index < 2 || index + 1 >= frame.outline.GetCount()) return;
    const QV_CoordLong m = frame.outline[index];
    const QV_CoordLong c = frame.outline[index - 1];
    const QV_CoordLong e = frame.outline[index + 1];
    const API_Coord h = HalfArcMiddle(frame, index, e, m);
    target.Insert(QV_CoordLong{c.x, c.y, c.code});
    target.Insert(QV_CoordLong{h.x, h.y, QV_CodeArcPoint2});
    target.Insert(QV_CoordLong{m.x, m.y, QV_CodeArcPoint2});
}

void NormalizeContourCodes(FramePolygons& /*frame*/, QV_List<QV_CoordLong>& list) {
    for (int32_t j = 0; j < list.GetCount(); ++j)
        if (list[j].code == QV_CodeContourEnd) list[j].code = QV_CodeVertex2;
    // The centre comes before the midpoint of an arc walked backwards.
    for (int32_t j = 1; j < list.GetCount(); ++j)
        if (list[j].code == QV_CodeArcCentre2 && list[j - 1].code == kMidpoint) {
            const QV_CoordLong t = list[j];
            list[j] = list[j - 1];
            list[j - 1] = t;
        }
    for (int32_t j = 0; j < list.GetCount();) {
        if (list[j].code == QV_CodeArcCentre2) {
            if (j + 2 >= list.GetCount()) {
                // A centre without its midpoint and end is no point of the outline.
                list.Remove(j);
                continue;
            }
            list[j + 1].code = QV_CodeArcPoint2;
            list[j + 2].code = QV_CodeArcPoint2;
            j += 3;
        } else {
            list[j].code = QV_CodeVertex2;
            ++j;
        }
    }
    if (list.GetCount() == 0) return;
    const QV_CoordLong firstEntry = list[0];
    list.Insert(firstEntry);
    list[list.GetCount() - 1].code = QV_CodeContourEnd;
}

void SplitFrameAtVertices(FramePolygons& frame, int32_t i0, int32_t i1) {
    frame.first.Clear();
    frame.second.Clear();
    for (int32_t k = 0; k < 3; ++k) frame.first.Insert(frame.frame[k]);
    for (int32_t k = 2; k < 5; ++k) frame.second.Insert(frame.frame[k]);
    Walk(frame, frame.first, i1, i0);
    Walk(frame, frame.second, i0, i1);
}

bool BuildFramePolygons(FramePolygons& frame, const API_Box3D& box, const QV_Poly& outline, double margin) {
    frame.margin = margin;
    frame.box = box;
    frame.frame.Clear();
    frame.outline.Clear();
    frame.first.Clear();
    frame.second.Clear();

    // The walks take the outline's upper-left part into the first contour only when it runs clockwise.
    if (outline.IsUsableRing() && outline.SignedArea() < 0.0) {
        QV_Poly clockwise(outline);
        clockwise.UpdateClockwise();
        clockwise.SetOrientation(1);
        clockwise.ToCoordLongs(frame.outline, 2);
    } else {
        outline.ToCoordLongs(frame.outline, 2);
    }
    int32_t count = frame.outline.GetCount();
    if (count > 1 && SameXY(frame.outline[count - 1], frame.outline[0])) {
        frame.outline.Remove(count - 1);
        --count;
        frame.outline[count - 1].code = QV_CodeContourEnd;
    }
    for (int32_t j = 0; j + 1 < count; ++j)
        if (frame.outline[j].code == QV_CodeArcCentre2) frame.outline[j + 1].code = kMidpoint;

    frame.box.xMin -= margin;
    frame.box.yMin -= margin;
    frame.box.xMax += margin;
    frame.box.yMax += margin;
    const API_Box3D& b = frame.box;
    frame.frame.Insert(QV_CoordLong{b.xMin, b.yMin, QV_CodeVertex2});
    frame.frame.Insert(QV_CoordLong{b.xMin, b.yMax, QV_CodeVertex2});
    frame.frame.Insert(QV_CoordLong{b.xMax, b.yMax, QV_CodeVertex2});
    frame.frame.Insert(QV_CoordLong{b.xMax, b.yMin, QV_CodeVertex2});
    frame.frame.Insert(QV_CoordLong{b.xMin, b.yMin, QV_CodeContourEnd});
    if (frame.frame.GetCount() != 5) return false;

    // Cut candidates: every entry but centres, and the last entry unless it only repeats entry 0.
    const int32_t lastCandidate = LastRepeatsFirst(frame) ? count - 2 : count - 1;
    auto nearest = [&](double x, double y, int32_t skip) {
        int32_t best = -1;
        double bestDistance = 0.0;
        for (int32_t j = 0; j <= lastCandidate; ++j) {
            const QV_CoordLong& e = frame.outline[j];
            if (j == skip || e.code == QV_CodeArcCentre2) continue;
            const double d = std::hypot(e.x - x, e.y - y);
            if (best < 0 || d < bestDistance) {
                best = j;
                bestDistance = d;
            }
        }
        return best;
    };
    const int32_t i0 = nearest(b.xMin, b.yMin, -1);
    if (i0 < 0) return false;
    const int32_t i1 = nearest(b.xMax, b.yMax, i0);
    if (i1 < 0) return false;
    SplitFrameAtVertices(frame, i0, i1);
    NormalizeContourCodes(frame, frame.first);
    NormalizeContourCodes(frame, frame.second);
    return true;
}

int32_t PointInPolygonWithArcs(const QV_Poly& poly, API_Coord point) {
    QV_Poly copy(poly);
    if (copy.arcs.GetCount() > 0) QV_Poly::SegmentArcs(poly, copy, 36, 0.001);
    int32_t edge = 0;
    return PointInPolygon(copy, point.x, point.y, edge, 1e-7) == 1 ? 1 : 0;
}
