#include "terrain/OutlineCorridor.hpp"

#include "geometry/ElementOutline.hpp"
#include "geometry/PolygonTests.hpp"
#include "geometry/QV_Poly.hpp"

#include <algorithm>
#include <cmath>

namespace {
constexpr double Coincide = 1e-7;
constexpr double TwoPi = 6.283185307179586;

bool Same(const API_Coord& a, const API_Coord& b, double tolerance = Coincide) {
    return std::fabs(a.x - b.x) < tolerance && std::fabs(a.y - b.y) < tolerance;
}

double Length(const API_Coord& a, const API_Coord& b) { return std::hypot(b.x - a.x, b.y - a.y); }

// The line through `p` along `d` as A x + B y = C; a near-vertical one as x = constant.
struct PlanLine {
    double a, b, c;
};
PlanLine LineThrough(const API_Coord& p, const API_Coord& d) {
    if (std::fabs(d.x) < 1e-4) return {1.0, 0.0, p.x};
    const double m = d.y / d.x;
    return {-m, 1.0, p.y - m * p.x};
}

bool Vertical(const API_Coord& d) { return std::fabs(d.x) < 1e-4; }

bool ParallelEdges(const API_Coord& d1, const API_Coord& d2) {
    if (Vertical(d1) && Vertical(d2)) return true;
    if (std::fabs(d1.y) < Coincide && std::fabs(d2.y) < Coincide) return true;
    if (Vertical(d1) || Vertical(d2)) return false;
    return std::fabs(d1.y / d1.x - d2.y / d2.x) < 1e-12;
}

// The unit normal of direction d: right of travel for side 1, left for side 0.
API_Coord Normal(const API_Coord& d, int32_t side) {
    const double len = std::hypot(d.x, d.y);
    if (len == 0.0) return {0.0, 0.0};
    return side == 1 ? API_Coord{d.y / len, -d.x / len} : API_Coord{-d.y / len, d.x / len};
}

API_Coord Moved(const API_Coord& p, const API_Coord& n, double distance) {
    return {p.x + n.x * distance, p.y + n.y * distance};
}

QV_Poly Ring(const PlanPoints& points, bool close) {
    QV_List<API_Coord> list;
    for (const API_Coord& p : points) list.Insert(p);
    QV_Poly poly;
    poly.SetFromCoords(list, close);
    return poly;
}

int32_t Where(const QV_Poly& poly, const API_Coord& p) {
    int32_t edge = 0;
    return PointInPolygon(poly, p.x, p.y, edge, Coincide);
}

// On the segment: the distances to its ends add up to its length.
bool OnSegmentBySum(const API_Coord& p, const API_Coord& a, const API_Coord& b) {
    return std::fabs(Length(a, p) + Length(p, b) - Length(a, b)) < Coincide;
}

// On the segment by its parameter: within 1e-7 of the line, parameter in [0, 1]; a segment shorter than 1e-7
// holds nothing.
bool OnSegmentByParameter(const API_Coord& p, const API_Coord& a, const API_Coord& b) {
    const double len = Length(a, b);
    if (len < Coincide) return false;
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double t = ((p.x - a.x) * dx + (p.y - a.y) * dy) / (len * len);
    const double off = std::fabs((p.x - a.x) * dy - (p.y - a.y) * dx) / len;
    return off < Coincide && t >= 0.0 && t <= 1.0;
}

bool OnRingEdge(const PlanPoints& ring, const API_Coord& p) {
    for (size_t i = 0; i + 1 < ring.size(); ++i)
        if (OnSegmentBySum(p, ring[i], ring[i + 1])) return true;
    return false;
}

PlanPoints Open(const PlanPoints& closed) {
    PlanPoints open = closed;
    if (open.size() > 1 && Same(open.front(), open.back())) open.pop_back();
    return open;
}
}  // namespace

double PlanDirection(const API_Coord& a, const API_Coord& b) {
    if (Same(a, b, 1e-5)) return 0.0;
    double angle = std::atan2(b.y - a.y, b.x - a.x);
    if (angle < 0.0) angle += TwoPi;
    return angle >= TwoPi ? 0.0 : angle;
}

API_Coord OffsetCorner(const API_Coord& previous, const API_Coord& corner, const API_Coord& next, double halfWidth,
                       int32_t side) {
    const API_Coord d1 = {corner.x - previous.x, corner.y - previous.y};
    const API_Coord d2 = {next.x - corner.x, next.y - corner.y};
    if (Same(next, corner)) return Moved(corner, Normal(d1, side), halfWidth);
    if (Same(previous, corner) || ParallelEdges(d1, d2)) return Moved(corner, Normal(d2, side), halfWidth);
    const PlanLine l1 = LineThrough(Moved(previous, Normal(d1, side), halfWidth), d1);
    const PlanLine l2 = LineThrough(Moved(corner, Normal(d2, side), halfWidth), d2);
    double det = l1.a * l2.b - l2.a * l1.b;
    // Near-parallel edges would throw the vertex far away: keep the determinant off zero.
    if (det > 0.0 && det < 1e-4)
        det = 1e-4;
    else if (det < 0.0 && det > -1e-4)
        det = -1e-4;
    else if (det == 0.0)
        det = 1e-8;
    return {(l1.c * l2.b - l2.c * l1.b) / det, (l1.a * l2.c - l2.a * l1.c) / det};
}

