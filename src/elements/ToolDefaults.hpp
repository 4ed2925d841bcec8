#pragma once
// The host's own settings dialogs driven through a tool's defaults: a library part and its parameters are put
// into the tool's defaults, the host's settings dialog of the tool (or its object settings dialog with a subtype
// filter) is opened, and what the user chose is read back; the former defaults can be put back afterwards. The
// selection is taken away while the dialog is open, so that it edits the defaults and not the selected elements,
// and is selected again afterwards, also when the dialog is cancelled or fails. Also: whether a library part
// descends from a subtype.
//
// Parameter handles are GSHandles of API_AddParType records (ReleaseParamRecords releases one).
#include "foundation/QV_List.hpp"
#include "foundation/QV_String.hpp"

#include "APIElements.hpp"

#include <cstdint>

// The heads of the selected elements in selection order (emptied first with `clear`); `count` (optional) gets
// their number. An empty selection is a success; false when the host's selection query fails.
bool CollectSelectionHeads(QV_List<API_Elem_Head>& heads, bool clear, int32_t* count);
// Selects the listed elements again (`add`: keeping the current selection). False when the list is empty, cannot
// be turned into selection records, or the host refuses.
bool RestoreSelection(const QV_List<API_Elem_Head>& heads, bool add);

// Opens the settings dialog of the tool (typeId, variationId) over its defaults. `element` and `memo` (each
// optional) are written into the defaults first, `element` with `mask` (null: every field). On OK the defaults
// the user set go to `outElement` and `outMemo` (each optional; the caller disposes of the memo), and with
// `restore` the former defaults are put back. A cancelled or failed dialog answers its code; the selection is
// back and, with `restore`, so are the former defaults. -7003 when the selection cannot be read.
GSErrCode EditToolDefaults(API_Element* outElement, API_ElementMemo* outMemo, API_ElemTypeID typeId,
                           int32_t variationId, const API_Element* element, const API_ElementMemo* memo,
                           const API_Element* mask, bool restore);
inline GSErrCode CollectElemHeads(API_Element* outElement, API_ElementMemo* outMemo, API_ElemTypeID typeId,
                                  int32_t variationId, const API_Element* element, const API_ElementMemo* memo,
                                  const API_Element* mask, bool restore) {
    return EditToolDefaults(outElement, outMemo, typeId, variationId, element, memo, mask, restore);
}

// The tool's settings dialog over library part `libPartIndex` with `*params` (null or no handle: the part's own
// parameters). A negative index opens the dialog over the tool's own defaults. The given handle passes to this
// function. On OK `libPartIndex` is the part the user chose and `*params` its parameters (the caller's to
// release). -7003 when the part's parameters cannot be read (nothing changes then).
GSErrCode EditLibPartSettings(int32_t& libPartIndex, GSHandle* params, API_ElemTypeID typeId, int32_t variationId,
                              bool restore);
inline GSErrCode ChangeLibPartParams(int32_t& libPartIndex, GSHandle* params, API_ElemTypeID typeId,
                                     int32_t variationId, bool restore) {
    return EditLibPartSettings(libPartIndex, params, typeId, variationId, restore);
}

// The host's object settings dialog, offering only the parts that descend from `subtypeId` (null: every part).
// A given part that is not of the subtype is dropped (`libPartIndex` -1). The given handle passes to this
// function. On OK `libPartIndex` is the chosen part and, when `params` is given, `*params` its parameters (the
// caller's to release). APIERR_CANCEL when the user cancelled; -7003 when the selection or the parameters cannot
// be read.
GSErrCode ChooseLibPartWithSubtype(int32_t& libPartIndex, GSHandle* params, const char* subtypeId,
                                   API_ElemTypeID typeId, int32_t variationId, bool restore);
inline GSErrCode ChangeLibPartParamsEx(int32_t& libPartIndex, GSHandle* params, const char* subtypeId,
                                       API_ElemTypeID typeId, int32_t variationId, bool restore) {
    return ChooseLibPartWithSubtype(libPartIndex, params, subtypeId, typeId, variationId, restore);
}

// Makes (typeId, variationId) the current tool and, with a library part or an element, its defaults: `element`
// (its type kept as the tool's) with `mask` (null: every field), then the part with `params` (null: the tool's own
// parameters stay). The caller keeps its handle. A negative index without an element only switches the tool.
GSErrCode SelectToolWithDefaults(int32_t libPartIndex, GSHandle params, const API_Element* element,
                                 const API_Element* mask, API_ElemTypeID typeId, int32_t variationId);
inline GSErrCode GetDefaultsWithToolbox(int32_t libPartIndex, GSHandle params, const API_Element* element,
                                        const API_Element* mask, API_ElemTypeID typeId, int32_t variationId) {
    return SelectToolWithDefaults(libPartIndex, params, element, mask, typeId, variationId);
}

// Whether the named part descends from `subtypeId`: its parent, or (unless `firstLevelOnly`) an ancestor further
// up, is the subtype; the subtype itself is not its own subtype. False when the part or an ancestor cannot be
// found or holds no definition, or when the ancestry runs in a circle; true when the answer is in `isSubtype`.
bool IsLibPartSubtypeOf(const char* subtypeId, const QV_String& libPartName, bool& isSubtype, bool firstLevelOnly);
