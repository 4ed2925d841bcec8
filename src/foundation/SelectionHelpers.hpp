#pragma once
// Selection, window and toolbox helpers: which window is in front and switching between the floor plan and the
// 3D window, gathering the selected elements into lists, selecting one element, selection records from element
// lists, the object tool's defaults, and deleting one file by its path text.
//
// Host errors end an operation with false; nothing is shown here (the callers report).
#include "foundation/QV_List.hpp"
#include "foundation/QV_String.hpp"

#include "APIElements.hpp"

#include <cstdint>

// The selected elements: entry i of both lists describes the same element.
struct ElemSelection {
    QV_List<API_Elem_Head> heads;
    QV_List<API_Element> elements;
};

// True when the host tells the front window and it is the 3D window.
bool IsCurrentWindow3D();
// True when the floor plan is in front already (nothing else happens) or after a successful switch; after a
// switch and with `deselect` the selection is cleared. False when the switch fails.
bool EnsureFloorPlanWindow(bool deselect);
// The same for the 3D window.
bool Ensure3DWindow(bool deselect);

// The object tool's default element (type 6) and, when `memo` is not null, its memo (the caller disposes of
// it). The toolbox is switched to the object tool for the query and back afterwards, also when the query fails.
bool GetObjectDefaults(API_Element& element, API_ElementMemo* memo);
// Writes them back as the object tool's defaults (every field; the memo's parts when `memo` is not null) and
// disposes of the memo, with the toolbox switched to the object tool around the call as above. False when the
// toolbox cannot be switched or the host refuses the defaults.
bool ReadObjectDefaults(API_Element& element, API_ElementMemo* memo);
// Makes the fill tool (type 18) current; false when the host would not switch the toolbox.
bool SelectToolbox18();

// Appends the selected elements that pass the filters to `selection` (emptied first with `clear`).
// typeFilter: null or 0 accepts every type, else the element's type must match. libIndFilter above 0 keeps
// only windows, doors, objects and lamps of that library part. With `viaFloorPlan` and the 3D window in front
// the elements are read in the floor plan's database. An empty selection is success; false for any host error,
// a selected element the host cannot read among them (never skipped: it may be the one the command is for).
bool GetSelectedElements(ElemSelection& selection, bool clear, const API_ElemTypeID* typeFilter, bool onlyEditable,
                         bool viaFloorPlan, int32_t libIndFilter);

// Selects the element (add: keep the current selection). An element without a selection record is skipped
// (true); false only when the host's select call fails.
bool SelectElement(const API_Element& element, bool add);

// A new host handle of API_Neig records, one per element that has one, in list order; the caller kills it.
// False (and `handle` null) when it cannot be allocated.
bool MakeNeigHandleFromElements(const QV_List<API_Element>& elements, GSHandle* handle);
bool MakeNeigHandleFromHeads(const QV_List<API_Elem_Head>& heads, GSHandle* handle);

// Deletes the file named by the last part of `path` in the folder of the rest; true when the delete succeeds.
bool DeleteFileByPath(const QV_String& path);

// Whether a helper that reads the project switches to the floor plan's database while the 3D window is in front
// (and back afterwards).
enum class Leave3D : bool { No = false, Yes = true };

// Appends a copy of every selected element of host type `typeID` (0: any type) to `out`, emptied first with
// `clear`; libIndFilter above 0 keeps only placed objects of that library part. Nothing selected is no failure.
// False only when the host's selection query fails.
bool CollectSelection(QV_List<API_Element>& out, bool clear, API_ElemTypeID typeID, bool onlyEditable, Leave3D leave3D,
                      int32_t libIndFilter = -1);
// The same, appending the element heads only.
bool CollectSelectionHeads(QV_List<API_Elem_Head>& out, bool clear, API_ElemTypeID typeID, bool onlyEditable,
                           Leave3D leave3D, int32_t libIndFilter = -1);
// The number of such selected elements; 0 with nothing selected, -1 when the query fails.
int32_t CountSelection(API_ElemTypeID typeID, bool onlyEditable, Leave3D leave3D, int32_t libIndFilter = -1);
