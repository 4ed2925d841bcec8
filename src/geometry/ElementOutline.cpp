#include "geometry/ElementOutline.hpp"

#include <algorithm>
#include <cmath>
#include <vector>

#include "APIElements.hpp"
#include "foundation/ACAPI.hpp"
#include "geometry/PolygonExchange.hpp"
#include "geometry/QV_Arc.hpp"

namespace {

const double kTolerance = 1e-7;

struct Edge {
    API_Coord from;
    API_Coord to;
};

// Whether two edges that share a vertex run back along each other: d1 and d2 are their directions from the
// shared vertex outwards.
bool FoldsBack(const API_Coord& d1, const API_Coord& d2) {
    double ratio;
    if (std::fabs(d2.x) < kTolerance) {
        if (std::fabs(d1.x) >= kTolerance || std::fabs(d2.y) < kTolerance) return false;
        ratio = d1.y / d2.y;
    } else if (std::fabs(d2.y) < kTolerance) {
        if (std::fabs(d1.y) >= kTolerance) return false;
        ratio = d1.x / d2.x;
    } else {
        if (std::fabs(d1.x / d2.x - d1.y / d2.y) >= kTolerance / std::fabs(d2.y)) return false;
        ratio = d1.x / d2.x;
    }
    return ratio > 0.0;
}

API_Coord Sub(const API_Coord& a, const API_Coord& b) { return API_Coord{a.x - b.x, a.y - b.y}; }

void AppendPoint(QV_List<QV_CoordLong>& list, const API_Coord& p, int32_t code) {
    list.Insert(QV_CoordLong{p.x, p.y, code});
}

PrimPoly Connector(const API_Coord& from, const API_Coord& to) {
    PrimPoly p{};
    p.begin = from;
    p.end = to;
    p.isLine = 1;
    return p;
}

}  // namespace

uint8_t PolygonSelfIntersects(const QV_Poly& source) {
    QV_Poly segmented;
    const QV_Poly* poly = &source;
    if (source.arcs.GetCount() > 0) {
        QV_Poly::SegmentArcs(source, segmented, 12, 0.001);
        poly = &segmented;
    }
    const int32_t nv = poly->VertexCount();
    const int32_t n = poly->CodeCount();
    if (nv == 0) return 0;
    const bool ring = poly->IsClosed();
    // Edge i (1-based) runs from vertex i - 1 to vertex i. A repeated vertex gives an edge of no length, which
    // would make its two neighbours touch as non-neighbours: it is left out.
    std::vector<Edge> edges;
    edges.reserve(static_cast<size_t>(n));
    for (int32_t i = 1; i <= n; ++i) {
        const API_Coord& a = poly->vertices[(i - 1) % nv];
        const API_Coord& b = poly->vertices[i % nv];
        if (std::fabs(a.x - b.x) < kTolerance && std::fabs(a.y - b.y) < kTolerance) continue;
        edges.push_back(Edge{a, b});
    }
    const size_t m = edges.size();
    for (size_t i = 0; i < m; ++i) {
        for (size_t j = i + 1; j < m; ++j) {
            const Edge& e = edges[i];
            const Edge& f = edges[j];
            // Neighbours share a vertex: consecutive edges, and in a ring the last edge and the first one.
            if (j == i + 1) {
                if (FoldsBack(Sub(e.from, e.to), Sub(f.to, f.from))) return 1;
                continue;
            }
            if (ring && i == 0 && j == m - 1) {
                if (FoldsBack(Sub(e.to, e.from), Sub(f.from, f.to))) return 1;
                continue;
            }
            if (TestSegmentCrossing(e.from.x, e.from.y, e.to.x, e.to.y, f.from.x, f.from.y, f.to.x, f.to.y,
                                    kTolerance) > 0)
                return 1;
        }
    }
    return 0;
}

uint8_t BuildClosedOutlineFromEdges(const QV_List<PrimPoly>& leftPrims, const QV_List<PrimPoly>& rightPrims,
                                    QV_List<PrimPoly>& polyPrims, int32_t& firstSide, int32_t& lastSide) {
    polyPrims.Clear();
    if (leftPrims.IsEmpty() || rightPrims.IsEmpty()) {
        firstSide = 0;
        lastSide = 0;
        return 0;
    }
    const PrimPoly& leftFirst = leftPrims[0];
    const PrimPoly& leftLast = leftPrims[leftPrims.GetCount() - 1];
    const PrimPoly& rightFirst = rightPrims[0];
    const PrimPoly& rightLast = rightPrims[rightPrims.GetCount() - 1];
    QV_ReserveItems(polyPrims, leftPrims.GetCount() + rightPrims.GetCount() + 2);
    polyPrims.InsertList(leftPrims);
    polyPrims.Insert(Connector(leftLast.end, rightFirst.begin));
    lastSide = polyPrims.GetCount();
    polyPrims.InsertList(rightPrims);
    polyPrims.Insert(Connector(rightLast.end, leftFirst.begin));
    firstSide = polyPrims.GetCount();

    QV_List<QV_CoordLong> points;
    QV_ReserveItems(points, 2 * polyPrims.GetCount() + 1);
    AppendPoint(points, polyPrims[0].begin, QV_CodeVertex1);
    for (int32_t i = 0; i < polyPrims.GetCount(); ++i) {
        const PrimPoly& p = polyPrims[i];
        if (p.isLine == 0) AppendPoint(points, p.mid, QV_CodeArcMid1);
        AppendPoint(points, p.end, QV_CodeVertex1);
    }
    points[points.GetCount() - 1].code = QV_CodeContourEnd;
    QV_Poly outline;
    outline.SetFromCoordLongs(points, 1);
    if (outline.arcs.GetCount() > 0) {
        QV_Poly segmented;
        QV_Poly::SegmentArcs(outline, segmented, 15, 0.0);
        outline = segmented;
    }
    // An outline that collapses while it is cleaned encloses nothing: no body.
    if (outline.Simplify(0.0001) == 2) return 0;
    return PolygonSelfIntersects(outline) != 0 ? 0 : 1;
}

void TranslatePointArray(QV_List<QV_CoordLong>& outline, QV_List<QV_CoordLong>& outlineSegmented,
                         const API_Coord& origin) {
    for (QV_CoordLong& p : outline) {
        p.x -= origin.x;
        p.y -= origin.y;
    }
    for (QV_CoordLong& p : outlineSegmented) {
        p.x -= origin.x;
        p.y -= origin.y;
    }
}

void TranslatePointArrayLarge(QV_List<QV_CoordLong>& outline, QV_List<QV_CoordLong>& outlineSegmented,
                              QV_List<QV_Coord3DLong>& chainA, QV_List<QV_Coord3DLong>& chainB,
                              const API_Coord& origin) {
    for (QV_Coord3DLong& p : chainA) {
        p.x -= origin.x;
        p.y -= origin.y;
    }
    for (QV_Coord3DLong& p : chainB) {
        p.x -= origin.x;
        p.y -= origin.y;
    }
    TranslatePointArray(outline, outlineSegmented, origin);
}
