#include "geometry/ScanlinePolygons.hpp"

#include <algorithm>
#include <climits>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <new>
#include <queue>
#include <stdexcept>

namespace Scanline {
namespace {

constexpr int ABOVE = 0;
constexpr int BELOW = 1;
constexpr int CLIP = 0;  // the edge type doubles as the index: 0 clip, 1 subject
constexpr int SUBJ = 1;

constexpr int UNBUNDLED = 0;
constexpr int BUNDLE_HEAD = 1;
constexpr int BUNDLE_TAIL = 2;

constexpr int NH = 0;  // no horizontal edge open
constexpr int BH = 1;  // horizontal edge open at the bottom
constexpr int TH = 2;  // horizontal edge open at the top

constexpr double kEpsilon = 2.220446049250313e-16;

// Horizontal state after an edge, by state and column 2 * (exists - 1) + parity.
const int kNextHState[3][6] = {
    {BH, TH, TH, BH, NH, NH},
    {NH, NH, NH, NH, TH, TH},
    {NH, NH, NH, NH, BH, BH},
};

// Vertex classes: top-right + 2 top-left + 4 bottom-right + 8 bottom-left.
enum VertexClass {
    EMX = 1,   // external maximum
    ELI = 2,   // external left intermediate
    ERI = 4,   // external right intermediate
    RED = 5,   // right edge
    IMM = 6,   // internal maximum and minimum
    IMN = 7,   // internal minimum
    EMN = 8,   // external minimum
    EMM = 9,   // external maximum and minimum
    LED = 10,  // left edge
    ILI = 11,  // internal left intermediate
    IRI = 13,  // internal right intermediate
    IMX = 14,  // internal maximum
};

struct Edge {
    double botX, botY, topX, topY;
    double dx;
    int32_t outp[2];                // output contour [above/below], -1 none
    int32_t node;                   // its place in the active list, -1 while not active
    uint32_t dirty;                 // the beam (counted from 1) in which it has to be looked at again
    uint32_t walked;                // the beam in which it was last classified
    uint32_t touched;               // the beam in which its state above changed
    int32_t contour;                // the input contour it belongs to
    uint32_t botVertex, topVertex;  // its ends' places in the contour's ring
    uint8_t type;
    uint8_t hasSucc;       // the next edge of its bound follows it in the edge table
    uint8_t bundle[2][2];  // [above/below][clip/subject]
    uint8_t bside[2];      // [clip/subject]: 0 left, 1 right
    uint8_t bstate[2];     // [above/below]
};

// x of an edge at height y: its own end points exactly, else along its slope.
inline double XAt(const Edge* e, double y) {
    if (y == e->topY) return e->topX;
    if (y == e->botY) return e->botX;
    return e->botX + e->dx * (y - e->botY);
}

// A node of the active list.
struct ListNode {
    Edge* edge;
    int32_t level;
    int32_t link;  // its next and previous node per level at links[link + 2 level] and [+ 1]
};

// The active edges in x order: a skip list whose nodes hold the edges. Swapping edges swaps node contents, so a
// crossing costs nothing in the list; finding the place of a new edge costs the logarithm of the list's length.
// Its nodes and links live in the given vectors.
class ActiveList {
public:
    ActiveList(size_t capacity, std::vector<ListNode>& nodes, std::vector<int32_t>& links)
        : m_nodes(nodes), m_links(links) {
        m_nodes.clear();
        m_links.clear();
        m_nodes.reserve(capacity + 1);
        m_links.reserve(2 * (capacity + 1) + 2 * kLevels);
        NewNode(nullptr, kLevels);  // the head
    }

    Edge* First() const { return EdgeOf(Next(0, 0)); }
    Edge* NextOf(const Edge* e) const { return EdgeOf(Next(e->node, 0)); }
    Edge* PrevOf(const Edge* e) const { return EdgeOf(Prev(e->node, 0)); }

    // Puts e after every active edge that is not greater: x at y, then dx.
    void Insert(Edge* e, double y) {
        const double x = XAt(e, y);
        int32_t update[kLevels];
        int32_t at = 0;
        for (int l = kLevels - 1; l >= 0; --l) {
            for (int32_t n = Next(at, l); n > 0; n = Next(at, l)) {
                const Edge* o = m_nodes[static_cast<size_t>(n)].edge;
                const double ox = XAt(o, y);
                if (x < ox || (x == ox && e->dx < o->dx)) break;
                at = n;
            }
            update[l] = at;
        }
        const int32_t node = NewNode(e, RandomLevel());
        for (int l = 0; l < m_nodes[static_cast<size_t>(node)].level; ++l) {
            const int32_t after = Next(update[l], l);
            Next(node, l) = after;
            Prev(node, l) = update[l];
            Next(update[l], l) = node;
            if (after > 0) Prev(after, l) = node;
        }
        e->node = node;
    }

    void Remove(Edge* e) {
        const int32_t node = e->node;
        for (int l = 0; l < m_nodes[static_cast<size_t>(node)].level; ++l) {
            const int32_t before = Prev(node, l), after = Next(node, l);
            Next(before, l) = after;
            if (after > 0) Prev(after, l) = before;
        }
        e->node = -1;
    }

    // succ takes old's place.
    void Replace(Edge* old, Edge* succ) {
        succ->node = old->node;
        m_nodes[static_cast<size_t>(old->node)].edge = succ;
        old->node = -1;
    }

    // Puts the edges in the places of the given run of edges (which lie side by side), in the order given.
    void Reorder(const std::vector<Edge*>& order, const std::vector<int32_t>& places) {
        for (size_t i = 0; i < order.size(); ++i) {
            order[i]->node = places[i];
            m_nodes[static_cast<size_t>(places[i])].edge = order[i];
        }
    }

private:
    static constexpr int kLevels = 24;
    std::vector<ListNode>& m_nodes;
    std::vector<int32_t>& m_links;
    uint64_t m_seed = 0x9E3779B97F4A7C15ull;

    int32_t Next(int32_t n, int l) const {
        return m_links[static_cast<size_t>(m_nodes[static_cast<size_t>(n)].link + 2 * l)];
    }
    int32_t Prev(int32_t n, int l) const {
        return m_links[static_cast<size_t>(m_nodes[static_cast<size_t>(n)].link + 2 * l + 1)];
    }
    int32_t& Next(int32_t n, int l) {
        return m_links[static_cast<size_t>(m_nodes[static_cast<size_t>(n)].link + 2 * l)];
    }
    int32_t& Prev(int32_t n, int l) {
        return m_links[static_cast<size_t>(m_nodes[static_cast<size_t>(n)].link + 2 * l + 1)];
    }
    Edge* EdgeOf(int32_t n) const { return n > 0 ? m_nodes[static_cast<size_t>(n)].edge : nullptr; }

    int RandomLevel() {
        m_seed ^= m_seed << 13;
        m_seed ^= m_seed >> 7;
        m_seed ^= m_seed << 17;
        int level = 1;
        for (uint64_t bits = m_seed; level < kLevels && (bits & 3u) == 0; bits >>= 2) ++level;
        return level;
    }

    int32_t NewNode(Edge* e, int level) {
        const int32_t link = static_cast<int32_t>(m_links.size());
        m_links.insert(m_links.end(), static_cast<size_t>(2 * level), 0);
        for (int l = 0; l < level; ++l) m_links[static_cast<size_t>(link + 2 * l)] = -1;
        m_nodes.push_back(ListNode{e, level, link});
        return static_cast<int32_t>(m_nodes.size() - 1);
    }
};

struct OutVertex {
    double x, y;
    int32_t next;
};

struct OutPoly {
    int32_t active;  // 1 while open; 0 once merged into another
    int32_t hole;
    int32_t left, right;
    int32_t proxy;  // the contour it has been merged into
};

// Output contours and their vertex lists. Contours are kept in creation order; the output list runs newest first.
// Proxies form a union-find forest whose roots are exactly the contours that are still active.
class Output {
public:
    std::vector<OutVertex>& vertices;
    std::vector<OutPoly>& polys;
    std::vector<API_Coord>& pinches;  // points where a contour was closed and another opened

    Output(std::vector<OutVertex>& v, std::vector<OutPoly>& p, std::vector<API_Coord>& pinch)
        : vertices(v), polys(p), pinches(pinch) {
        vertices.clear();
        polys.clear();
        pinches.clear();
    }

    int32_t Proxy(int32_t c) {
        while (polys[c].proxy != c) {
            polys[c].proxy = polys[polys[c].proxy].proxy;
            c = polys[c].proxy;
        }
        return c;
    }

    int32_t Open(double x, double y) {
        const int32_t v = NewVertex(x, y, -1);
        const int32_t c = static_cast<int32_t>(polys.size());
        polys.push_back(OutPoly{1, 0, v, v, c});
        return c;
    }

    void AddLeft(int32_t c, double x, double y) {
        if (c < 0) return;
        OutPoly& p = polys[Proxy(c)];
        p.left = NewVertex(x, y, p.left);
    }

