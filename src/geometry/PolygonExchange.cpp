#include "geometry/PolygonExchange.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "foundation/ACAPI.hpp"
#include "geometry/QV_Arc.hpp"

namespace {

const uint32_t kBlanks = 0x20202020;  // user data of the vertices, edges and contours written here
const double kAngleTolerance = 1e-5;
const double kEqualDistance2 = 1e-7 * 1e-7;

// A vertex and, for an arc edge starting at it, the arc's middle point and end.
struct ContourVertex {
    API_Coord point;
    bool arc;
    API_Coord mid;
};

double AngleAboutCentre(const API_Coord& centre, const API_Coord& p) {
    if (std::fabs(p.x - centre.x) < kAngleTolerance && std::fabs(p.y - centre.y) < kAngleTolerance) return 0.0;
    return NormalizedAtan2(p.y - centre.y, p.x - centre.x);
}

// Signed sweep of the arc from start through mid to end about their circumcentre; 0 when there is none.
double SweepThrough(const API_Coord& start, const API_Coord& mid, const API_Coord& end) {
    API_Coord centre;
    if (!Circumcentre(start, mid, end, centre)) return 0.0;
    const double s = AngleAboutCentre(centre, start);
    double e = AngleAboutCentre(centre, end);
    if (std::fabs(e - s) < kAngleTolerance) return 0.0;
    const double m = AngleAboutCentre(centre, mid);
    if (e > s) {
        if (m < s || m > e) e -= 2.0 * M_PI;
    } else if (m < e || m > s) {
        e += 2.0 * M_PI;
    }
    return e - s;
}

void SetUserData(GSHandle handle, int32_t entries) {
    for (int32_t i = 0; i < entries; ++i) std::memcpy(*handle + 4 * static_cast<size_t>(i), &kBlanks, 4);
}

// Writes the contours (each closed by its last vertex repeating the first) into the initialised target, then
// gives it its box and orientation and checks it.
bool FillPolygon(Geometry::Polygon2DData& target, const std::vector<std::vector<ContourVertex>>& contours) {
    int32_t nVertices = 0;
    std::vector<std::vector<double>> sweeps(contours.size());
    int32_t nArcs = 0;
    for (size_t k = 0; k < contours.size(); ++k) {
        const std::vector<ContourVertex>& c = contours[k];
        nVertices += static_cast<int32_t>(c.size());
        sweeps[k].assign(c.size(), 0.0);
        for (size_t i = 0; i + 1 < c.size(); ++i) {
            if (!c[i].arc) continue;
            sweeps[k][i] = SweepThrough(c[i].point, c[i].mid, c[i + 1].point);
            nArcs += sweeps[k][i] != 0.0 ? 1 : 0;
        }
    }
    if (Geometry::AllocatePolygon2DData(&target, nVertices, nArcs, static_cast<int32_t>(contours.size())) != NoError)
        return false;
    SetUserData(target.vertexUserData, nVertices + 1);
    SetUserData(target.edgeUserData, nVertices + 1);
    SetUserData(target.edgeSideUserData, nVertices + 1);
    SetUserData(target.contourUserData, static_cast<int32_t>(contours.size()) + 1);
    int32_t at = 0, arc = 0;
    for (size_t k = 0; k < contours.size(); ++k) {
        for (size_t i = 0; i < contours[k].size(); ++i) {
            ++at;
            (*target.vertices)[at] = contours[k][i].point;
            if (sweeps[k][i] != 0.0) (*target.arcs)[++arc] = Geometry::PolyArcRec{at, at + 1, sweeps[k][i]};
        }
        (*target.contourEnds)[k + 1] = at;
    }
    if ((target.status & Geometry::Polygon2DBoxValid) == 0 && Geometry::GetPolygon2DDataBoundBox(&target) != NoError)
        return false;
    if ((target.status & Geometry::Polygon2DOriented) == 0 && Geometry::OrientPolygon2DData(&target) != NoError)
        return false;
    return Geometry::CheckPolygon2DDataIntegrity(target) == NoError;
}

// Contour of a ring from its mode 2 list: vertices are the entries that are no arc centre, less the middle
// point after each centre.
bool ContourOfRing(const QV_Poly& poly, std::vector<ContourVertex>& contour) {
    QV_Poly::QV_Poly2DACSub sub;
    poly.ToCoordLongs(sub.points, 2);
    const int32_t m = poly.CodeCount();
    // A ring that ends on an arc gets a copy of its last entry: vertex 0 stands once at the end.
    if (m > 0 && poly.EdgeArc(m - 1) != nullptr && poly.IsUsableRing() && sub.points.GetCount() > 0)
        sub.points.SetSize(sub.points.GetCount() - 1);
    const QV_List<QV_CoordLong>& e = sub.points;
    const int32_t n = e.GetCount();
    for (int32_t k = 0; k < n; ++k) {
        if (e[k].code == QV_CodeArcCentre2) {
            if (contour.empty() || k + 2 >= n) return false;
            contour.back().arc = true;
            contour.back().mid = API_Coord{e[k + 1].x, e[k + 1].y};
            ++k;
            continue;
        }
        contour.push_back(ContourVertex{API_Coord{e[k].x, e[k].y}, false, API_Coord{0.0, 0.0}});
    }
    return contour.size() >= 3;
}

bool Near(const API_Coord& a, const API_Coord& b) {
    const double dx = a.x - b.x, dy = a.y - b.y;
    return dx * dx + dy * dy <= kEqualDistance2;
}

}  // namespace

