#include "elements/AcceptedElements.hpp"

#include "foundation/ACAPI.hpp"

#include <cstring>

bool CollectElementGuids(GS::Array<API_Guid>& guids, API_ElemTypeID typeID, std::initializer_list<uint32_t> filters) {
    guids.Clear();
    GS::Array<API_Guid> all;
    if (ACAPI_Element_GetElemList(typeID, &all) != NoError) return false;
    for (const API_Guid& guid : all) {
        // With no filter bits every listed element passes: a "no" there is the host's refusal, not an answer.
        if (filters.size() == 0 && !ACAPI_Element_Filter(guid, 0)) {
            guids.Clear();
            return false;
        }
        bool kept = true;
        for (const uint32_t bits : filters) kept = kept && ACAPI_Element_Filter(guid, bits);
        if (kept) guids.Push(guid);
    }
    return true;
}

bool ReadElementByGuid(const API_Guid& guid, API_Element& element) {
    std::memset(&element, 0, sizeof element);
    element.header.guid = guid;
    return ACAPI_Element_Get(&element) == NoError;
}
