#pragma once
// Listing the add-on's own objects of one element kind among the host's elements of one type.
#include "foundation/QV_List.hpp"

#include "APIElements.hpp"

#include <cstdint>

// Lists the host elements of `typeID` and appends, in host order, those that carry the element data record of
// `kind` (their tag names the kind) to `out`, which is emptied first. Elements that vanish or cannot be read
// while the list is walked are left out. `flags` is reserved (callers pass 0).
//
// The answer is a success count in the old sense, not the number of objects: 1 when the listing succeeded,
// whatever the list holds (an empty list is a success), and 0 when the host could not list the elements. The
// number of objects is out.GetCount(). Callers test the answer with "<= 0 is a failure".
int32_t CollectAddOnObjects(int32_t kind, API_ElemTypeID typeID, int32_t flags, QV_List<API_Element>& out);
