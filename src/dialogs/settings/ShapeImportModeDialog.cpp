#include "dialogs/settings/ShapeImportModeDialog.hpp"

#include "dialogs/settings/DialogTexts.hpp"
#include "foundation/Language.hpp"
#include "foundation/ModalDialog.hpp"

#include "DG.hpp"

namespace {

void Init(int16_t dialogId, ShapeImportModeBlock& block) {
    block.dialogId = dialogId;
    DGSetDialogTitle(dialogId, Text(GeneralTableBase, 217));
    DGSetItemText(dialogId, 1, Text(CommonTableBase, 64));
    DGSetItemText(dialogId, 2, Text(CommonTableBase, 5));
    DGHideItem(dialogId, 1);
    DGSetItemText(dialogId, 4, Text(GeneralTableBase, 215));
    DGSetItemText(dialogId, 5, Text(GeneralTableBase, 216));
    DGSetDialogClientSize(dialogId, 415, 142);
}

int16_t Click(int16_t, int16_t item, ShapeImportModeBlock& block) {
    switch (item) {
        case 1: return 1;
        case 2: return 2;
        case 4: block.mode = 1; return 1;
        case 5: block.mode = 2; return 1;
        default: return 0;
    }
}

void Close(int16_t, int16_t, ShapeImportModeBlock& block) { block.dialogId = 0; }

using ModeDialog = ModalDialog<ShapeImportModeBlock>;
const ModeDialog::Handlers Handlers = {nullptr, Init, Click, nullptr, Close, nullptr, nullptr};

}  // namespace

bool OpenShapeImportDialog(ShapeImportModeBlock& block) {
    return ModeDialog::Run(ShapeImportModeDialogId, ShapeImportModeCallback, block) == 1;
}

int16_t ShapeImportModeCallback(int16_t message, int16_t dialogId, int16_t item, intptr_t userData,
                                intptr_t messageData) {
    return ModeDialog::Dispatch(ShapeImportModeDialogId, Handlers, message, dialogId, item, userData, messageData);
}
