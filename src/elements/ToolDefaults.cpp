#include "elements/ToolDefaults.hpp"

#include "elements/BaseLP.hpp"
#include "elements/ElementHelpers.hpp"
#include "elements/LibPartHelpers.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/Encoding.hpp"
#include "foundation/SelectionHelpers.hpp"

#include "APISettingsDialogs.hpp"

#include <cstring>
#include <set>
#include <string>

namespace {

API_Element AllFields() {
    API_Element mask;
    std::memset(static_cast<void*>(&mask), 0xFF, sizeof mask);
    return mask;
}

API_Element NoFields() {
    API_Element mask;
    std::memset(static_cast<void*>(&mask), 0, sizeof mask);
    return mask;
}

API_Element ToolElement(API_ElemTypeID typeId, int32_t variationId) {
    API_Element element = NoFields();
    element.header.typeID = typeId;
    element.header.variationID = variationId;
    return element;
}

GSErrCode ReadDefaults(API_ElemTypeID typeId, int32_t variationId, API_Element& element, API_ElementMemo& memo) {
    element = ToolElement(typeId, variationId);
    std::memset(static_cast<void*>(&memo), 0, sizeof memo);
    const GSErrCode err = ACAPI_Element_GetDefaults(&element, &memo);
    if (err != NoError) ACAPI_DisposeElemMemoHdls(&memo);
    return err;
}

GSErrCode WriteAll(API_Element element, API_ElementMemo* memo) {
    const API_Element mask = AllFields();
    return ACAPI_Element_ChangeDefaults(&element, memo, &mask);
}

bool HasLibPart(API_ElemTypeID typeId) {
    return typeId == API_WindowID || typeId == API_DoorID || typeId == API_ObjectID || typeId == API_LampID ||
        typeId == API_ZoneID;
}

// The library part the element of that type holds; -1 for a type without one.
int32_t LibPartOf(const API_Element& element, API_ElemTypeID typeId) {
    return HasLibPart(typeId) ? element.object.libInd : -1;  // the index sits at one place in every such record
}

// A numeric scalar's value; 0 when missing, a text or an array.
double SizeParam(GSHandle params, const char* name) {
    if (params == nullptr) return 0.0;
    const GSSize n = BMGetHandleSize(params) / GSSize(sizeof(API_AddParType));
    const auto* records = reinterpret_cast<const API_AddParType*>(*params);
    for (GSSize i = 0; i < n; ++i) {
        const API_AddParType& r = records[i];
        if (strncmp(r.name, name, sizeof r.name) != 0) continue;
        if (r.typeID == APIParT_Text || (r.dim1 != 0 && r.dim2 != 0)) return 0.0;
        return r.value.real;
    }
    return 0.0;
}

// The fields a library part sets in the defaults of its tool, each marked in `mask`.
void SetLibPartFields(API_Element& element, API_Element& mask, API_ElemTypeID typeId, int32_t libPartIndex,
                      GSHandle params) {
    if (!HasLibPart(typeId)) return;
    element.object.libInd = libPartIndex;
    std::memset(static_cast<void*>(&mask.object.libInd), 0xFF, sizeof mask.object.libInd);
    if (typeId != API_ObjectID && typeId != API_LampID) return;
    element.object.xRatio = SizeParam(params, "A");
    element.object.yRatio = SizeParam(params, "B");
    std::memset(static_cast<void*>(&mask.object.xRatio), 0xFF, sizeof mask.object.xRatio);
    std::memset(static_cast<void*>(&mask.object.yRatio), 0xFF, sizeof mask.object.yRatio);
}

// Puts `params` into the memo in place of its own.
void ReplaceParams(API_ElementMemo& memo, GSHandle params) {
    GSHandle old = reinterpret_cast<GSHandle>(memo.params);
    ReleaseParamRecords(&old);
    memo.params = reinterpret_cast<API_AddParType**>(params);
}

// Takes the parameters out of a memo: the caller owns them, the memo no longer does.
GSHandle TakeParams(API_ElementMemo& memo) {
    GSHandle params = reinterpret_cast<GSHandle>(memo.params);
    memo.params = nullptr;
    return params;
}

// Saves the selection and clears it; false when it cannot be read.
bool PutSelectionAside(QV_List<API_Elem_Head>& heads) {
    if (!CollectSelectionHeads(heads, true, nullptr)) return false;
    ACAPI_Element_DeselectAll();
    return true;
}

void BringSelectionBack(const QV_List<API_Elem_Head>& heads) {
    if (heads.GetCount() > 0) RestoreSelection(heads, true);
}

bool SameText(const char* a, const char* b, size_t size) { return strncmp(a, b, size) == 0; }

// 'COMP': 0 or "equal" both count as the same part.
bool SameLibPart(const char* a, const char* b) {
    API_LibPartUnIDText first = {};
    API_LibPartUnIDText second = {};
    std::strncpy(first.text, a, sizeof first.text - 1);
    std::strncpy(second.text, b, sizeof second.text - 1);
    const GSErrCode err = ACAPI_Goodies(APIAny_CompareLibPartUnIdsID, &first, &second);
    return err == NoError || err == APIERR_COMPEQUAL;
}

}  // namespace