    void AddRight(int32_t c, double x, double y) {
        if (c < 0) return;
        const int32_t r = Proxy(c);
        const int32_t v = NewVertex(x, y, -1);
        vertices[polys[r].right].next = v;
        polys[r].right = v;
    }

    // Joins p into q: as a hole, p's vertices go before q's; otherwise after them.
    void Join(int32_t p, int32_t q, bool hole) {
        if (p < 0 || q < 0) return;
        const int32_t qp = Proxy(q);
        polys[qp].hole = hole ? 1 : 0;
        const int32_t pp = Proxy(p);
        if (pp == qp) return;
        if (hole) {
            vertices[polys[pp].right].next = polys[qp].left;
            polys[qp].left = polys[pp].left;
        } else {
            vertices[polys[qp].right].next = polys[pp].left;
            polys[qp].right = polys[pp].right;
        }
        polys[pp].active = 0;
        polys[pp].proxy = qp;
    }

private:
    int32_t NewVertex(double x, double y, int32_t next) {
        vertices.push_back(OutVertex{x, y, next});
        return static_cast<int32_t>(vertices.size() - 1);
    }
};

bool BoxesOverlap(const API_Box& a, const API_Box& b) {
    return !(a.xMax < b.xMin || a.xMin > b.xMax) && !(a.yMax < b.yMin || a.yMin > b.yMax);
}

bool BoxFinite(const API_Box& b) {
    return std::isfinite(b.xMin) && std::isfinite(b.yMin) && std::isfinite(b.xMax) && std::isfinite(b.yMax);
}

// Answers "does any box of the set overlap this one" without testing every pair: a hierarchy of boxes over the set,
// split at the median of the centres along the longer side.
class BoxSet {
public:
    explicit BoxSet(const std::vector<const API_Box*>& boxes) : m_boxes(boxes) {
        for (const API_Box* b : boxes)
            if (!BoxFinite(*b)) m_overlapsAll = true;  // such a box fails every "apart" comparison
        if (!m_boxes.empty() && !m_overlapsAll) Build(0, m_boxes.size());
    }

    bool AnyOverlap(const API_Box& q) const {
        if (m_boxes.empty()) return false;
        if (m_overlapsAll || !BoxFinite(q)) return true;
        return Query(0, q);
    }

private:
    struct Node {
        API_Box box;
        size_t first, last;  // range of m_boxes for a leaf
        int32_t left = -1, right = -1;
    };
    std::vector<const API_Box*> m_boxes;
    std::vector<Node> m_nodes;
    bool m_overlapsAll = false;

