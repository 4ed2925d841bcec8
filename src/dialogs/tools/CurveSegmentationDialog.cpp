#include "dialogs/tools/CurveSegmentationDialog.hpp"

#include "dialogs/settings/DialogTexts.hpp"
#include "foundation/Language.hpp"
#include "foundation/ModalDialog.hpp"

#include "DG.hpp"

namespace {
enum : int16_t {
    ItemOK = 1,
    ItemCancel = 2,
    ItemByCount = 5,
    ItemCount = 6,
    ItemByLength = 8,
    ItemLength = 9,
};

void EnableValues(int16_t dialogId) {
    const bool byCount = DGGetItemValLong(dialogId, ItemByCount) != 0;
    DGSetItemEnable(dialogId, ItemCount, byCount);
    DGSetItemEnable(dialogId, ItemLength, !byCount);
}

void Init(int16_t dialogId, const CurveSegmentationRecord& record) {
    DGSetDialogTitle(dialogId, Text(TitleTableBase, 30));
    DGSetItemText(dialogId, ItemOK, Text(CommonTableBase, 64));
    DGSetItemText(dialogId, ItemCancel, Text(CommonTableBase, 5));
    DGSetItemText(dialogId, ItemByCount, Text(GeneralTableBase, 194));
    DGSetItemText(dialogId, ItemByLength, Text(GeneralTableBase, 195));
    DGSetItemMinDouble(dialogId, ItemCount, 1.0);
    DGSetItemMaxDouble(dialogId, ItemCount, 100.0);
    DGSetItemMinDouble(dialogId, ItemLength, -999999.99);
    DGSetItemMaxDouble(dialogId, ItemLength, 999999.99);
    DGSetItemValLong(dialogId, record.byCount != 0 ? ItemByCount : ItemByLength, 1);
    DGSetItemValLong(dialogId, record.byCount != 0 ? ItemByLength : ItemByCount, 0);
    DGSetItemValDouble(dialogId, ItemLength, record.segmentLength);
    DGSetItemValLong(dialogId, ItemCount, record.segmentCount);
    EnableValues(dialogId);
    DGSetDialogClientSize(dialogId, 235, 185);
    DGSetFocus(dialogId, record.byCount != 0 ? ItemCount : ItemLength);
}

bool HasRecord(const CurveSegmentationDialogData& data) { return data.record != nullptr; }

void InitDialog(int16_t dialogId, CurveSegmentationDialogData& data) { Init(dialogId, *data.record); }

void ChangeDialog(int16_t dialogId, int16_t item, CurveSegmentationDialogData& /*data*/) {
    if (item == ItemByCount || item == ItemByLength) EnableValues(dialogId);
}

int16_t ClickDialog(int16_t /*dialogId*/, int16_t item, CurveSegmentationDialogData& /*data*/) {
    return item == ItemOK || item == ItemCancel ? item : 0;
}

// OK keeps the choice and both values.
void CloseDialog(int16_t dialogId, int16_t item, CurveSegmentationDialogData& data) {
    if (item != ItemOK) return;
    data.record->byCount = DGGetItemValLong(dialogId, ItemByCount) != 0 ? 1 : 0;
    data.record->segmentLength = DGGetItemValDouble(dialogId, ItemLength);
    data.record->segmentCount = DGGetItemValLong(dialogId, ItemCount);
}

using SegmentationDialog = ModalDialog<CurveSegmentationDialogData>;
const SegmentationDialog::Handlers SegmentationDialogHandlers = {HasRecord,   InitDialog, ClickDialog, ChangeDialog,
                                                                 CloseDialog, nullptr,    nullptr};
}  // namespace

bool OpenCurveSegmentationDialog(CurveSegmentationDialogData& data, CurveSegmentationRecord* record) {
    if (record == nullptr) return false;
    data.dialogId = uint16_t(CurveSegmentationDialogId);
    data.record = record;
    return SegmentationDialog::Run(CurveSegmentationDialogId, CurveSegmentationDialogCallback, data) == ItemOK;
}

int16_t CurveSegmentationDialogCallback(int16_t message, int16_t dialogId, int16_t item, intptr_t userData,
                                        intptr_t /*messageData*/) {
    return SegmentationDialog::Dispatch(CurveSegmentationDialogId, SegmentationDialogHandlers, message, dialogId, item,
                                        userData);
}

bool AskCurveSegmentation(CurveSegmentationRecord& record) {
    CurveSegmentationDialogData data = {};
    return OpenCurveSegmentationDialog(data, &record);
}
