#include "elements/ElementQueries.hpp"

#include "elements/ElemDataRecord.hpp"
#include "elements/ElementHelpers.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/SelectionHelpers.hpp"
#include "foundation/OwnedMemo.hpp"
#include "geometry/PointGrid.hpp"
#include "geometry/project/CurveDivision.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <vector>

namespace {
constexpr uint64_t kMemoMask = 0x3fffffffbfffffffull;
constexpr double kSamePoint = 1e-7;
constexpr double kNoHeight = 1.79769313486231e308;

template <typename T>
int32_t HandleCount(T** handle) {
    if (handle == nullptr) return 0;
    return int32_t(BMGetHandleSize(reinterpret_cast<GSConstHandle>(handle)) / GSSize(sizeof(T)));
}

bool Near(double a, double b) { return std::fabs(a - b) < kSamePoint; }

// The first contour's points, 1 to its end index (or the coordinate count), as read from the memo.
template <typename Point, typename Make>
bool ReadFirstContour(const API_Element& element, QV_List<Point>& out, Make make) {
    out.Clear();
    API_Element record = {};
    record.header.guid = element.header.guid;
    if (ACAPI_Element_Get(&record) != NoError) return false;
    OwnedMemo memo;
    if (memo.Read(record.header.guid, kMemoMask) != NoError) return false;
    const API_Polygon* poly = APIPolygonOf(record);
    const int32_t n = poly != nullptr ? std::min(poly->nCoords, HandleCount(memo->coords) - 1) : 0;
    if (n > 1) {
        int32_t last = n;
        if (HandleCount(memo->pends) > 1 && (*memo->pends)[1] >= 1) last = std::min(last, (*memo->pends)[1]);
        for (int32_t i = 1; i <= last; ++i) out.Insert(make((*memo->coords)[i]));
    }
    return true;
}

template <typename Point>
void CloseRing(QV_List<Point>& ring, bool (*same)(const Point&, const Point&)) {
    const int32_t n = ring.GetCount();
    if (n > 0 && !same(ring[0], ring[n - 1])) ring.Insert(Point(ring[0]));
}

bool Same2D(const API_Coord& a, const API_Coord& b) { return Near(a.x, b.x) && Near(a.y, b.y); }
bool Same3D(const API_Coord3D& a, const API_Coord3D& b) { return Near(a.x, b.x) && Near(a.y, b.y) && Near(a.z, b.z); }

int32_t CreateFill(const QV_Poly& outline, const FillAttributes& attributes, API_Element& element) {
    std::memset(&element, 0, sizeof element);
    element.header.typeID = API_HatchID;
    element.header.variationID = 0;
    if (ACAPI_Element_GetDefaults(&element, nullptr) != NoError) return 0;
    element.header.floorInd = attributes.words[0];
    element.header.layer = attributes.words[1];
    element.hatch.contPen = attributes.words[2];
    element.hatch.fillPen = attributes.words[3];
    element.hatch.fillBGPen = attributes.words[4];
    element.hatch.fillInd = attributes.words[5];
    element.hatch.drawOrder = attributes.words[6];
    OwnedMemo memo;
    QV_String info = attributes.info;
    SetMemoInfoString(*memo, info);
    if (!outline.FillElementMemo(element, *memo)) return 0;
    return CreateElementWithMemo(&element, memo.Get(), true) == NoError ? 1 : 0;
}

// The terrain points of the project: the hotspots whose data record is of kind 1 (x, y and its value).
QV_List<API_Coord3D> TerrainPoints() {
    QV_List<API_Coord3D> points;
    GS::Array<API_Guid> hotspots;
    if (ACAPI_Element_GetElemList(API_HotspotID, &hotspots) != NoError) return points;
    for (const API_Guid& guid : hotspots) {
        if (!ACAPI_Element_Filter(guid, 0)) continue;
        API_Element hotspot = {};
        hotspot.header.guid = guid;
        if (ACAPI_Element_Get(&hotspot) != NoError) continue;
        ElemDescriptor point;
        if (!point.FromElement(ElemKind_Point, hotspot.header, false)) continue;
        points.Insert({hotspot.hotspot.pos.x, hotspot.hotspot.pos.y, point.Value});
    }
    return points;
}

// The terrain points by place: an outline has a vertex at each of its points, so a scan of the list per vertex
// would cost the outline's length times the survey's size.
class PointsByPlace {
public:
    explicit PointsByPlace(const QV_List<API_Coord3D>& points) : points_(points), grid_(4.0 * kSamePoint) {
        for (int32_t i = 0; i < points.GetCount(); ++i) grid_.Add(points[i].x, points[i].y, i);
    }
    // The first point of the list at (x, y), as a scan would find it; null when none.
    const API_Coord3D* At(double x, double y) const {
        const int32_t i = grid_.First(x, y, [&](int32_t k) { return Near(points_[k].x, x) && Near(points_[k].y, y); });
        return i < 0 ? nullptr : &points_[i];
    }

private:
    const QV_List<API_Coord3D>& points_;
    PointGrid grid_;
};
}  // namespace