bool CollectSelectionHeads(QV_List<API_Elem_Head>& heads, bool clear, int32_t* count) {
    ElemSelection selection;
    if (!GetSelectedElements(selection, true, nullptr, false, false, -1)) return false;
    if (clear) heads.Clear();
    for (int32_t i = 0; i < selection.heads.GetCount(); ++i) heads.Insert(selection.heads[i], -1);
    if (count != nullptr) *count = selection.heads.GetCount();
    return true;
}

bool RestoreSelection(const QV_List<API_Elem_Head>& heads, bool add) {
    if (heads.GetCount() == 0) return false;
    GSHandle neigs = nullptr;
    if (!MakeNeigHandleFromHeads(heads, &neigs) || neigs == nullptr) return false;
    const int32_t n = int32_t(BMGetHandleSize(neigs) / GSSize(sizeof(API_Neig)));
    const GSErrCode err = ACAPI_Element_Select(reinterpret_cast<API_Neig**>(neigs), n, add);
    BMKillHandle(&neigs);
    return err == NoError;
}

GSErrCode EditToolDefaults(API_Element* outElement, API_ElementMemo* outMemo, API_ElemTypeID typeId,
                           int32_t variationId, const API_Element* element, const API_ElementMemo* memo,
                           const API_Element* mask, bool restore) {
    API_Element original;
    API_ElementMemo originalMemo;
    GSErrCode err = ReadDefaults(typeId, variationId, original, originalMemo);
    if (err != NoError) return err;

    const bool written = element != nullptr || memo != nullptr;
    if (written) {
        API_Element next = element != nullptr ? *element : original;
        next.header.typeID = typeId;
        next.header.variationID = variationId;
        API_ElementMemo nextMemo = memo != nullptr ? *memo : originalMemo;
        const API_Element nextMask = mask != nullptr && element != nullptr ? *mask : AllFields();
        err = ACAPI_Element_ChangeDefaults(&next, &nextMemo, &nextMask);
        if (err != NoError) {
            ACAPI_DisposeElemMemoHdls(&originalMemo);
            return err;
        }
    }
    // Whatever goes wrong from here on leaves the tool as the caller asked and the selection as it was.
    auto giveUp = [&](GSErrCode code, const QV_List<API_Elem_Head>* heads) {
        if (restore && written) WriteAll(original, &originalMemo);
        if (heads != nullptr) BringSelectionBack(*heads);
        ACAPI_DisposeElemMemoHdls(&originalMemo);
        return code;
    };

    QV_List<API_Elem_Head> heads;
    if (!PutSelectionAside(heads)) return giveUp(LodravixErr_StepFailed, nullptr);
    API_ToolBoxItem tool = {};
    tool.typeID = typeId;
    tool.variationID = variationId;
    err = ACAPI_Interface(APIIo_SettingsDialogID, &tool);
    if (err != NoError) return giveUp(err, &heads);

    API_Element chosen;
    API_ElementMemo chosenMemo;
    err = ReadDefaults(typeId, variationId, chosen, chosenMemo);
    if (err != NoError) return giveUp(err, &heads);
    if (restore) WriteAll(original, &originalMemo);
    BringSelectionBack(heads);
    ACAPI_DisposeElemMemoHdls(&originalMemo);

    if (outElement != nullptr) *outElement = chosen;
    if (outMemo != nullptr)
        *outMemo = chosenMemo;
    else
        ACAPI_DisposeElemMemoHdls(&chosenMemo);
    return NoError;
}

