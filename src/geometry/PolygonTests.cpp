#include "geometry/PolygonTests.hpp"

#include <cmath>

namespace {

const double kTwoPi = 2.0 * M_PI;
const double kBoxTolerance = 1e-7;

// Whether the angle range [lo, hi] holds the direction theta (modulo whole turns).
bool RangeHolds(double lo, double hi, double theta) {
    const double e = kBoxTolerance;
    const double offset = std::remainder(lo - theta, kTwoPi);
    if (std::fabs(offset) < e) return true;
    const double span = hi - lo;
    if (span > e) {
        const double rest = std::fmod(span, kTwoPi);
        if (rest < e || kTwoPi - rest < e) return true;
    }
    double k = std::ceil((lo - theta) / kTwoPi);
    double v = theta + k * kTwoPi;
    if (v < lo - e) v += kTwoPi;
    return v <= hi + e;
}

void Widen(API_Box& box, double x, double y) {
    if (x < box.xMin) box.xMin = x;
    if (x > box.xMax) box.xMax = x;
    if (y < box.yMin) box.yMin = y;
    if (y > box.yMax) box.yMax = y;
}

}  // namespace

RayStep PointInPolygonStep(const API_Coord& a, const API_Coord& b, double px, double py, double tolerance) {
    const double t = std::fabs(tolerance);
    const double yLo = std::fmin(a.y, b.y), yHi = std::fmax(a.y, b.y);
    const double xLo = std::fmin(a.x, b.x), xHi = std::fmax(a.x, b.x);
    const bool horizontal = std::fabs(a.y - b.y) <= t;
    const bool vertical = std::fabs(a.x - b.x) <= t;
    if (py > yLo + t && py <= yHi + t && px <= xHi + t) {
        if (horizontal) return px >= xLo - t ? RayStep::OnEdge : RayStep::None;
        const double xi = a.x + (b.x - a.x) * (py - a.y) / (b.y - a.y);
        if (std::fabs(xi - px) < t) return RayStep::OnEdge;
        return vertical || xi + t >= px ? RayStep::Crosses : RayStep::None;
    }
    if (py <= yLo + t && std::fabs(py - yLo) < t) {
        const bool on = horizontal ? xLo - t <= px && px <= xHi + t
                                   : (std::fabs(px - a.x) < t && std::fabs(py - a.y) < t) ||
                (std::fabs(px - b.x) < t && std::fabs(py - b.y) < t);
        return on ? RayStep::OnEdge : RayStep::None;
    }
    return RayStep::None;
}

int32_t PointInPolygon(const QV_Poly& poly, double px, double py, int32_t& edge, const double& tolerance) {
    const int32_t n = poly.VertexCount();
    edge = 0;
    if (n == 0) return -1;
    bool odd = false;
    for (int32_t k = 1; k <= n; ++k) {
        const RayStep step = PointInPolygonStep(poly.vertices[k - 1], poly.vertices[k % n], px, py, tolerance);
        if (step == RayStep::OnEdge) {
            edge = k;
            return 0;
        }
        if (step == RayStep::Crosses) odd = !odd;
    }
    return odd ? 1 : -1;
}

API_Box QV_Poly::GetBoundBox(API_Box& box) const {
    box = API_Box{0.0, 0.0, 0.0, 0.0};
    const int32_t n = VertexCount();
    if (n == 0) return box;
    box = API_Box{vertices[0].x, vertices[0].y, vertices[0].x, vertices[0].y};
    const int32_t m = CodeCount();
    for (int32_t i = 0; i < m; ++i) {
        const API_Coord& v = vertices[EdgeEnd(i)];
        Widen(box, v.x, v.y);
    }
    for (int32_t i = 0; i < m; ++i) {
        const QV_Arc* arc = EdgeArc(i);
        if (arc == nullptr) continue;
        const double lo = std::fmin(arc->startAngle, arc->endAngle);
        const double hi = std::fmax(arc->startAngle, arc->endAngle);
        const double r = arc->radiusX;
        const double cx = arc->center.x, cy = arc->center.y;
        if (RangeHolds(lo, hi, 0.0)) Widen(box, cx + r, cy);
        if (RangeHolds(lo, hi, M_PI / 2)) Widen(box, cx, cy + r);
        if (RangeHolds(lo, hi, M_PI)) Widen(box, cx - r, cy);
        if (RangeHolds(lo, hi, 1.5 * M_PI)) Widen(box, cx, cy - r);
    }
    return box;
}

namespace {

// Containment by the first vertex of inner that is not on outer's boundary: a ring that only touches outer from
// outside must not count as inside because its first vertex happens to lie on the shared boundary.
bool WithinByVertices(const QV_Poly& outer, const QV_Poly& inner, double t) {
    int32_t edge = 0;
    const int32_t n = inner.VertexCount();
    for (int32_t i = 0; i < n; ++i) {
        const int32_t where = PointInPolygon(outer, inner.vertices[i].x, inner.vertices[i].y, edge, t);
        if (where != 0) return where > 0;
    }
    // Every vertex on the boundary: the middles of the edges decide (a notch's lid is not on it).
    for (int32_t i = 0; i < n; ++i) {
        const API_Coord& a = inner.vertices[i];
        const API_Coord& b = inner.vertices[(i + 1) % n];
        const int32_t where = PointInPolygon(outer, (a.x + b.x) / 2, (a.y + b.y) / 2, edge, t);
        if (where != 0) return where > 0;
    }
    return n > 0;  // the same outline
}

}  // namespace

