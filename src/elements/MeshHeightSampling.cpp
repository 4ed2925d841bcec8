#include "elements/MeshHeightSampling.hpp"

#include "elements/ElementHelpers.hpp"
#include "elements/StoryHelpers.hpp"
#include "elements/LeftoverElements.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/OwnedMemo.hpp"

#include <cfloat>
#include <cmath>
#include <cstring>

namespace {
constexpr double kBoxMargin = 200.0;       // the slab's rectangle around the element's box, in x and y
constexpr double kTopAboveBox = 101.0;     // the slab's top above the box's top
constexpr double kExtraThickness = 102.0;  // so its bottom lies 1.0 below the box's bottom
constexpr double kCoincidence = 1e-7;      // plan positions closer than this are one

// Links, unlinks and deletions are refused while the 3D model's database is current, and creating a slab with
// the 3D window in front makes it current again: the floor plan's database is made current before each of them,
// and the caller's database is current again at the end.
class PlanDatabase {
public:
    PlanDatabase() { saved_ = ACAPI_Database(APIDb_GetCurrentDatabaseID, &callers_) == NoError; }
    ~PlanDatabase() {
        // The caller's database not made current again is a change the step could not undo.
        if (saved_ && ACAPI_Database(APIDb_ChangeCurrentDatabaseID, &callers_) != NoError) NoteStrandedChange();
    }
    PlanDatabase(const PlanDatabase&) = delete;
    PlanDatabase& operator=(const PlanDatabase&) = delete;

    // False when the host would not tell the current database or make the floor plan's current.
    bool Ensure() {
        API_DatabaseInfo current = {};
        if (ACAPI_Database(APIDb_GetCurrentDatabaseID, &current) != NoError) return false;
        if (current.typeID != APIWind_3DModelID) return true;
        API_DatabaseInfo plan = {};
        plan.typeID = APIWind_FloorPlanID;
        return ACAPI_Database(APIDb_ChangeCurrentDatabaseID, &plan) == NoError;
    }

private:
    API_DatabaseInfo callers_ = {};
    bool saved_ = false;
};

bool LinkAccepted(GSErrCode err) { return err == NoError || err == APIERR_LINKEXIST; }

// The sentinel, or anything else no story could stand at.
bool StoryLevelKnown(double level) { return std::isfinite(level) && std::fabs(level) < 1e300; }

bool SamePlace(double x1, double y1, double x2, double y2) {
    return std::fabs(x1 - x2) <= kCoincidence && std::fabs(y1 - y2) <= kCoincidence;
}

bool SlabDefaults(API_Element& slab) {
    std::memset(static_cast<void*>(&slab), 0, sizeof slab);
    slab.header.typeID = API_SlabID;
    return ACAPI_Element_GetDefaults(&slab, nullptr) == NoError;
}

// The highest model vertex at (x, y); false when the model has none there.
bool HighestAt(const QV_List<API_Coord3D>& vertices, double x, double y, double& z) {
    bool found = false;
    for (const API_Coord3D& v : vertices) {
        if (!SamePlace(v.x, v.y, x, y)) continue;
        z = found ? std::fmax(z, v.z) : v.z;
        found = true;
    }
    return found;
}

bool Unlink(const API_Element& mesh, const API_Element& slab) {
    return ACAPI_Element_SolidLink_Remove(mesh.header.guid, slab.header.guid) == NoError;
}

bool DeleteSlab(const API_Element& slab) { return DeleteLeftoverElement(slab.header.guid); }

bool DeleteSlabs(const QV_List<API_Element>& slabs) {
    GS::Array<API_Guid> guids;
    for (const API_Element& s : slabs) guids.Push(s.header.guid);
    return DeleteLeftoverElements(guids);
}

bool ClosesOnItself(const QV_List<QV_Coord3DLong>& ring) {
    const int32_t n = ring.GetCount();
    return n > 1 && SamePlace(ring[0].x, ring[0].y, ring[n - 1].x, ring[n - 1].y);
}

// The slab around an element is made, linked and read the same way by the two outline operations; the caller
// gets the slab back (to unlink and delete) whatever happened after its creation.
struct OutlineCut {
    uint8_t created = 0;
    bool linked = false;
    bool read = false;
};

OutlineCut CutAndRead(MeshBody& body, const API_Element& mesh, const QV_List<QV_Coord3DLong>& outline,
                      PlanDatabase& plan) {
    OutlineCut cut;
    body.element = mesh;
    std::memset(static_cast<void*>(&body.secondElement), 0, sizeof body.secondElement);
    if (!plan.Ensure() || !CreateCutterSlabAroundElement(body, outline, cut.created) || !plan.Ensure()) return cut;
    cut.linked = LinkElementGuids(body.secondElement, body.element);
    cut.read = cut.linked && ReadModelVertices(body);
    return cut;
}

// Removes what CutAndRead left; false when something could not be removed.
bool Uncut(MeshBody& body, const OutlineCut& cut, PlanDatabase& plan) {
    bool ok = plan.Ensure();
    if (cut.linked) ok = Unlink(body.element, body.secondElement) && ok;
    if (cut.created) ok = DeleteSlab(body.secondElement) && ok;
    return ok;
}
}  // namespace