GSErrCode EditLibPartSettings(int32_t& libPartIndex, GSHandle* params, API_ElemTypeID typeId, int32_t variationId,
                              bool restore) {
    API_Element chosen;
    API_ElementMemo chosenMemo;
    std::memset(static_cast<void*>(&chosenMemo), 0, sizeof chosenMemo);
    GSErrCode err = NoError;
    if (libPartIndex < 0) {
        err = EditToolDefaults(&chosen, &chosenMemo, typeId, variationId, nullptr, nullptr, nullptr, restore);
    } else {
        API_Element defaults;
        API_ElementMemo memo;
        err = ReadDefaults(typeId, variationId, defaults, memo);
        if (err != NoError) return err;
        GSHandle use = params != nullptr ? *params : nullptr;
        if (use == nullptr && !BaseLP::GetLibPartParams(libPartIndex, &use, nullptr, nullptr, nullptr)) {
            ACAPI_DisposeElemMemoHdls(&memo);
            return LodravixErr_StepFailed;
        }
        if (params != nullptr) *params = nullptr;  // the memo owns them now
        ReplaceParams(memo, use);
        API_Element mask = NoFields();
        SetLibPartFields(defaults, mask, typeId, libPartIndex, use);
        err = EditToolDefaults(&chosen, &chosenMemo, typeId, variationId, &defaults, &memo, &mask, restore);
        ACAPI_DisposeElemMemoHdls(&memo);
    }
    if (err != NoError) return err;
    libPartIndex = LibPartOf(chosen, typeId);
    GSHandle got = TakeParams(chosenMemo);
    if (params != nullptr) {
        ReleaseParamRecords(params);
        *params = got;
    } else {
        ReleaseParamRecords(&got);
    }
    ACAPI_DisposeElemMemoHdls(&chosenMemo);
    return NoError;
}

GSErrCode ChooseLibPartWithSubtype(int32_t& libPartIndex, GSHandle* params, const char* subtypeId,
                                   API_ElemTypeID typeId, int32_t variationId, bool restore) {
    GSHandle given = params != nullptr ? *params : nullptr;
    if (params != nullptr) *params = nullptr;
    auto dropGiven = [&]() { ReleaseParamRecords(&given); };

    if (subtypeId != nullptr && libPartIndex >= 0) {
        API_LibPart part = {};
        part.index = libPartIndex;
        bool isSubtype = false;
        const GSErrCode got = ACAPI_LibPart_Get(&part);
        // A part the host would not read is no part to leave unselected: the dialog would offer another.
        if (got != NoError && got != APIERR_BADINDEX) {
            dropGiven();
            return got;
        }
        if (got == NoError) {
            size_t units = 0;
            while (units < 128 && part.file_UName[units] != 0) ++units;
            QV_String file(part.file_UName, uint32_t(units * sizeof(char16_t)), Encoding_UTF16LE);
            QV_String name = file;
            const int32_t dot = file.ReverseFindChar('.');
            if (dot > 0) file.Left(name, uint32_t(dot));
            IsLibPartSubtypeOf(subtypeId, name, isSubtype, false);
        }
        if (!isSubtype) libPartIndex = -1;
    }

    API_ObjectSettingsPars record = {};
    record.tool.typeID = typeId;
    record.tool.variationID = variationId;
    if (subtypeId != nullptr) std::strncpy(record.subtypeID, subtypeId, sizeof record.subtypeID - 1);

    API_Element original;
    API_ElementMemo originalMemo;
    std::memset(static_cast<void*>(&originalMemo), 0, sizeof originalMemo);
    const bool written = libPartIndex >= 0;
    if (written) {
        GSErrCode err = ReadDefaults(typeId, variationId, original, originalMemo);
        if (err != NoError) {
            dropGiven();
            return err;
        }
        GSHandle use = given;
        given = nullptr;
        if (use == nullptr && !BaseLP::GetLibPartParams(libPartIndex, &use, nullptr, nullptr, nullptr)) {
            ACAPI_DisposeElemMemoHdls(&originalMemo);
            return LodravixErr_StepFailed;
        }
        API_Element next = original;
        API_Element mask = NoFields();
        SetLibPartFields(next, mask, typeId, libPartIndex, use);
        API_ElementMemo nextMemo = {};
        nextMemo.params = reinterpret_cast<API_AddParType**>(use);
        err = ACAPI_Element_ChangeDefaults(&next, &nextMemo, &mask);
        ReleaseParamRecords(&use);
        if (err != NoError) {
            ACAPI_DisposeElemMemoHdls(&originalMemo);
            return err;
        }
    }
    dropGiven();

    QV_List<API_Elem_Head> heads;
    GSErrCode err = NoError;
    if (PutSelectionAside(heads))
        err = ACAPI_Interface(APIIo_ObjectSettingsID, &record);
    else
        err = LodravixErr_StepFailed;
    if (written && restore) WriteAll(original, &originalMemo);
    ACAPI_DisposeElemMemoHdls(&originalMemo);
    BringSelectionBack(heads);

    if (err != NoError) {
        ReleaseParamRecords(&record.params);
        return err;
    }
    libPartIndex = LibPartOf(record.element, typeId);
    if (params != nullptr)
        *params = record.params;
    else
        ReleaseParamRecords(&record.params);
    return NoError;
}

