#include "elements/AcceptedElements.hpp"

#include "foundation/ACAPI.hpp"

#include <cstring>

GS::Array<API_Guid> AcceptedElements(API_ElemTypeID typeID) {
    GS::Array<API_Guid> all;
    GS::Array<API_Guid> kept;
    if (ACAPI_Element_GetElemList(typeID, &all) != NoError) return kept;
    for (const API_Guid& guid : all)
        if (ACAPI_Element_Filter(guid, 0)) kept.Push(guid);
    return kept;
}

bool ReadElementByGuid(const API_Guid& guid, API_Element& element) {
    std::memset(&element, 0, sizeof element);
    element.header.guid = guid;
    return ACAPI_Element_Get(&element) == NoError;
}