bool ReadElementMemoCoords3D(const API_Element& element, QV_List<API_Coord3D>& coords) {
    if (!ReadFirstContour(element, coords, [](const API_Coord& c) { return API_Coord3D{c.x, c.y, 0.0}; })) return false;
    CloseRing(coords, Same3D);
    return true;
}

bool ReadElementMemoCoords2D(const API_Element& element, QV_List<API_Coord>& coords) {
    if (!ReadFirstContour(element, coords, [](const API_Coord& c) { return c; })) return false;
    CloseRing(coords, Same2D);
    return true;
}

int32_t CreateElementFromCoords(const QV_List<API_Coord3D>& points, const FillAttributes& attributes,
                                API_Element& element) {
    QV_Poly outline;
    for (const API_Coord3D& p : points) outline.AddPoint({p.x, p.y}, true, kSamePoint);
    return CreateFill(outline, attributes, element);
}

int32_t CreateElementFromCoords2D(const QV_List<API_Coord>& points, const FillAttributes& attributes,
                                  API_Element& element) {
    QV_Poly outline;
    for (const API_Coord& p : points) outline.AddPoint(p, true, kSamePoint);
    return CreateFill(outline, attributes, element);
}

bool AdjustMeshLevel(API_Element& mesh, const double* lowest, uint8_t& changed) {
    changed = 0;
    double low = kNoHeight;
    if (lowest != nullptr) {
        low = *lowest;
    } else {
        OwnedMemo memo;
        if (memo.Read(mesh.header.guid, kMemoMask) != NoError) return false;
        const int32_t heights = std::min(mesh.mesh.poly.nCoords + 1, HandleCount(memo->meshPolyZ));
        for (int32_t i = 1; i < heights; ++i) low = std::min(low, (*memo->meshPolyZ)[i]);
        const int32_t levels = HandleCount(memo->meshLevelCoords);
        for (int32_t i = 0; i < levels; ++i) low = std::min(low, (*memo->meshLevelCoords)[i].c.z);
    }
    if (-low - 1e-7 > mesh.mesh.level) {
        mesh.mesh.level = 1.0 - low;
        changed = 1;
    }
    return true;
}

int32_t FindElementByGuidAnyType(const API_Guid& guid) {
    // A type the host would not list may hold the element: absent only when every type was listed.
    bool refused = false;
    for (API_ElemTypeID type = 1; type <= API_LastElemTypeID; ++type) {
        GS::Array<API_Guid> list;
        if (ACAPI_Element_GetElemList(type, &list) != NoError) {
            refused = true;
            continue;
        }
        for (const API_Guid& g : list) {
            // Only the element that carries the GUID is read: reading them all finds nothing more. With no filter
            // bits a listed element always passes, so a refusal here is the host's, not the element's absence.
            if (g != guid) continue;
            API_Element element = {};
            element.header.guid = g;
            if (!ACAPI_Element_Filter(g, 0) || ACAPI_Element_Get(&element) != NoError) return -1;
            if (element.header.guid == guid) return 1;
        }
    }
    return refused ? -1 : 0;
}

