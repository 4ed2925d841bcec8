#pragma once
// The add-on's objects of one element kind among the host's elements.
#include "foundation/QV_List.hpp"
#include "foundation/SelectionHelpers.hpp"

#include "APIElements.hpp"

#include <cstddef>
#include <cstdint>
#include <functional>

// The element kind whose objects are placed from that library part (by name, ignoring case); 0 for a part that
// is none of the add-on's. "VY_PLATEAU" and "VY_SLOPED_PLATEAU" both give 7, "VY_ROAD" 6.
int32_t ElemKindOfLibPartName(const QV_String& name);

// Empties `out`, then appends, in the host's order, the elements of host type `typeID` of the current database
// that are the add-on's objects of `kind`: objects, lamps, windows and doors by the kind of their library part;
// elements of other types by an element data record of that kind. `flags` is 0 (no other filter exists).
// 1 when the list was made (an empty list too); 0 when the host cannot list or read the elements or the list
// cannot grow (`out` is then empty).
int32_t CollectAddOnObjects(int32_t kind, API_ElemTypeID typeID, int32_t flags, QV_List<API_Element>& out);
// The same walk handing each element to `visit` (false from it ends the walk with false) instead of keeping it:
// a survey's hundreds of thousands of points need not be held whole to be read once. False where the list above
// would be 0.
bool VisitAddOnObjects(int32_t kind, API_ElemTypeID typeID, const std::function<bool(const API_Element&)>& visit);

struct ElemEntry;      // elements/BaseCls.hpp
class ElemDescriptor;  // elements/ElemDataRecord.hpp

// Reads the element's data record for `kind` into `descriptor`: as ElemDescriptor::FromElement fills it (without
// looking at the tag) or, with `tagged`, only a record that carries the kind's tag. `found` is false for an
// element without such a record, without user data, or not in the current database. False when the host cannot
// read the user data: taken for "no record", it would leave an object out without a word.
bool ReadElementRecord(const API_Elem_Head& head, int32_t kind, bool tagged, ElemDescriptor& descriptor, bool& found);

// Every add-on object of `kind` and host type `typeID` in the project, selected or not, appended to `out`
// (emptied first). With Leave3D::Yes and the 3D window in front the floor plan's database is read and the 3D
// one made current again. Elements whose user data cannot be read are not the add-on's. False when the
// database cannot be switched or the host cannot list or read the elements (a caller must not take that for
// "none in the project"); `out` then holds what was found before.
bool CollectAddOnObjects(int32_t kind, API_ElemTypeID typeID, Leave3D leave3D, QV_List<API_Element>& out);
// The same, their heads.
bool CollectAddOnObjectHeads(int32_t kind, API_ElemTypeID typeID, Leave3D leave3D, QV_List<API_Elem_Head>& out);
// The same, as entries carrying the kind; `out` is not emptied, so several kinds can be gathered in turn.
bool CollectAddOnObjectsLayered(int32_t kind, API_ElemTypeID typeID, Leave3D leave3D, QV_List<ElemEntry>& out);
// The same for each of `kinds` in turn (distinct kinds), appended to `out` kind by kind as those calls would, but
// with one walk over the host's elements: the upkeep after each command gathers ten kinds of objects, and every
// listing of the host's elements costs as much as its whole project.
bool CollectAddOnObjectsOfKinds(const int32_t* kinds, size_t count, API_ElemTypeID typeID, Leave3D leave3D,
                                QV_List<ElemEntry>& out);

// The selected elements of host type `typeID` that are add-on objects of `kind`, appended to `out` (emptied
// first with `clear`). False only when the selection query fails.
bool PickElements(int32_t kind, API_ElemTypeID typeID, bool onlyEditable, Leave3D leave3D, QV_List<API_Element>& out,
                  bool clear);