    int32_t Build(size_t first, size_t last) {
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

    bool Query(int32_t index, const API_Box& q) const {
        const Node& n = m_nodes[index];
        if (!BoxesOverlap(n.box, q)) return false;
        if (n.left < 0) {
            for (size_t i = n.first; i < n.last; ++i)
                if (BoxesOverlap(*m_boxes[i], q)) return true;
            return false;
        }
        return Query(n.left, q) || Query(n.right, q);
    }
};

// Builds the bounds of one contour: its edges go into edges (capacity reserved by the caller, so pointers stay put)
// and the places of their tops' heights in ys into topKeys, the first edge of each bound into bounds, the heights of
// its kept vertices into ys. Returns the number of kept vertices.
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

// Where the lines of edges a and b cross, from their end points; false when they are parallel.
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

// Quadrant combination of the clip and the subject term by operation.
inline int Combine(uint32_t operation, int c, int s) {
    switch (operation) {
        case ScanlineExclusiveOr: return c ^ s;
        case ScanlineUnion: return c || s;
        default: return c && s;
    }
}

// Point against a ring: 1 inside, -1 outside, 0 on its boundary.
int PointInRing(const std::vector<API_Coord>& ring, const std::vector<int32_t>* candidates, double px, double py) {
    const size_t n = ring.size();
    bool inside = false;
    auto test = [&](size_t i) -> int {
        const API_Coord& a = ring[i];
        const API_Coord& b = ring[(i + 1) % n];
        const double cross = (b.x - a.x) * (py - a.y) - (b.y - a.y) * (px - a.x);
        if (cross == 0.0 && px >= std::min(a.x, b.x) && px <= std::max(a.x, b.x) && py >= std::min(a.y, b.y) &&
            py <= std::max(a.y, b.y))
            return 0;
        if ((a.y > py) != (b.y > py)) {
            const double xi = a.x + (py - a.y) * (b.x - a.x) / (b.y - a.y);
            if (px < xi) inside = !inside;
        }
        return 1;
    };
    if (candidates) {
        for (int32_t i : *candidates)
            if (test(static_cast<size_t>(i)) == 0) return 0;
    } else {
        for (size_t i = 0; i < n; ++i)
            if (test(i) == 0) return 0;
    }
    return inside ? 1 : -1;
}

// Signed area (positive counter-clockwise), summed about the first vertex so that large coordinates keep their
// digits.
double RingArea(const std::vector<API_Coord>& ring) {
    double sum = 0.0;
    const size_t n = ring.size();
    if (n < 3) return 0.0;
    const API_Coord o = ring[0];
    for (size_t i = 1; i + 1 < n; ++i) {
        const double ax = ring[i].x - o.x, ay = ring[i].y - o.y;
        const double bx = ring[i + 1].x - o.x, by = ring[i + 1].y - o.y;
        sum += ax * by - bx * ay;
    }
    return 0.5 * sum;
}

// Makes the result contours simple rings, given the points where the sweep saw that they may touch (shared
// vertices, vertices on edges, crossing points used twice). Vertices within tol of such a point take its
// coordinates, and where such a point lies on an edge of another contour (or of a non-adjacent part of the same
// one) it becomes a vertex of that edge too. Where points are then shared, the boundary is traced piece by
// piece: all edges are taken together (outer contours counter-clockwise, holes clockwise: the inside always on the
// left), and at a shared point each incoming edge goes on with the outgoing edge next clockwise from its own way
// back, so that every walk runs tightly around one connected piece of the inside; edges that run both ways between
// two shared points (zero-width spikes) cancel. The walks are cut into simple rings at the shared points they pass
// twice. Rings of no area are left out.
void SimpleRings(std::vector<std::vector<API_Coord>>& rings, std::vector<API_Coord> suspects,
                 std::vector<API_Coord> computed, double tol, std::vector<std::vector<API_Coord>>& simple) {
    auto keep = [&simple](std::vector<API_Coord>&& ring) {
        if (ring.size() < 3) return;
        const API_Box b = PointsBox(ring);
        // Nothing but rounding: a ring whose area is a vanishing part of its box.
        if (std::fabs(RingArea(ring)) > 1e-13 * (b.xMax - b.xMin) * (b.yMax - b.yMin))
            simple.push_back(std::move(ring));
    };
    auto byX = [](const API_Coord& a, const API_Coord& b) { return a.x < b.x || (a.x == b.x && a.y < b.y); };
    if (suspects.empty()) {
        for (std::vector<API_Coord>& ring : rings) keep(std::move(ring));
        return;
    }
    // Computed vertices (crossing points, points of edges under a horizontal edge) closer than tol to each other
    // are suspect too: several pairs of edges may give one point. (One close to an input vertex lies at a beam
    // boundary, where the sweep marked it.)
    {
        std::vector<API_Coord>& all = computed;
        std::sort(all.begin(), all.end(), byX);
        for (size_t i = 1; i < all.size(); ++i)
            for (size_t j = i; j-- > 0 && all[i].x - all[j].x <= tol;)
                if (std::fabs(all[i].y - all[j].y) <= tol) {
                    suspects.push_back(all[i]);
                    suspects.push_back(all[j]);
                }
    }
    // Suspect points, one for every cluster closer than tol.
    std::sort(suspects.begin(), suspects.end(), byX);
    std::vector<API_Coord> points;
    for (const API_Coord& p : suspects) {
        bool merged = false;
        for (size_t k = points.size(); k-- > 0 && p.x - points[k].x <= tol;)
            if (std::fabs(p.y - points[k].y) <= tol) {
                merged = true;
                break;
            }
        if (!merged) points.push_back(p);
    }
    // The suspect point within tol of q, or -1.
    auto find = [&points, tol](const API_Coord& q) -> int32_t {
        auto at = std::lower_bound(points.begin(), points.end(), q.x - tol,
                                   [](const API_Coord& p, double x) { return p.x < x; });
        for (; at != points.end() && at->x <= q.x + tol; ++at)
            if (std::fabs(at->y - q.y) <= tol) return static_cast<int32_t>(at - points.begin());
        return -1;
    };
    std::vector<uint32_t> hits(points.size(), 0);
    for (std::vector<API_Coord>& ring : rings)
        for (API_Coord& v : ring) {
            const int32_t k = points.empty() ? -1 : find(v);
            if (k >= 0) {
                v = points[static_cast<size_t>(k)];
                ++hits[static_cast<size_t>(k)];
            }
        }
    if (std::all_of(hits.begin(), hits.end(), [](uint32_t h) { return h == 0; })) {
        for (std::vector<API_Coord>& ring : rings) keep(std::move(ring));
        return;
    }
    // A suspect point that is a vertex somewhere and lies on an edge elsewhere becomes a vertex of that edge.
    struct Insert {
        uint32_t ring, edge;
        double t;
        uint32_t point;
    };
    std::vector<Insert> inserts;
    for (uint32_t r = 0; r < rings.size(); ++r) {
        const std::vector<API_Coord>& ring = rings[r];
        for (uint32_t i = 0; i < ring.size(); ++i) {
            const API_Coord& a = ring[i];
            const API_Coord& b = ring[(i + 1) % ring.size()];
            auto at = std::lower_bound(points.begin(), points.end(), std::min(a.x, b.x) - tol,
                                       [](const API_Coord& p, double x) { return p.x < x; });
            for (; at != points.end() && at->x <= std::max(a.x, b.x) + tol; ++at) {
                const size_t k = static_cast<size_t>(at - points.begin());
                if (hits[k] == 0 || at->y < std::min(a.y, b.y) - tol || at->y > std::max(a.y, b.y) + tol) continue;
                if ((at->x == a.x && at->y == a.y) || (at->x == b.x && at->y == b.y)) continue;
                const double dx = b.x - a.x, dy = b.y - a.y;
                const double t = ((at->x - a.x) * dx + (at->y - a.y) * dy) / (dx * dx + dy * dy);
                if (!(t > 0.0 && t < 1.0)) continue;
                const double ex = a.x + t * dx - at->x, ey = a.y + t * dy - at->y;
                if (ex * ex + ey * ey <= tol * tol) inserts.push_back(Insert{r, i, t, static_cast<uint32_t>(k)});
            }
        }
    }
    if (!inserts.empty()) {
        std::sort(inserts.begin(), inserts.end(), [](const Insert& a, const Insert& b) {
            return a.ring != b.ring ? a.ring < b.ring : a.edge != b.edge ? a.edge < b.edge : a.t < b.t;
        });
        std::vector<API_Coord> out;
        size_t k = 0;
        for (uint32_t r = 0; r < rings.size() && k < inserts.size(); ++r) {
            if (inserts[k].ring != r) continue;
            out.clear();
            for (uint32_t i = 0; i < rings[r].size(); ++i) {
                out.push_back(rings[r][i]);
                for (; k < inserts.size() && inserts[k].ring == r && inserts[k].edge == i; ++k) {
                    out.push_back(points[inserts[k].point]);
                    ++hits[inserts[k].point];
                }
            }
            rings[r].swap(out);
        }
    }
    // Shared points: suspects that are vertices twice or more (repeats in a row count once).
    std::vector<std::vector<int32_t>> sid(rings.size());
    std::vector<uint32_t> count(points.size(), 0);
    bool shared = false;
    for (size_t r = 0; r < rings.size(); ++r) {
        std::vector<API_Coord>& ring = rings[r];
        // Repeats in a row go.
        size_t w = 0;
        for (size_t i = 0; i < ring.size(); ++i)
            if (w == 0 || ring[i].x != ring[w - 1].x || ring[i].y != ring[w - 1].y) ring[w++] = ring[i];
        while (w > 1 && ring[w - 1].x == ring[0].x && ring[w - 1].y == ring[0].y) --w;
        ring.resize(w);
        sid[r].assign(ring.size(), -1);
        for (size_t i = 0; i < ring.size(); ++i) {
            if (points.empty()) break;
            const int32_t k = find(ring[i]);
            if (k >= 0 && ring[i].x == points[static_cast<size_t>(k)].x &&
                ring[i].y == points[static_cast<size_t>(k)].y) {
                sid[r][i] = k;
                if (++count[static_cast<size_t>(k)] > 1) shared = true;
            }
        }
    }
    if (!shared) {
        for (std::vector<API_Coord>& ring : rings) keep(std::move(ring));
        return;
    }
    for (size_t r = 0; r < rings.size(); ++r)
        for (int32_t& k : sid[r])
            if (k >= 0 && count[static_cast<size_t>(k)] < 2) k = -1;

    // Outgoing edges (ring, index) at each shared point, by angle; edges between shared points that run both
    // ways cancel.
    struct Out {
        uint32_t ring, edge;
        double angle;
    };
    std::vector<std::vector<Out>> outgoing(points.size());
    std::vector<std::vector<char>> used(rings.size());
    struct Between {
        int32_t from, to;
        uint32_t ring, edge;
    };
    std::vector<Between> between;
    for (uint32_t r = 0; r < rings.size(); ++r) {
        const std::vector<API_Coord>& ring = rings[r];
        used[r].assign(ring.size(), 0);
        for (uint32_t i = 0; i < ring.size(); ++i) {
            const int32_t k = sid[r][i];
            if (k < 0) continue;
            const API_Coord& a = ring[i];
            const API_Coord& b = ring[(i + 1) % ring.size()];
            outgoing[static_cast<size_t>(k)].push_back(Out{r, i, std::atan2(b.y - a.y, b.x - a.x)});
            const int32_t to = sid[r][(i + 1) % ring.size()];
            if (to >= 0) between.push_back(Between{k, to, r, i});
        }
    }
    std::sort(between.begin(), between.end(), [](const Between& a, const Between& b) {
        const auto ka = std::minmax(a.from, a.to), kb = std::minmax(b.from, b.to);
        return ka < kb;
    });
    for (size_t i = 0; i < between.size();) {
        size_t j = i;
        const auto key = std::minmax(between[i].from, between[i].to);
        while (j < between.size() && std::minmax(between[j].from, between[j].to) == key) ++j;
        for (size_t a = i; a < j; ++a) {
            if (used[between[a].ring][between[a].edge]) continue;
            for (size_t b = a + 1; b < j; ++b)
                if (!used[between[b].ring][between[b].edge] && between[b].from == between[a].to &&
                    between[b].to == between[a].from) {
                    used[between[a].ring][between[a].edge] = used[between[b].ring][between[b].edge] = 1;
                    break;
                }
        }
        i = j;
    }
    for (std::vector<Out>& o : outgoing)
        std::sort(o.begin(), o.end(), [](const Out& a, const Out& b) { return a.angle < b.angle; });

    std::vector<API_Coord> walk;
    std::vector<int32_t> walkIds, lastAt(points.size(), -1);
    for (uint32_t r0 = 0; r0 < rings.size(); ++r0) {
        for (uint32_t i0 = 0; i0 < rings[r0].size(); ++i0) {
            if (used[r0][i0]) continue;
            walk.clear();
            walkIds.clear();
            uint32_t r = r0, i = i0;
            while (!used[r][i]) {
                used[r][i] = 1;
                const std::vector<API_Coord>& ring = rings[r];
                walk.push_back(ring[i]);
                walkIds.push_back(sid[r][i]);
                const uint32_t j = i + 1 == ring.size() ? 0 : i + 1;
                const int32_t k = sid[r][j];
                if (k < 0) {
                    i = j;
                    continue;
                }
                // At a shared point: the outgoing edge next clockwise from the way back.
                const double back = std::atan2(ring[i].y - ring[j].y, ring[i].x - ring[j].x);
                const std::vector<Out>& o = outgoing[static_cast<size_t>(k)];
                const Out* best = nullptr;
                for (size_t m = o.size(); m-- > 0;)
                    if (!(used[o[m].ring][o[m].edge] && !(o[m].ring == r0 && o[m].edge == i0)) && o[m].angle < back) {
                        best = &o[m];
                        break;
                    }
                if (!best)
                    for (size_t m = o.size(); m-- > 0;)
                        if (!(used[o[m].ring][o[m].edge] && !(o[m].ring == r0 && o[m].edge == i0))) {
                            best = &o[m];
                            break;
                        }
                if (!best) break;
                r = best->ring;
                i = best->edge;
            }
            // Cut the walk into simple rings where it passes a shared point twice.
            std::vector<API_Coord> stack;
            std::vector<int32_t> stackIds;
            std::vector<int32_t> seen;
            for (size_t m = 0; m < walk.size(); ++m) {
                const int32_t k = walkIds[m];
                if (k >= 0 && lastAt[static_cast<size_t>(k)] >= 0) {
                    const size_t from = static_cast<size_t>(lastAt[static_cast<size_t>(k)]);
                    std::vector<API_Coord> loop(stack.begin() + static_cast<std::ptrdiff_t>(from), stack.end());
                    for (size_t q = from + 1; q < stackIds.size(); ++q)
                        if (stackIds[q] >= 0) lastAt[static_cast<size_t>(stackIds[q])] = -1;
                    stack.resize(from + 1);
                    stackIds.resize(from + 1);
                    keep(std::move(loop));
                    continue;
                }
                if (k >= 0) {
                    lastAt[static_cast<size_t>(k)] = static_cast<int32_t>(stack.size());
                    seen.push_back(k);
                }
                stack.push_back(walk[m]);
                stackIds.push_back(k);
            }
            for (int32_t k : seen) lastAt[static_cast<size_t>(k)] = -1;
            keep(std::move(stack));
        }
    }
}

// An outer contour of the result with what the hole placement needs: box, area, and (built on demand) its edges
// bucketed by height so that many point tests against one large contour stay cheap.
struct OuterInfo {
    const std::vector<API_Coord>* ring;
    API_Box box;
    double area;
    int32_t tests = 0;
    double y0 = 0.0, bucketHeight = 0.0;
    std::vector<std::vector<int32_t>> buckets;