int32_t SegmentCrossesConstraintLine(const API_Coord& a, const API_Coord& b, uint8_t switchDatabase) {
    GS::Array<API_Guid> lines;
    if (ACAPI_Element_GetElemList(API_LineID, &lines) != NoError) return -1;
    const PlanSegment ab = {a.x, a.y, b.x, b.y};
    for (const API_Guid& guid : lines) {
        // With no filter bits every listed element passes: one that does not is a refusal, as is a failed read.
        if (!ACAPI_Element_Filter(guid, 0)) return -1;
        API_Element line = {};
        line.header.guid = guid;
        if (ACAPI_Element_Get(&line) != NoError) return -1;
        API_ElementUserData data = {};
        GSErrCode read = NoError;
        if (switchDatabase != 0 && IsCurrentWindow3D()) {
            API_DatabaseInfo db = {};
            db.typeID = APIWind_FloorPlanID;
            if (ACAPI_Database(APIDb_ChangeCurrentDatabaseID, &db) != NoError) return -1;
            read = ACAPI_Element_GetUserData(&line.header, &data);
            db.typeID = APIWind_3DModelID;
            // Left in the floor plan, the caller would read the next elements in the wrong database.
            if (ACAPI_Database(APIDb_ChangeCurrentDatabaseID, &db) != NoError && read == NoError) read = APIERR_GENERAL;
        } else {
            read = ACAPI_Element_GetUserData(&line.header, &data);
        }
        if (read != NoError) {
            BMKillHandle(&data.dataHdl);
            return -1;
        }
        ElemDescriptor constraint;
        const bool isConstraint =
            data.dataHdl != nullptr && ElemUserData_ReadRecord(constraint, ElemKind_Constraint, data);
        BMKillHandle(&data.dataHdl);
        if (!isConstraint) continue;
        const API_Coord& p = line.line.begC;
        const API_Coord& q = line.line.endC;
        if (Same2D(p, a) || Same2D(p, b) || Same2D(q, a) || Same2D(q, b)) continue;
        API_Coord crossing;
        if (IntersectSegments(ab, {p.x, p.y, q.x, q.y}, crossing)) return 1;
    }
    return 0;
}

void KeepOutlineVerticesAtPoints3D(QV_List<API_Coord3D>& outline) {
    KeepOutlineVerticesAtPoints3D(outline, TerrainPoints());
}

void KeepOutlineVerticesAtPoints3D(QV_List<API_Coord3D>& outline, const QV_List<API_Coord3D>& points) {
    if (points.GetCount() == 0) {
        outline.Clear();
        return;
    }
    const PointsByPlace byPlace(points);
    QV_List<API_Coord3D> kept;
    for (int32_t i = 0; i + 1 < outline.GetCount(); ++i)  // the last point repeats the first
        if (const API_Coord3D* p = byPlace.At(outline[i].x, outline[i].y)) kept.Insert(*p);
    if (kept.GetCount() > 0) kept.Insert(API_Coord3D(kept[0]));
    outline = kept;
}

void KeepOutlineVerticesAtPoints(QV_Poly& poly) {
    const QV_List<API_Coord3D> points = TerrainPoints();
    const int32_t n = poly.VertexCount();
    std::vector<int32_t> keep;
    if (points.GetCount() > 0) {
        const PointsByPlace byPlace(points);
        for (int32_t i = 0; i < n; ++i)
            if (byPlace.At(poly.vertices[i].x, poly.vertices[i].y) != nullptr) keep.push_back(i);
    }
    if (keep.empty()) {
        poly.Clear();
        return;
    }
    // Vertices, arcs and codes are rebuilt together, so that the three lists keep agreeing.
    const bool closed = poly.IsClosed();
    QV_Poly result;
    result.clockwise = poly.clockwise;
    const int32_t m = int32_t(keep.size());
    for (int32_t k = 0; k < m; ++k) result.vertices.Insert(poly.vertices[keep[size_t(k)]]);
    const int32_t edges = closed ? m : m - 1;
    bool anyArc = false;
    for (int32_t k = 0; k < edges; ++k) {
        const int32_t from = keep[size_t(k)];
        const int32_t to = keep[size_t((k + 1) % m)];
        const bool adjacent = to == from + 1 || (closed && from == n - 1 && to == 0 && m > 1);
        const QV_Arc* arc = adjacent ? poly.EdgeArc(from) : nullptr;
        if (arc != nullptr) {
            result.arcs.Insert(*arc);
            result.codes.Insert(result.arcs.GetCount() - 1);
            anyArc = true;
        } else {
            result.codes.Insert(-1);
        }
    }
    // A ring needs three vertices, or two joined by an arc; fewer stay an open chain.
    if (closed && !(m >= 3 || (m == 2 && anyArc)) && result.codes.GetCount() > 0) {
        result.codes.Remove(result.codes.GetCount() - 1);
        result.arcs.Clear();
        for (int32_t k = 0; k < result.codes.GetCount(); ++k) result.codes[k] = -1;
    }
    poly = result;
    poly.UpdateClockwise();
}

