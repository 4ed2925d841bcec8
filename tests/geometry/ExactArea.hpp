#pragma once
// Exact area of a boolean operation on two sets of contours combined by the even-odd rule, in rational arithmetic:
// the plane is cut into slabs at every vertex height and every height where two edges cross; inside a slab no
// edges cross, so the result is a run of trapezoids between neighbouring edges, each added exactly. The reference
// against which the clipper's (and GEOS's) rounding is measured.
#include "geometry/ScanlinePolygons.hpp"

#include <gmpxx.h>

#include <algorithm>
#include <vector>

namespace ExactArea {

using Contours = std::vector<std::vector<API_Coord>>;

namespace detail {

struct Edge {
    mpq_class x0, y0, x1, y1;  // y0 < y1
    double yLo, yHi, xLo, xHi;
    int set;
    mpq_class XAt(const mpq_class& y) const { return x0 + (y - y0) * (x1 - x0) / (y1 - y0); }
};

inline void AddEdges(const Contours& contours, int set, std::vector<Edge>& edges) {
    for (const std::vector<API_Coord>& c : contours)
        for (size_t i = 0; i < c.size(); ++i) {
            API_Coord a = c[i], b = c[(i + 1) % c.size()];
            if (a.y == b.y) continue;  // crosses no slab
            if (a.y > b.y) std::swap(a, b);
            edges.push_back(Edge{mpq_class(a.x), mpq_class(a.y), mpq_class(b.x), mpq_class(b.y), a.y, b.y,
                                 std::min(a.x, b.x), std::max(a.x, b.x), set});
        }
}

}  // namespace detail

// Area of op(subject, clip) with the clipper's operation codes.
inline mpq_class Of(const Contours& subject, uint32_t op, const Contours& clip) {
    using detail::Edge;
    std::vector<Edge> edges;
    detail::AddEdges(subject, 1, edges);
    detail::AddEdges(clip, 0, edges);
    std::vector<mpq_class> ys;
    for (const Edge& e : edges) {
        ys.push_back(e.y0);
        ys.push_back(e.y1);
    }
    // Heights where two edges meet (extra heights only cut a slab in two).
    for (size_t i = 0; i < edges.size(); ++i)
        for (size_t j = i + 1; j < edges.size(); ++j) {
            const Edge& a = edges[i];
            const Edge& b = edges[j];
            if (a.yHi < b.yLo || b.yHi < a.yLo || a.xHi < b.xLo || b.xHi < a.xLo) continue;
            // a: x = a.x0 + (y - a.y0) sa, likewise b.
            const mpq_class sa = (a.x1 - a.x0) / (a.y1 - a.y0), sb = (b.x1 - b.x0) / (b.y1 - b.y0);
            if (sa == sb) continue;
            const mpq_class y = (b.x0 - a.x0 + a.y0 * sa - b.y0 * sb) / (sa - sb);
            if (y > a.y0 && y < a.y1 && y > b.y0 && y < b.y1) ys.push_back(y);
        }
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());

    mpq_class area = 0;
    struct At {
        mpq_class mid, lo, hi;
        int set;
    };
    std::vector<At> row;
    for (size_t k = 0; k + 1 < ys.size(); ++k) {
        const mpq_class& lo = ys[k];
        const mpq_class& hi = ys[k + 1];
        const mpq_class mid = (lo + hi) / 2;
        const double dLo = lo.get_d(), dHi = hi.get_d();
        row.clear();
        for (const Edge& e : edges) {
            if (e.yHi < dLo || e.yLo > dHi) continue;
            if (e.y0 > lo || e.y1 < hi) continue;
            row.push_back(At{e.XAt(mid), e.XAt(lo), e.XAt(hi), e.set});
        }
        std::sort(row.begin(), row.end(), [](const At& a, const At& b) { return a.mid < b.mid; });
        bool in[2] = {false, false};
        for (size_t i = 0; i + 1 < row.size(); ++i) {
            in[row[i].set] = !in[row[i].set];
            const bool s = in[1], c = in[0];
            const bool inside = op == ScanlineDifference ? s && !c
                : op == ScanlineIntersection             ? s && c
                : op == ScanlineExclusiveOr              ? s != c
                                                         : s || c;
            if (inside) area += (row[i + 1].lo - row[i].lo + row[i + 1].hi - row[i].hi) * (hi - lo) / 2;
        }
    }
    return area;
}

}  // namespace ExactArea
