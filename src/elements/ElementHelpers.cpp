#include "elements/ElementHelpers.hpp"

#include "foundation/ACAPI.hpp"
#include "foundation/SelectionHelpers.hpp"

#include <cstring>

namespace {
GSErrCode SwitchDatabase(int32_t type) {
    API_DatabaseInfo db = {};
    db.typeID = type;
    return ACAPI_Database(APIDb_ChangeCurrentDatabaseID, &db);
}

void Rebuild() { ACAPI_Automate(APIDo_RebuildID); }
}  // namespace

GSErrCode CreateElementWithMemo(API_Element* element, API_ElementMemo* memo, bool disposeMemo) {
    const auto dispose = [&]() {
        if (memo != nullptr && disposeMemo) DisposeElemMemo(*memo);
    };
    const auto create = [&]() {
        const GSErrCode err = ACAPI_Element_Create(element, memo);
        dispose();
        return err;
    };
    if (!IsCurrentWindow3D()) return create();

    GSErrCode err = SwitchDatabase(APIWind_FloorPlanID);
    if (err != NoError) {
        dispose();  // the caller handed the memo over
        return err;
    }
    ElemSelection selection;
    if (!GetSelectedElements(selection, true, nullptr, false, false, 0)) {
        SwitchDatabase(APIWind_3DModelID);
        Rebuild();
        dispose();
        return LodravixErr_StepFailed;
    }
    const bool somethingSelected = selection.heads.GetCount() > 0;
    err = create();
    if (!somethingSelected) {
        SwitchDatabase(APIWind_3DModelID);
        Rebuild();
        return err;
    }
    // With a selection the floor plan stays current and the new element joins the selection.
    if (err != NoError) return err;
    return SelectElement(*element, true) ? NoError : LodravixErr_StepFailed;
}

GSErrCode ChangeElement(API_Element* element, API_ElementMemo* memo, const API_Element* mask) {
    if (element == nullptr) return APIERR_BADPARS;
    GS::Array<API_Guid> guids;
    guids.Push(element->header.guid);
    return ACAPI_Element_ChangeParameters(guids, element, memo, mask);
}

GSErrCode DeleteElementInPlan(const API_Elem_Head& head, bool switchDatabase) {
    API_DatabaseInfo saved = {};
    if (switchDatabase) {
        GSErrCode err = ACAPI_Database(APIDb_GetCurrentDatabaseID, &saved);
        if (err != NoError) return err;
        err = SwitchDatabase(APIWind_FloorPlanID);
        if (err != NoError) return err;
    }
    GS::Array<API_Guid> guids;
    guids.Push(head.guid);
    const GSErrCode err = ACAPI_Element_Delete(guids);
    if (switchDatabase) ACAPI_Database(APIDb_ChangeCurrentDatabaseID, &saved);
    return err;
}

GSErrCode CreateLayer(const QV_String& name, uint32_t flags, int32_t value, int32_t* outIndex,
                      API_Attribute* outRecord) {
    API_Attribute attr = {};
    attr.header.typeID = API_LayerID;
    if (!LayerNameToField(name, attr.header.name, sizeof attr.header.name)) return APIERR_BADPARS;
    attr.header.flags = flags;
    attr.layer.conClassId = value;
    GSErrCode err = ACAPI_Attribute_Create(&attr);
    if (err == APIERR_ATTREXIST) {
        // The name is in use: that layer gets the flags and the value instead.
        attr.header.flags = flags;
        attr.layer.conClassId = value;
        err = ACAPI_Attribute_Modify(&attr);
    }
    if (err != NoError) return err;
    if (outIndex != nullptr) *outIndex = attr.header.index;
    if (outRecord != nullptr) *outRecord = attr;
    return NoError;
}

void CreateOperatorsLayer(const QV_List<QV_String>& names) {
    if (names.GetCount() < 1) return;
    CreateLayer(names[0], OperatorLayerCreationFlags, 0, nullptr, nullptr);
}

LayerFlags GetLayerFlags(const QV_String& name) {
    API_Attribute attr = {};
    if (!ReadLayerByName(name, &attr)) return LayerFlags();
    return LayerFlagsFromWord(attr.header.flags);
}

int16_t GetOrCreateLayerIndex(const QV_List<QV_String>& names, int32_t skip) {
    if (skip != 0 || names.GetCount() < 1) return 1;
    API_Attribute attr = {};
    if (ReadLayerByName(names[0], &attr)) return int16_t(attr.header.index);
    int32_t index = 0;
    if (CreateLayer(names[0], OperatorLayerCreationFlags, 0, &index, nullptr) != NoError) return 1;
    return int16_t(index);
}
