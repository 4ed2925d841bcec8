#include "geometry/QV_Arc.hpp"

#include <cmath>

namespace {

const double kTwoPi = 2.0 * M_PI;
// Segment counts are capped so a tiny chord error cannot ask for an endless division.
const int32_t kMaxArcSegments = 1 << 20;
const double kArcTolerance = 1e-5;
// Below this sine of the angle at p1 the three points count as collinear: the centre would be lost in rounding.
const double kCollinearSine = 1e-12;

double AngleAbout(const API_Coord& centre, const API_Coord& p) {
    if (std::fabs(p.x - centre.x) < kArcTolerance && std::fabs(p.y - centre.y) < kArcTolerance) return 0.0;
    return NormalizedAtan2(p.y - centre.y, p.x - centre.x);
}

double Distance(const API_Coord& a, const API_Coord& b) { return std::hypot(b.x - a.x, b.y - a.y); }

}  // namespace

double NormalizedAtan2(double y, double x) {
    double a = std::atan2(y, x);
    if (a < 0.0) a += kTwoPi;
    // A tiny negative angle rounds up to exactly 2pi.
    if (a >= kTwoPi) a = 0.0;
    return a;
}

QV_Arc QV_Arc::Degenerate() {
    QV_Arc arc{};
    arc.axisRatio = 1.0;
    return arc;
}

bool Circumcentre(const API_Coord& p1, const API_Coord& p2, const API_Coord& p3, API_Coord& centre) {
    // Worked relative to p1: the same centre, without the cancellation of squared large coordinates.
    const double ax = p2.x - p1.x, ay = p2.y - p1.y;
    const double bx = p3.x - p1.x, by = p3.y - p1.y;
    const double a2 = ax * ax + ay * ay;
    const double b2 = bx * bx + by * by;
    const double cross = ax * by - ay * bx;
    if (!(std::fabs(cross) > kCollinearSine * std::sqrt(a2) * std::sqrt(b2))) return false;
    const double ux = 0.5 * (by * a2 - ay * b2) / cross;
    const double uy = 0.5 * (ax * b2 - bx * a2) / cross;
    if (!std::isfinite(ux) || !std::isfinite(uy)) return false;
    centre.x = p1.x + ux;
    centre.y = p1.y + uy;
    return true;
}

QV_Arc QV_Arc::FromThreePoints(const API_Coord& start, const API_Coord& end, const API_Coord& through,
                               const uint8_t* direction) {
    QV_Arc arc = Degenerate();
    API_Coord centre;
    if (!Circumcentre(start, through, end, centre)) return arc;
    const double radius = Distance(centre, start);
    double startAngle = AngleAbout(centre, start);
    double endAngle = AngleAbout(centre, end);
    if (std::fabs(endAngle - startAngle) < kArcTolerance) return arc;

    arc.center = centre;
    if (direction == nullptr) {
        const double a = AngleAbout(centre, through);
        if (endAngle > startAngle) {
            if (a < startAngle || a > endAngle) endAngle -= kTwoPi;
        } else {
            if (a < endAngle || a > startAngle) endAngle += kTwoPi;
        }
    } else if (*direction == 1) {
        if (endAngle > startAngle) endAngle -= kTwoPi;
    } else if (*direction == 0) {
        if (startAngle > endAngle) endAngle += kTwoPi;
    }
    arc.startAngle = startAngle;
    arc.endAngle = endAngle;
    arc.radiusX = radius;
    arc.radiusY = radius;
    arc.axisRatio = 1.0;
    arc.rotation = 0.0;
    return arc;
}

QV_Arc QV_Arc::FromEndPointsAndAngle(const API_Coord& start, const API_Coord& end, const double& angle) {
    QV_Arc arc = Degenerate();
    const double phi = angle;
    if (!(std::fabs(phi) >= kArcTolerance))  // also refuses NaN
        return arc;
    // Coinciding end points leave the circle's size open.
    if (start.x == end.x && start.y == end.y) return arc;
    API_Coord centre;
    if (std::fabs(std::fabs(phi) - M_PI) >= kArcTolerance) {
        const double k = 1.0 / std::tan(phi / 2.0);
        centre.x = ((start.x + end.x) - (end.y - start.y) * k) / 2.0;
        centre.y = ((start.y + end.y) + (end.x - start.x) * k) / 2.0;
    } else {
        centre.x = (start.x + end.x) / 2.0;
        centre.y = (start.y + end.y) / 2.0;
    }
    if (!std::isfinite(centre.x) || !std::isfinite(centre.y)) return arc;
    const double radius = Distance(centre, start);
    arc.center = centre;
    arc.startAngle = AngleAbout(centre, start);
    arc.endAngle = arc.startAngle + phi;
    arc.radiusX = radius;
    arc.radiusY = radius;
    return arc;
}