// --- the placement of objects --------------------------------------------------------------------------------

namespace {
struct Member {
    size_t offset;
    size_t size;
    size_t marked;  // bytes the mask marks (from the member's start)
};

#define HEAD_MEMBER(m)                                                                                                 \
    Member { offsetof(API_Elem_Head, m), sizeof(API_Elem_Head::m), sizeof(API_Elem_Head::m) }
#define OBJECT_MEMBER(m)                                                                                               \
    Member { offsetof(API_ObjectType, m), sizeof(API_ObjectType::m), sizeof(API_ObjectType::m) }

// In record order; the layer index and the library part are not among them. `fixedAngle` and its filler share a
// 16-bit place of which only the first byte is marked.
const Member kPlacement[] = {
    HEAD_MEMBER(groupGuid),
    HEAD_MEMBER(modiStamp),
    HEAD_MEMBER(floorInd),
    HEAD_MEMBER(hasMemo),
    HEAD_MEMBER(locked),
    HEAD_MEMBER(drwIndex),
    HEAD_MEMBER(renovationStatus),
    HEAD_MEMBER(hotlinkIndex),
    OBJECT_MEMBER(pen),
    OBJECT_MEMBER(ltypeInd),
    OBJECT_MEMBER(mat),
    OBJECT_MEMBER(sectFill),
    OBJECT_MEMBER(sectPen),
    OBJECT_MEMBER(sectBGPen),
    OBJECT_MEMBER(contPen),
    OBJECT_MEMBER(useObjPens),
    OBJECT_MEMBER(useObjLtypes),
    OBJECT_MEMBER(useObjMaterials),
    OBJECT_MEMBER(useObjSectAttrs),
    OBJECT_MEMBER(reflected),
    OBJECT_MEMBER(lightIsOn),
    Member{offsetof(API_ObjectType, fixedAngle), 2, 1},
    OBJECT_MEMBER(angle),
    OBJECT_MEMBER(xRatio),
    OBJECT_MEMBER(yRatio),
    OBJECT_MEMBER(level),
    OBJECT_MEMBER(pos),
    OBJECT_MEMBER(zOffset),
    OBJECT_MEMBER(liftSize),
    OBJECT_MEMBER(anchorPoint),
    OBJECT_MEMBER(isAutoOnStoryVisibility),
    OBJECT_MEMBER(ownerGuid),
    OBJECT_MEMBER(ownerDistance),
};
#undef HEAD_MEMBER
#undef OBJECT_MEMBER
static_assert(offsetof(API_ObjectType, filler1) == offsetof(API_ObjectType, fixedAngle) + 1,
              "fixedAngle and its filler share one 16-bit place");
}  // namespace

void CopyObjectPlacementFields(const API_Element& source, API_Element& target1, API_Element& target2) {
    for (const Member& m : kPlacement) {
        std::memcpy(target1.bytes + m.offset, source.bytes + m.offset, m.size);
        std::memcpy(target2.bytes + m.offset, source.bytes + m.offset, m.size);
    }
}

void SetObjectPlacementMask(API_Element& mask) {
    std::memset(&mask, 0, sizeof mask);
    for (const Member& m : kPlacement) std::memset(mask.bytes + m.offset, 0xFF, m.marked);
}

QV_String& FormatZeroPaddedNumber(QV_String& out, uint32_t number) {
    std::string digits = std::to_string(number);
    if (digits.size() < 5) digits.insert(0, 5 - digits.size(), '0');
    out = digits.c_str();
    return out;
}
