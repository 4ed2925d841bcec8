#include "elements/UpdatedElements.hpp"

#include "elements/AddOnObjects.hpp"
#include "elements/ElemDataRecord.hpp"
#include "foundation/ACAPI.hpp"

#include <cstring>

FilterAnswer FilterElement(const API_Guid& guid, uint32_t bits) {
    if (ACAPI_Element_Filter(guid, bits)) return FilterAnswer::Yes;
    API_Element element;
    std::memset(static_cast<void*>(&element), 0, sizeof element);
    element.header.guid = guid;
    const GSErrCode err = ACAPI_Element_Get(&element);
    if (err == APIERR_BADID) return FilterAnswer::No;
    if (err != NoError || (bits & APIFilt_IsEditable) == 0) return FilterAnswer::Unknown;
    if (element.header.locked != 0 || element.header.hotlinkIndex != 0) return FilterAnswer::No;
    API_Attribute layer;
    std::memset(static_cast<void*>(&layer), 0, sizeof layer);
    layer.header.typeID = API_LayerID;
    layer.header.index = element.header.layer;
    if (ACAPI_Attribute_Get(&layer) != NoError) return FilterAnswer::Unknown;
    return (layer.header.flags & (APILay_Hidden | APILay_Locked)) != 0 ? FilterAnswer::No : FilterAnswer::Unknown;
}

bool ReadUpdatedElement(const API_Elem_Head& head, uint32_t bits, int32_t kind, API_Element& element,
                        ElemDescriptor& record, bool& taken) {
    taken = false;
    std::memset(static_cast<void*>(&element), 0, sizeof element);
    const FilterAnswer answer = FilterElement(head.guid, bits);
    if (answer != FilterAnswer::Yes) return answer == FilterAnswer::No;
    element.header.guid = head.guid;
    const GSErrCode err = ACAPI_Element_Get(&element);
    if (err == APIERR_BADID) return true;  // gone again
    if (err != NoError) return false;
    return ReadElementRecord(element.header, kind, true, record, taken);
}