double QV_Arc::AngleOfPoint(const QV_Arc& arc, const API_Coord& point, double tolerance) {
    const double t = std::fabs(tolerance);
    if (std::fabs(point.x - arc.center.x) < t && std::fabs(point.y - arc.center.y) < t) return 0.0;
    return NormalizedAtan2(point.y - arc.center.y, point.x - arc.center.x);
}

double QV_Arc::Length(const QV_Arc& arc) {
    const double sweep = arc.endAngle - arc.startAngle;
    if (arc.axisRatio == 1.0) return std::fabs(sweep * arc.radiusX);
    return std::fabs(sweep) * std::sqrt((arc.radiusX * arc.radiusX + arc.radiusY * arc.radiusY) / 2.0);
}

namespace {

// Where an end point (px, py) lies against segment (x1, y1)-(x2, y2): its cross product, whether it lies on the
// line (within e) and whether it then lies within the segment's range.
struct EndPlacement {
    double d;
    bool onLine;
    bool onSegment;
};

EndPlacement PlaceEnd(double x1, double y1, double x2, double y2, double px, double py, double e) {
    EndPlacement p;
    p.d = (py - y1) * (x2 - x1) - (px - x1) * (y2 - y1);
    p.onLine = std::fabs(p.d) < e;
    p.onSegment = false;
    if (p.onLine) {
        if (std::fabs(x2 - x1) <= e) {
            const double lo = std::fmin(y1, y2), hi = std::fmax(y1, y2);
            p.onSegment = py >= lo - e && py <= hi + 1e-7;
        } else {
            const double lo = std::fmin(x1, x2), hi = std::fmax(x1, x2);
            p.onSegment = px >= lo - e && px <= hi + 1e-7;
        }
    }
    return p;
}

}  // namespace

int32_t TestSegmentCrossing(double xA1, double yA1, double xA2, double yA2, double xB1, double yB1, double xB2,
                            double yB2, const double& tolerance) {
    const double e = std::fabs(tolerance);
    const EndPlacement b1 = PlaceEnd(xA1, yA1, xA2, yA2, xB1, yB1, e);
    const EndPlacement b2 = PlaceEnd(xA1, yA1, xA2, yA2, xB2, yB2, e);
    if (b1.onSegment || b2.onSegment) return 2;
    if (b1.onLine && b2.onLine) return 0;
    if (b1.d * b2.d >= e * e) return 0;
    const EndPlacement a1 = PlaceEnd(xB1, yB1, xB2, yB2, xA1, yA1, e);
    const EndPlacement a2 = PlaceEnd(xB1, yB1, xB2, yB2, xA2, yA2, e);
    if (a1.onSegment || a2.onSegment) return 2;
    if (a1.onLine && a2.onLine) return 0;
    return a1.d * a2.d < e * e ? 1 : 0;
}

API_Coord PointOnArc(const QV_Arc& arc, double angle) {
    API_Coord p{arc.center.x + arc.radiusX * std::cos(angle), arc.center.y + arc.radiusY * std::sin(angle)};
    if (std::fabs(arc.rotation) >= 1e-7) {
        const double c = std::cos(arc.rotation), s = std::sin(arc.rotation);
        const double dx = p.x - arc.center.x, dy = p.y - arc.center.y;
        p.x = c * dx - s * dy + arc.center.x;
        p.y = s * dx + c * dy + arc.center.y;
    }
    return p;
}

int32_t ArcSegmentCount(double radius, double sweep, int32_t count, double chordError) {
    double n;
    if (chordError > 0.0 && chordError <= radius) {
        const double half = std::acos(1.0 - chordError / radius);
        n = half > 0.0 ? std::floor(std::fabs(sweep) / (2.0 * half)) + 1.0 : static_cast<double>(kMaxArcSegments);
    } else if (chordError > 0.0) {
        n = 3.0;
    } else {
        n = count;
    }
    if (!(n >= 3.0)) return 3;
    if (n > kMaxArcSegments) return kMaxArcSegments;
    return static_cast<int32_t>(n);
}
