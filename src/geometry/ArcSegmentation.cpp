#include "geometry/ArcSegmentation.hpp"

#include <cmath>

#include "geometry/QV_Poly.hpp"

namespace {

const double kTwoPi = 2.0 * M_PI;
// More segments than this for one arc only come from absurd radii; the cap keeps counts finite.

double AngleAbout(const API_Coord& centre, double x, double y) {
    if (std::fabs(x - centre.x) < 1e-5 && std::fabs(y - centre.y) < 1e-5) return 0.0;
    return NormalizedAtan2(y - centre.y, x - centre.x);
}

API_Coord XY(const API_Coord3D& p) { return API_Coord{p.x, p.y}; }

}  // namespace

void DivideRange(const QV_Arc& arc, QV_List<API_Coord>& points, const int32_t& n) {
    points.Clear();
    const double sweep = arc.endAngle - arc.startAngle;
    if (n >= 1 && n < (1 << 24)) QV_ReserveItems(points, n + 1);
    points.Insert(PointOnArc(arc, arc.startAngle), -1);
    if (n < 1) return;
    const double step = std::fabs(sweep / n);
    for (int32_t k = 1; k <= n; ++k)
        points.Insert(PointOnArc(arc, sweep > 0 ? arc.startAngle + k * step : arc.startAngle - k * step), -1);
}

void AppendArcGridPoints(QV_Poly& target, const QV_Arc& arc, double maxStep) {
    const double sweep = arc.endAngle - arc.startAngle;
    double a = arc.startAngle, e = arc.endAngle;
    if (maxStep > 0.0 && std::isfinite(maxStep) && std::isfinite(a) && std::isfinite(e) && sweep != 0.0) {
        // pi 2^k with 2^k formed exactly in single precision.
        const int k = static_cast<int>(std::floor(std::log2(maxStep / M_PI)));
        const double g = M_PI * static_cast<double>(std::ldexp(1.0f, k));
        if (a < 0.0) {
            const double turns = std::ceil(-a / kTwoPi);
            a += turns * kTwoPi;
            e += turns * kTwoPi;
            if (a < 0.0) {
                a += kTwoPi;
                e += kTwoPi;
            }
        }
        // Grid angles closer to the end than this would only give a zero-length last edge.
        const double endGap = 1e-12 * (1.0 + std::fabs(e));
        if (sweep > 0) {
            for (double i = std::floor(a / g) + 1.0;; i += 1.0) {
                const double x = i * g;
                if (!(x < e - endGap)) break;
                const API_Coord p = PointOnArc(arc, x);
                target.vertices.Insert(p, -1);
                target.codes.Insert(-1, -1);
            }
        } else {
            for (double i = std::ceil(a / g) - 1.0;; i -= 1.0) {
                const double x = i * g;
                if (!(x > e + endGap)) break;
                const API_Coord p = PointOnArc(arc, x);
                target.vertices.Insert(p, -1);
                target.codes.Insert(-1, -1);
            }
        }
    }
    const API_Coord end = PointOnArc(arc, e);
    target.vertices.Insert(end, -1);
    target.codes.Insert(-1, -1);
}

void QV_Poly::SegmentArcs(const QV_Poly& source, QV_Poly& target, int32_t count, double chordError) {
    if (&source == &target) {
        const QV_Poly copy(source);
        SegmentArcs(copy, target, count, chordError);
        return;
    }
    target.Clear();
    const int32_t n = source.VertexCount();
    if (count < 0 || !(chordError >= 0.0) || n == 0) return;
    const int32_t m = source.CodeCount();
    // Room for every point: a grid arc gets at most about twice its segment count.
    double expected = 1.0;
    for (int32_t i = 0; i < m; ++i) {
        const QV_Arc* arc = source.EdgeArc(i);
        expected += arc == nullptr
            ? 1.0
            : 2.0 * ArcSegmentCount(arc->radiusX, arc->endAngle - arc->startAngle, count, chordError) + 2.0;
    }
    if (expected < 1e8) {
        QV_ReserveItems(target.vertices, static_cast<int32_t>(expected));
        QV_ReserveItems(target.codes, static_cast<int32_t>(expected));
    }
    target.vertices.Insert(source.vertices[0], -1);
    for (int32_t i = 0; i < m; ++i) {
        const API_Coord& next = source.vertices[source.EdgeEnd(i)];
        const QV_Arc* arc = source.EdgeArc(i);
        if (arc == nullptr) {
            target.vertices.Insert(next, -1);
            target.codes.Insert(-1, -1);
            continue;
        }
        const double sweep = arc->endAngle - arc->startAngle;
        const int32_t segments = ArcSegmentCount(arc->radiusX, sweep, count, chordError);
        AppendArcGridPoints(target, *arc, std::fabs(sweep) / segments);
        // The outline's own vertex, not the arc's recomputed end, so neighbours still share it exactly.
        target.vertices[target.VertexCount() - 1] = next;
    }
    if (source.IsUsableRing() && target.VertexCount() > 1 && target.CodeCount() == target.VertexCount() - 1) {
        // Drop the repeat of vertex 0: its edge becomes the closing edge.
        target.vertices.SetSize(target.VertexCount() - 1);
    }
    target.UpdateClockwise();
}

