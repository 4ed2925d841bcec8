#include "dialogs/settings/SOSIImportStepDialog.hpp"

#include "dialogs/settings/DialogTexts.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/ModalDialog.hpp"

#include "DG.hpp"

namespace {

struct StepBlock {
    uint16_t dialogId = 0;
    int16_t step = 1;
};

constexpr int16_t ItemOK = 1, ItemCancel = 2, ItemIcon = 3, ItemWorksheet = 7, ItemTerrain = 8, ItemObjects = 9;

void InitSOSIImportDialog(int16_t d, StepBlock& block) {
    block.dialogId = uint16_t(d);
    DGSetDialogTitle(d, Text(SOSITableBase, 1));
    DGSetItemText(d, ItemOK, Text(CommonTableBase, 64));
    DGSetItemText(d, ItemCancel, Text(CommonTableBase, 5));
    // Only the step buttons confirm.
    DGHideItem(d, ItemOK);
    DGSetItemImage(d, ItemIcon, DG::Image(ACAPI_GetOwnResModule(), 32709));
    for (int16_t k = 0; k < 3; ++k) DGSetItemText(d, int16_t(4 + k), Text(SOSITableBase, 26 + k));
    DGSetItemText(d, ItemWorksheet, Text(SOSITableBase, 4));
    DGSetItemText(d, ItemTerrain, Text(SOSITableBase, 2));
    DGSetItemText(d, ItemObjects, Text(SOSITableBase, 3));
    DGSetDialogClientSize(d, 500, 181);
}

int16_t Click(int16_t, int16_t item, StepBlock& block) {
    switch (item) {
        case ItemOK:
        case ItemTerrain: block.step = 1; return ItemOK;
        case ItemObjects: block.step = 2; return ItemOK;
        case ItemWorksheet: block.step = 3; return ItemOK;
        case ItemCancel: return ItemCancel;
        default: return 0;
    }
}

void Close(int16_t, int16_t, StepBlock& block) { block.dialogId = 0; }

using StepDialog = ModalDialog<StepBlock>;
constexpr StepDialog::Handlers Handlers = {nullptr, InitSOSIImportDialog, Click, nullptr, Close, nullptr, nullptr};

}  // namespace

int16_t SOSIImportStepProc(int16_t message, int16_t dialogId, int16_t item, intptr_t userData, intptr_t messageData) {
    return StepDialog::Dispatch(SOSIImportStepDialogId, Handlers, message, dialogId, item, userData, messageData);
}

bool OpenSOSIImportDialog(int32_t* choice) {
    StepBlock block;
    block.step = int16_t(choice != nullptr && *choice >= 1 && *choice <= 3 ? *choice : 1);
    if (StepDialog::Run(SOSIImportStepDialogId, SOSIImportStepProc, block) != ItemOK) return false;
    if (choice != nullptr) *choice = block.step;
    return true;
}
