#include "dialogs/settings/SOSIResultsDialog.hpp"

#include "dialogs/settings/DialogTexts.hpp"
#include "dialogs/settings/PointImportResultsDialog.hpp"
#include "dialogs/settings/SettingsDialogFrame.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/ModalDialog.hpp"
#include "settings/ProjectOffset.hpp"
#include "sosi/SOSIFileCls.hpp"
#include "sosi/SOSILocatorDatabases.hpp"

#include "DG.hpp"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

namespace {

struct ResultsBlock {
    uint16_t dialogId = 0;
    SOSIFileCls* reader = nullptr;
    double savedX = 0.0;  // the offset to go back to when the locator's is switched off
    double savedY = 0.0;
};

enum : int16_t {
    ItemOK = 1,
    ItemCancel = 2,
    ItemPicture = 3,
    ItemIcon = 4,
    ItemLanguageImage = 5,
    ItemHeading = 6,
    ItemReadCount = 8,
    ItemImportedCount = 10,
    ItemSkippedCount = 12,
    ItemImportAgain = 15,
    ItemPreviousOffset = 17,
    ItemMinX = 20,
    ItemMinY = 21,
    ItemMaxX = 24,
    ItemMaxY = 25,
    ItemAreaPictureLeft = 26,
    ItemAreaPictureRight = 27,
    ItemAreaCheck = 29,
    ItemAreaMinX = 31,
    ItemAreaMinY = 33,
    ItemAreaMaxX = 35,
    ItemAreaMaxY = 37,
    ItemLocatorCheck = 38,
    ItemLocatorPopup = 39,
    ItemFilterGroup = 40,
    ItemFilterCheck = 41,
    ItemFirstAltitude = 43,
    ItemFinalAltitude = 45,
    ItemEquidistance = 47,
};

constexpr int16_t AreaItems[4] = {ItemAreaMinX, ItemAreaMinY, ItemAreaMaxX, ItemAreaMaxY};

bool Full(int16_t d) { return d == SOSIResultsDialogId; }

void SetImage(int16_t d, int16_t item, int32_t image) {
    DGSetItemImage(d, item, DG::Image(ACAPI_GetOwnResModule(), image));
}

// The read box; an empty one (nothing read) shows as a point at the origin.
API_Box DataBox(const SOSIFileCls& r) { return r.BoundsEmpty() ? API_Box{0.0, 0.0, 0.0, 0.0} : r.bounds; }

// The extent and the import area, relative to the offset.
void FillBoundingBoxItems(int16_t d, const SOSIFileCls& r) {
    const API_Box box = DataBox(r);
    DGSetItemValDouble(d, ItemMinX, box.xMin - r.originX);
    DGSetItemValDouble(d, ItemMinY, box.yMin - r.originY);
    DGSetItemValDouble(d, ItemMaxX, box.xMax - r.originX);
    DGSetItemValDouble(d, ItemMaxY, box.yMax - r.originY);
    DGSetItemValDouble(d, ItemAreaMinX, r.limitArea.xMin - r.originX);
    DGSetItemValDouble(d, ItemAreaMinY, r.limitArea.yMin - r.originY);
    DGSetItemValDouble(d, ItemAreaMaxX, r.limitArea.xMax - r.originX);
    DGSetItemValDouble(d, ItemAreaMaxY, r.limitArea.yMax - r.originY);
}

void ShowAreaState(int16_t d, bool on) {
    for (int16_t item : AreaItems) DGSetItemEnable(d, item, on);
    SetImage(d, ItemAreaPictureLeft, on ? 32537 : 32535);
    SetImage(d, ItemAreaPictureRight, on ? 32538 : 32536);
}

void ShowFilterState(int16_t d, const SOSIFileCls& r) {
    const bool contours = r.assembly.contourCount > 0;
    DGSetItemEnable(d, ItemFilterGroup, contours);
    DGSetItemEnable(d, ItemFilterCheck, contours);
    for (int16_t item = 42; item <= 47; ++item) DGSetItemEnable(d, item, contours && r.assembly.altitudeFilter != 0);
}

// The offset of the locator on the worksheet chosen in the pop-up.
void TakeLocatorOffset(int16_t d, SOSIFileCls& r) {
    const int32_t chosen = DGPopUpGetSelected(d, ItemLocatorPopup);
    double x = 0.0, y = 0.0;
    if (GetCoordinateLocatorOrigin(r, chosen - 1, &x, &y)) {
        r.originX = x;
        r.originY = y;
    }
    FillBoundingBoxItems(d, r);
}

void ShowLocatorState(int16_t d, bool on) {
    DGSetItemEnable(d, ItemPreviousOffset, !on);
    DGSetItemEnable(d, ItemMinX, !on);
    DGSetItemEnable(d, ItemMinY, !on);
    DGSetItemEnable(d, ItemLocatorPopup, on);
}

// A host text field, up to its terminator or its end.
template <size_t N>
std::u16string Field(const char16_t (&field)[N]) {
    size_t n = 0;
    while (n < N && field[n] != 0) ++n;
    return std::u16string(field, n);
}

GS::UniString WorksheetLabel(const API_DatabaseInfo& sheet) {
    return GS::UniString(Field(sheet.ref) + u" - " + Field(sheet.name));
}

void InitLocatorItems(int16_t d, SOSIFileCls& r) {
    if (r.importMode == SOSIModeWorksheet) {
        DGHideItem(d, ItemLocatorCheck);
        DGHideItem(d, ItemLocatorPopup);
        return;
    }
    DGSetCheckBoxState(d, ItemLocatorCheck, false);
    DGDisableItem(d, ItemLocatorPopup);
    if (r.output.locatorDatabases.IsEmpty()) {
        DGDisableItem(d, ItemLocatorCheck);
        return;
    }
    DGPopUpDeleteItem(d, ItemLocatorPopup, DG_ALL_ITEMS);
    for (const API_DatabaseInfo& sheet : r.output.locatorDatabases) {
        DGPopUpInsertItem(d, ItemLocatorPopup, DG_POPUP_BOTTOM);
        DGPopUpSetItemText(d, ItemLocatorPopup, DGPopUpGetItemCount(d, ItemLocatorPopup), WorksheetLabel(sheet));
    }
    DGPopUpSelectItem(d, ItemLocatorPopup, 1);
    DGEnableItem(d, ItemLocatorCheck);
    DGSetCheckBoxState(d, ItemLocatorCheck, true);
    ShowLocatorState(d, true);
    TakeLocatorOffset(d, r);
}

void SetCount(int16_t d, int16_t item, uint32_t count) {
    const QV_String text = ImportCountText(count);
    DGSetItemText(d, item, GS::UniString(text.GetBuffer(), text.GetLength()));
}

// Both layouts; `full` adds the altitude filter.
void InitResults(int16_t d, ResultsBlock& block, bool full) {
    SOSIFileCls& r = *block.reader;
    block.dialogId = uint16_t(d);
    DGSetDialogTitle(d, Text(SOSITableBase, 1));
    DGSetItemText(d, ItemOK, Text(CommonTableBase, 64));
    DGSetItemText(d, ItemCancel, Text(CommonTableBase, 5));
    DGSetItemIcon(d, ItemIcon, DG::Icon(ACAPI_GetOwnResModule(), 32429));
    SetImage(d, ItemLanguageImage, HostLanguageNOR != 0 || HostLanguageAUT != 0 ? 32524 : 32501);
    DGSetItemText(d, ItemHeading, Text(TitleTableBase, 5));
    for (int16_t k = 0; k < 3; ++k) DGSetItemText(d, int16_t(7 + 2 * k), Text(GeneralTableBase, 26 + k));
    SetImage(d, 13, 32539);
    SetImage(d, 14, 32540);
    DGSetItemText(d, ItemImportAgain, Text(GeneralTableBase, 29));
    DGSetItemText(d, 16, Text(GeneralTableBase, 30));
    DGSetItemText(d, ItemPreviousOffset, Text(GeneralTableBase, 178));
    DGSetItemText(d, 28, Text(GeneralTableBase, 32));
    DGSetItemText(d, ItemAreaCheck, Text(GeneralTableBase, 33));
    DGSetItemText(d, ItemLocatorCheck, Text(SOSITableBase, 13));
    r.importAgain = 0;

    SetCount(d, ItemReadCount, r.pointsRead);
    SetCount(d, ItemImportedCount, r.pointsKept);
    SetCount(d, ItemSkippedCount, r.pointsRead >= r.pointsKept ? r.pointsRead - r.pointsKept : 0);

    DGSetCheckBoxState(d, ItemAreaCheck, r.limitToArea != 0);
    FillBoundingBoxItems(d, r);
    if (full) {
        DGSetItemText(d, ItemFilterCheck, Text(SOSITableBase, 33));
        for (int16_t k = 0; k < 3; ++k) DGSetItemText(d, int16_t(42 + 2 * k), Text(SOSITableBase, 34 + k));
        DGSetItemValDouble(d, ItemFirstAltitude, r.assembly.firstAltitude);
        DGSetItemValDouble(d, ItemFinalAltitude, r.assembly.finalAltitude);
        DGSetItemValDouble(d, ItemEquidistance, r.assembly.equidistance);
        DGSetCheckBoxState(d, ItemFilterCheck, r.assembly.altitudeFilter != 0);
        ShowFilterState(d, r);
    }
    DGDisableItem(d, ItemMaxX);
    DGDisableItem(d, ItemMaxY);
    // The area edits follow their check box, also when an earlier pass left it ticked.
    ShowAreaState(d, r.limitToArea != 0);
    InitLocatorItems(d, r);
    DGSetDialogClientSize(d, 510, full ? 613 : 533);
}

void InitSOSIImportResultsDialog(int16_t d, ResultsBlock& block) { InitResults(d, block, true); }
void InitSOSIImportResultsDialogTwin(int16_t d, ResultsBlock& block) { InitResults(d, block, false); }

// One axis of the area: ordered, held inside the data's range, stored with the offset.
void ChangeArea(int16_t d, int16_t low, int16_t high, int16_t dataLow, int16_t dataHigh, double offset,
                double& storedMin, double& storedMax) {
    double first = DGGetItemValDouble(d, low);
    double second = DGGetItemValDouble(d, high);
    ClampImportArea(first, second, DGGetItemValDouble(d, dataLow), DGGetItemValDouble(d, dataHigh));
    DGSetItemValDouble(d, low, first);
    DGSetItemValDouble(d, high, second);
    storedMin = first + offset;
    storedMax = second + offset;
}

void Change(int16_t d, int16_t item, ResultsBlock& block) {
    SOSIFileCls& r = *block.reader;
    const API_Box box = DataBox(r);
    switch (item) {
        case ItemMinX:
            r.originX = box.xMin - DGGetItemValDouble(d, ItemMinX);
            FillBoundingBoxItems(d, r);
            break;
        case ItemMinY:
            r.originY = box.yMin - DGGetItemValDouble(d, ItemMinY);
            FillBoundingBoxItems(d, r);
            break;
        case ItemAreaCheck: ShowAreaState(d, DGGetCheckBoxState(d, ItemAreaCheck)); break;
        case ItemAreaMinX:
        case ItemAreaMaxX:
            ChangeArea(d, ItemAreaMinX, ItemAreaMaxX, ItemMinX, ItemMaxX, r.originX, r.limitArea.xMin,
                       r.limitArea.xMax);
            break;
        case ItemAreaMinY:
        case ItemAreaMaxY:
            ChangeArea(d, ItemAreaMinY, ItemAreaMaxY, ItemMinY, ItemMaxY, r.originY, r.limitArea.yMin,
                       r.limitArea.yMax);
            break;
        case ItemLocatorCheck: {
            const bool on = DGGetCheckBoxState(d, ItemLocatorCheck);
            ShowLocatorState(d, on);
            if (on) {
                DGPopUpSelectItem(d, ItemLocatorPopup, 1);
                TakeLocatorOffset(d, r);
            } else {
                r.originX = block.savedX;
                r.originY = block.savedY;
                FillBoundingBoxItems(d, r);
            }
            break;
        }
        case ItemLocatorPopup: TakeLocatorOffset(d, r); break;
        case ItemFilterCheck:
            if (Full(d)) {
                r.assembly.altitudeFilter = DGGetCheckBoxState(d, ItemFilterCheck) ? 1 : 0;
                ShowFilterState(d, r);
            }
            break;
        default: break;
    }
}

int16_t Click(int16_t d, int16_t item, ResultsBlock& block) {
    SOSIFileCls& r = *block.reader;
    switch (item) {
        case ItemOK: return ItemOK;
        case ItemCancel: return ItemCancel;
        case ItemImportAgain: r.importAgain = 1; return ItemCancel;
        case ItemPreviousOffset:
            r.originX = block.savedX = ProjectOffset.x;
            r.originY = block.savedY = ProjectOffset.y;
            FillBoundingBoxItems(d, r);
            return 0;
        default: return 0;
    }
}

void StoreAltitudeFilter(int16_t d, SOSIFileCls& r) {
    r.assembly.altitudeFilter = DGGetCheckBoxState(d, ItemFilterCheck) ? 1 : 0;
    if (r.assembly.altitudeFilter == 0) return;
    double first = DGGetItemValDouble(d, ItemFirstAltitude);
    double final = DGGetItemValDouble(d, ItemFinalAltitude);
    // A range typed downwards means the same altitudes; a negative step is taken as its size, and a step of 0
    // keeps the contours between the two altitudes.
    if (first > final) std::swap(first, final);
    r.assembly.firstAltitude = first;
    r.assembly.finalAltitude = final;
    r.assembly.equidistance = std::fabs(DGGetItemValDouble(d, ItemEquidistance));
}

void Close(int16_t d, int16_t item, ResultsBlock& block) {
    SOSIFileCls& r = *block.reader;
    if (item == ItemOK) {
        r.limitToArea = DGGetCheckBoxState(d, ItemAreaCheck) ? 1 : 0;
        r.limitArea.xMin = DGGetItemValDouble(d, ItemAreaMinX) + r.originX;
        r.limitArea.yMin = DGGetItemValDouble(d, ItemAreaMinY) + r.originY;
        r.limitArea.xMax = DGGetItemValDouble(d, ItemAreaMaxX) + r.originX;
        r.limitArea.yMax = DGGetItemValDouble(d, ItemAreaMaxY) + r.originY;
        if (Full(d)) StoreAltitudeFilter(d, r);
    }
    block.dialogId = 0;
}

void Update(int16_t, int16_t item, ResultsBlock&, DGMessageData update) {
    if (item == ItemPicture) DrawSettingsPicture(update);
}

bool HasReader(const ResultsBlock& block) { return block.reader != nullptr; }

using ResultsDialog = ModalDialog<ResultsBlock>;
constexpr ResultsDialog::Handlers Handlers = {HasReader, InitSOSIImportResultsDialog, Click, Change, Close, nullptr,
                                              Update};
constexpr ResultsDialog::Handlers TwinHandlers = {
    HasReader, InitSOSIImportResultsDialogTwin, Click, Change, Close, nullptr, Update};

bool Open(int16_t dialogId, DGDialCallBack callback, SOSIFileCls& reader) {
    ResultsBlock block;
    block.reader = &reader;
    block.savedX = reader.originX;
    block.savedY = reader.originY;
    // Without a limit of its own the area starts as the data's box, so ticking it shows the whole extent.
    if (reader.limitToArea == 0) reader.limitArea = DataBox(reader);
    return ResultsDialog::Run(dialogId, callback, block) == ItemOK;
}

}  // namespace

int16_t SOSIResultsProc(int16_t message, int16_t dialogId, int16_t item, intptr_t userData, intptr_t messageData) {
    return ResultsDialog::Dispatch(SOSIResultsDialogId, Handlers, message, dialogId, item, userData, messageData);
}

int16_t SOSIResultsTwinProc(int16_t message, int16_t dialogId, int16_t item, intptr_t userData, intptr_t messageData) {
    return ResultsDialog::Dispatch(SOSIResultsTwinDialogId, TwinHandlers, message, dialogId, item, userData,
                                   messageData);
}

bool OpenSOSIImportResultsDialog(SOSIFileCls& reader) { return Open(SOSIResultsDialogId, SOSIResultsProc, reader); }

bool OpenSOSIImportResultsDialogTwin(SOSIFileCls& reader) {
    return Open(SOSIResultsTwinDialogId, SOSIResultsTwinProc, reader);
}