QV_Arc ArcFromCurveRecord(const QV_List<API_Coord3D>& points, double radius, CurveArcForm form) {
    const int32_t count = points.GetCount();
    QV_Arc arc = QV_Arc::Degenerate();
    API_Coord centre;
    API_Coord p0, p1;
    double arcRadius;
    bool clockwise;
    const bool threePoint = form != CurveArcForm::ByRadius;
    if (threePoint) {
        if (count < 3) return arc;
        p0 = XY(points[0]);
        const API_Coord mid = XY(points[1]);
        p1 = XY(points[2]);
        if (!Circumcentre(p0, mid, p1, centre)) return arc;
        arcRadius = std::hypot(p0.x - centre.x, p0.y - centre.y);
        clockwise = (mid.y - p0.y) * (p1.x - p0.x) - (mid.x - p0.x) * (p1.y - p0.y) > 0;
    } else {
        if (count < 2) return arc;
        const double r = radius;
        if (!(r != 0.0) || !std::isfinite(r)) return arc;
        p0 = XY(points[0]);
        p1 = XY(points[count - 1]);
        const double dx = p1.x - p0.x, dy = p1.y - p0.y;
        const double chord = std::hypot(dx, dy);
        if (!(chord > 0.0)) return arc;
        const API_Coord m{(p0.x + p1.x) / 2, (p0.y + p1.y) / 2};
        const double h = chord / 2;
        const double ar = std::fabs(r);
        if (std::fabs(h - ar) < 1e-7 || ar < h) {
            // A radius below half the chord (rounded file values) cannot reach both points: the half circle.
            centre = m;
            arcRadius = std::fmax(ar, h);
        } else {
            const double d = std::sqrt(ar * ar - h * h);
            const double side = r >= 0 ? 1.0 : -1.0;  // left of p0->p1 for r >= 0
            centre.x = m.x - side * d * dy / chord;
            centre.y = m.y + side * d * dx / chord;
            arcRadius = ar;
        }
        clockwise = r > 0;
    }
    const double as = AngleAbout(centre, p0.x, p0.y);
    const double ae = AngleAbout(centre, p1.x, p1.y);
    double startAngle = clockwise ? ae : as;
    double endAngle = clockwise ? as : ae;
    if (threePoint && endAngle < startAngle) endAngle += kTwoPi;
    if (std::fabs(endAngle - startAngle) < 1e-5) return arc;
    arc.center = centre;
    arc.startAngle = startAngle;
    arc.endAngle = endAngle;
    arc.radiusX = arcRadius;
    arc.radiusY = arcRadius;
    return arc;
}

QV_Arc CircleFromCurveRecord(const QV_List<API_Coord3D>& points, double radius, CurveArcForm form) {
    QV_Arc arc = QV_Arc::Degenerate();
    const int32_t count = points.GetCount();
    API_Coord centre;
    double circleRadius;
    if (form == CurveArcForm::ByRadius) {
        if (count < 1) return arc;
        centre = XY(points[0]);
        circleRadius = std::fabs(radius);
    } else {
        if (count < 3) return arc;
        const API_Coord p0 = XY(points[0]);
        if (!Circumcentre(p0, XY(points[1]), XY(points[2]), centre)) return arc;
        circleRadius = std::hypot(p0.x - centre.x, p0.y - centre.y);
    }
    if (!(circleRadius > 0.0) || !std::isfinite(circleRadius)) return arc;
    arc.center = centre;
    arc.startAngle = 0.0;
    arc.endAngle = kTwoPi;
    arc.radiusX = circleRadius;
    arc.radiusY = circleRadius;
    return arc;
}
