#include "settings/ObserverAttachment.hpp"

#include "elements/ElemDataRecord.hpp"
#include "elements/UpdatedElements.hpp"
#include "foundation/ErrorCode.hpp"
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

}  // namespace

int32_t AttachObserversToAddOnElements() {
    bool failed = false;
    for (const TypeKinds& entry : kTypes) {
        GS::Array<API_Guid> all;
        if (ACAPI_Element_GetElemList(entry.type, &all) != NoError) {
            failed = true;
            continue;
        }
        for (const API_Guid& guid : all) {
            const FilterAnswer answer = FilterElement(guid, 0);
            if (answer != FilterAnswer::Yes) {
                failed = failed || answer == FilterAnswer::Unknown;
                continue;
            }
            API_Element element = {};
            element.header.guid = guid;
            if (ACAPI_Element_Get(&element) != NoError) {
                failed = true;
                continue;
            }
            for (const int32_t kind : entry.kinds) {
                ElemDescriptor descriptor;
                const RecordRead read = ElemUserData_ReadChecked(descriptor, kind, element.header);
                if (read == RecordRead::Absent) continue;
                if (read == RecordRead::Failed || ACAPI_Element_AttachObserver(guid) != NoError) failed = true;
                break;
            }
        }
    }
    return failed ? ErrObjectInformation : 0;
}
