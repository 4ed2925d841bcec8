#include "shell/commands/CoordinateLocatorCommand.hpp"

#include "dialogs/tools/CoordinateLocatorDialog.hpp"
#include "elements/BaseLP.hpp"
#include "elements/CoordinateLocator.hpp"
#include "elements/CoordinateLocatorLP.hpp"
#include "elements/ElementHelpers.hpp"
#include "elements/ParamIndexes.hpp"
#include "elements/ToolDefaults.hpp"
#include "elements/WholeCommand.hpp"
#include "foundation/Alert.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/Language.hpp"
#include "foundation/LibPart.hpp"
#include "foundation/OwnedMemo.hpp"
#include "foundation/OwnedParams.hpp"
#include "foundation/PointInput.hpp"
#include "foundation/SelectionHelpers.hpp"

#include "UniString.hpp"

#include <cstring>

namespace {
constexpr int32_t PositionPrompt = 15;
constexpr int AskPointTries = 3;  // a host that keeps failing the input must not hold the command forever

// The object tool's settings dialog on the locator until the user confirms on it; false on cancel or failure
// (failures are reported).
bool EditLocatorSettings(int32_t libInd, GSHandle* params) {
    for (;;) {
        int32_t chosen = libInd;
        *params = nullptr;
        const GSErrCode err = ChangeLibPartParams(chosen, params, API_ObjectID, 0, true);
        if (err == APIERR_CANCEL) return false;
        if (err != NoError) {
            ReleaseParamRecords(params);
            ShowErrorMessage(ErrFindingData, AlertKind::Warning);
            return false;
        }
        if (chosen == libInd) return true;
        ReleaseParamRecords(params);
        ShowErrorMessage(ErrNotTheNeededObject, AlertKind::Warning);
    }
}

// False when the user cancelled or the input kept failing.
bool AskPosition(API_Coord3D& point) {
    QV_String prompt;
    GetResString(prompt, SOSITableBase + LanguageIndex, PositionPrompt);
    for (int i = 0; i < AskPointTries; ++i) {
        API_Neig neig = {};
        const GSErrCode err =
            GetPointFromUser(point, neig, prompt, nullptr, nullptr, nullptr, nullptr, 0, nullptr, nullptr, true);
        if (err == NoError) return true;
        if (err == APIERR_CANCEL) return false;
        ShowErrorMessage(ErrSpecifyingPoint, AlertKind::Warning);
    }
    return false;
}

void PlaceNewLocator(int32_t libInd) {
    API_Element existing = {};
    bool refused = false;
    if (FindPlacedLocator(libInd, &existing, &refused)) {
        ShowErrorMessage(ErrJustInsertLocator, AlertKind::Warning);
        return;
    }
    // Unsure whether the worksheet already holds one: a second locator would make the offset ambiguous.
    if (refused) {
        ShowErrorMessage(ErrFindingData, AlertKind::Warning);
        return;
    }
    OwnedParams params;
    if (!EditLocatorSettings(libInd, params.Out())) return;
    if (params.Get() == nullptr && !BaseLP::GetLibPartParams(libInd, params.Out(), nullptr, nullptr, nullptr)) {
        ShowErrorMessage(ErrFindingData, AlertKind::Warning);
        return;
    }
    API_Coord3D point = {};
    if (!AskPosition(point)) return;
    API_Element element = {};
    element.header.typeID = API_ObjectID;
    if (ACAPI_Element_GetDefaults(&element, nullptr) != NoError) {
        ShowErrorMessage(ErrFindingData, AlertKind::Warning);
        return;
    }
    CoordinateLocatorLP view;
    view.Attach(params.Get(), true);
    double used = 1.0;
    const bool marked = view.GetSetDouble(CoordinateLocatorParam::UsedBy, used, LPMode_Set);
    view.Detach();
    if (!marked) {
        ShowErrorMessage(ErrFindingData, AlertKind::Warning);
        return;
    }
    element.object.libInd = libInd;
    element.object.pos = {point.x, point.y};
    element.object.xRatio = 1.0;
    element.object.yRatio = 1.0;
    // Owned here too: a command the host refuses to run never reaches the creation that frees it.
    OwnedMemo memo;
    memo->params = reinterpret_cast<API_AddParType**>(params.Release());
    if (!RunWholeCommand([&] { return CreateElementWithMemo(&element, memo.Get(), true) == NoError; }))
        ShowErrorMessage(ErrModifying, AlertKind::Warning);
}
// The selected locator in its dialog; on OK its parameters change to what the user set. A locator whose
// parameters the host does not give is said, not skipped: the button would otherwise do nothing.
void EditLocator(const API_Element& locator) {
    API_ElementMemo memo = {};
    if (ACAPI_Element_GetMemo(locator.header.guid, &memo, APIMemoMask_AddPars) != NoError || memo.params == nullptr) {
        ACAPI_DisposeElemMemoHdls(&memo);
        ShowErrorMessage(ErrFindingData, AlertKind::Warning);
        return;
    }
    CoordinateLocatorLP view;
    view.Attach(reinterpret_cast<GSHandle>(memo.params), true);
    CoordinateLocatorRec rec;
    bool ok = view.Exchange(rec, LPMode_Get) && OpenCoordinateLocatorDialog(rec);
    const bool confirmed = ok;
    ok = ok && view.Exchange(rec, LPMode_Set);
    view.Detach();
    if (!confirmed) {
        ACAPI_DisposeElemMemoHdls(&memo);
        return;
    }
    API_Element element = locator;
    const bool changed = ok && RunWholeCommand([&] { return ChangeElement(&element, &memo, nullptr) == NoError; });
    ACAPI_DisposeElemMemoHdls(&memo);
    if (!changed) ShowErrorMessage(ErrModifying, AlertKind::Warning);
}
}  // namespace

void InsertCoordinateLocator() {
    API_WindowInfo window = {};
    // A host that cannot tell its window, or refuses the library search, is told; elsewhere than on a worksheet,
    // or without the part, the button does nothing.
    if (ACAPI_Database(APIDb_GetCurrentWindowID, &window) != NoError) {
        ShowErrorMessage(ErrFindingData, AlertKind::Warning);
        return;
    }
    if (window.typeID != APIWind_WorksheetID) return;
    int32_t libInd = -1;
    LibPartLookup part = LibPartLookup::Missing;
    if (!FindLibPartOrAsk(QV_String(CoordinateLocatorPartName), libInd, false, QV_String(), APILib_ObjectID, &part)) {
        if (part == LibPartLookup::Refused) ShowErrorMessage(ErrFindingData, AlertKind::Warning);
        return;
    }
    QV_List<API_Element> selected;
    if (!CollectSelection(selected, true, API_ObjectID, false, Leave3D::No, libInd)) {
        ShowErrorMessage(ErrFindingData, AlertKind::Warning);
        return;
    }
    if (selected.GetCount() == 0)
        PlaceNewLocator(libInd);
    else
        EditLocator(selected[0]);
}

void RunInsertCoordinateLocator(Settings&) { InsertCoordinateLocator(); }
