#include "dialogs/settings/PointImportResultsDialog.hpp"

#include "dialogs/settings/DialogTexts.hpp"
#include "foundation/DialogLayouts.hpp"
#include "foundation/Language.hpp"
#include "foundation/ModalDialog.hpp"
#include "settings/ProjectOffset.hpp"

#include "DG.hpp"
#include "Resources.hpp"
#include "foundation/ACAPI.hpp"

#include <algorithm>
#include <string>
#include <utility>

namespace {

// The items of one layout.
struct ResultsItems {
    int16_t dialogId;
    int32_t width, height;
    int16_t countLabels[3], counts[3];
    int16_t warning, pictures[2];
    int16_t importAgain, previousOffset, areaCheck;
    int16_t positionX, positionY, boxMaxX, boxMaxY;
    int16_t areaPictures[2];
    int16_t area[4];  // x min, y min, x max, y max
    int16_t layoutButton;
    int16_t labels[4];           // "x min:" ... on the position edits
    int16_t positionGroupLabel;  // "Terrain position:"
    int16_t areaCheckTextTable, areaCheckTextIndex;
};

const ResultsItems First = {PointImportResultsDialogId,
                            400,
                            390,
                            {5, 7, 9},
                            {6, 8, 10},
                            11,
                            {12, 13},
                            14,
                            17,
                            18,
                            20,
                            22,
                            24,
                            26,
                            {27, 28},
                            {29, 30, 31, 32},
                            33,
                            {19, 21, 23, 25},
                            15,
                            int16_t(ImportTableBase),
                            32};
const ResultsItems Twin = {PointImportResultsTwinDialogId,
                           510,
                           521,
                           {7, 9, 11},
                           {8, 10, 12},
                           13,
                           {14, 15},
                           16,
                           18,
                           30,
                           21,
                           22,
                           25,
                           26,
                           {27, 28},
                           {32, 34, 36, 38},
                           39,
                           {19, 20, 23, 24},
                           17,
                           int16_t(GeneralTableBase),
                           33};

constexpr int32_t AreaOffPictures[2] = {32535, 32536};
constexpr int32_t AreaOnPictures[2] = {32537, 32538};
constexpr uint32_t WarningCount = 5000;

void SetPicture(int16_t dialogId, int16_t item, int32_t picture) {
    DGSetItemImage(dialogId, item, DG::Image(ACAPI_GetOwnResModule(), picture));
}

const ResultsItems& ItemsOf(int16_t dialogId) { return dialogId == Twin.dialogId ? Twin : First; }

void ShowAreaState(int16_t dialogId, const ResultsItems& it, bool on) {
    if (&it == &First) {
        for (int16_t item : {it.positionX, it.positionY, it.boxMaxX, it.boxMaxY}) DGSetItemVisible(dialogId, item, !on);
        for (int16_t item : it.area) DGSetItemVisible(dialogId, item, on);
    } else {
        for (int16_t item : it.area) DGSetItemEnable(dialogId, item, on);
    }
    DGDisableItem(dialogId, it.boxMaxX);
    DGDisableItem(dialogId, it.boxMaxY);
    for (int k = 0; k < 2; ++k) SetPicture(dialogId, it.areaPictures[k], on ? AreaOnPictures[k] : AreaOffPictures[k]);
}

// The eight position and area items, relative to the offset. A read without points has no box to show or
// move: the items stay empty, the position items disabled.
void ShowPositionItems(int16_t dialogId, const ResultsItems& it, const BaseFileCls& r) {
    const bool none = r.BoundsEmpty();
    for (int16_t item : {it.positionX, it.positionY}) DGSetItemEnable(dialogId, item, !none);
    if (none) {
        for (int16_t item :
             {it.positionX, it.positionY, it.boxMaxX, it.boxMaxY, it.area[0], it.area[1], it.area[2], it.area[3]})
            DGSetItemText(dialogId, item, GS::UniString());
        return;
    }
    DGSetItemValDouble(dialogId, it.positionX, r.bounds.xMin - r.originX);
    DGSetItemValDouble(dialogId, it.positionY, r.bounds.yMin - r.originY);
    DGSetItemValDouble(dialogId, it.boxMaxX, r.bounds.xMax - r.originX);
    DGSetItemValDouble(dialogId, it.boxMaxY, r.bounds.yMax - r.originY);
    DGSetItemValDouble(dialogId, it.area[0], r.limitArea.xMin - r.originX);
    DGSetItemValDouble(dialogId, it.area[1], r.limitArea.yMin - r.originY);
    DGSetItemValDouble(dialogId, it.area[2], r.limitArea.xMax - r.originX);
    DGSetItemValDouble(dialogId, it.area[3], r.limitArea.yMax - r.originY);
}

void StoreItems(int16_t dialogId, const ResultsItems& it, BaseFileCls& r) {
    r.limitToArea = DGGetCheckBoxState(dialogId, it.areaCheck) ? 1 : 0;
    if (r.BoundsEmpty()) return;  // the area items are empty: the area stays as it was
    r.limitArea.xMin = DGGetItemValDouble(dialogId, it.area[0]) + r.originX;
    r.limitArea.yMin = DGGetItemValDouble(dialogId, it.area[1]) + r.originY;
    r.limitArea.xMax = DGGetItemValDouble(dialogId, it.area[2]) + r.originX;
    r.limitArea.yMax = DGGetItemValDouble(dialogId, it.area[3]) + r.originY;
}

bool HasReader(const PointImportResultsBlock& block) { return block.reader != nullptr; }

void Init(int16_t dialogId, PointImportResultsBlock& block) {
    const ResultsItems& it = ItemsOf(dialogId);
    BaseFileCls& r = *block.reader;
    DGSetDialogTitle(dialogId, Text(TitleTableBase, 5));
    DGSetItemText(dialogId, 1, Text(CommonTableBase, 64));
    DGSetItemText(dialogId, 2, Text(CommonTableBase, 5));
    for (int k = 0; k < 3; ++k) DGSetItemText(dialogId, it.countLabels[k], Text(GeneralTableBase, 26 + k));
    DGSetItemText(dialogId, it.warning, Text(GeneralTableBase, 169));
    DGSetItemText(dialogId, it.importAgain, Text(GeneralTableBase, 29));
    DGSetItemText(dialogId, it.previousOffset, Text(GeneralTableBase, 178));
    DGSetItemText(dialogId, it.positionGroupLabel, Text(GeneralTableBase, 30));
    DGSetItemText(dialogId, it.areaCheck, Text(it.areaCheckTextTable, it.areaCheckTextIndex));
    if (&it == &First) {
        DGSetItemText(dialogId, 3, Text(GeneralTableBase, 25));
    } else {
        // The reader's status picks the picture: 0 after a read that went through.
        SetPicture(dialogId, 4, r.status != 0 ? 32503 : 32502);
        SetPicture(dialogId, 5, HostLanguageNOR != 0 || HostLanguageAUT != 0 ? 32524 : 32501);
    }
    r.importAgain = 0;

    const uint32_t skipped = r.pointsRead >= r.pointsKept ? r.pointsRead - r.pointsKept : 0;
    const uint32_t values[3] = {r.pointsRead, r.pointsKept, skipped};
    for (int k = 0; k < 3; ++k) {
        const QV_String count = ImportCountText(values[k]);
        DGSetItemText(dialogId, it.counts[k], GS::UniString(count.GetBuffer(), count.GetLength()));
    }
    const bool many = r.pointsKept > WarningCount;
    DGSetItemVisible(dialogId, it.warning, many);
    SetPicture(dialogId, it.pictures[0], 32539);
    SetPicture(dialogId, it.pictures[1], 32540);
    for (int16_t item : it.pictures) DGSetItemVisible(dialogId, item, !many);

    DGSetCheckBoxState(dialogId, it.areaCheck, r.limitToArea != 0);
    ShowPositionItems(dialogId, it, r);
    ShowAreaState(dialogId, it, r.limitToArea != 0);
    DGSetDialogClientSize(dialogId, it.width, it.height);
    if (block.head.savedX != 0 || block.head.savedY != 0)
        DGSetDialogClientPosition(dialogId, block.head.savedX, block.head.savedY);
    block.head.layoutSwitch = 0;
}

// One axis of the area: both edits ordered and kept inside the points' box, then stored.
void ChangeArea(int16_t dialogId, int16_t low, int16_t high, int16_t positionItem, int16_t maxItem, double offset,
                double& storedMin, double& storedMax) {
    double first = DGGetItemValDouble(dialogId, low);
    double second = DGGetItemValDouble(dialogId, high);
    ClampImportArea(first, second, DGGetItemValDouble(dialogId, positionItem), DGGetItemValDouble(dialogId, maxItem));
    DGSetItemValDouble(dialogId, low, first);
    DGSetItemValDouble(dialogId, high, second);
    storedMin = first + offset;
    storedMax = second + offset;
}

void Change(int16_t dialogId, int16_t item, PointImportResultsBlock& block) {
    const ResultsItems& it = ItemsOf(dialogId);
    BaseFileCls& r = *block.reader;
    if (item == it.areaCheck) {
        ShowAreaState(dialogId, it, DGGetCheckBoxState(dialogId, it.areaCheck));
    } else if (r.BoundsEmpty()) {
        return;  // no box: nothing to move or limit
    } else if (item == it.positionX) {
        r.originX = r.bounds.xMin - DGGetItemValDouble(dialogId, it.positionX);
        DGSetItemValDouble(dialogId, it.boxMaxX, r.bounds.xMax - r.originX);
        DGSetItemValDouble(dialogId, it.area[0], r.limitArea.xMin - r.originX);
        DGSetItemValDouble(dialogId, it.area[2], r.limitArea.xMax - r.originX);
    } else if (item == it.positionY) {
        r.originY = r.bounds.yMin - DGGetItemValDouble(dialogId, it.positionY);
        DGSetItemValDouble(dialogId, it.boxMaxY, r.bounds.yMax - r.originY);
        DGSetItemValDouble(dialogId, it.area[1], r.limitArea.yMin - r.originY);
        DGSetItemValDouble(dialogId, it.area[3], r.limitArea.yMax - r.originY);
    } else if (item == it.area[0] || item == it.area[2]) {
        ChangeArea(dialogId, it.area[0], it.area[2], it.positionX, it.boxMaxX, r.originX, r.limitArea.xMin,
                   r.limitArea.xMax);
    } else if (item == it.area[1] || item == it.area[3]) {
        ChangeArea(dialogId, it.area[1], it.area[3], it.positionY, it.boxMaxY, r.originY, r.limitArea.yMin,
                   r.limitArea.yMax);
    }
}

int16_t Click(int16_t dialogId, int16_t item, PointImportResultsBlock& block) {
    const ResultsItems& it = ItemsOf(dialogId);
    BaseFileCls& r = *block.reader;
    if (item == 1) return 1;
    if (item == 2) {
        block.head.layoutSwitch = 0;
        return 2;
    }
    if (item == it.importAgain) {
        r.importAgain = 1;
        return 1;
    }
    if (item == it.previousOffset) {
        r.originX = ProjectOffset.x;
        r.originY = ProjectOffset.y;
        ShowPositionItems(dialogId, it, r);
        return 0;
    }
    if (item == it.layoutButton) {
        StoreItems(dialogId, it, r);
        SaveDialogPosition(dialogId, block.head);
        block.head.layoutSwitch = 1;
        return 2;
    }
    return 0;
}

void Close(int16_t dialogId, int16_t item, PointImportResultsBlock& block) {
    if (item == 1) StoreItems(dialogId, ItemsOf(dialogId), *block.reader);
}

// The second layout's picture column.
void Update(int16_t dialogId, int16_t item, PointImportResultsBlock&, DGMessageData update) {
    if (dialogId == Twin.dialogId && item == 3) DrawSettingsPicture(update);
}

using ResultsDialog = ModalDialog<PointImportResultsBlock>;
const ResultsDialog::Handlers Handlers = {HasReader, Init, Click, Change, Close, nullptr, Update};

}  // namespace

