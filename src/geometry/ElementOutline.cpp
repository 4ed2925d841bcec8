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

// Direction angle of p seen from the centre, in [0, 2 pi).
double AngleFromCentre(const API_Coord& centre, const API_Coord& p) {
    const double dx = p.x - centre.x, dy = p.y - centre.y;
    if (std::fabs(dx) < kTolerance) {
        if (std::fabs(dy) < kTolerance) return 0.0;
        return dy > 0.0 ? M_PI / 2.0 : 3.0 * M_PI / 2.0;
    }
    double a = std::atan(dy / dx);
    if (dx < 0.0)
        a += M_PI;
    else if (dy <= 0.0)
        a += 2.0 * M_PI;
    if (a >= 2.0 * M_PI) a -= 2.0 * M_PI;
    return a;
}

template <typename T>
int64_t Entries(T** handle) {
    return handle != nullptr ? BMGetHandleSize(reinterpret_cast<GSConstHandle>(handle)) / int64_t(sizeof(T)) : 0;
}

}  // namespace

bool ReadElementPolygon(const API_Guid& guid, QV_List<QV_Coord3DLong>& points3D, QV_List<QV_CoordLong>& points2D,
                        QV_List<PrimPoly>& polyPrims, uint8_t& closedRing) {
    points3D.Clear();
    points2D.Clear();
    polyPrims.Clear();
    closedRing = 0;
    API_Element element{};
    element.header.guid = guid;
    if (ACAPI_Element_Get(&element) != NoError) return false;
    API_ElementMemo memo{};
    if (ACAPI_Element_GetMemo(guid, &memo, ElementOutlineMemoMask) != NoError) {
        ACAPI_DisposeElemMemoHdls(&memo);
        return false;
    }
    int32_t nCoords, nArcs, nSubPolys;
    // Only what the memo really holds is read.
    if (!GetElementPolygonCounts(element, nCoords, nArcs, nSubPolys) || nCoords < 1 ||
        Entries(memo.coords) < int64_t(nCoords) + 1) {
        ACAPI_DisposeElemMemoHdls(&memo);
        return false;
    }
    const API_Coord* c = *memo.coords;
    const int64_t arcCount = nArcs > 0 ? std::min<int64_t>(nArcs, Entries(memo.parcs)) : 0;
    const int32_t firstEnd = Entries(memo.pends) >= 2 ? (*memo.pends)[1] : nCoords;
    auto add = [&](const API_Coord& p, int32_t code) {
        points3D.Insert(QV_Coord3DLong{p.x, p.y, 0.0, code});
        points2D.Insert(QV_CoordLong{p.x, p.y, code});
    };
    add(c[1], QV_CodeVertex1);
    for (int32_t i = 1; i < nCoords; ++i) {
        const API_Coord& a = c[i];
        const API_Coord& b = c[i + 1];
        if (!(std::fabs(a.x - b.x) < kTolerance && std::fabs(a.y - b.y) < kTolerance)) {
            const API_PolyArc* arcRecord = nullptr;
            for (int64_t k = 0; k < arcCount && arcRecord == nullptr; ++k)
                if ((*memo.parcs)[k].begIndex == i) arcRecord = &(*memo.parcs)[k];
            PrimPoly prim{};
            prim.begin = a;
            prim.end = b;
            prim.isLine = 1;
            if (arcRecord != nullptr) {
                const double phi = arcRecord->arcAngle;
                const QV_Arc arc = QV_Arc::FromEndPointsAndAngle(a, b, phi);
                // An arc of no turn is read as the straight segment it is.
                if (!arc.IsDegenerate()) {
                    const double alpha = AngleFromCentre(arc.center, a);
                    prim.isLine = 0;
                    prim.centre = arc.center;
                    prim.radius = arc.radiusX;
                    prim.mid = API_Coord{arc.center.x + arc.radiusX * std::cos(alpha + phi / 2.0),
                                         arc.center.y + arc.radiusX * std::sin(alpha + phi / 2.0)};
                    add(prim.mid, QV_CodeArcMid1);
                }
            }
            add(b, QV_CodeVertex1);
            polyPrims.Insert(prim);
        }
        if (i + 1 == firstEnd) break;
    }
    ACAPI_DisposeElemMemoHdls(&memo);
    const QV_Coord3DLong& first = points3D[0];
    const QV_Coord3DLong& last = points3D[points3D.GetCount() - 1];
    closedRing =
        points3D.GetCount() > 1 && std::fabs(first.x - last.x) < kTolerance && std::fabs(first.y - last.y) < kTolerance
        ? 1
        : 0;
    return true;
}

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