int32_t GetPolygonRelation(const QV_Poly& a, const QV_Poly& b, const double& tolerance, uint8_t* touch) {
    const double t = std::fabs(tolerance);
    if (touch != nullptr) *touch = 0;
    if (!a.IsUsableRing() || !b.IsUsableRing()) return -1;
    API_Box boxA, boxB;
    a.GetBoundBox(boxA);
    b.GetBoundBox(boxB);
    if (boxA.xMin > boxB.xMax + t || boxB.xMin > boxA.xMax + t || boxA.yMin > boxB.yMax + t ||
        boxB.yMin > boxA.yMax + t)
        return -1;

    bool touching = false;
    const int32_t na = a.VertexCount(), nb = b.VertexCount();
    for (int32_t j = 0; j < nb; ++j) {
        const API_Coord& b1 = b.vertices[j];
        const API_Coord& b2 = b.vertices[(j + 1) % nb];
        for (int32_t i = 0; i < na; ++i) {
            const API_Coord& a1 = a.vertices[i];
            const API_Coord& a2 = a.vertices[(i + 1) % na];
            const int32_t r = TestSegmentCrossing(a1.x, a1.y, a2.x, a2.y, b1.x, b1.y, b2.x, b2.y, t);
            if (r == 1) {
                if (touch != nullptr) *touch = 0;
                return 0;
            }
            if (r == 2) {
                if (touch == nullptr) return 0;
                *touch = 1;
                touching = true;
            }
        }
    }
    if (WithinByVertices(a, b, t)) return 1;
    if (WithinByVertices(b, a, t)) return 2;
    return touching ? 0 : -1;
}

bool QV_Poly::IsValid() const {
    const int32_t n = VertexCount();
    const int32_t m = CodeCount();
    if (n < 2 || (m != n && m != n - 1)) return false;
    if (m == n && n == 2) return arcs.GetCount() == 2 && EdgeArc(0) != nullptr && EdgeArc(1) != nullptr;
    return true;
}

namespace {

// Whether edge vectors d and e (e the following edge) lie on one line folding back on each other.
bool FoldsBack(const API_Coord& d, const API_Coord& e, double tol) {
    const double t = std::fabs(tol);
    // Exact zeros count as small even with a zero tolerance.
    auto small = [t](double v) { return std::fabs(v) < t || v == 0.0; };
    bool verticalPair = false;
    double rhoX = 0.0;
    if (small(e.x)) {
        if (!small(d.x)) return false;
        verticalPair = true;
    } else {
        rhoX = d.x / e.x;
    }
    double rho;
    if (small(e.y)) {
        if (!small(d.y) || verticalPair) return false;
        rho = rhoX;
    } else {
        const double rhoY = d.y / e.y;
        if (verticalPair) {
            rho = rhoY;
        } else {
            if (!(std::fabs(rhoX - rhoY) <= std::fabs(tol / e.y))) return false;
            rho = rhoX;
        }
    }
    return rho < 0.0;
}

API_Coord Sub(const API_Coord& b, const API_Coord& a) { return API_Coord{b.x - a.x, b.y - a.y}; }

// Removes the arc of an edge and renumbers the codes above it.
void RemoveArc(QV_Poly& poly, int32_t arcIndex) {
    if (!poly.arcs.Remove(arcIndex)) return;
    for (int32_t i = 0; i < poly.CodeCount(); ++i)
        if (poly.codes[i] > arcIndex) --poly.codes[i];
}

}  // namespace

int32_t QV_Poly::Simplify(const double& tolerance) {
    const double t = std::fabs(tolerance);
    if (!IsValid()) return 2;
    bool changed = false;
    for (;;) {
        bool removed = false;
        // Spikes: an edge followed by one running back along it. Only a ring wraps from its last edge to edge 0;
        // in a chain the two ends are not neighbours.
        for (int32_t i = CodeCount() - 1; i >= 0; --i) {
            const int32_t m = CodeCount();
            if (i >= m) continue;
            if (!IsClosed() && i == m - 1) continue;
            const int32_t next = (i + 1) % m;
            if (EdgeArc(i) != nullptr || EdgeArc(next) != nullptr) continue;
            const API_Coord d = Sub(vertices[EdgeEnd(i)], vertices[i]);
            const API_Coord e = Sub(vertices[EdgeEnd(next)], vertices[next]);
            if (!FoldsBack(d, e, tolerance)) continue;
            const int32_t tip = (i + 1) % m;
            if (codes[next] >= 0) RemoveArc(*this, codes[next]);
            vertices.Remove(tip);
            codes.Remove(next);
            removed = true;
            if (!IsValid()) return 2;
        }
        // Edges shorter than the tolerance.
        for (int32_t i = CodeCount() - 1; i >= 0; --i) {
            if (i >= CodeCount()) continue;
            const QV_Arc* arc = EdgeArc(i);
            double length;
            if (arc != nullptr) {
                length = QV_Arc::Length(*arc);
            } else {
                const API_Coord d = Sub(vertices[EdgeEnd(i)], vertices[i]);
                length = std::hypot(d.x, d.y);
            }
            if (!(length < t)) continue;
            vertices.Remove(i == 0 ? 1 : i);
            if (codes[i] >= 0) RemoveArc(*this, codes[i]);
            codes.Remove(i);
            removed = true;
            if (!IsValid()) return 2;
        }
        if (!removed) break;
        changed = true;
    }
    UpdateClockwise();
    return changed ? 1 : 0;
}
