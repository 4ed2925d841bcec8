#pragma once
// The add-on's objects of one element kind among the host's elements.
#include "foundation/QV_List.hpp"

#include "APIElements.hpp"

#include <cstdint>

// The element kind whose objects are placed from that library part (by name, ignoring case); 0 for a part that
// is none of the add-on's. "VY_PLATEAU" and "VY_SLOPED_PLATEAU" both give 7, "VY_ROAD" 6.
int32_t ElemKindOfLibPartName(const QV_String& name);

// Empties `out`, then appends, in the host's order, the elements of host type `typeID` of the current database
// that are the add-on's objects of `kind`: objects, lamps, windows and doors by the kind of their library part;
// elements of other types by an element data record of that kind. `flags` is 0 (no other filter exists).
// 1 when the list was made (an empty list too); 0 when the host cannot list or read the elements or the list
// cannot grow (`out` is then empty).
int32_t CollectAddOnObjects(int32_t kind, API_ElemTypeID typeID, int32_t flags, QV_List<API_Element>& out);
