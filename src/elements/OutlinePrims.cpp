#include "elements/OutlinePrims.hpp"

#include "elements/LeftoverElements.hpp"

#include "elements/ElementHelpers.hpp"
#include "foundation/Alert.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/Language.hpp"
#include "foundation/PointInput.hpp"
#include "foundation/SelectionHelpers.hpp"
#include "foundation/OwnedMemo.hpp"
#include "geometry/QV_Arc.hpp"

#include "GSArray.hpp"

#include <cmath>
#include <cstring>
#include <vector>

namespace {

constexpr double Same = 1e-7;
constexpr double Pi = 3.14159265358979323846;

bool Near(double a, double b) { return std::fabs(a - b) < Same; }
bool SamePoint(const API_Coord& a, const API_Coord& b) { return Near(a.x, b.x) && Near(a.y, b.y); }

QV_Coord3DLong Point3(const API_Coord& c, int32_t code) { return QV_Coord3DLong{c.x, c.y, 0.0, code}; }
QV_CoordLong Point2(const API_Coord& c, int32_t code) { return QV_CoordLong{c.x, c.y, code}; }
API_Coord Flat(const QV_Coord3DLong& p) { return API_Coord{p.x, p.y}; }

int32_t HandleCount(const void* const* handle, size_t recordSize) {
    if (handle == nullptr) return 0;
    return int32_t(BMGetHandleSize(reinterpret_cast<GSConstHandle>(handle)) / GSSize(recordSize));
}

// Direction angle of p seen from the centre, in [0, 2pi).
double DirectionAngle(const API_Coord& centre, const API_Coord& p) {
    const double dx = p.x - centre.x, dy = p.y - centre.y;
    if (std::fabs(dx) < Same) {
        if (std::fabs(dy) < Same) return 0.0;
        return dy > 0.0 ? 1.5707963267948966 : 4.71238898038469;
    }
    double t = std::atan(dy / dx);
    if (dx >= 0.0)
        t += dy > 0.0 ? 0.0 : 2.0 * Pi;
    else
        t += Pi;
    t = std::fmod(t, 2.0 * Pi);
    return t < 0.0 ? t + 2.0 * Pi : t;
}

// The side a click on the element itself names, or an error code (20 hole side, 21 arc) in `error`.
bool SideOfHit(const BaseCls& cls, const API_Neig& neig, int32_t& side, int32_t& error) {
    if (neig.holeSel == 1 || neig.inIndex < 1 || neig.inIndex > cls.segments.GetCount()) {
        error = ErrClickOuterSegment;
        return false;
    }
    side = neig.inIndex;
    return true;
}

bool IsArcSide(const BaseCls& cls, int32_t side) { return cls.segments[side - 1].isLine == 0; }

bool Adjacent(int32_t a, int32_t b, int32_t count) {
    const int32_t before = a == 1 ? count : a - 1;
    const int32_t after = a == count ? 1 : a + 1;
    return b == before || b == after;
}

// Asks for one side until the user gives an acceptable one; false on cancel or an input error, with the input's
// answer in `inputError`.
bool PickSide(BaseRSWCls& cls, int32_t promptIndex, int32_t firstSide, int32_t& side, GSErrCode& inputError) {
    QV_String prompt;
    GetResString(prompt, PromptTableBase + LanguageIndex, promptIndex);
    for (;;) {
        API_Coord3D click = {};
        API_Neig neig = {};
        inputError =
            GetPointFromUser(click, neig, prompt, nullptr, nullptr, nullptr, nullptr, -1, nullptr, nullptr, true);
        if (inputError != NoError) return false;
        int32_t error = 0;
        const API_Coord point{click.x, click.y};
        const bool onFill = !(cls.pickHead.guid == APINULLGuid) && neig.guid == cls.pickHead.guid;
        bool found = false;
        if (onFill)
            found = SideOfHit(cls, neig, side, error);
        else if (firstSide == 0)
            found = FindSegmentAtPoint(cls, point, side) || (error = ErrClickSelectedFill, false);
        else
            found = FindOtherSegmentAtPoint(cls, point, firstSide, side) ||
                (error = FindSegmentAtPoint(cls, point, side) ? ErrClickOtherSegment : ErrClickSelectedFill, false);
        if (found && IsArcSide(cls, side)) found = false, error = ErrClickLineSegment;
        if (found && firstSide != 0 && side == firstSide) found = false, error = ErrClickOtherSegment;
        if (found && firstSide != 0 && Adjacent(firstSide, side, cls.segments.GetCount()))
            found = false, error = ErrClickNonAdjacentSegment;
        if (found) return true;
        ShowErrorMessage(error, AlertKind::Warning);
    }
}

// The 1-based position of the first prim with the segment's ends, in either direction.
int32_t PrimOfSegment(const BaseCls& cls, const PrimSeg& segment) {
    for (int32_t i = 0; i < cls.prims.GetCount(); ++i) {
        const API_Coord b = Flat(cls.prims[i].begin), e = Flat(cls.prims[i].end);
        if ((SamePoint(b, segment.begin) && SamePoint(e, segment.end)) ||
            (SamePoint(b, segment.end) && SamePoint(e, segment.begin)))
            return i + 1;
    }
    return 0;
}

}  // namespace

