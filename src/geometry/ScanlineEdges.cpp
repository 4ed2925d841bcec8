#include "geometry/ScanlineEdges.hpp"

#include <algorithm>
#include <cmath>

namespace Scanline {
namespace {

bool BoxesOverlap(const API_Box& a, const API_Box& b) {
    return !(a.xMax < b.xMin || a.xMin > b.xMax) && !(a.yMax < b.yMin || a.yMin > b.yMax);
}

bool BoxFinite(const API_Box& b) {
    return std::isfinite(b.xMin) && std::isfinite(b.yMin) && std::isfinite(b.xMax) && std::isfinite(b.yMax);
}

// Double-double arithmetic: a value kept as an unevaluated sum hi + lo, enough for a crossing point of two edges to
// come out within a unit in the last place even where they meet at a shallow angle far from the origin.
struct DD {
    double hi, lo;
};

inline DD QuickTwoSum(double a, double b) {
    const double s = a + b;
    return DD{s, b - (s - a)};
}

inline DD TwoSum(double a, double b) {
    const double s = a + b;
    const double bb = s - a;
    return DD{s, (a - (s - bb)) + (b - bb)};
}

inline DD Add(DD a, DD b) {
    const DD s = TwoSum(a.hi, b.hi);
    return QuickTwoSum(s.hi, s.lo + a.lo + b.lo);
}

inline DD Mul(DD a, DD b) {
    const double p = a.hi * b.hi;
    return QuickTwoSum(p, std::fma(a.hi, b.hi, -p) + (a.hi * b.lo + a.lo * b.hi));
}

inline DD Neg(DD a) { return DD{-a.hi, -a.lo}; }

}  // namespace

uint32_t BuildBounds(const Contour& contour, int32_t id, int type, uint32_t operation, std::vector<API_Coord>& ring,
                     std::vector<Edge>& edges, std::vector<uint32_t>& topKeys, std::vector<Edge*>& bounds,
                     std::vector<double>& ys) {
    const std::vector<API_Coord>& v = contour.points;
    const size_t n = v.size();
    const uint32_t offset = static_cast<uint32_t>(ys.size());  // the ring's first height in ys
    ring.clear();
    // Inner vertices of horizontal runs drop out.
    for (size_t i = 0; i < n; ++i) {
        const size_t prev = i == 0 ? n - 1 : i - 1;
        const size_t next = i + 1 == n ? 0 : i + 1;
        if (v[prev].y != v[i].y || v[next].y != v[i].y) {
            ring.push_back(v[i]);
            ys.push_back(v[i].y);
        }
    }
    const size_t m = ring.size();
    if (m == 0) return 0;
    auto nextIndex = [m](size_t i) { return i + 1 == m ? 0 : i + 1; };
    auto prevIndex = [m](size_t i) { return i == 0 ? m - 1 : i - 1; };
    const uint8_t clipSide = (operation == ScanlineDifference) ? 1 : 0;

    auto makeBound = [&](size_t min, size_t numEdges, bool forward) {
        const size_t first = edges.size();
        size_t at = min;
        for (size_t i = 0; i < numEdges; ++i) {
            edges.emplace_back();
            Edge& e = edges.back();
            e.botX = ring[at].x;
            e.botY = ring[at].y;
            e.botVertex = static_cast<uint32_t>(at);
            at = forward ? nextIndex(at) : prevIndex(at);
            e.topX = ring[at].x;
            e.topY = ring[at].y;
            e.topVertex = static_cast<uint32_t>(at);
            topKeys.push_back(offset + static_cast<uint32_t>(at));
            e.dx = (e.topX - e.botX) / (e.topY - e.botY);
            e.type = static_cast<uint8_t>(type);
            e.hasSucc = i + 1 < numEdges;
            e.contour = id;
            e.bside[CLIP] = clipSide;
            e.outp[ABOVE] = -1;
            e.outp[BELOW] = -1;
            e.node = -1;
        }
        bounds.push_back(&edges[first]);
    };

    // Forward bounds: the ring followed forward for as long as y rises.
    for (size_t min = 0; min < m; ++min) {
        if (ring[prevIndex(min)].y >= ring[min].y && ring[nextIndex(min)].y > ring[min].y) {
            size_t numEdges = 1;
            size_t max = nextIndex(min);
            while (ring[nextIndex(max)].y > ring[max].y) {
                ++numEdges;
                max = nextIndex(max);
            }
            makeBound(min, numEdges, true);
        }
    }
    // Reverse bounds: the ring followed backward.
    for (size_t min = 0; min < m; ++min) {
        if (ring[prevIndex(min)].y > ring[min].y && ring[nextIndex(min)].y >= ring[min].y) {
            size_t numEdges = 1;
            size_t max = prevIndex(min);
            while (ring[prevIndex(max)].y > ring[max].y) {
                ++numEdges;
                max = prevIndex(max);
            }
            makeBound(min, numEdges, false);
        }
    }
    return static_cast<uint32_t>(m);
}

bool CrossingPoint(const Edge* a, const Edge* b, double& x, double& y) {
    const DD dX = TwoSum(a->topX, -a->botX), dY = TwoSum(a->topY, -a->botY);
    const DD eX = TwoSum(b->topX, -b->botX), eY = TwoSum(b->topY, -b->botY);
    const DD fX = TwoSum(b->botX, -a->botX), fY = TwoSum(b->botY, -a->botY);
    const DD den = Add(Mul(dX, eY), Neg(Mul(dY, eX)));
    if (den.hi == 0.0) return false;
    const DD num = Add(Mul(fX, eY), Neg(Mul(fY, eX)));
    const double q = num.hi / den.hi;
    const DD rest = Add(num, Neg(Mul(den, DD{q, 0.0})));
    const DD t = QuickTwoSum(q, rest.hi / den.hi);
    const DD px = Add(DD{a->botX, 0.0}, Mul(t, dX));
    const DD py = Add(DD{a->botY, 0.0}, Mul(t, dY));
    x = px.hi + px.lo;
    y = py.hi + py.lo;
    return std::isfinite(x) && std::isfinite(y);
}

BoxSet::BoxSet(const std::vector<const API_Box*>& boxes) : m_boxes(boxes) {
    for (const API_Box* b : boxes)
        if (!BoxFinite(*b)) m_overlapsAll = true;  // such a box fails every "apart" comparison
    if (!m_boxes.empty() && !m_overlapsAll) Build(0, m_boxes.size());
}

bool BoxSet::AnyOverlap(const API_Box& q) const {
    if (m_boxes.empty()) return false;
    if (m_overlapsAll || !BoxFinite(q)) return true;
    return Query(0, q);
}

int32_t BoxSet::Build(size_t first, size_t last) {
    API_Box box = *m_boxes[first];
    for (size_t i = first + 1; i < last; ++i) {
        const API_Box& b = *m_boxes[i];
        box.xMin = std::min(box.xMin, b.xMin);
        box.yMin = std::min(box.yMin, b.yMin);
        box.xMax = std::max(box.xMax, b.xMax);
        box.yMax = std::max(box.yMax, b.yMax);
    }
    const int32_t index = static_cast<int32_t>(m_nodes.size());
    m_nodes.push_back(Node{box, first, last});
    if (last - first > 4) {
        const bool alongX = (box.xMax - box.xMin) >= (box.yMax - box.yMin);
        const size_t mid = first + (last - first) / 2;
        std::nth_element(m_boxes.begin() + first, m_boxes.begin() + mid, m_boxes.begin() + last,
                         [alongX](const API_Box* a, const API_Box* b) {
                             return alongX ? a->xMin + a->xMax < b->xMin + b->xMax
                                           : a->yMin + a->yMax < b->yMin + b->yMax;
                         });
        const int32_t l = Build(first, mid);
        const int32_t r = Build(mid, last);
        m_nodes[index].left = l;
        m_nodes[index].right = r;
    }
    return index;
}

bool BoxSet::Query(int32_t index, const API_Box& q) const {
    const Node& n = m_nodes[index];
    if (!BoxesOverlap(n.box, q)) return false;
    if (n.left < 0) {
        for (size_t i = n.first; i < n.last; ++i)
            if (BoxesOverlap(*m_boxes[i], q)) return true;
        return false;
    }
    return Query(n.left, q) || Query(n.right, q);
}

}  // namespace Scanline
