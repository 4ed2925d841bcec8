// The retaining wall's object: its faces computed on the terrain, written into a "VY_RETAINING_WALL" object
// linked to the terrain, computed again on a data update, and kept apart from the terrain when copied.
#include "earthworks/EarthworkSet.hpp"
#include "earthworks/Obstacle.hpp"
#include "earthworks/PathSegments.hpp"
#include "earthworks/WallProfile.hpp"
#include "elements/WrittenMemo.hpp"
#include "elements/ContourLineRefresh.hpp"
#include "elements/ElementHelpers.hpp"
#include "elements/FloorPlanDatabase.hpp"
#include "elements/LevelOnStory.hpp"
#include "elements/LibPartViews.hpp"
#include "elements/MeshHeightSampling.hpp"
#include "elements/ModelUpdate.hpp"
#include "elements/ParamIndexes.hpp"
#include "elements/SolidLinkRemoval.hpp"
#include "elements/UpdatedElements.hpp"
#include "elements/WholeCommand.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/GuidText.hpp"
#include "foundation/SelectionHelpers.hpp"
#include "geometry/OutlineOffset.hpp"
#include "settings/ElementSections.hpp"
#include "settings/Settings.hpp"

#include "APIInteraction.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
constexpr double NearOffset = 0.001;

void Translate(QV_List<QV_Coord3DLong>& points, const API_Coord& origin) {
    for (QV_Coord3DLong& p : points) {
        p.x -= origin.x;
        p.y -= origin.y;
    }
}

void Translate(QV_List<QV_CoordLong>& points, const API_Coord& origin) {
    for (QV_CoordLong& p : points) {
        p.x -= origin.x;
        p.y -= origin.y;
    }
}

bool RemoveWallLink(const API_Element& terrain, const API_Element& wall) {
    const GSErrCode err = ACAPI_Element_SolidLink_Remove(terrain.header.guid, wall.header.guid);
    return err == NoError || err == APIERR_LINKEXIST || err == APIERR_LINKNOTEXIST;
}
}  // namespace

API_Coord ObstacleCls::Origin() const {
    const QV_List<QV_Coord3DLong>& face = onLeft != 0 ? points3D : farVertices;
    if (face.IsEmpty()) return {0.0, 0.0};
    return {face[0].x, face[0].y};
}

bool ObstacleCls::ComputeProfile(double thickness) {
    // The near face stands just off the path on the side away from the wall, so that the drawn path lies inside
    // the wall; the far face lies on the chosen side. Both run with the path: right-hand offsets come back
    // reversed.
    const uint8_t wallSide = onLeft != 0 ? 0 : 1;
    const uint8_t nearSide = onLeft != 0 ? 1 : 0;
    QV_List<PrimPoly> near;
    OffsetPolygonWithArcs(polyPrims, nearSide, NearOffset, near, 1);
    if (nearSide == 1) ReverseSegmentList(near);
    polyPrims = near;
    OffsetPolygonWithArcs(polyPrims, wallSide, thickness, farSegments, 1);
    if (wallSide == 1) ReverseSegmentList(farSegments);
    if (polyPrims.IsEmpty() || farSegments.IsEmpty()) return false;
    BuildFaceVertices(polyPrims, points3D);
    BuildFaceVertices(farSegments, farVertices);
    if (!SampleTerrainHeights(true)) return false;
    MatchFarFace(polyPrims, points3D, thickness, onLeft != 0, farSegments, farVertices);
    return true;
}

bool ObstacleCls::SampleTerrainHeights(bool split) {
    MeshBody body;
    QV_List<QV_Coord3DLong> ring = points3D;
    if (split) {
        for (int32_t j = farVertices.GetCount() - 1; j >= 0; --j) ring.Insert(farVertices[j]);
        if (!points3D.IsEmpty()) ring.Insert(points3D[0]);
    }
    double lowest = 0.0, highest = 0.0;
    if (!SampleMeshHeights(body, element, ring, lowest, highest)) return false;
    const int32_t nearCount = points3D.GetCount();
    for (int32_t i = 0; i < nearCount; ++i) points3D[i].z = ring[i].z;
    if (!split) return true;
    zMin = zMax = ring.IsEmpty() ? 0.0 : ring[0].z;
    for (const QV_Coord3DLong& p : ring) {
        zMin = std::min(zMin, p.z);
        zMax = std::max(zMax, p.z);
    }
    const int32_t farCount = farVertices.GetCount();
    for (int32_t j = 0; j < farCount; ++j) farVertices[j].z = ring[nearCount + farCount - 1 - j].z;
    for (int32_t j = 0; j < std::min(nearCount, farCount); ++j) farVertices[j].z = points3D[j].z;

    // The terrain cut by the wall's outline: its vertices on the near face are where the terrain breaks.
    if (!ReadMeshVerticesInsideOutline(body, element, ring)) return false;
    QV_List<API_Coord3D> vertices = body.vertices;
    MergeClosePoints(vertices);
    QV_List<int32_t> index;
    if (AssignPointsToSegments(vertices, polyPrims, index)) SplitPathAtPoints(vertices, points3D, polyPrims, index);
    return SampleTerrainHeights(false);
}