bool BaseCls::BuildPrimitives(const PrimitiveOptions& options) {
    const bool reverseWhenOriented = options.reverseWhenOriented, fillPrims = options.fillPrims,
               allRings = options.allRings, closeCodes = options.closeCodes, markRingEnds = options.markRingEnds;
    points3D.Clear();
    points2D.Clear();
    segments.Clear();
    prims.Clear();
    API_Element source = {};
    source.header.guid = pickHead.guid;
    if (ACAPI_Element_Get(&source) != NoError) return false;
    OwnedMemo memo;
    if (memo.Read(pickHead.guid, APIMemoMask_Polygon) != NoError) return false;
    const int32_t nCoords = HandleCount(reinterpret_cast<const void* const*>(memo->coords), sizeof(API_Coord)) - 1;
    const int32_t nEnds = HandleCount(reinterpret_cast<const void* const*>(memo->pends), sizeof(int32_t));
    const int32_t nArcs = HandleCount(reinterpret_cast<const void* const*>(memo->parcs), sizeof(API_PolyArc));
    if (nCoords < 1) return true;
    const API_Coord* coords = *memo->coords;
    const auto arcAt = [&](int32_t i, double& angle) {
        for (int32_t k = 0; k < nArcs; ++k)
            if ((*memo->parcs)[k].begIndex == i) return angle = (*memo->parcs)[k].arcAngle, true;
        return false;
    };
    const auto endsRing = [&](int32_t j, int32_t& ring) {
        for (int32_t k = 1; k < nEnds; ++k)
            if ((*memo->pends)[k] == j) return ring = k, true;
        return false;
    };

    std::vector<Prim> work;
    uint8_t oriented = 1;
    int32_t ringStart = 0;  // position in the point lists of the current ring's first entry
    points3D.Insert(Point3(coords[1], 0));
    points2D.Insert(Point2(coords[1], 0));
    for (int32_t i = 1; i < nCoords; ++i) {
        const int32_t j = i + 1;
        const API_Coord& a = coords[i];
        const API_Coord& b = coords[j];
        if (!(std::fabs(a.x - b.x) < Same && std::fabs(a.y - b.y) < Same)) {
            double angle = 0.0;
            Prim prim = {};
            prim.begin = Point3(a, 0);
            prim.end = Point3(b, 0);
            if (!arcAt(i, angle)) {
                prim.isLine = 1;
            } else {
                const QV_Arc arc = QV_Arc::FromEndPointsAndAngle(a, b, angle);
                const double t = DirectionAngle(arc.center, a) + angle / 2.0;
                const API_Coord mid{arc.center.x + arc.radiusX * std::cos(t), arc.center.y + arc.radiusX * std::sin(t)};
                points3D.Insert(Point3(mid, 2));
                points2D.Insert(Point2(mid, 2));
                prim.mid = Point3(mid, 2);
                prim.isLine = 0;
            }
            points3D.Insert(Point3(b, 0));
            points2D.Insert(Point2(b, 0));
            work.push_back(prim);
            segments.Insert(PrimSeg{a, b, prim.isLine});
        }
        int32_t ring = 0;
        if (!endsRing(j, ring)) continue;
        const int32_t last = points3D.GetCount() - 1;
        if (closeCodes) {
            points3D[ringStart].code = points3D[last].code;
            points3D[ringStart].z = points3D[last].z;
            points2D[ringStart].code = points2D[last].code;
        }
        if (markRingEnds) {
            points3D[last].code = -1;
            points2D[last].code = -1;
        }
        if (ring == 1) {
            QV_Poly poly;
            poly.SetFromCoordLongs(points2D);
            oriented = poly.SignedArea() > 0.0 ? 1 : 0;
        }
        if (!allRings || ring >= nEnds - 1 || j >= nCoords) break;
        ringStart = points3D.GetCount();
        points3D.Insert(Point3(coords[j + 1], 0));
        points2D.Insert(Point2(coords[j + 1], 0));
        ++i;  // the next ring starts at j + 1: no primitive joins two rings
    }
    memo.Dispose();

    if (reverseWhenOriented && oriented) {
        const int32_t n = points3D.GetCount();
        for (int32_t k = 0; k < n / 2; ++k) {
            const QV_Coord3DLong keep = points3D[k];
            points3D[k] = points3D[n - 1 - k];
            points3D[n - 1 - k] = keep;
        }
    } else if (fillPrims) {
        if (oriented) {
            for (const Prim& p : work) prims.Insert(p);
        } else {
            for (auto it = work.rbegin(); it != work.rend(); ++it) {
                Prim p = *it;
                std::swap(p.begin, p.end);
                prims.Insert(p);
            }
        }
    }
    return true;
}

