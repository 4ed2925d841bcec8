#include "settings/ObserverAttachment.hpp"

#include "elements/ElemDataRecord.hpp"
#include "foundation/ACAPI.hpp"

#include "APIElements.hpp"
#include "GSArray.hpp"

#include <initializer_list>

namespace {

struct TypeKinds {
    API_ElemTypeID type;
    std::initializer_list<int32_t> kinds;  // tested in this order
};

const TypeKinds kTypes[] = {
    {API_HotspotID, {ElemKind_Point}},
    {API_LineID, {ElemKind_Constraint}},
    {API_MeshID, {ElemKind_Terrain}},
    {API_ObjectID,
     {ElemKind_Road, ElemKind_Plateau, ElemKind_Contour, ElemKind_ColouredArea, ElemKind_Wall, ElemKind_Building,
      ElemKind_Sidewalk, ElemKind_LevelMarker, ElemKind_PointMarker, ElemKind_RetainingWall, ElemKind_SlopeRange,
      ElemKind_Bridge, ElemKind_Basin, ElemKind_SlopedPlateau, ElemKind_Railway}},
};

bool HoldsRecordOf(const API_Elem_Head& head, int32_t kind) {
    ElemDescriptor descriptor;
    return ElemUserData_Read(descriptor, kind, head);
}

}  // namespace

void AttachObserversToAddOnElements() {
    for (const TypeKinds& entry : kTypes) {
        GS::Array<API_Guid> all;
        if (ACAPI_Element_GetElemList(entry.type, &all) != NoError) continue;
        GS::Array<API_Guid> kept;
        for (const API_Guid& guid : all)
            if (ACAPI_Element_Filter(guid, 0)) kept.Push(guid);
        for (const API_Guid& guid : kept) {
            API_Element element = {};
            element.header.guid = guid;
            if (ACAPI_Element_Get(&element) != NoError) continue;
            for (const int32_t kind : entry.kinds) {
                if (!HoldsRecordOf(element.header, kind)) continue;
                ACAPI_Element_AttachObserver(guid);
                break;
            }
        }
    }
}