void InitEmptyPolygon2DData(Geometry::Polygon2DData& target) { Geometry::InitPolygon2DData(&target, 4, nullptr); }

bool InitAndCopyPolygon2DData(Geometry::Polygon2DData& target, const Geometry::Polygon2DData& source) {
    InitEmptyPolygon2DData(target);
    return Geometry::CopyPolygon2DData(&target, source) == NoError;
}

bool CoordLongsToPolygon2DData(Geometry::Polygon2DData& target, const QV_List<QV_CoordLong>& chain) {
    Geometry::FreePolygon2DData(&target);
    InitEmptyPolygon2DData(target);
    std::vector<ContourVertex> contour;
    const int32_t n = chain.GetCount();
    for (int32_t k = 0; k < n; ++k) {
        const QV_CoordLong& e = chain[k];
        if (e.code == QV_CodeArcCentreChain) {
            // The arc starts at the vertex just read; its middle point and end follow the centre.
            if (contour.empty() || k + 2 >= n || chain[k + 1].code == QV_CodeArcCentreChain ||
                chain[k + 2].code == QV_CodeArcCentreChain) {
                Geometry::FreePolygon2DData(&target);
                return false;
            }
            contour.back().arc = true;
            contour.back().mid = API_Coord{chain[k + 1].x, chain[k + 1].y};
            ++k;  // the middle point; the end is read as the next vertex
            continue;
        }
        contour.push_back(ContourVertex{API_Coord{e.x, e.y}, false, API_Coord{0.0, 0.0}});
    }
    if (contour.size() < 3 || !FillPolygon(target, {contour})) {
        Geometry::FreePolygon2DData(&target);
        InitEmptyPolygon2DData(target);
        return false;
    }
    return true;
}

bool QV_Poly::ToPolygon2DData(Geometry::Polygon2DData& target) const {
    Geometry::FreePolygon2DData(&target);
    InitEmptyPolygon2DData(target);
    std::vector<ContourVertex> contour;
    if (!ContourOfRing(*this, contour) || !FillPolygon(target, {contour})) {
        Geometry::FreePolygon2DData(&target);
        return false;
    }
    return true;
}

bool QV_Poly::ToPolygon2DData(Geometry::Polygon2DData& target, const QV_List<QV_Poly>& contours) {
    Geometry::FreePolygon2DData(&target);
    InitEmptyPolygon2DData(target);
    std::vector<std::vector<ContourVertex>> all(static_cast<size_t>(contours.GetCount()));
    bool ok = !all.empty();
    for (int32_t k = 0; k < contours.GetCount() && ok; ++k)
        ok = ContourOfRing(contours[k], all[static_cast<size_t>(k)]);
    if (!ok || !FillPolygon(target, all)) {
        Geometry::FreePolygon2DData(&target);
        return false;
    }
    return true;
}

int32_t ArePolygon2DDataEqual(const Geometry::Polygon2DData& first, const Geometry::Polygon2DData& second) {
    if (Geometry::CheckPolygon2DDataIntegrity(first) != NoError ||
        Geometry::CheckPolygon2DDataIntegrity(second) != NoError)
        return 0;
    if (first.nContours != second.nContours || first.nVertices != second.nVertices || first.nArcs != second.nArcs)
        return 0;
    for (int32_t k = 1; k <= first.nContours; ++k)
        if ((*first.contourEnds)[k] != (*second.contourEnds)[k]) return 0;
    const API_Coord* a = *first.vertices;
    const API_Coord* b = *second.vertices;
    for (int32_t i = 1; i <= first.nVertices; ++i) {
        bool found = false;
        for (int32_t j = 1; j <= second.nVertices && !found; ++j) found = Near(a[i], b[j]);
        if (!found) return 0;
    }
    for (int32_t k = 1; k <= first.nArcs; ++k) {
        const Geometry::PolyArcRec& x = (*first.arcs)[k];
        bool found = false;
        for (int32_t m = 1; m <= second.nArcs && !found; ++m) {
            const Geometry::PolyArcRec& y = (*second.arcs)[m];
            const bool ends = (Near(a[x.begIndex], b[y.begIndex]) && Near(a[x.endIndex], b[y.endIndex])) ||
                (Near(a[x.begIndex], b[y.endIndex]) && Near(a[x.endIndex], b[y.begIndex]));
            found = ends && std::fabs(x.arcAngle - y.arcAngle) <= 1e-7;
        }
        if (!found) return 0;
    }
    return 1;
}