GSErrCode SelectToolWithDefaults(int32_t libPartIndex, GSHandle params, const API_Element* element,
                                 const API_Element* mask, API_ElemTypeID typeId, int32_t variationId) {
    API_ToolBoxItem current = {};
    GSErrCode err = ACAPI_Environment(APIEnv_GetToolBoxModeID, &current);
    if (err != NoError) return err;
    if (current.typeID != typeId || current.variationID != variationId) {
        API_ToolBoxItem tool = {};
        tool.typeID = typeId;
        tool.variationID = variationId;
        err = ACAPI_Environment(APIEnv_SetToolBoxModeID, &tool);
        if (err != NoError) return err;
    }
    if (libPartIndex < 0 && element == nullptr) return NoError;

    API_Element defaults;
    API_ElementMemo memo;
    err = ReadDefaults(typeId, variationId, defaults, memo);
    if (err != NoError) return err;
    API_Element useMask = NoFields();
    if (element != nullptr) {
        defaults = *element;
        defaults.header.typeID = typeId;
        defaults.header.variationID = variationId;
        useMask = mask != nullptr ? *mask : AllFields();
    }
    if (libPartIndex < 0) {
        err = ACAPI_Element_ChangeDefaults(&defaults, nullptr, &useMask);
    } else {
        const GSHandle sizes = params != nullptr ? params : reinterpret_cast<GSHandle>(memo.params);
        SetLibPartFields(defaults, useMask, typeId, libPartIndex, sizes);
        // The caller keeps its handle: the host copies what it is given.
        API_ElementMemo given = {};
        given.params = reinterpret_cast<API_AddParType**>(params);
        err = ACAPI_Element_ChangeDefaults(&defaults, params != nullptr ? &given : nullptr, &useMask);
    }
    ACAPI_DisposeElemMemoHdls(&memo);
    return err;
}

bool IsLibPartSubtypeOf(const char* subtypeId, const QV_String& libPartName, bool& isSubtype, bool firstLevelOnly) {
    isSubtype = false;
    if (subtypeId == nullptr) return false;
    API_LibPart part;
    if (LibPart_SearchByName(libPartName, 0, part) != NoError || part.index < 1) return false;
    if (SameLibPart(part.parentUnID, subtypeId)) {
        isSubtype = true;
        return true;
    }
    if (firstLevelOnly) return true;

    // A faulty library can make a part its own ancestor: every id is visited once.
    std::set<std::string> visited = {std::string(part.ownUnID, strnlen(part.ownUnID, sizeof part.ownUnID))};
    std::string parent(part.parentUnID, strnlen(part.parentUnID, sizeof part.parentUnID));
    while (!parent.empty() && visited.insert(parent).second) {
        API_LibPart ancestor;
        std::memset(static_cast<void*>(&ancestor), 0, sizeof ancestor);
        std::strncpy(ancestor.ownUnID, parent.c_str(), sizeof ancestor.ownUnID - 1);
        if (ACAPI_LibPart_Search(&ancestor) != NoError || ancestor.missingDef != 0) return false;
        if (SameLibPart(ancestor.parentUnID, subtypeId)) {
            isSubtype = true;
            return true;
        }
        if (SameText(ancestor.ownUnID, API_LibPartHierarchyRoot, sizeof ancestor.ownUnID)) return true;
        parent.assign(ancestor.parentUnID, strnlen(ancestor.parentUnID, sizeof ancestor.parentUnID));
    }
    return false;
}
