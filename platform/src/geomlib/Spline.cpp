// Bezier splines: evaluation, arc length and division into pieces of equal length.
#include "GeometrySpline.hpp"

#include <algorithm>
#include <cmath>

namespace Geometry {

namespace {

API_Coord Along(const API_Coord& p, double length, double angle) {
    return API_Coord{p.x + length * std::cos(angle), p.y + length * std::sin(angle)};
}

API_Coord Evaluate(const BezierDetails::Span& s, double u) {
    const double v = 1.0 - u;
    const double b0 = v * v * v, b1 = 3.0 * v * v * u, b2 = 3.0 * v * u * u, b3 = u * u * u;
    return API_Coord{b0 * s.p[0].x + b1 * s.p[1].x + b2 * s.p[2].x + b3 * s.p[3].x,
                     b0 * s.p[0].y + b1 * s.p[1].y + b2 * s.p[2].y + b3 * s.p[3].y};
}

double Speed(const BezierDetails::Span& s, double u) {
    const double v = 1.0 - u;
    const double c0 = 3.0 * v * v, c1 = 6.0 * v * u, c2 = 3.0 * u * u;
    const double dx = c0 * (s.p[1].x - s.p[0].x) + c1 * (s.p[2].x - s.p[1].x) + c2 * (s.p[3].x - s.p[2].x);
    const double dy = c0 * (s.p[1].y - s.p[0].y) + c1 * (s.p[2].y - s.p[1].y) + c2 * (s.p[3].y - s.p[2].y);
    return std::hypot(dx, dy);
}

// 8-point Gauss-Legendre rule on [a, b].
double Gauss8(const BezierDetails::Span& s, double a, double b) {
    static const double x[4] = {0.1834346424956498, 0.5255324099163290, 0.7966664774136267, 0.9602898564975363};
    static const double w[4] = {0.3626837833783620, 0.3137066458778873, 0.2223810344533745, 0.1012285362903763};
    const double h = 0.5 * (b - a), m = 0.5 * (a + b);
    double sum = 0.0;
    for (int i = 0; i < 4; ++i) sum += w[i] * (Speed(s, m - h * x[i]) + Speed(s, m + h * x[i]));
    return sum * h;
}

double AdaptiveLength(const BezierDetails::Span& s, double a, double b, double whole, double tol, int depth) {
    const double m = 0.5 * (a + b);
    const double left = Gauss8(s, a, m), right = Gauss8(s, m, b);
    if (depth >= 40 || std::fabs(left + right - whole) <= tol) return left + right;
    return AdaptiveLength(s, a, m, left, tol / 2, depth + 1) + AdaptiveLength(s, m, b, right, tol / 2, depth + 1);
}

double SpanLength(const BezierDetails::Span& s, double a, double b, double tol) {
    if (b <= a) return 0.0;
    return AdaptiveLength(s, a, b, Gauss8(s, a, b), tol, 0);
}

// Parameter u of the span at which the length from u = 0 reaches target (0 <= target <= spanLength).
double InvertSpanLength(const BezierDetails::Span& s, double target, double spanLength, double tol) {
    double lo = 0.0, hi = 1.0;
    double u = spanLength > 0.0 ? target / spanLength : 0.0;
    for (int it = 0; it < 100; ++it) {
        const double f = SpanLength(s, 0.0, u, tol) - target;
        if (std::fabs(f) <= tol) break;
        if (f > 0.0)
            hi = u;
        else
            lo = u;
        const double d = Speed(s, u);
        double next = d > 0.0 ? u - f / d : 0.5 * (lo + hi);
        if (!(next > lo && next < hi)) next = 0.5 * (lo + hi);
        if (hi - lo < 1e-15) break;
        u = next;
    }
    return u;
}

}  // namespace

void SetBezierDirType(const API_Coord& anchor, DirType& dir, const API_Coord& incomingControl,
                      const API_Coord& outgoingControl) {
    dir = DirType{};
    dir.lenPrev = std::hypot(anchor.x - incomingControl.x, anchor.y - incomingControl.y);
    dir.lenNext = std::hypot(outgoingControl.x - anchor.x, outgoingControl.y - anchor.y);
    const double inAngle =
        dir.lenPrev > 0.0 ? std::atan2(anchor.y - incomingControl.y, anchor.x - incomingControl.x) : 0.0;
    const double outAngle =
        dir.lenNext > 0.0 ? std::atan2(outgoingControl.y - anchor.y, outgoingControl.x - anchor.x) : inAngle;
    dir.dirAng = outAngle;
    dir.dirAngPrev = dir.lenPrev > 0.0 ? inAngle : outAngle;
    if (dir.lenPrev > 0.0 && dir.lenNext > 0.0) {
        const double diff = std::remainder(outAngle - inAngle, 2.0 * M_PI);
        dir.kinked = std::fabs(diff) > 1e-12 ? 1 : 0;
    }
}

BezierDetails::BezierDetails() = default;

BezierDetails::BezierDetails(int32_t anchorCount, const API_Coord* anchors, const DirType* dirs, bool closed) {
    if (anchorCount < 1 || anchors == nullptr || dirs == nullptr) return;
    const int32_t spanCount = closed ? anchorCount : anchorCount - 1;
    if (spanCount < 1) return;
    spans.resize(static_cast<size_t>(spanCount));
    for (int32_t i = 0; i < spanCount; ++i) {
        const int32_t j = (i + 1) % anchorCount;
        const DirType& a = dirs[i];
        const DirType& b = dirs[j];
        const double inAngle = b.kinked ? b.dirAngPrev : b.dirAng;
        Span& s = spans[static_cast<size_t>(i)];
        s.p[0] = anchors[i];
        s.p[1] = Along(anchors[i], a.lenNext, a.dirAng);
        s.p[2] = Along(anchors[j], -b.lenPrev, inAngle);
        s.p[3] = anchors[j];
    }
}

double SplineLen(const BezierDetails& details, double accuracy, double tEnd) {
    const int32_t n = details.SpanCount();
    if (n == 0 || !(tEnd > 0.0)) return 0.0;
    tEnd = std::min(tEnd, static_cast<double>(n));
    const double tol = std::max(std::fabs(accuracy), 1e-9) / (4.0 * (n + 1));
    double length = 0.0;
    for (int32_t i = 0; i < n && i < tEnd; ++i) {
        const double u = std::min(1.0, tEnd - i);
        length += SpanLength(details.Spans()[static_cast<size_t>(i)], 0.0, u, tol);
    }
    return length;
}

API_Coord GetSplineVal(const BezierDetails& details, double t) {
    const int32_t n = details.SpanCount();
    if (n == 0) return API_Coord{0.0, 0.0};
    if (!(t > 0.0)) t = 0.0;
    if (t > n) t = n;
    int32_t i = static_cast<int32_t>(std::floor(t));
    if (i >= n) i = n - 1;
    return Evaluate(details.Spans()[static_cast<size_t>(i)], t - i);
}

int32_t DivSplinePart(int32_t anchorCount, const API_Coord* anchors, const DirType* dirs, bool closed, bool omitNearEnd,
                      int32_t fromIndex, double step, GS::Array<double>& params) {
    params.Clear();
    if (!(step > 0.0) || !std::isfinite(step)) return 0;
    const BezierDetails details(anchorCount, anchors, dirs, closed);
    const int32_t n = details.SpanCount();
    if (fromIndex < 0 || fromIndex >= n) return 0;

    std::vector<double> lengths(static_cast<size_t>(n), 0.0);
    double total = 0.0;
    double scale = 0.0;
    for (int32_t i = fromIndex; i < n; ++i)
        for (const API_Coord& p : details.Spans()[static_cast<size_t>(i)].p)
            scale = std::max(scale, std::max(std::fabs(p.x), std::fabs(p.y)));
    const double tol = std::max(1e-12, 1e-13 * scale);
    for (int32_t i = fromIndex; i < n; ++i) {
        lengths[static_cast<size_t>(i)] = SpanLength(details.Spans()[static_cast<size_t>(i)], 0.0, 1.0, tol);
        total += lengths[static_cast<size_t>(i)];
    }
    if (total / step > 1e7) return 0;

    int32_t span = fromIndex;
    double spanStart = 0.0;  // length from the start anchor to the start of span
    for (int64_t j = 1;; ++j) {
        const double target = static_cast<double>(j) * step;
        if (target >= total) break;
        if (omitNearEnd && total - target < 0.5 * step) break;
        while (span < n - 1 && spanStart + lengths[static_cast<size_t>(span)] <= target) {
            spanStart += lengths[static_cast<size_t>(span)];
            ++span;
        }
        const double local = std::min(target - spanStart, lengths[static_cast<size_t>(span)]);
        const double u = InvertSpanLength(details.Spans()[static_cast<size_t>(span)], local,
                                          lengths[static_cast<size_t>(span)], tol);
        params.Push(span + u);
    }
    return static_cast<int32_t>(params.GetSize());
}

}  // namespace Geometry