QV_String ImportCountText(uint32_t count) {
    // Whole: a count cut to the field's former six characters reads as another number.
    return QV_String(std::to_string(count).c_str());
}

void ClampImportArea(double& first, double& second, double low, double high) {
    // Clamped first, then ordered: two values beyond the same side of the box must not cross.
    first = std::min(std::max(first, low), high);
    second = std::min(std::max(second, low), high);
    if (first > second) std::swap(first, second);
}

bool OpenPointImportResultsDialog(PointImportResultsBlock& block, BaseFileCls& reader) {
    block.reader = &reader;
    block.head.dialogId = uint16_t(PointImportResultsDialogId);
    return ResultsDialog::Run(PointImportResultsDialogId, PointImportResultsCallback, block) == 1;
}

bool OpenPointImportResultsDialogTwin(PointImportResultsBlock& block, BaseFileCls& reader) {
    block.reader = &reader;
    block.head.dialogId = uint16_t(PointImportResultsTwinDialogId);
    return ResultsDialog::Run(PointImportResultsTwinDialogId, PointImportResultsCallbackTwin, block) == 1;
}

bool RunPointImportResults(BaseFileCls& reader) {
    PointImportResultsBlock block;
    return RunDialogLayouts([&](int32_t layout, bool) {
               const bool ok = layout == 0 ? OpenPointImportResultsDialog(block, reader)
                                           : OpenPointImportResultsDialogTwin(block, reader);
               return LayoutClosed(ConfirmedIf(ok), block.head.layoutSwitch != 0);
           }) == DialogAnswer::Confirmed;
}

int16_t PointImportResultsCallback(int16_t message, int16_t dialogId, int16_t item, intptr_t userData,
                                   intptr_t messageData) {
    return ResultsDialog::Dispatch(PointImportResultsDialogId, Handlers, message, dialogId, item, userData,
                                   messageData);
}

int16_t PointImportResultsCallbackTwin(int16_t message, int16_t dialogId, int16_t item, intptr_t userData,
                                       intptr_t messageData) {
    return ResultsDialog::Dispatch(PointImportResultsTwinDialogId, Handlers, message, dialogId, item, userData,
                                   messageData);
}
