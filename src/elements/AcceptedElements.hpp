#pragma once
// The elements the upkeep passes walk: those of one type in the current database that the host's element filter
// accepts, and each one read whole.
#include "APIElements.hpp"
#include "GSArray.hpp"

#include <cstdint>
#include <initializer_list>

// Bits of the host's element filter beside APIFilt_IsEditable: the element's layer is shown; it stands on the
// current story.
constexpr uint32_t ElementFilter_OnShownLayer = 0x2;
constexpr uint32_t ElementFilter_OnCurrentStory = 0x4;

// In the host's order; empty when the host cannot list the type.
GS::Array<API_Guid> AcceptedElements(API_ElemTypeID typeID);

// The elements of the type that the host's filter accepts for every one of `filters` (with none: with no filter
// bits), in the host's order. False, with `guids` empty, when the host cannot list the type.
bool CollectElementGuids(GS::Array<API_Guid>& guids, API_ElemTypeID typeID, std::initializer_list<uint32_t> filters);

// The element with that GUID in the current database, read whole; false when the host refuses.
bool ReadElementByGuid(const API_Guid& guid, API_Element& element);
