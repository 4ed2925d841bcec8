#include "elements/UserView.hpp"

#include "foundation/ErrorCode.hpp"

namespace {
bool ReadSelection(GS::Array<API_Neig>& neigs) {
    API_SelectionInfo info = {};
    const GSErrCode err = ACAPI_Selection_Get(&info, &neigs, false);
    if (info.marquee != nullptr) {
        GSHandle marquee = reinterpret_cast<GSHandle>(info.marquee);
        BMKillHandle(&marquee);
    }
    if (err == APIERR_NOSEL) neigs.Clear();
    return err == NoError || err == APIERR_NOSEL;
}

bool SameElements(const GS::Array<API_Neig>& a, const GS::Array<API_Neig>& b) {
    if (a.GetSize() != b.GetSize()) return false;
    for (uint32_t i = 0; i < a.GetSize(); ++i)
        if (!(a[i].guid == b[i].guid)) return false;
    return true;
}
}  // namespace

UserView::UserView() {
    windowKnown = ACAPI_Database(APIDb_GetCurrentWindowID, &window) == NoError;
    selectionKnown = ReadSelection(selection);
}

int32_t UserView::GiveBack() {
    API_WindowInfo now = {};
    if (windowKnown && ACAPI_Database(APIDb_GetCurrentWindowID, &now) == NoError &&
        (now.typeID != window.typeID || !(now.databaseUnId == window.databaseUnId)))
        ACAPI_Automate(APIDo_ChangeWindowID, &window);
    // A selection never read cannot be given back: the user learns that it may not be theirs.
    if (!selectionKnown) return ErrFindingData;
    GS::Array<API_Neig> nowSelected;
    if (ReadSelection(nowSelected) && SameElements(nowSelected, selection)) return NoErrorCode;
    // Set again whole when the selection now cannot be read either.
    if (ACAPI_Element_DeselectAll() != NoError) return ErrSelectedElement;
    if (selection.GetSize() > 0 && ACAPI_Element_Select(selection, true) != NoError) return ErrSelectedElement;
    return NoErrorCode;
}
