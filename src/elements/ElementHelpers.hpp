#pragma once
// Creating an element with its memo (also while the 3D window is current), changing and deleting one element,
// and finding or creating the layers the add-on puts its objects on. Host errors are passed back unchanged;
// nothing is shown here.
#include "foundation/QV_List.hpp"
#include "foundation/QV_String.hpp"

#include "APIElements.hpp"

#include <cstdint>

// The add-on's own code for a failed step inside an undoable command or a host wrapper.
constexpr GSErrCode LodravixErr_StepFailed = -7003;

// Creates the element with its memo (memo may be null); with `disposeMemo` the memo's handles are released in
// every case. The host refuses creation in the 3D model's database, so with the 3D window in front the floor
// plan's database is made current first. Afterwards, when nothing was selected, the 3D database is made current
// again and the window rebuilt; when something was selected, the floor plan stays current and the new element
// is added to the selection (-7003 when that fails). -7003 also when the selection cannot be read.
GSErrCode CreateElementWithMemo(API_Element* element, API_ElementMemo* memo, bool disposeMemo);

// Changes the element's parameters: ACAPI_Element_ChangeParameters for its GUID alone.
GSErrCode ChangeElement(API_Element* element, API_ElementMemo* memo, const API_Element* mask);

// Deletes the element; with `switchDatabase` in the floor plan's database, then back to the one current before.
GSErrCode DeleteElementInPlan(const API_Elem_Head& head, bool switchDatabase);

// The element's ID text into `text`; false, `text` left as it was, when the host cannot tell it.
bool ReadElementInfoString(const API_Guid& guid, QV_String& text);
// The memo's element ID text becomes a copy of `text`; then `text` is emptied.
void SetMemoInfoString(API_ElementMemo& memo, QV_String& text);
// Frees every part of the memo (its parameter list with its array cells too), also when the host refuses.
void DisposeElemMemo(API_ElementMemo& memo);