    void BuildBuckets() {
        const size_t n = ring->size();
        const size_t count = std::max<size_t>(1, n);
        y0 = box.yMin;
        bucketHeight = (box.yMax - box.yMin) / static_cast<double>(count);
        buckets.assign(count, {});
        for (size_t i = 0; i < n; ++i) {
            const API_Coord& a = (*ring)[i];
            const API_Coord& b = (*ring)[(i + 1) % n];
            const size_t lo = Bucket(std::min(a.y, b.y));
            const size_t hi = Bucket(std::max(a.y, b.y));
            for (size_t k = lo; k <= hi; ++k) buckets[k].push_back(static_cast<int32_t>(i));
        }
    }

    size_t Bucket(double y) const {
        if (!(bucketHeight > 0.0)) return 0;
        const double k = std::floor((y - y0) / bucketHeight);
        if (!(k > 0.0)) return 0;
        return std::min(buckets.size() - 1, static_cast<size_t>(k));
    }

    int Classify(double px, double py) {
        if (px < box.xMin || px > box.xMax || py < box.yMin || py > box.yMax) return -1;
        if (buckets.empty() && ++tests > 8 && ring->size() > 64) BuildBuckets();
        if (buckets.empty()) return PointInRing(*ring, nullptr, px, py);
        // Every edge whose height range holds py sits in py's bucket.
        return PointInRing(*ring, &buckets[Bucket(py)], px, py);
    }
};

// Whether a hole lies inside an outer contour: decided by the first midpoint of a hole edge (then vertex) that is not
// on the outer contour's boundary; a hole lying wholly on that boundary counts as inside.
bool HoleInside(const std::vector<API_Coord>& hole, OuterInfo& outer) {
    const size_t n = hole.size();
    for (size_t i = 0; i < n; ++i) {
        const API_Coord& a = hole[i];
        const API_Coord& b = hole[(i + 1) % n];
        const int r = outer.Classify(0.5 * (a.x + b.x), 0.5 * (a.y + b.y));
        if (r != 0) return r > 0;
    }
    for (const API_Coord& p : hole) {
        const int r = outer.Classify(p.x, p.y);
        if (r != 0) return r > 0;
    }
    return true;
}

bool BoxInside(const API_Box& inner, const API_Box& outer) {
    return inner.xMin >= outer.xMin && inner.xMax <= outer.xMax && inner.yMin >= outer.yMin && inner.yMax <= outer.yMax;
}

// Groups the result contours (in output-list order): every contour that is not a hole starts a group; a hole joins
// the group of the smallest outer contour that holds it, else the last group before it, else starts a group.
void GroupContours(std::vector<OutContour>& contours, std::vector<Group>& groups) {
    const size_t n = contours.size();
    std::vector<API_Box> boxes(n);
    for (size_t i = 0; i < n; ++i) boxes[i] = PointsBox(contours[i].points);

    std::vector<OuterInfo> outers;
    std::vector<size_t> outerContour;
    for (size_t i = 0; i < n; ++i) {
        if (contours[i].hole) continue;
        OuterInfo info;
        info.ring = &contours[i].points;
        info.box = boxes[i];
        info.area = std::fabs(RingArea(contours[i].points));
        outers.push_back(std::move(info));
        outerContour.push_back(i);
    }
    // Outer contours by the left side of their box: only those at or left of a hole's left side can hold it.
    std::vector<int32_t> byX(outers.size());
    for (size_t k = 0; k < outers.size(); ++k) byX[k] = static_cast<int32_t>(k);
    std::sort(byX.begin(), byX.end(),
              [&outers](int32_t a, int32_t b) { return outers[a].box.xMin < outers[b].box.xMin; });

    std::vector<int32_t> container(n, -1);
    for (size_t i = 0; i < n; ++i) {
        if (!contours[i].hole) continue;
        const auto end = std::upper_bound(byX.begin(), byX.end(), boxes[i].xMin,
                                          [&outers](double x, int32_t k) { return x < outers[k].box.xMin; });
        for (auto at = byX.begin(); at != end; ++at) {
            OuterInfo& o = outers[*at];
            if (!BoxInside(boxes[i], o.box)) continue;
            if (container[i] >= 0 && o.area >= outers[container[i]].area) continue;
            if (HoleInside(contours[i].points, o)) container[i] = *at;
        }
    }

    std::vector<int32_t> groupOf(n, -1);
    std::vector<char> head(n, 0);
    int32_t groupCount = 0;
    int32_t lastGroup = -1;
    for (size_t i = 0; i < n; ++i) {
        if (!contours[i].hole || (container[i] < 0 && lastGroup < 0)) {
            groupOf[i] = lastGroup = groupCount++;
            head[i] = 1;
        } else if (container[i] < 0) {
            groupOf[i] = lastGroup;
        }
    }
    for (size_t i = 0; i < n; ++i)
        if (container[i] >= 0) groupOf[i] = groupOf[outerContour[container[i]]];

    groups.assign(static_cast<size_t>(groupCount), Group{});
    for (size_t i = 0; i < n; ++i)
        if (head[i]) groups[groupOf[i]].push_back(std::move(contours[i]));
    for (size_t i = 0; i < n; ++i)
        if (!head[i]) groups[groupOf[i]].push_back(std::move(contours[i]));
}

// Classifies an active edge at the beam bottom yb and acts on the output: parity and horiz are the states left
// of it, updated to the states right of it; cf is the contour carried along the beam bottom, px the remembered x.
void Classify(uint32_t op, Edge* edge, double yb, int parity[2], int horiz[2], const int exists[2], int32_t& cf,
              double& px, Output& out) {
    int contributing;
    switch (op) {
        case ScanlineExclusiveOr: contributing = exists[CLIP] || exists[SUBJ]; break;
        case ScanlineUnion:
            contributing = (exists[CLIP] && (!parity[SUBJ] || horiz[SUBJ])) ||
                (exists[SUBJ] && (!parity[CLIP] || horiz[CLIP])) ||
                (exists[CLIP] && exists[SUBJ] && parity[CLIP] == parity[SUBJ]);
            break;
        default:
            contributing = (exists[CLIP] && (parity[SUBJ] || horiz[SUBJ])) ||
                (exists[SUBJ] && (parity[CLIP] || horiz[CLIP])) ||
                (exists[CLIP] && exists[SUBJ] && parity[CLIP] == parity[SUBJ]);
            break;
    }
    const int hc = horiz[CLIP] != NH;
    const int hs = horiz[SUBJ] != NH;
    const int br = Combine(op, parity[CLIP], parity[SUBJ]);
    const int bl = Combine(op, parity[CLIP] ^ edge->bundle[ABOVE][CLIP], parity[SUBJ] ^ edge->bundle[ABOVE][SUBJ]);
    const int tr = Combine(op, parity[CLIP] ^ hc, parity[SUBJ] ^ hs);
    const int tl =
        Combine(op, parity[CLIP] ^ hc ^ edge->bundle[BELOW][CLIP], parity[SUBJ] ^ hs ^ edge->bundle[BELOW][SUBJ]);

    parity[CLIP] ^= edge->bundle[ABOVE][CLIP];
    parity[SUBJ] ^= edge->bundle[ABOVE][SUBJ];
    if (exists[CLIP]) horiz[CLIP] = kNextHState[horiz[CLIP]][((exists[CLIP] - 1) << 1) + parity[CLIP]];
    if (exists[SUBJ]) horiz[SUBJ] = kNextHState[horiz[SUBJ]][((exists[SUBJ] - 1) << 1) + parity[SUBJ]];

    if (!contributing) return;
    const double xb = XAt(edge, yb);
    const int vclass = tr + (tl << 1) + (br << 2) + (bl << 3);
    if (vclass == IMM || vclass == EMM) out.pinches.push_back(API_Coord{XAt(edge, yb), yb});
    switch (vclass) {
        case EMN:
        case IMN:
            edge->outp[ABOVE] = cf = out.Open(xb, yb);
            px = xb;
            break;
        case ERI:
            if (xb != px) {
                out.AddRight(cf, xb, yb);
                px = xb;
            }
            edge->outp[ABOVE] = cf;
            cf = -1;
            break;
        case ELI:
            out.AddLeft(edge->outp[BELOW], xb, yb);
            px = xb;
            cf = edge->outp[BELOW];
            break;
        case EMX:
            if (xb != px) {
                out.AddLeft(cf, xb, yb);
                px = xb;
            }
            out.Join(cf, edge->outp[BELOW], false);
            cf = -1;
            break;
        case ILI:
            if (xb != px) {
                out.AddLeft(cf, xb, yb);
                px = xb;
            }
            edge->outp[ABOVE] = cf;
            cf = -1;
            break;
        case IRI:
            out.AddRight(edge->outp[BELOW], xb, yb);
            px = xb;
            cf = edge->outp[BELOW];
            edge->outp[BELOW] = -1;
            break;
        case IMX:
            if (xb != px) {
                out.AddRight(cf, xb, yb);
                px = xb;
            }
            out.Join(cf, edge->outp[BELOW], true);
            cf = -1;
            edge->outp[BELOW] = -1;
            break;
        case IMM:
            if (xb != px) {
                out.AddRight(cf, xb, yb);
                px = xb;
            }
            out.Join(cf, edge->outp[BELOW], true);
            edge->outp[BELOW] = -1;
            edge->outp[ABOVE] = cf = out.Open(xb, yb);
            break;
        case EMM:
            if (xb != px) {
                out.AddLeft(cf, xb, yb);
                px = xb;
            }
            out.Join(cf, edge->outp[BELOW], false);
            edge->outp[BELOW] = -1;
            edge->outp[ABOVE] = cf = out.Open(xb, yb);
            break;
        case LED:
            if (edge->botY == yb) out.AddLeft(edge->outp[BELOW], xb, yb);
            edge->outp[ABOVE] = edge->outp[BELOW];
            px = xb;
            break;
        case RED:
            if (edge->botY == yb) out.AddRight(edge->outp[BELOW], xb, yb);
            edge->outp[ABOVE] = edge->outp[BELOW];
            px = xb;
            break;
        default: break;
    }
}

// Acts on a crossing of neighbours e0 (left) and e1 at (ix, iy) and swaps their bundle sides.
void Cross(uint32_t op, Edge* e0, Edge* e1, double ix, double iy, Output& out) {
    if ((e0->bundle[ABOVE][CLIP] || e0->bundle[ABOVE][SUBJ]) && (e1->bundle[ABOVE][CLIP] || e1->bundle[ABOVE][SUBJ])) {
        const int32_t p = e0->outp[ABOVE];
        const int32_t q = e1->outp[ABOVE];
        int inside[2];
        for (int t = 0; t < 2; ++t)
            inside[t] = (e0->bundle[ABOVE][t] && !e0->bside[t]) || (e1->bundle[ABOVE][t] && e1->bside[t]) ||
                (!e0->bundle[ABOVE][t] && !e1->bundle[ABOVE][t] && e0->bside[t] && e1->bside[t]);
        const int tr = Combine(op, inside[CLIP], inside[SUBJ]);
        const int tl = Combine(op, inside[CLIP] ^ e1->bundle[ABOVE][CLIP], inside[SUBJ] ^ e1->bundle[ABOVE][SUBJ]);
        const int br = Combine(op, inside[CLIP] ^ e0->bundle[ABOVE][CLIP], inside[SUBJ] ^ e0->bundle[ABOVE][SUBJ]);
        const int bl = Combine(op, inside[CLIP] ^ e1->bundle[ABOVE][CLIP] ^ e0->bundle[ABOVE][CLIP],
                               inside[SUBJ] ^ e1->bundle[ABOVE][SUBJ] ^ e0->bundle[ABOVE][SUBJ]);
        const int vclass = tr + (tl << 1) + (br << 2) + (bl << 3);
        if (vclass == IMM || vclass == EMM) out.pinches.push_back(API_Coord{ix, iy});
        switch (vclass) {
            case EMN:
            case IMN:
                e0->outp[ABOVE] = out.Open(ix, iy);
                e1->outp[ABOVE] = e0->outp[ABOVE];
                break;
            case ERI:
                if (p >= 0) {
                    out.AddRight(p, ix, iy);
                    e1->outp[ABOVE] = p;
                    e0->outp[ABOVE] = -1;
                }
                break;
            case ELI:
                if (q >= 0) {
                    out.AddLeft(q, ix, iy);
                    e0->outp[ABOVE] = q;
                    e1->outp[ABOVE] = -1;
                }
                break;
            case EMX:
                if (p >= 0 && q >= 0) {
                    out.AddLeft(p, ix, iy);
                    out.Join(p, q, false);
                    e0->outp[ABOVE] = -1;
                    e1->outp[ABOVE] = -1;
                }
                break;
            case ILI:
                if (p >= 0) {
                    out.AddLeft(p, ix, iy);
                    e1->outp[ABOVE] = p;
                    e0->outp[ABOVE] = -1;
                }
                break;
            case IRI:
                if (q >= 0) {
                    out.AddRight(q, ix, iy);
                    e0->outp[ABOVE] = q;
                    e1->outp[ABOVE] = -1;
                }
                break;
            case IMX:
                if (p >= 0 && q >= 0) {
                    out.AddRight(p, ix, iy);
                    out.Join(p, q, true);
                    e0->outp[ABOVE] = -1;
                    e1->outp[ABOVE] = -1;
                }
                break;
            case IMM:
                if (p >= 0 && q >= 0) {
                    out.AddRight(p, ix, iy);
                    out.Join(p, q, true);
                    e0->outp[ABOVE] = out.Open(ix, iy);
                    e1->outp[ABOVE] = e0->outp[ABOVE];
                }
                break;
            case EMM:
                if (p >= 0 && q >= 0) {
                    out.AddLeft(p, ix, iy);
                    out.Join(p, q, false);
                    e0->outp[ABOVE] = out.Open(ix, iy);
                    e1->outp[ABOVE] = e0->outp[ABOVE];
                }
                break;
            default: break;
        }
    }

    // Crossing swaps the bundle sides...
    if (e0->bundle[ABOVE][CLIP]) e1->bside[CLIP] = !e1->bside[CLIP];
    if (e1->bundle[ABOVE][CLIP]) e0->bside[CLIP] = !e0->bside[CLIP];
    if (e0->bundle[ABOVE][SUBJ]) e1->bside[SUBJ] = !e1->bside[SUBJ];
    if (e1->bundle[ABOVE][SUBJ]) e0->bside[SUBJ] = !e0->bside[SUBJ];
}

// The sweep's large working arrays. They stay with the thread from one clip to the next (up to a limit), so that
// a run of large clips does not take fresh pages from the system, and fault them in, every time.
struct Workspace {
    std::vector<Edge> edges;
    std::vector<Edge*> lmt, byTop;
    std::vector<double> sbt, ys;
    std::vector<uint32_t> topKeys, ringSizes;
    std::vector<API_Coord> ring, pinches;
    std::vector<std::pair<uint64_t, uint32_t>> heights, spare;
    std::vector<uint32_t> heightRank, topStart, topHeight, fill, count;
    std::vector<ListNode> nodes;
    std::vector<int32_t> links;
    std::vector<OutVertex> vertices;
    std::vector<OutPoly> polys;