void BuildSampleSquare(double x, double y, QV_List<QV_Coord3DLong>& square) {
    constexpr double side = 0.5;
    constexpr int32_t code = 15;
    square.Clear();
    square.Insert(QV_Coord3DLong{x, y, 0.0, code});
    square.Insert(QV_Coord3DLong{x + side, y, 0.0, code});
    square.Insert(QV_Coord3DLong{x + side, y - side, 0.0, code});
    square.Insert(QV_Coord3DLong{x, y - side, 0.0, code});
    square.Insert(QV_Coord3DLong{x, y, 0.0, -1});
}

bool LinkElementGuids(const API_Element& operatorElement, const API_Element& target) {
    return LinkAccepted(
        ACAPI_Element_SolidLink_Create(target.header.guid, operatorElement.header.guid, APISolid_SubtractDownwards, 1));
}

double GetStoryLevel(const API_Element& element) {
    const double level = GetStoryLevel(element.header.floorInd);
    return StoryLevelKnown(level) ? level : UnknownStoryLevel;
}

bool CreateCutterSlab(const API_Element& storySource, API_Element& slab, const QV_List<QV_Coord3DLong>& hole,
                      const API_Box3D& box) {
    const int32_t n = hole.GetCount();
    if (n < 3) return false;
    slab.header.floorInd = storySource.header.floorInd;
    // A slab placed from an unknown story level would float at an absurd height and cut nothing.
    const double storyLevel = GetStoryLevel(slab);
    if (!StoryLevelKnown(storyLevel)) return false;

    const bool closed = ClosesOnItself(hole);
    const int32_t holeCount = closed ? n : n + 1;
    const int32_t coordCount = 5 + holeCount;
    slab.header.layer = 1;
    slab.slab.pen = 1;
    slab.slab.materialsChained = 0;
    slab.slab.useFloorFill = 1;
    slab.slab.thickness = std::fabs(box.zMax - box.zMin) + kExtraThickness;
    slab.slab.level = box.zMax + kTopAboveBox - storyLevel;
    slab.slab.offsetFromTop = 0.0;  // the level is the slab's top
    slab.slab.poly.nCoords = coordCount;
    slab.slab.poly.nSubPolys = 2;
    slab.slab.poly.nArcs = 0;

    OwnedMemo memo;
    memo->coords = reinterpret_cast<API_Coord**>(
        BMAllocateHandle(GSSize(sizeof(API_Coord)) * GSSize(coordCount + 1), ALLOCATE_CLEAR, 0));
    memo->pends = reinterpret_cast<int32_t**>(BMAllocateHandle(GSSize(sizeof(int32_t)) * 3, ALLOCATE_CLEAR, 0));
    if (memo->coords == nullptr || memo->pends == nullptr) return false;
    API_Coord* c = *memo->coords;
    c[0] = API_Coord{0.0, 0.0};
    c[1] = API_Coord{box.xMin, box.yMin};
    c[2] = API_Coord{box.xMin, box.yMax};
    c[3] = API_Coord{box.xMax, box.yMax};
    c[4] = API_Coord{box.xMax, box.yMin};
    c[5] = API_Coord{box.xMin, box.yMin};
    for (int32_t i = 0; i < n; ++i) c[6 + i] = API_Coord{hole[i].x, hole[i].y};
    if (!closed) c[6 + n] = API_Coord{hole[0].x, hole[0].y};
    (*memo->pends)[0] = 0;
    (*memo->pends)[1] = 5;
    (*memo->pends)[2] = coordCount;
    return CreateElementWithMemo(&slab, memo.Get(), true) == NoError;
}

bool CreateCutterSlabAroundElement(MeshBody& body, const QV_List<QV_Coord3DLong>& hole, uint8_t& created) {
    created = 0;
    if (!SlabDefaults(body.secondElement)) return false;
    API_Box3D box;
    if (!WidenedElementBox(body.element, box)) return false;
    if (!CreateCutterSlab(body.element, body.secondElement, hole, box)) return false;
    created = 1;
    return true;
}

bool ReadModelVertices(MeshBody& body) {
    ShrinkToEmpty(body.vertices);
    API_ElemInfo3D info;
    if (ACAPI_Element_Get3DInfo(body.element.header, &info) != NoError) return false;
    // Every vertex of every body counts, the last one too: the host lists each vertex of a body once, and one
    // listed twice changes no height.
    for (int32_t b = info.firstBody; b <= info.lastBody; ++b) {
        API_Component3D component = {};
        component.header.typeID = API_BodyID;
        component.header.index = b;
        if (ACAPI_3D_GetComponent(&component) != NoError) return false;
        const int32_t count = component.body.vertexCount;
        for (int32_t v = 1; v <= count; ++v) {
            component = API_Component3D{};
            component.header.typeID = API_VertID;
            component.header.index = v;
            if (ACAPI_3D_GetComponent(&component) != NoError) return false;
            if (!body.vertices.Insert(API_Coord3D{component.vert.x, component.vert.y, component.vert.z})) return false;
        }
    }
    return true;
}

