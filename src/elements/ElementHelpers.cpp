#include "elements/ElementHelpers.hpp"

#include "foundation/ACAPI.hpp"
#include "foundation/OwnedMemo.hpp"
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

bool ReadElementInfoString(const API_Guid& guid, QV_String& text) {
    API_Guid g = guid;
    GS::UniString info;
    if (ACAPI_Database(APIDb_GetElementInfoStringID, &g, &info) != NoError) return false;
    text = QV_String(info.ToUtf8().c_str(), Encoding_UTF8);
    return true;
}

void SetMemoInfoString(API_ElementMemo& memo, QV_String& text) {
    const GS::UniString copy(text.GetBuffer(), text.GetLength());
    if (memo.elemInfoString != nullptr)
        *memo.elemInfoString = copy;
    else
        memo.elemInfoString = new GS::UniString(copy);
    text.Clear();
}

void DisposeElemMemo(API_ElementMemo& memo) { DisposeMemo(memo); }