    size_t Bytes() const {
        return edges.capacity() * sizeof(Edge) + (lmt.capacity() + byTop.capacity()) * sizeof(Edge*) +
            (sbt.capacity() + ys.capacity()) * sizeof(double) +
            (ring.capacity() + pinches.capacity()) * sizeof(API_Coord) +
            (heights.capacity() + spare.capacity()) * sizeof(heights[0]) +
            (heightRank.capacity() + topStart.capacity() + topHeight.capacity() + fill.capacity() + count.capacity() +
             topKeys.capacity() + ringSizes.capacity()) *
            sizeof(uint32_t) +
            nodes.capacity() * sizeof(ListNode) + links.capacity() * sizeof(int32_t) +
            vertices.capacity() * sizeof(OutVertex) + polys.capacity() * sizeof(OutPoly);
    }
};

// The calling thread's workspace; after a clip, one that has grown past 64 MB is given back.
Workspace& ThreadWorkspace(bool release = false) {
    static thread_local Workspace kept;
    if (release && kept.Bytes() > (size_t(64) << 20)) kept = Workspace();
    return kept;
}

// The sweep. Beams run between the distinct vertex heights; in each beam only what changes is visited: edges that
// start, end or hand over to their successor at its bottom, the edges at their x (bundles, vertices on edges), the
// edges under a horizontal edge there, and the neighbours that cross inside the beam. An edge that just passes
// through keeps its x along its slope, its parities and its output contour untouched; crossings are found between
// neighbours when they become neighbours and queued by height, so a beam costs the logarithm of the active list's
// length for each change in it.
bool Sweep(const std::vector<Contour>& subject, uint32_t op, const std::vector<Contour>& clip,
           std::vector<Group>& groups) {
    const size_t ns = subject.size();
    const size_t nc = clip.size();
    if ((ns == 0 && nc == 0) || (ns == 0 && (op == ScanlineDifference || op == ScanlineIntersection)) ||
        (nc == 0 && op == ScanlineIntersection))
        return true;

    // Contours whose box meets nothing of the other input take no part.
    std::vector<char> skipSubject(ns, 0);
    std::vector<char> skipClip(nc, 0);
    if ((op == ScanlineDifference || op == ScanlineIntersection) && ns > 0 && nc > 0) {
        std::vector<const API_Box*> sb, cb;
        for (const Contour& c : subject) sb.push_back(&c.box);
        for (const Contour& c : clip) cb.push_back(&c.box);
        const BoxSet subjectBoxes(sb);
        for (size_t c = 0; c < nc; ++c)
            if (!subjectBoxes.AnyOverlap(clip[c].box)) skipClip[c] = 1;
        if (op == ScanlineIntersection) {
            const BoxSet clipBoxes(cb);
            for (size_t s = 0; s < ns; ++s)
                if (!clipBoxes.AnyOverlap(subject[s].box)) skipSubject[s] = 1;
        }
    }

    // Edge tables, subject first.
    size_t total = 0;
    for (size_t s = 0; s < ns; ++s)
        if (!skipSubject[s]) total += subject[s].points.size();
    for (size_t c = 0; c < nc; ++c)
        if (!skipClip[c]) total += clip[c].points.size();
    Workspace& w = ThreadWorkspace();
    std::vector<Edge>& edges = w.edges;
    edges.clear();
    edges.reserve(total);
    std::vector<Edge*>& lmt = w.lmt;
    lmt.clear();
    std::vector<double>& sbt = w.sbt;
    sbt.clear();
    sbt.reserve(total);
    std::vector<API_Coord>& ring = w.ring;
    std::vector<uint32_t>& topKeys = w.topKeys;
    topKeys.clear();
    topKeys.reserve(total);
    std::vector<uint32_t>& ringSizes = w.ringSizes;  // kept vertices by contour
    ringSizes.assign(ns + nc, 0);
    for (size_t s = 0; s < ns; ++s)
        if (!skipSubject[s])
            ringSizes[s] = BuildBounds(subject[s], static_cast<int32_t>(s), SUBJ, op, ring, edges, topKeys, lmt, sbt);
    for (size_t c = 0; c < nc; ++c)
        if (!skipClip[c])
            ringSizes[ns + c] =
                BuildBounds(clip[c], static_cast<int32_t>(ns + c), CLIP, op, ring, edges, topKeys, lmt, sbt);
    if (lmt.empty()) return true;

    // Local minima by height, and within a height by bottom x then dx; equal bounds keep their order.
    std::stable_sort(lmt.begin(), lmt.end(), [](const Edge* a, const Edge* b) {
        if (a->botY != b->botY) return a->botY < b->botY;
        if (a->botX != b->botX) return a->botX < b->botX;
        return a->dx < b->dx;
    });
    // Distinct heights ascending (the first of equal values kept, as -0.0 and 0.0 are one height), and the place
    // of each vertex's height among them.
    // Sorted by a radix sort of the heights' bits (ordered as integers: negative ones flipped), equal ones in their
    // first order.
    std::vector<std::pair<uint64_t, uint32_t>>& heights = w.heights;
    std::vector<std::pair<uint64_t, uint32_t>>& spare = w.spare;
    heights.resize(sbt.size());
    for (size_t i = 0; i < sbt.size(); ++i) {
        const double y = sbt[i] == 0.0 ? 0.0 : sbt[i];  // -0.0 sorts as 0.0
        uint64_t bits;
        std::memcpy(&bits, &y, sizeof bits);
        bits = (bits >> 63) ? ~bits : bits | (uint64_t(1) << 63);
        heights[i] = {bits, static_cast<uint32_t>(i)};
    }
    {
        // Digits of 16 bits for many heights, of 8 for few (the tables would cost more than the sorting).
        const int bits = heights.size() < 8192 ? 8 : 16;
        const uint64_t mask = (uint64_t(1) << bits) - 1;
        std::vector<uint32_t>& count = w.count;
        spare.resize(heights.size());
        for (int shift = 0; !heights.empty() && shift < 64; shift += bits) {
            count.assign(mask + 2, 0);
            for (const auto& h : heights) ++count[((h.first >> shift) & mask) + 1];
            if (count[((heights[0].first >> shift) & mask) + 1] == heights.size()) continue;  // one digit for all
            for (size_t k = 0; k <= mask; ++k) count[k + 1] += count[k];
            for (const auto& h : heights) spare[count[(h.first >> shift) & mask]++] = h;
            heights.swap(spare);
        }
    }
    std::vector<uint32_t>& heightRank = w.heightRank;
    heightRank.resize(sbt.size());
    std::vector<double>& ys = w.ys;
    ys.clear();
    ys.swap(sbt);
    for (const auto& h : heights) {
        const double y = ys[h.second];
        if (sbt.empty() || y != sbt.back()) sbt.push_back(y);
        heightRank[h.second] = static_cast<uint32_t>(sbt.size() - 1);
    }

    Output out(w.vertices, w.polys, w.pinches);
    out.vertices.reserve(total);
    const int initialParity[2] = {op == ScanlineDifference ? 1 : 0, 0};

    // Edges by the height of their top (its place in the table of heights): there they hand over to their
    // successor or leave.
    std::vector<uint32_t>& topStart = w.topStart;
    topStart.assign(sbt.size() + 1, 0);
    std::vector<uint32_t>& topHeight = w.topHeight;
    topHeight.resize(edges.size());
    for (size_t i = 0; i < edges.size(); ++i) {
        topHeight[i] = heightRank[topKeys[i]];
        ++topStart[topHeight[i] + 1];
    }
    for (size_t k = 0; k < sbt.size(); ++k) topStart[k + 1] += topStart[k];
    std::vector<Edge*>& byTop = w.byTop;
    byTop.resize(edges.size());
    {
        std::vector<uint32_t>& fill = w.fill;
        fill.assign(topStart.begin(), topStart.end() - 1);
        for (size_t i = 0; i < edges.size(); ++i) byTop[fill[topHeight[i]]++] = &edges[i];
    }

    ActiveList aet(edges.size(), w.nodes, w.links);
    size_t localMin = 0;

    // Distances this small are rounding of the coordinates: edges or crossings that close may touch.
    double magnitude = 0.0;
    for (const Edge& e : edges)
        magnitude = std::max({magnitude, std::fabs(e.botX), std::fabs(e.botY), std::fabs(e.topX), std::fabs(e.topY)});
    const double near = std::max(kEpsilon, 2.0 * kEpsilon * magnitude);
    std::vector<API_Coord> suspects;  // points where the result may touch itself
    std::vector<API_Coord> computed;  // result vertices that are not input vertices
    std::vector<API_Coord> crossings;

    // Crossing candidates: pairs of neighbouring edges (bundle heads or single edges) and the height where they
    // cross, nearest first (equal heights in the order found).
    struct Candidate {
        double y;
        uint64_t order;
        Edge* left;
        Edge* right;
        bool operator>(const Candidate& o) const { return y > o.y || (y == o.y && order > o.order); }
    };
    std::priority_queue<Candidate, std::vector<Candidate>, std::greater<Candidate>> candidates;
    uint64_t found = 0;

    auto isTail = [](const Edge* e) { return e->bstate[ABOVE] == BUNDLE_TAIL; };
    // The bundle head or single edge next to the right of e's bundle, and the one before e's tails.
    auto nextRep = [&](const Edge* e) {
        Edge* n = aet.NextOf(e);
        while (n && isTail(n)) n = aet.NextOf(n);
        return n;
    };
    auto prevRep = [&](const Edge* e) {
        Edge* p = aet.PrevOf(e);
        while (p && isTail(p)) p = aet.PrevOf(p);
        return p;
    };
    // Queues the crossing of two neighbours, seen from height y, when they come together above it.
    auto consider = [&](Edge* l, Edge* r, double y) {
        if (!l || !r || isTail(l) || isTail(r)) return;
        const double gap = XAt(r, y) - XAt(l, y);
        double at;
        if (gap <= 0.0) {
            at = y;  // already out of order: cross at once
        } else {
            if (!(l->dx > r->dx)) return;
            at = y + gap / (l->dx - r->dx);
        }
        const double top = std::min(l->topY, r->topY);
        if (!(at < top)) {
            // One of them ends first; unless they are out of order where it ends: then the crossing lies within
            // rounding of that height, and it is taken just below.
            if (!(XAt(r, top) < XAt(l, top))) return;
            at = std::nextafter(top, -DBL_MAX);
        }
        candidates.push(Candidate{at, found++, l, r});
    };

    uint32_t beamMark = 0;
    std::vector<Edge*> dirty, touched, runStarts, group0, group1, order;
    std::vector<int32_t> places;
    auto markDirty = [&](Edge* e, uint32_t mark) {
        if (e->dirty != mark) {
            e->dirty = mark;
            if (mark == beamMark) dirty.push_back(e);
        }
    };
    std::vector<Edge*> nextDirty;  // edges to look at in the next beam

    for (size_t beam = 0; beam < sbt.size(); ++beam) {
        const double yb = sbt[beam];
        const bool lastBeam = beam + 1 == sbt.size();
        const double yt = lastBeam ? yb : sbt[beam + 1];
        const double dy = yt - yb;
        beamMark = static_cast<uint32_t>(beam + 1);
        dirty.clear();
        touched.clear();
        for (Edge* e : nextDirty)
            if (e->node >= 0) markDirty(e, beamMark);
        nextDirty.clear();

        // Bounds starting here join the active list.
        for (; localMin < lmt.size() && lmt[localMin]->botY == yb; ++localMin) {
            aet.Insert(lmt[localMin], yb);
            markDirty(lmt[localMin], beamMark);
        }

        // Edges at the same x as a changed one may form bundles with it or lie on its vertex: they are looked at
        // too.
        // Such an edge of another contour, or one that does not share the vertex, is a place where the result
        // may touch itself.
        auto sameVertex = [yb, &ringSizes](const Edge* a, const Edge* b) {
            if (a->contour != b->contour) return false;
            // Their ends at yb: one vertex of the ring, or two neighbours in it at one point.
            const uint32_t i = a->botY == yb ? a->botVertex : a->topVertex;
            const uint32_t j = b->botY == yb ? b->botVertex : b->topVertex;
            const bool atA = a->botY == yb || a->topY == yb, atB = b->botY == yb || b->topY == yb;
            const double xa = a->botY == yb ? a->botX : a->topX, xb = b->botY == yb ? b->botX : b->topX;
            const uint32_t d = i > j ? i - j : j - i;
            return atA && atB && xa == xb && (d <= 1 || d + 1 == ringSizes[static_cast<size_t>(a->contour)]);
        };
        // Close: within rounding of the coordinates, across the edge (a flat edge passes a point at a larger
        // distance along the beam).
        auto closeTo = [yb, near](const Edge* o, double x) {
            const double gap = std::fabs(XAt(o, yb) - x);
            // 1 + |dx| bounds the root from above: most edges are ruled out without it.
            return gap <= near * (1.0 + std::fabs(o->dx)) && gap <= near * std::sqrt(1.0 + o->dx * o->dx);
        };
        for (size_t i = 0; i < dirty.size(); ++i) {
            Edge* e = dirty[i];
            const double x = XAt(e, yb);
            for (Edge* p = aet.PrevOf(e); p && closeTo(p, x); p = aet.PrevOf(p)) {
                if (!sameVertex(e, p)) suspects.push_back(API_Coord{x, yb});
                markDirty(p, beamMark);
            }
            for (Edge* n = aet.NextOf(e); n && closeTo(n, x); n = aet.NextOf(n)) {
                if (!sameVertex(e, n)) suspects.push_back(API_Coord{x, yb});
                markDirty(n, beamMark);
            }
        }

        // Runs of changed edges: their bundles are formed again.
        runStarts.clear();
        for (Edge* e : dirty) {
            Edge* p = aet.PrevOf(e);
            if (!p || p->dirty != beamMark) runStarts.push_back(e);
        }
        for (Edge* start : runStarts) {
            Edge* e0 = start;
            for (Edge* e = start; e && e->dirty == beamMark; e = aet.NextOf(e)) {
                const int t = e->type;
                e->bundle[ABOVE][t] = (e->topY != yb);
                e->bundle[ABOVE][!t] = 0;
                e->bstate[ABOVE] = UNBUNDLED;
                if (e == start || !e->bundle[ABOVE][t]) continue;
                if (std::fabs(XAt(e0, yb) - XAt(e, yb)) <= kEpsilon && std::fabs(e0->dx - e->dx) <= kEpsilon &&
                    e0->topY != yb) {
                    e->bundle[ABOVE][t] ^= e0->bundle[ABOVE][t];
                    e->bundle[ABOVE][!t] = e0->bundle[ABOVE][!t];
                    e->bstate[ABOVE] = BUNDLE_HEAD;
                    e0->bundle[ABOVE][CLIP] = 0;
                    e0->bundle[ABOVE][SUBJ] = 0;
                    e0->bstate[ABOVE] = BUNDLE_TAIL;
                }
                e0 = e;
            }
        }

        // Classification, run by run from the left, each carried on over unchanged edges while a horizontal edge
        // or a result contour along the beam bottom is open.
        std::sort(runStarts.begin(), runStarts.end(),
                  [yb](const Edge* a, const Edge* b) { return XAt(a, yb) < XAt(b, yb); });
        for (Edge* start : runStarts) {
            if (start->walked == beamMark) continue;
            int parity[2] = {initialParity[CLIP], initialParity[SUBJ]};
            Edge* left = aet.PrevOf(start);
            while (left && !left->bundle[ABOVE][CLIP] && !left->bundle[ABOVE][SUBJ] && !left->bundle[BELOW][CLIP] &&
                   !left->bundle[BELOW][SUBJ])
                left = aet.PrevOf(left);
            if (left) {
                parity[CLIP] = left->bside[CLIP] ^ left->bundle[ABOVE][CLIP];
                parity[SUBJ] = left->bside[SUBJ] ^ left->bundle[ABOVE][SUBJ];
            }
            int horiz[2] = {NH, NH};
            int32_t cf = -1;
            double px = -DBL_MAX;
            double openX = -DBL_MAX;  // where the open horizontal edges began
            for (Edge* edge = start; edge; edge = aet.NextOf(edge)) {
                if (edge->dirty != beamMark && horiz[CLIP] == NH && horiz[SUBJ] == NH && cf < 0) break;
                edge->walked = beamMark;
                if (edge->touched != beamMark) {
                    edge->touched = beamMark;
                    touched.push_back(edge);
                }
                edge->outp[ABOVE] = -1;
                int exists[2];
                exists[CLIP] = edge->bundle[ABOVE][CLIP] + (edge->bundle[BELOW][CLIP] << 1);
                exists[SUBJ] = edge->bundle[ABOVE][SUBJ] + (edge->bundle[BELOW][SUBJ] << 1);
                if (!exists[CLIP] && !exists[SUBJ]) continue;
                edge->bside[CLIP] = parity[CLIP];
                edge->bside[SUBJ] = parity[SUBJ];
                const bool open = horiz[CLIP] != NH || horiz[SUBJ] != NH;
                const size_t before = out.vertices.size();
                Classify(op, edge, yb, parity, horiz, exists, cf, px, out);
                if (out.vertices.size() != before && edge->botY != yb && edge->topY != yb)
                    computed.push_back(API_Coord{XAt(edge, yb), yb});
                // A vertex on a horizontal edge (or at its far end): the result may touch itself there. (A
                // horizontal edge of no length, as a ring's repeated first vertex makes, is none.)
                const double x = XAt(edge, yb);
                if (open && (edge->botY == yb || edge->topY == yb) && x != openX) suspects.push_back(API_Coord{x, yb});
                if (!open) openX = x;
            }
        }

        // Edges ending here leave.
        for (Edge* edge : dirty) {
            if (edge->topY != yb || edge->node < 0) continue;
            Edge* prev = aet.PrevOf(edge);
            Edge* next = aet.NextOf(edge);
            // A leaving bundle head hands its contour below to the tail before it.
            if (edge->bstate[BELOW] == BUNDLE_HEAD && prev && prev->bstate[BELOW] == BUNDLE_TAIL) {
                prev->outp[BELOW] = edge->outp[BELOW];
                prev->bstate[BELOW] = UNBUNDLED;
                Edge* pp = aet.PrevOf(prev);
                if (pp && pp->bstate[BELOW] == BUNDLE_TAIL) prev->bstate[BELOW] = BUNDLE_HEAD;
            }
            aet.Remove(edge);
            // The bundles on either side of the gap become neighbours (a tail goes with the head after it; a tail
            // on the left means that the gap was inside one bundle).
            if (prev && next && !isTail(prev)) consider(prev, isTail(next) ? nextRep(next) : next, yb);
        }
        if (lastBeam) break;

        // New neighbours around the changed edges may cross within the beam or later.
        for (Edge* e : dirty) {
            if (e->node < 0 || isTail(e)) continue;
            consider(prevRep(e), e, yb);
            consider(e, nextRep(e), yb);
        }

        // Crossings inside the beam, lowest first.
        while (!candidates.empty() && candidates.top().y < yt) {
            const Candidate c = candidates.top();
            candidates.pop();
            Edge* e0 = c.left;
            Edge* e1 = c.right;
            if (e0->node < 0 || e1->node < 0 || isTail(e0) || isTail(e1) || nextRep(e0) != e1) continue;
            const double xb0 = XAt(e0, yb), xt0 = XAt(e0, yt), xb1 = XAt(e1, yb), xt1 = XAt(e1, yt);
            const double den = (xt0 - xb0) - (xt1 - xb1);
            if (!(xt1 < xt0) || e1->dx == e0->dx || std::fabs(den) <= kEpsilon) {
                // Not within this beam after all (a pair that one edge's end leaves out of order is given up, or
                // it would be queued in this beam again and again).
                if (std::min(e0->topY, e1->topY) > yt) consider(e0, e1, yt);
                continue;
            }
            // The crossing point from the edges' end points (the beam's x values carry rounding that a shallow
            // crossing magnifies), kept within the beam where the sweep found it.
            double ix, iy;
            if (!CrossingPoint(e0, e1, ix, iy) || !(iy >= yb && iy <= yt) ||
                !(ix >= std::min({xb0, xt0, xb1, xt1}) && ix <= std::max({xb0, xt0, xb1, xt1}))) {
                // Edges that the sweep's rounding let cross (nearly parallel ones) meet where the beam says.
                const double r = (xb1 - xb0) / den;
                ix = xb0 + r * (xt0 - xb0);
                iy = r * dy + yb;
            }
            Cross(op, e0, e1, ix, iy, out);
            crossings.push_back(API_Coord{ix, iy});
            if (iy - yb <= near || yt - iy <= near) suspects.push_back(API_Coord{ix, iy});  // perhaps at a vertex
            for (Edge* e : {e0, e1})
                if (e->touched != beamMark) {
                    e->touched = beamMark;
                    touched.push_back(e);
                }
            // The two bundles swap places: e0 with its tails, and the run after e0 up to e1.
            group0.clear();
            group1.clear();
            Edge* first0 = e0;
            while (Edge* p = aet.PrevOf(first0)) {
                if (!isTail(p) || e0->bstate[ABOVE] != BUNDLE_HEAD) break;
                first0 = p;
            }
            for (Edge* e = first0; e != e0; e = aet.NextOf(e)) group0.push_back(e);
            group0.push_back(e0);
            for (Edge* e = aet.NextOf(e0); e != e1; e = aet.NextOf(e)) group1.push_back(e);
            group1.push_back(e1);
            places.clear();
            for (Edge* e : group0) places.push_back(e->node);
            for (Edge* e : group1) places.push_back(e->node);
            order.assign(group1.begin(), group1.end());
            order.insert(order.end(), group0.begin(), group0.end());
            aet.Reorder(order, places);
            const double at = std::max(c.y, yb);
            consider(prevRep(group1.front()), e1, at);
            consider(e0, nextRep(e0), at);
        }

        // Crossing points (nearly) shared by several pairs of edges: the result may touch itself there.
        if (crossings.size() > 1) {
            std::sort(crossings.begin(), crossings.end(),
                      [](const API_Coord& a, const API_Coord& b) { return a.y < b.y || (a.y == b.y && a.x < b.x); });
            for (size_t i = 1; i < crossings.size(); ++i)
                for (size_t j = i; j-- > 0 && crossings[i].y - crossings[j].y <= near;)
                    if (std::fabs(crossings[i].x - crossings[j].x) <= near) {
                        suspects.push_back(crossings[i]);
                        suspects.push_back(crossings[j]);
                    }
        }
        computed.insert(computed.end(), crossings.begin(), crossings.end());
        crossings.clear();

        // Next beam: the state above becomes the state below; edges that end at its bottom hand over to their
        // successors, or are looked at there once more before they leave.
        for (Edge* e : touched) {
            e->outp[BELOW] = e->outp[ABOVE];
            e->bstate[BELOW] = e->bstate[ABOVE];
            e->bundle[BELOW][CLIP] = e->bundle[ABOVE][CLIP];
            e->bundle[BELOW][SUBJ] = e->bundle[ABOVE][SUBJ];
        }
        for (uint32_t k = topStart[beam + 1]; k < topStart[beam + 2]; ++k) {
            Edge* edge = byTop[k];
            if (edge->node < 0) continue;
            Edge* succ = edge->hasSucc ? edge + 1 : nullptr;
            if (succ) {
                succ->outp[BELOW] = edge->outp[ABOVE];
                succ->outp[ABOVE] = edge->outp[ABOVE];
                succ->bstate[BELOW] = edge->bstate[ABOVE];
                succ->bstate[ABOVE] = edge->bstate[ABOVE];
                succ->bundle[BELOW][CLIP] = succ->bundle[ABOVE][CLIP] = edge->bundle[ABOVE][CLIP];
                succ->bundle[BELOW][SUBJ] = succ->bundle[ABOVE][SUBJ] = edge->bundle[ABOVE][SUBJ];
                succ->bside[CLIP] = edge->bside[CLIP];
                succ->bside[SUBJ] = edge->bside[SUBJ];
                aet.Replace(edge, succ);
                nextDirty.push_back(succ);
            } else {
                nextDirty.push_back(edge);
            }
        }
    }

    // Result contours in output-list order (newest first); two vertices or fewer are dropped. Their boundary is
    // traced again piece by piece and cut into simple rings at the points it passes twice; a ring's turning tells
    // an outer contour (counter-clockwise) from a hole.
    std::vector<OutContour> contours;
    std::vector<std::vector<API_Coord>> rings;
    for (size_t k = out.polys.size(); k-- > 0;) {
        const OutPoly& poly = out.polys[k];
        if (!poly.active) continue;
        size_t count = 0;
        for (int32_t v = poly.left; v >= 0; v = out.vertices[v].next) ++count;
        if (count <= 2) continue;
        std::vector<API_Coord> points;
        points.reserve(count);
        for (int32_t v = poly.left; v >= 0; v = out.vertices[v].next)
            points.push_back(API_Coord{out.vertices[v].x, out.vertices[v].y});
        rings.push_back(std::move(points));
    }
    std::vector<std::vector<API_Coord>> simple;
    suspects.insert(suspects.end(), out.pinches.begin(), out.pinches.end());
    SimpleRings(rings, std::move(suspects), std::move(computed), near, simple);
    for (std::vector<API_Coord>& ring : simple) {
        OutContour c;
        c.hole = RingArea(ring) < 0.0;
        c.points = std::move(ring);
        contours.push_back(std::move(c));
    }
    GroupContours(contours, groups);
    return true;
}

}  // namespace

API_Box PointsBox(const std::vector<API_Coord>& points) {
    if (points.empty()) return API_Box{0.0, 0.0, 0.0, 0.0};
    API_Box b{points[0].x, points[0].y, points[0].x, points[0].y};
    for (const API_Coord& p : points) {
        b.xMin = std::min(b.xMin, p.x);
        b.yMin = std::min(b.yMin, p.y);
        b.xMax = std::max(b.xMax, p.x);
        b.yMax = std::max(b.yMax, p.y);
    }
    return b;
}

bool Clip(const std::vector<Contour>& subject, uint32_t operation, const std::vector<Contour>& clip,
          std::vector<Group>& groups) {
    groups.clear();
    if (operation > ScanlineUnion) return false;
    for (const std::vector<Contour>* list : {&subject, &clip})
        for (const Contour& c : *list)
            for (const API_Coord& p : c.points)
                if (!std::isfinite(p.x) || !std::isfinite(p.y)) return false;
    bool ok = false;
    try {
        ok = Sweep(subject, operation, clip, groups);
    } catch (const std::bad_alloc&) {
        groups.clear();
    } catch (const std::length_error&) {
        groups.clear();
    }
    ThreadWorkspace(true);
    return ok;
}

}  // namespace Scanline

namespace {

void ToContours(const QV_List<QV_Poly>& polys, std::vector<Scanline::Contour>& contours) {
    contours.resize(static_cast<size_t>(polys.GetCount()));
    for (int32_t i = 0; i < polys.GetCount(); ++i) {
        const QV_Poly& poly = polys[i];
        Scanline::Contour& c = contours[static_cast<size_t>(i)];
        const int32_t n = poly.vertices.GetCount();
        c.points.reserve(static_cast<size_t>(n) + 1);
        for (int32_t k = 0; k < n; ++k) c.points.push_back(poly.vertices[k]);
        if (poly.IsUsableRing()) c.points.push_back(poly.vertices[0]);
        c.box = Scanline::PointsBox(c.points);  // the sweep reads the vertices only
    }
}

// Fills poly as a closed straight-edged ring of the points, every one of them a vertex (a result ring never
// repeats its first point); false when memory ran out on the way.
bool ToPoly(const std::vector<API_Coord>& points, QV_Poly& poly) {
    const int32_t n = static_cast<int32_t>(points.size());
    poly.Clear();
    if (!poly.vertices.SetSize(n) || !poly.codes.SetSize(n)) return false;
    for (int32_t k = 0; k < n; ++k) {
        poly.vertices[k] = points[static_cast<size_t>(k)];
        poly.codes[k] = -1;
    }
    poly.UpdateClockwise();
    return true;
}

}  // namespace

bool ScanlinePolygons(const QV_List<QV_Poly>& subject, uint32_t operation, const QV_List<QV_Poly>& clip,
                      QV_List<QV_List<QV_Poly>>& result) {
    result.Clear();
    std::vector<Scanline::Group> groups;
    try {
        std::vector<Scanline::Contour> subjectContours, clipContours;
        ToContours(subject, subjectContours);
        ToContours(clip, clipContours);
        if (!Scanline::Clip(subjectContours, operation, clipContours, groups)) return false;
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
    if (groups.size() > static_cast<size_t>(INT32_MAX)) return false;

    // Every list is sized once and filled in place: the handles move on each growth.
    bool ok = result.SetSize(static_cast<int32_t>(groups.size()));
    for (size_t g = 0; ok && g < groups.size(); ++g) {
        QV_List<QV_Poly>& group = result[static_cast<int32_t>(g)];
        ok = group.SetSize(static_cast<int32_t>(groups[g].size()));
        for (size_t k = 0; ok && k < groups[g].size(); ++k)
            ok = ToPoly(groups[g][k].points, group[static_cast<int32_t>(k)]);
    }
    if (!ok) result.Clear();
    return ok;
}