bool ObstacleCls::WriteParams(ObstacleLP& view, bool rebuild) {
    // Seen along the path, the left face ("SX") is the far one of a wall on the left. A rebuild always writes
    // the far face there.
    const bool farIsLeft = rebuild || onLeft != 0;
    QV_List<QV_Coord3DLong>& left = farIsLeft ? farVertices : points3D;
    QV_List<QV_Coord3DLong>& right = farIsLeft ? points3D : farVertices;
    int32_t terrainFlag = element.header.guid == APINULLGuid ? -1 : 0;
    int16_t side = onLeft;
    return BaseIDLP::ExchangePerimetroBaseSX(view, left, LPMode_Set) &&
        BaseIDLP::ExchangePerimetroBaseDX(view, right, LPMode_Set) &&
        view.GetSetInt(BaseIDParam::IDTerrain, terrainFlag, LPMode_Set) &&
        ObstacleLP::ExchangeArray(view, points2D, LPMode_Set) &&
        view.GetSetShort(ObstacleParam::OnLeft, side, LPMode_Set) && SerializeSettings(view, settings, 1) &&
        SetLPLevelOnStory(view, element.mesh.level, element.header.floorInd, LPMode_Set) &&
        WriteCommonLPParams(view, ElemKind_RetainingWall);
}

bool ObstacleCls::PlaceObject() {
    API_Element record = {};
    record.header.typeID = API_ObjectID;
    if (ACAPI_Element_GetDefaults(&record, nullptr) != NoError) return false;
    GSHandle params = nullptr;
    if (libPartIndex <= 0 || !BaseLP::GetLibPartParams(libPartIndex, &params, nullptr, nullptr, nullptr)) return false;
    record.object.libInd = libPartIndex;
    record.header.layer = settings.layer;
    record.object.pen = int16_t(settings.pen);
    record.object.angle = 0.0;
    record.object.useObjPens = record.object.useObjLtypes = 1;
    record.object.useObjMaterials = record.object.useObjSectAttrs = 1;
    record.object.reflected = 0;
    const API_Coord origin = Origin();
    Translate(points3D, origin);
    Translate(farVertices, origin);
    Translate(points2D, origin);
    record.object.pos = origin;
    record.header.floorInd = element.header.floorInd;
    record.object.level = element.mesh.level;

    API_ElementMemo memo;
    std::memset(static_cast<void*>(&memo), 0, sizeof memo);
    memo.params = reinterpret_cast<API_AddParType**>(params);
    QV_String name = settings.name;
    SetMemoInfoString(memo, name);
    ObstacleLP view(ElemKind_RetainingWall);
    view.Attach(params, true);
    const bool written = WriteParams(view, false);
    if (!EndMemoWriting(memo, view, written)) return false;
    if (!CreateFlaggedObject(record, memo)) return false;
    object = record;
    descriptor.Reset();
    GuidToText(descriptor.TerrainGuid, element.header.guid);
    if (ACAPI_Element_AttachObserver(record.header.guid) == NoError &&
        ElemUserData_WriteRecord(descriptor, ElemKind_RetainingWall, record.header) &&
        LinkElementGuids(record, element))
        return true;
    // A wall without its record or link would never follow its terrain: none is left.
    DeleteElementInPlan(record.header, false);
    return false;
}

