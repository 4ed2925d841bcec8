// QV_Poly read from and written to host elements through their memos.
#include "geometry/QV_Poly.hpp"

#include "foundation/MemoParts.hpp"
#include "foundation/ACAPI.hpp"
#include "geometry/project/ElementOutlineMemo.hpp"
#include "geometry/PolygonExchange.hpp"
#include "geometry/QV_Arc.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

template <typename T>
int64_t Entries(T** handle) {
    return handle != nullptr ? BMGetHandleSize(reinterpret_cast<GSConstHandle>(handle)) / int64_t(sizeof(T)) : 0;
}

template <typename T>
T** NewHandle(int64_t entries) {
    return reinterpret_cast<T**>(BMAllocateHandle(GSSize(entries * int64_t(sizeof(T))), ALLOCATE_CLEAR, 0));
}

}  // namespace

bool QV_Poly::ReadFromElement(const API_Elem_Head& head, int32_t wanted) {
    Clear();
    ElementOutlineMemo memo;
    if (!memo.Read(head.guid)) return false;
    const API_Coord* c = memo.coords;
    const int32_t nCoords = memo.nCoords;
    QV_ReserveItems(vertices, nCoords);
    QV_ReserveItems(codes, nCoords);
    vertices.Insert(c[1]);
    bool atContourEnd = false;
    for (int32_t j = 1; j + 1 <= nCoords && nCoords >= 2; ++j) {
        vertices.Insert(c[j + 1]);
        int32_t code = -1;
        if (const API_PolyArc* a = memo.ArcFrom(j)) {
            const QV_Arc arc = QV_Arc::FromEndPointsAndAngle(c[j], c[j + 1], a->arcAngle);
            if (!arc.IsDegenerate() && arcs.Insert(arc)) code = arcs.GetCount() - 1;
        }
        codes.Insert(code);
        if (j + 1 == memo.firstEnd) {
            atContourEnd = true;
            break;
        }
    }
    if (atContourEnd) {
        const int32_t n = VertexCount();
        if (n > 1 && vertices[n - 1].x == vertices[0].x && vertices[n - 1].y == vertices[0].y) vertices.Remove(n - 1);
    }
    // Whatever way the walk ended, the orientation flag describes what was read.
    UpdateClockwise();
    SetOrientation(wanted);
    return true;
}

bool QV_Poly::FillElementMemo(API_Element& element, API_ElementMemo& memo) const {
    // A ring of two vertices without arcs encloses nothing: it is written as the segment between them.
    const bool ring = IsUsableRing();
    const int32_t m = ring ? CodeCount() : VertexCount() - 1;
    if (m < 1) return false;
    int32_t nArcs = 0;
    for (int32_t i = 0; i < m; ++i) nArcs += EdgeArc(i) != nullptr ? 1 : 0;

    // Everything new first, so a failed allocation leaves element and memo as they were.
    API_Coord** coords = NewHandle<API_Coord>(m + 2);
    uint32_t** vertexIDs = NewHandle<uint32_t>(m + 2);
    uint32_t** edgeIDs = NewHandle<uint32_t>(m + 2);
    int32_t** pends = NewHandle<int32_t>(2);
    uint32_t** contourIDs = NewHandle<uint32_t>(2);
    API_PolyArc** parcs = NewHandle<API_PolyArc>(nArcs);
    API_EdgeTrim** trims = nullptr;
    API_OverriddenAttribute* sides = nullptr;
    bool ok = coords != nullptr && vertexIDs != nullptr && edgeIDs != nullptr && pends != nullptr &&
        contourIDs != nullptr && parcs != nullptr;
    if (ok && memo.edgeTrims != nullptr) {
        trims = NewHandle<API_EdgeTrim>(m + 2);
        ok = trims != nullptr;
    }
    if (ok && memo.sideMaterials != nullptr) {
        sides = reinterpret_cast<API_OverriddenAttribute*>(
            BMAllocatePtr(GSSize((m + 2) * sizeof(API_OverriddenAttribute)), ALLOCATE_CLEAR, 0));
        ok = sides != nullptr;
    }
    if (!ok) {
        KillMemoHandle(coords);
        KillMemoHandle(vertexIDs);
        KillMemoHandle(edgeIDs);
        KillMemoHandle(pends);
        KillMemoHandle(contourIDs);
        KillMemoHandle(parcs);
        KillMemoHandle(trims);
        GSPtr p = reinterpret_cast<GSPtr>(sides);
        BMKillPtr(&p);
        return false;
    }

    int32_t arc = 0;
    for (int32_t i = 0; i < m; ++i) {
        (*coords)[i + 1] = vertices[i];
        (*vertexIDs)[i + 1] = uint32_t(i + 1);
        (*edgeIDs)[i + 1] = uint32_t(i + 1);
        if (const QV_Arc* a = EdgeArc(i)) (*parcs)[arc++] = API_PolyArc{i + 1, i + 2, a->endAngle - a->startAngle};
    }
    (*coords)[m + 1] = ring ? vertices[0] : vertices[m];
    (*vertexIDs)[m + 1] = ring ? 1u : uint32_t(m + 1);
    (*vertexIDs)[0] = ring ? uint32_t(m) : uint32_t(m + 1);
    (*pends)[1] = m + 1;
    (*contourIDs)[1] = 1;

    // Per-edge records: one per edge ID entry, the old ones kept, new ones like the first (or zero without one).
    if (trims != nullptr) {
        const int64_t old = Entries(memo.edgeTrims);
        for (int64_t k = 0; k < m + 2; ++k) {
            if (k < old)
                (*trims)[k] = (*memo.edgeTrims)[k];
            else if (old > 1)
                (*trims)[k] = (*memo.edgeTrims)[1];
        }
    }
    if (sides != nullptr) {
        const int64_t old =
            BMGetPtrSize(reinterpret_cast<GSConstPtr>(memo.sideMaterials)) / int64_t(sizeof(API_OverriddenAttribute));
        for (int64_t k = 0; k < m + 2; ++k) {
            if (k < old)
                sides[k] = memo.sideMaterials[k];
            else if (old > 1)
                sides[k] = memo.sideMaterials[1];
        }
    }

    KillMemoHandle(memo.coords);
    KillMemoHandle(memo.vertexIDs);
    KillMemoHandle(memo.edgeIDs);
    KillMemoHandle(memo.pends);
    KillMemoHandle(memo.contourIDs);
    KillMemoHandle(memo.parcs);
    memo.coords = coords;
    memo.vertexIDs = vertexIDs;
    memo.edgeIDs = edgeIDs;
    memo.pends = pends;
    memo.contourIDs = contourIDs;
    memo.parcs = parcs;
    if (trims != nullptr) {
        KillMemoHandle(memo.edgeTrims);
        memo.edgeTrims = trims;
    }
    if (sides != nullptr) {
        GSPtr p = reinterpret_cast<GSPtr>(memo.sideMaterials);
        BMKillPtr(&p);
        memo.sideMaterials = sides;
    }
    SetElementPolygonCounts(element, m + 1, nArcs, 1);
    return true;
}