bool MakePickFill(BaseCls& cls, int16_t fillValue) {
    const int32_t n = cls.polyPrims.GetCount();
    if (n < 1) return false;
    API_Element fill = {};
    fill.header.typeID = API_HatchID;
    if (ACAPI_Element_GetDefaults(&fill, nullptr) != NoError) return false;
    fill.hatch.hatchValue = fillValue;
    int32_t arcs = 0;
    for (int32_t k = 0; k < n; ++k) arcs += cls.polyPrims[k].isLine == 0 ? 1 : 0;
    fill.hatch.poly.nCoords = n + 1;
    fill.hatch.poly.nSubPolys = 1;
    fill.hatch.poly.nArcs = arcs;

    OwnedMemo memo;
    memo->coords = reinterpret_cast<API_Coord**>(BMAllocateHandle(GSSize((n + 2) * sizeof(API_Coord)), 0, 0));
    memo->pends = reinterpret_cast<int32_t**>(BMAllocateHandle(GSSize(2 * sizeof(int32_t)), 0, 0));
    memo->parcs = reinterpret_cast<API_PolyArc**>(BMAllocateHandle(GSSize(arcs * sizeof(API_PolyArc)), 0, 0));
    if (memo->coords == nullptr || memo->pends == nullptr || memo->parcs == nullptr) return false;
    (*memo->coords)[0] = API_Coord{0.0, 0.0};
    for (int32_t k = 0; k < n; ++k) (*memo->coords)[k + 1] = cls.polyPrims[k].begin;
    (*memo->coords)[n + 1] = cls.polyPrims[0].begin;
    (*memo->pends)[0] = 0;
    (*memo->pends)[1] = n + 1;
    int32_t a = 0;
    for (int32_t k = 0; k < n; ++k) {
        const PrimPoly& p = cls.polyPrims[k];
        if (p.isLine != 0) continue;
        const QV_Arc arc = QV_Arc::FromThreePoints(p.begin, p.end, p.mid);
        (*memo->parcs)[a++] = API_PolyArc{k + 1, k + 2, arc.endAngle - arc.startAngle};
    }
    if (CreateElementWithMemo(&fill, memo.Get(), true) != NoError) return false;

    ACAPI_Element_DeselectAll();
    SelectElement(fill, false);
    cls.pickHead = fill.header;
    const bool built = cls.BuildPrimitives(BaseCls::PrimitiveOptions().FillPrims().CloseCodes());
    // A fill the host would not delete takes the command back (LeftoverWatch): it must not outlive the step.
    const bool deleted = DeleteLeftoverElement(fill.header.guid);
    std::memset(static_cast<void*>(&cls.pickHead), 0, sizeof cls.pickHead);  // the fill is gone
    return built && deleted;
}