void DropLowestVertices(MeshBody& body, double& lowest, double& highest) {
    lowest = UnknownStoryLevel;
    highest = -UnknownStoryLevel;
    double floor = DBL_MAX;
    for (const API_Coord3D& v : body.vertices) floor = std::fmin(floor, v.z);
    QV_List<API_Coord3D> kept;
    for (const API_Coord3D& v : body.vertices) {
        if (std::fabs(v.z - floor) < kCoincidence) continue;
        kept.Insert(v);
        lowest = std::fmin(lowest, v.z);
        highest = std::fmax(highest, v.z);
    }
    body.vertices = kept;
    if (std::fabs(lowest - UnknownStoryLevel) < kCoincidence) lowest = 0.0;
    if (std::fabs(highest + UnknownStoryLevel) < kCoincidence) highest = 0.0;
}

bool SampleMeshHeights(MeshBody& body, const API_Element& mesh, QV_List<QV_Coord3DLong>& points, double& zMin,
                       double& zMax) {
    API_Element defaults;
    if (!SlabDefaults(defaults)) return false;
    body.element = mesh;
    std::memset(static_cast<void*>(&body.secondElement), 0, sizeof body.secondElement);
    API_Box3D box;
    if (!WidenedElementBox(body.element, box)) return false;
    if (points.IsEmpty()) return true;

    PlanDatabase plan;
    QV_List<API_Element> slabs;
    QV_List<QV_Coord3DLong> square;
    bool ok = true;
    for (int32_t i = 0; ok && i < points.GetCount(); ++i) {
        BuildSampleSquare(points[i].x, points[i].y, square);
        API_Element slab = defaults;
        plan.Ensure();
        const bool created = CreateCutterSlab(body.element, slab, square, box);
        plan.Ensure();
        if (!created) {
            ok = false;
            break;
        }
        if (!slabs.Insert(slab)) {
            // A slab the list cannot keep would never be deleted: it goes at once.
            DeleteSlab(slab);
            ok = false;
            break;
        }
        body.secondElement = slab;
        if (!LinkElementGuids(slab, body.element)) {
            ok = false;
            break;
        }
        double z = 0.0;
        ok = ReadModelVertices(body);
        if (ok) {
            DropLowestVertices(body, zMin, zMax);
            // No model vertex at the point: the mesh does not reach it, and no height is made up.
            ok = HighestAt(body.vertices, points[i].x, points[i].y, z);
        }
        if (ok) points[i].z = z;
        ok = Unlink(body.element, slab) && ok;
    }
    plan.Ensure();
    return DeleteSlabs(slabs) && ok;
}

bool AssignHeightsFromElement(MeshBody& body, const API_Element& mesh, QV_List<QV_Coord3DLong>& outline, double& zMin,
                              double& zMax, QV_List<uint8_t>* sampled, bool* hostFailed) {
    if (hostFailed != nullptr) *hostFailed = false;
    const int32_t n = outline.GetCount();
    if (sampled != nullptr) {
        sampled->Clear();
        sampled->SetSize(n);
    }
    if (n < 3) return false;
    PlanDatabase plan;
    const OutlineCut cut = CutAndRead(body, mesh, outline, plan);
    bool ok = cut.read;
    if (ok) {
        DropLowestVertices(body, zMin, zMax);
        const bool ring = ClosesOnItself(outline);
        const int32_t own = ring ? n - 1 : n;
        bool firstFound = false;
        for (int32_t i = 0; i < own; ++i) {
            double z = 0.0;
            const bool found = HighestAt(body.vertices, outline[i].x, outline[i].y, z);
            if (found) outline[i].z = z;
            if (sampled != nullptr) (*sampled)[i] = found ? 1 : 0;
            if (i == 0) firstFound = found;
            ok = ok && found;
        }
        if (ring && firstFound) {
            outline[n - 1].z = outline[0].z;
            if (sampled != nullptr) (*sampled)[n - 1] = 1;
        }
    }
    const bool uncut = Uncut(body, cut, plan);
    if (hostFailed != nullptr) *hostFailed = !cut.read || !uncut;
    return uncut && ok;
}

bool ReadMeshVerticesInsideOutline(MeshBody& body, const API_Element& mesh, const QV_List<QV_Coord3DLong>& outline) {
    if (outline.GetCount() < 3) {
        ShrinkToEmpty(body.vertices);
        return false;
    }
    PlanDatabase plan;
    const OutlineCut cut = CutAndRead(body, mesh, outline, plan);
    return Uncut(body, cut, plan) && cut.read;
}

bool WidenedElementBox(const API_Element& element, API_Box3D& box) {
    API_Element e = element;
    if (ACAPI_Database(APIDb_CalcBoundsID, &e, &box) != NoError) return false;
    box.xMin -= kBoxMargin;
    box.yMin -= kBoxMargin;
    box.xMax += kBoxMargin;
    box.yMax += kBoxMargin;
    return true;
}
