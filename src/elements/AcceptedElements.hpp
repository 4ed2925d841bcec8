#pragma once
// The elements the upkeep passes walk: those of one type in the current database that the host's element filter
// accepts, and each one read whole.
#include "foundation/ACAPI.hpp"

#include "APIElements.hpp"
#include "GSArray.hpp"

#include <cstdint>
#include <initializer_list>

// Bits of the host's element filter beside APIFilt_IsEditable: the element's layer is shown; it stands on the
// current story.
constexpr uint32_t ElementFilter_OnShownLayer = 0x2;
constexpr uint32_t ElementFilter_OnCurrentStory = 0x4;

// The elements of the type that the host's filter accepts for every one of `filters` (with none: every listed
// element, which the filter without bits must accept), in the host's order. False, with `guids` empty, when the
// host cannot list the type or, with no filters, refuses one of them.
bool CollectElementGuids(GS::Array<API_Guid>& guids, API_ElemTypeID typeID, std::initializer_list<uint32_t> filters);

// The element with that GUID in the current database, read whole; false when the host refuses.
bool ReadElementByGuid(const API_Guid& guid, API_Element& element);

// Hands every element of the type in the current database, read whole, to `visit` until it answers false. False
// when `visit` did, or when the host cannot list the type or refuses the plain filter or the read of an element
// it listed: a pass that must see every element of the type does not take such an element for a missing one.
template <typename Visit>
bool VisitListedElements(API_ElemTypeID typeID, Visit&& visit) {
    GS::Array<API_Guid> all;
    if (ACAPI_Element_GetElemList(typeID, &all) != NoError) return false;
    for (const API_Guid& guid : all) {
        API_Element element;
        if (!ACAPI_Element_Filter(guid, 0) || !ReadElementByGuid(guid, element) || !visit(element)) return false;
    }
    return true;
}