PlanPoints BuildCorridorSide(const PlanPoints& path, double halfWidth, int32_t side, std::vector<int16_t>* index) {
    const PlanPoints open = Open(path);
    PlanPoints out;
    if (index != nullptr) index->clear();
    const size_t n = open.size();
    if (n == 0) return out;
    for (size_t i = 0; i < n; ++i) {
        const API_Coord& previous = open[(i + n - 1) % n];
        const API_Coord& next = open[(i + 1) % n];
        out.push_back(OffsetCorner(previous, open[i], next, halfWidth, side));
        if (index != nullptr) index->push_back(int16_t(i + 1));
    }
    out.push_back(out.front());
    if (index != nullptr) index->push_back(index->front());
    return out;
}

bool SegmentsIntersect(const API_Coord& a1, const API_Coord& a2, const API_Coord& b1, const API_Coord& b2,
                       API_Coord* at) {
    const double rx = a2.x - a1.x, ry = a2.y - a1.y;
    const double sx = b2.x - b1.x, sy = b2.y - b1.y;
    const double den = rx * sy - ry * sx;
    if (den == 0.0) return false;
    const double qx = b1.x - a1.x, qy = b1.y - a1.y;
    const double t = (qx * sy - qy * sx) / den;
    const double u = (qx * ry - qy * rx) / den;
    if (t < 0.0 || t > 1.0 || u < 0.0 || u > 1.0) return false;
    if (at != nullptr) *at = {a1.x + t * rx, a1.y + t * ry};
    return true;
}

void RemoveCorridorLoops(PlanPoints& side) {
    const size_t edges = side.size() < 2 ? 0 : side.size() - 1;
    // Each cut makes vertices coincide, so a side has at most as many cuts as vertices.
    for (size_t cuts = 0; cuts <= side.size(); ++cuts) {
        bool cut = false;
        for (size_t i = 0; i < edges && !cut; ++i) {
            for (size_t j = i + 2; j < edges && !cut; ++j) {
                const API_Coord &a1 = side[i], &a2 = side[i + 1], &b1 = side[j], &b2 = side[j + 1];
                if (Same(a1, b1) || Same(a1, b2) || Same(a2, b1) || Same(a2, b2)) continue;
                API_Coord at;
                if (!SegmentsIntersect(a1, a2, b1, b2, &at)) continue;
                for (size_t k = i + 1; k <= j; ++k) side[k] = at;
                cut = true;
            }
        }
        if (!cut) return;
    }
}

PlanPoints FindCorridorPoints(const PlanPoints& outer, const PlanPoints& inner, const PlanPoints& points) {
    const QV_Poly a = Ring(outer, false);
    const QV_Poly b = Ring(inner, false);
    PlanPoints found;
    for (const API_Coord& p : points) {
        const bool onEdge = OnRingEdge(outer, p) || OnRingEdge(inner, p);
        if (onEdge || (Where(a, p) != -1 && Where(b, p) != 1)) found.push_back(p);
    }
    return found;
}

PlanPoints CollectNodesAlongEdges(const PlanPoints& outer, const PlanPoints& inner, PlanPoints& found,
                                  double searchAngle, const std::function<void()>& perEdge) {
    const PlanPoints s0 = Open(outer), s1 = Open(inner);
    PlanPoints nodes;
    const size_t n = std::min(s0.size(), s1.size());
    for (size_t i = 0; i < n; ++i) {
        if (perEdge) perEdge();
        const size_t k = (i + 1) % n;
        const PlanPoints strip = {s0[i], s0[k], s1[k], s1[i], s0[i]};
        const QV_Poly stripPoly = Ring(strip, true);
        const API_Coord& from = Same(s1[i], s1[k]) ? s0[i] : s1[i];
        const API_Coord& to = Same(s1[i], s1[k]) ? s0[k] : s1[k];
        const double angle = PlanDirection(from, to);

        struct Candidate {
            API_Coord p;
            double key;
        };
        std::vector<Candidate> candidates;
        const double c = std::cos(-angle), s = std::sin(-angle);
        // The points left keep their order, closed up in one pass (an erase per taken point would cost the
        // corridor's points times the points taken).
        size_t kept = 0;
        for (size_t f = 0; f < found.size(); ++f) {
            const API_Coord p = found[f];
            bool taken = Where(stripPoly, p) == 1;
            for (size_t e = 0; e < 4 && !taken; ++e) taken = OnSegmentByParameter(p, strip[e], strip[e + 1]);
            if (!taken) {
                found[kept++] = p;
                continue;
            }
            candidates.push_back({p, (p.x - s1[i].x) * c - (p.y - s1[i].y) * s});
        }
        found.resize(kept);
        std::stable_sort(candidates.begin(), candidates.end(),
                         [](const Candidate& x, const Candidate& y) { return x.key < y.key; });
        for (size_t q = 0; q < candidates.size(); ++q) {
            if (q == 0) {
                nodes.push_back(candidates[q].p);
                continue;
            }
            const double direction = PlanDirection(nodes.back(), candidates[q].p);
            if (direction >= angle - searchAngle / 2 && direction <= angle + searchAngle / 2)
                nodes.push_back(candidates[q].p);
        }
    }
    return nodes;
}