bool FindSegmentAtPoint(const BaseCls& cls, const API_Coord& point, int32_t& side) {
    for (int32_t i = 0; i < cls.segments.GetCount(); ++i) {
        const PrimSeg& s = cls.segments[i];
        if (SamePoint(point, s.begin)) return side = i + 1, true;
        if (SamePoint(point, s.end)) continue;  // the end point belongs to the next side
        const double dx = s.begin.x - s.end.x, dy = s.begin.y - s.end.y;
        const bool alongX = std::fabs(dx) >= std::fabs(dy);
        const double extent = alongX ? dx : dy;
        if (std::fabs(extent) < Same) continue;
        const double u = alongX ? (point.x - s.end.x) / dx : (point.y - s.end.y) / dy;
        if (u < 0.0 || u > 1.0) continue;
        const double other = alongX ? s.end.y + u * dy : s.end.x + u * dx;
        if (Near(alongX ? point.y : point.x, other)) return side = i + 1, true;
    }
    return false;
}

bool FindOtherSegmentAtPoint(const BaseCls& cls, const API_Coord& point, int32_t otherSide, int32_t& side) {
    int32_t found = 0;
    if (!FindSegmentAtPoint(cls, point, found) || found == otherSide) return false;
    side = found;
    return true;
}

bool BaseCls::InputPolygonStep(BaseRSWCls& cls, bool* inputFailed) {
    int32_t first = 0, last = 0;
    GSErrCode inputError = NoError;
    const bool picked = PickSide(cls, 3, 0, first, inputError) && PickSide(cls, 4, first, last, inputError);
    if (inputFailed != nullptr) *inputFailed = inputError != NoError && inputError != APIERR_CANCEL;
    if (!picked) return false;
    const int32_t firstPrim = PrimOfSegment(cls, cls.segments[first - 1]);
    const int32_t lastPrim = PrimOfSegment(cls, cls.segments[last - 1]);
    if (firstPrim == 0 || lastPrim == 0) return false;
    cls.firstSide = firstPrim;
    cls.lastSide = lastPrim;
    return true;
}

bool SplitRingAtSides(BaseRSWCls& cls) {
    const int32_t n = cls.prims.GetCount();
    int32_t first = cls.firstSide, last = cls.lastSide;
    if (n < 3 || first < 1 || first > n || last < 1 || last > n || first == last) return false;
    std::vector<Prim> ring(cls.prims.begin(), cls.prims.end());
    // Rotate so that the first side leads, then drop it.
    std::vector<Prim> rotated(ring.begin() + (first - 1), ring.end());
    rotated.insert(rotated.end(), ring.begin(), ring.begin() + (first - 1));
    last = (last - first + n) % n;  // 1-based position after the first side is dropped
    rotated.erase(rotated.begin());
    if (last < 2) return false;  // adjacent sides leave no edge between them

    const auto append = [](QV_List<QV_Coord3DLong>& chain, const Prim& p) {
        if (p.isLine == 0) chain.Insert(p.mid);
        chain.Insert(p.end);
    };
    QV_List<QV_Coord3DLong> a, b;
    a.Insert(rotated.front().begin);
    for (int32_t k = 0; k < last - 1; ++k) append(a, rotated[size_t(k)]);
    rotated.erase(rotated.begin(), rotated.begin() + last);  // the records used and the last side
    if (rotated.empty()) return false;
    b.Insert(rotated.front().begin);
    for (const Prim& p : rotated) append(b, p);
    for (int32_t k = 0; k < a.GetCount(); ++k) cls.chainA.Insert(a[k]);
    for (int32_t k = 0; k < b.GetCount(); ++k) cls.chainB.Insert(b[k]);
    return true;
}
