#include "geometry/PolygonExchange.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

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