bool RingCrossesItself(const PlanPoints& ring) { return PolygonSelfIntersects(Ring(ring, true)) != 0; }

namespace {
// The first fault of an open ring's vertices (closing edge included): two vertices on one another, two edges
// that share no end crossing, or two parallel edges overlapping.
bool FirstFault(const PlanPoints& open, API_Coord* fault) {
    const size_t n = open.size();
    const auto found = [fault](const API_Coord& at) {
        if (fault != nullptr) *fault = at;
        return true;
    };
    for (size_t i = 0; i < n; ++i)
        for (size_t j = i + 1; j < n; ++j)
            if (Same(open[i], open[j])) return found(open[i]);
    for (size_t i = 0; i < n; ++i) {
        const API_Coord &a1 = open[i], &a2 = open[(i + 1) % n];
        for (size_t j = i + 1; j < n; ++j) {
            const API_Coord &b1 = open[j], &b2 = open[(j + 1) % n];
            if (Same(a1, b1) || Same(a1, b2) || Same(a2, b1) || Same(a2, b2)) continue;
            const double det = (a2.x - a1.x) * (b2.y - b1.y) - (a2.y - a1.y) * (b2.x - b1.x);
            API_Coord at;
            if (std::fabs(det) >= 1e-5) {
                if (SegmentsIntersect(a1, a2, b1, b2, &at)) return found(at);
                continue;
            }
            for (const API_Coord* p : {&a1, &a2})
                if (OnSegmentByParameter(*p, b1, b2)) return found(*p);
            for (const API_Coord* p : {&b1, &b2})
                if (OnSegmentByParameter(*p, a1, a2)) return found(*p);
        }
    }
    return false;
}
}  // namespace

bool RingCrossing(const PlanPoints& ring, API_Coord& at) {
    const PlanPoints open = Open(ring);
    if (FirstFault(open, &at)) return true;
    // An edge turning straight back along the one before: the turning vertex.
    const size_t n = open.size();
    for (size_t i = 0; n >= 3 && i < n; ++i) {
        const API_Coord &a = open[(i + n - 1) % n], &b = open[i], &c = open[(i + 1) % n];
        if (OnSegmentByParameter(a, b, c) || OnSegmentByParameter(c, a, b)) {
            at = b;
            return true;
        }
    }
    return false;
}

bool CheckClickedPath(PlanPoints& path, API_Coord* fault) {
    const PlanPoints open = Open(path);
    if (FirstFault(open, fault)) return false;
    PlanPoints closed = open;
    if (!closed.empty()) closed.push_back(closed.front());
    QV_Poly poly = Ring(closed, true);
    if (poly.CodeCount() == poly.VertexCount() && poly.VertexCount() >= 3) {
        poly.SetOrientation(1);
        closed.clear();
        for (int32_t i = 0; i < poly.vertices.GetCount(); ++i) closed.push_back(poly.vertices[i]);
        closed.push_back(closed.front());
    }
    path = closed;
    return true;
}

bool FitRectangleToPoints(PlanPoints& path, const PlanPoints& points) {
    const QV_Poly poly = Ring(path, true);
    double xmin = 0, ymin = 0, xmax = 0, ymax = 0;
    int32_t inside = 0;
    for (const API_Coord& p : points) {
        if (!OnRingEdge(path, p) && Where(poly, p) == -1) continue;
        if (inside++ == 0) {
            xmin = xmax = p.x;
            ymin = ymax = p.y;
        }
        xmin = std::min(xmin, p.x);
        xmax = std::max(xmax, p.x);
        ymin = std::min(ymin, p.y);
        ymax = std::max(ymax, p.y);
    }
    if (inside < 2) return false;
    path = {{xmin, ymin}, {xmin, ymax}, {xmax, ymax}, {xmax, ymin}, {xmin, ymin}};
    return true;
}
