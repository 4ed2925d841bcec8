#include "shell/AddOnObjects.hpp"

#include "elements/ElemDataRecord.hpp"
#include "foundation/ACAPI.hpp"
#include "GSArray.hpp"

int32_t CollectAddOnObjects(int32_t kind, API_ElemTypeID typeID, int32_t /*flags*/, QV_List<API_Element>& out) {
    out.Clear();
    if (ElemKindTag(kind) == 0) return 0;
    GS::Array<API_Guid> guids;
    const GSErrCode err = ACAPI_Element_GetElemList(typeID, &guids);
    if (err != NoError) return 0;
    for (uint32_t i = 0; i < guids.GetSize(); ++i) {
        API_Element element = {};
        element.header.guid = guids[i];
        if (ACAPI_Element_Get(&element) != NoError) continue;
        ElemDescriptor descriptor;
        if (!ElemUserData_Read(descriptor, kind, element.header)) continue;
        if (!out.Insert(element)) return 0;
    }
    return 1;
}
