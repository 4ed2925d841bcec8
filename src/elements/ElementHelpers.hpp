#pragma once
// Creating an element with its memo (also while the 3D window is current), changing and deleting one element,
// and finding or creating the layers the add-on puts its objects on. Host errors are passed back unchanged;
// nothing is shown here.
#include "elements/LayerStoryHelpers.hpp"
#include "foundation/QV_List.hpp"
#include "foundation/QV_String.hpp"

#include "APIElements.hpp"

#include <cstdint>

// The add-on's own code for a failed step inside an undoable command or a host wrapper.
constexpr GSErrCode LodravixErr_StepFailed = -7003;

// Flags every layer the add-on creates gets: hidden and 0x10.
constexpr uint32_t OperatorLayerCreationFlags = 17;

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

// Creates the layer `name` with the flags and the 32-bit value; a layer of that name gets them written instead.
// On success outIndex / outRecord (each may be null) receive its index and whole record.
GSErrCode CreateLayer(const QV_String& name, uint32_t flags, int32_t value, int32_t* outIndex,
                      API_Attribute* outRecord);
// CreateLayer(first name of the list, 17, 0); called when the tool palette opens.
void CreateOperatorsLayer(const QV_List<QV_String>& names);
// The four flags of the layer of that name; all 0 when there is none.
LayerFlags GetLayerFlags(const QV_String& name);
// 1 when `skip` is not 0; else the index of the layer named by the list's first string, created (flags 17,
// value 0) when missing; 1 when it can be neither found nor created.
int16_t GetOrCreateLayerIndex(const QV_List<QV_String>& names, int32_t skip);