namespace {

template <typename T>
int64_t Entries(T** handle) {
    return handle != nullptr ? BMGetHandleSize(reinterpret_cast<GSConstHandle>(handle)) / int64_t(sizeof(T)) : 0;
}

template <typename T>
T** NewHandle(int64_t entries) {
    return reinterpret_cast<T**>(BMAllocateHandle(GSSize(entries * int64_t(sizeof(T))), ALLOCATE_CLEAR, 0));
}

template <typename T>
void Kill(T**& handle) {
    GSHandle h = reinterpret_cast<GSHandle>(handle);
    BMKillHandle(&h);
    handle = nullptr;
}

}  // namespace

bool GetElementPolygonCounts(const API_Element& element, int32_t& nCoords, int32_t& nArcs, int32_t& nSubPolys) {
    const API_Polygon* p = APIPolygonOf(element);
    nCoords = p != nullptr ? p->nCoords : 0;
    nArcs = p != nullptr ? p->nArcs : 0;
    nSubPolys = p != nullptr ? p->nSubPolys : 0;
    return p != nullptr;
}

void SetElementPolygonCounts(API_Element& element, int32_t nCoords, int32_t nArcs, int32_t nSubPolys) {
    API_Polygon* p = APIPolygonOf(element);
    if (p == nullptr) return;
    p->nCoords = nCoords;
    p->nArcs = nArcs;
    p->nSubPolys = nSubPolys;
}

bool QV_Poly::ReadFromElement(const API_Elem_Head& head, int32_t wanted) {
    Clear();
    API_Element element{};
    element.header.guid = head.guid;
    if (ACAPI_Element_Get(&element) != NoError) return false;
    API_ElementMemo memo{};
    if (ACAPI_Element_GetMemo(head.guid, &memo, ElementOutlineMemoMask) != NoError) {
        ACAPI_DisposeElemMemoHdls(&memo);
        return false;
    }
    int32_t nCoords, nArcs, nSubPolys;
    // The memo must hold what the counts promise: coordinates 1..nCoords, arcs 0..nArcs-1.
    if (!GetElementPolygonCounts(element, nCoords, nArcs, nSubPolys) || nCoords < 1 ||
        Entries(memo.coords) < int64_t(nCoords) + 1) {
        ACAPI_DisposeElemMemoHdls(&memo);
        return false;
    }
    const API_Coord* c = *memo.coords;
    const int64_t arcCount = nArcs > 0 ? std::min<int64_t>(nArcs, Entries(memo.parcs)) : 0;
    const int32_t firstEnd = Entries(memo.pends) >= 2 ? (*memo.pends)[1] : nCoords;
    QV_ReserveItems(vertices, nCoords);
    QV_ReserveItems(codes, nCoords);
    vertices.Insert(c[1]);
    bool atContourEnd = false;
    for (int32_t j = 1; j + 1 <= nCoords && nCoords >= 2; ++j) {
        vertices.Insert(c[j + 1]);
        int32_t code = -1;
        for (int64_t k = 0; k < arcCount; ++k) {
            const API_PolyArc& a = (*memo.parcs)[k];
            if (a.begIndex != j) continue;
            const QV_Arc arc = QV_Arc::FromEndPointsAndAngle(c[j], c[j + 1], a.arcAngle);
            if (!arc.IsDegenerate() && arcs.Insert(arc)) code = arcs.GetCount() - 1;
            break;
        }
        codes.Insert(code);
        if (j + 1 == firstEnd) {
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
    ACAPI_DisposeElemMemoHdls(&memo);
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
        Kill(coords);
        Kill(vertexIDs);
        Kill(edgeIDs);
        Kill(pends);
        Kill(contourIDs);
        Kill(parcs);
        Kill(trims);
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

    Kill(memo.coords);
    Kill(memo.vertexIDs);
    Kill(memo.edgeIDs);
    Kill(memo.pends);
    Kill(memo.contourIDs);
    Kill(memo.parcs);
    memo.coords = coords;
    memo.vertexIDs = vertexIDs;
    memo.edgeIDs = edgeIDs;
    memo.pends = pends;
    memo.contourIDs = contourIDs;
    memo.parcs = parcs;
    if (trims != nullptr) {
        Kill(memo.edgeTrims);
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