int32_t ObstacleCls::Rebuild(const Settings& store, ContourLineRefresh& contours, const API_Element& wall) {
    const bool in3D = IsCurrentWindow3D();
    points3D.Clear();
    polyPrims.Clear();
    points2D.Clear();
    if (!EnsureFloorPlanWindow(false)) return ErrDatabase;
    const auto back = [&](int32_t result) {
        if (in3D) Ensure3DWindow(false);
        return result;
    };
    ObstacleLP view(ElemKind_RetainingWall);
    API_Guid terrainGuid = APINULLGuid;
    API_Element terrain = {};
    if (!BaseLP::AttachToElement(view, ElemKind_RetainingWall, wall, terrainGuid, true)) return back(ErrModifying);
    terrain.header.guid = terrainGuid;
    if (ACAPI_Element_Get(&terrain) != NoError || !ReadElement(terrain, true)) return back(ErrModifying);
    API_Element placed = {};
    placed.header.guid = wall.header.guid;
    if (ACAPI_Element_Get(&placed) != NoError) return back(ErrModifying);

    // A wall that cannot be computed again is taken back whole: as it was, linked to its terrain.
    const bool ok = RunWholeCommand([&] {
        if (!RemoveWallLink(element, placed)) return false;
        API_ElementMemo memo;
        std::memset(static_cast<void*>(&memo), 0, sizeof memo);
        if (ACAPI_Element_GetMemo(placed.header.guid, &memo, AttachMemoMask) != NoError || memo.params == nullptr) {
            ACAPI_DisposeElemMemoHdls(&memo);
            return false;
        }
        ObstacleLP params(ElemKind_RetainingWall);
        params.Attach(reinterpret_cast<GSHandle>(memo.params), true);
        int16_t side = 1;
        bool done = ObstacleLP::ExchangeArray(params, points2D, LPMode_Get) &&
            params.GetSetShort(ObstacleParam::OnLeft, side, LPMode_Get) && SerializeSettings(params, settings, 0);
        onLeft = side != 0 ? 1 : 0;
        // The path back in plan coordinates: mirror, rotation, then position.
        const double c = std::cos(placed.object.angle), s = std::sin(placed.object.angle);
        for (QV_CoordLong& p : points2D) {
            double x = placed.object.reflected != 0 ? -p.x : p.x;
            double y = p.y;
            if (placed.object.angle != 0.0) {
                const double rx = c * x - s * y;
                y = s * x + c * y;
                x = rx;
            }
            p.x = x + placed.object.pos.x;
            p.y = y + placed.object.pos.y;
        }
        for (const QV_CoordLong& p : points2D) points3D.Insert({p.x, p.y, 0.0, p.code});
        PolylineToSegments(points3D, polyPrims);
        // Chorded with the wall's own resolution, as it was chorded when created.
        SegmentArcs(polyPrims, settings.resolution);
        done = done && !polyPrims.IsEmpty() && ComputeProfile(store.misc.retainingThickness);
        if (done) {
            const API_Coord origin = Origin();
            Translate(points3D, origin);
            Translate(farVertices, origin);
            Translate(points2D, origin);
            done = WriteParams(params, true);
            placed.object.pos = origin;
            placed.object.angle = 0.0;
            placed.object.reflected = 0;
        }
        memo.params = reinterpret_cast<API_AddParType**>(params.params);
        params.Detach();
        API_Element mask;
        std::memset(static_cast<void*>(&mask), 0, sizeof mask);
        std::memset(&mask.object.pos, 0xFF, sizeof mask.object.pos);
        std::memset(&mask.object.angle, 0xFF, sizeof mask.object.angle);
        std::memset(&mask.object.reflected, 0xFF, sizeof mask.object.reflected);
        done = done && ChangeElement(&placed, &memo, &mask) == NoError;
        DisposeElemMemo(memo);
        return done && LinkElementGuids(placed, element);
    });
    if (ok) contours.RefreshContourLines(element);
    return back(ok ? 0 : ErrModifying);
}

int32_t ObstacleCls::OnElementEvent(int32_t code, const QV_List<API_Elem_Head>& heads) {
    if (code == 1 && ElementWritten != 0) return 1;
    if (code != 1 && code != 2) return 1;
    const bool in3D = IsCurrentWindow3D();
    if (in3D) MakeWindowDatabaseCurrent(APIWind_FloorPlanID);
    int32_t result = 1;
    for (const API_Elem_Head& head : heads) {
        API_Element wall;
        ElemDescriptor record;
        bool taken = false;
        if (!ReadUpdatedElement(head, APIFilt_IsEditable, ElemKind_RetainingWall, wall, record, taken) ||
            (taken && ACAPI_Element_AttachObserver(head.guid) != NoError)) {
            result = 0;
            break;
        }
        if (!taken) continue;
        // The record follows the object's own link flag: a wall that names no terrain keeps none.
        ObstacleLP view(ElemKind_RetainingWall);
        API_Guid terrain = APINULLGuid;
        int32_t flag = 0;
        API_ElementMemo memo;
        std::memset(static_cast<void*>(&memo), 0, sizeof memo);
        bool ok = ACAPI_Element_GetMemo(head.guid, &memo, AttachMemoMask) == NoError && memo.params != nullptr;
        if (ok) {
            view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
            ok = view.GetSetInt(BaseIDParam::IDTerrain, flag, LPMode_Get);
            view.Detach();
        }
        DisposeElemMemo(memo);
        if (ok && flag == -1) GuidToText(record.TerrainGuid, terrain);
        ok = ok && ElemUserData_WriteRecord(record, ElemKind_RetainingWall, head) && RemoveTargetSolidLinks(wall);
        if (!ok) {
            result = 0;
            break;
        }
    }
    if (in3D) MakeWindowDatabaseCurrent(APIWind_3DModelID);
    return result;
}
