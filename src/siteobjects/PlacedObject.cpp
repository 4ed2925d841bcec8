#include "siteobjects/PlacedObject.hpp"

#include "earthworks/TerrainCutRefresh.hpp"
#include "elements/ElemDataRecord.hpp"
#include "elements/ElementHelpers.hpp"
#include "elements/MeshHeightSampling.hpp"
#include "elements/ModelUpdate.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/Encoding.hpp"
#include "geometry/PointRotation.hpp"

#include "APIInteraction.hpp"

#include <cstring>

void InitPlacedObject(API_Element& placed, int32_t libIndex) {
    API_ObjectType& o = placed.object;
    o.libInd = libIndex;
    o.angle = 0.0;
    o.xRatio = 1.0;
    o.yRatio = 1.0;
    o.zOffset = 0.0;
    o.liftSize = 0.0;
    o.useObjPens = 1;
    o.useObjLtypes = 1;
    o.useObjMaterials = 1;
    o.useObjSectAttrs = 1;
}

bool CreateLinkedObject(API_Element& object, API_ElementMemo& memo, int32_t kind, const QV_String& terrainText,
                        const API_Element& terrain) {
    const ElementWriting writing;
    if (CreateElementWithMemo(&object, &memo, true) != NoError) {
        writing.NoneMade();
        return false;
    }
    if (ACAPI_Element_AttachObserver(object.header.guid) != NoError) return false;
    ElemDescriptor descriptor;
    descriptor.TerrainGuid = terrainText;
    return ElemUserData_WriteRecord(descriptor, kind, object.header) && LinkElementGuids(terrain, object);
}

bool ReadTerrainByGuid(const API_Guid& guid, API_Element& terrain) {
    if (guid == APINULLGuid) return false;
    std::memset(static_cast<void*>(&terrain), 0, sizeof terrain);
    terrain.header.guid = guid;
    return ACAPI_Element_Get(&terrain) == NoError;
}

bool UnlinkFromTerrain(const API_Element& object, const API_Element& terrain) {
    const GSErrCode err = ACAPI_Element_SolidLink_Remove(object.header.guid, terrain.header.guid);
    return err == NoError || err == APIERR_LINKEXIST || err == APIERR_LINKNOTEXIST;
}

bool RemoveLinksOfKind(const QV_List<API_Elem_Head>& heads, int32_t kind) {
    return heads.IsEmpty() || UnlinkObjectsOfKind(kind, heads);
}

PlacedParams::~PlacedParams() { ACAPI_DisposeElemMemoHdls(&memo); }

bool PlacedParams::Read() {
    ACAPI_DisposeElemMemoHdls(&memo);
    std::memset(static_cast<void*>(&memo), 0, sizeof memo);
    return ACAPI_Element_GetMemo(guid_, &memo, AttachMemoMask) == NoError && memo.params != nullptr;
}

void PlacedParams::AttachView(BaseLP& view) { view.Attach(reinterpret_cast<GSHandle>(memo.params), true); }

void PlacedParams::DetachView(BaseLP& view) {
    memo.params = reinterpret_cast<API_AddParType**>(view.params);
    view.Detach();
}

bool PlacedParams::Change(API_Element& element, const API_Element* mask) {
    GS::Array<API_Guid> one;
    one.Push(guid_);
    return ACAPI_Element_ChangeParameters(one, &element, &memo, mask) == NoError;
}

void TransformCoordsByPlacement(const API_Element& object, QV_List<QV_Coord3DLong>& vertices, bool toWorld) {
    const API_ObjectType& o = object.object;
    for (QV_Coord3DLong& v : vertices) {
        if (toWorld) {
            if (o.reflected != 0) v.x = -v.x;
            if (o.angle != 0.0) RotatePoint(v.x, v.y, 0.0, 0.0, o.angle);
            v.x += o.pos.x;
            v.y += o.pos.y;
        } else {
            v.x -= o.pos.x;
            v.y -= o.pos.y;
            if (o.angle != 0.0) RotatePoint(v.x, v.y, 0.0, 0.0, -o.angle);
            if (o.reflected != 0) v.x = -v.x;
        }
    }
}
