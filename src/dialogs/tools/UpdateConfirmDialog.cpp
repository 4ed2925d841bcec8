#include "dialogs/tools/UpdateConfirmDialog.hpp"

#include "dialogs/settings/DialogTexts.hpp"
#include "foundation/Language.hpp"
#include "foundation/ModalDialog.hpp"

#include "DG.hpp"

namespace {
enum : int16_t { ItemYes = 1, ItemNo = 2, ItemQuestion = 3, ItemDontShow = 5 };

void InitDialog(int16_t dialogId, UpdateConfirmDialogData& /*data*/) {
    DGSetItemText(dialogId, ItemYes, Text(GeneralTableBase, 98));
    DGSetItemText(dialogId, ItemNo, Text(GeneralTableBase, 99));
    DGSetItemText(dialogId, ItemQuestion, Text(ImportTableBase, 35));
    DGSetItemText(dialogId, ItemDontShow, Text(ImportTableBase, 36));
    DGSetItemValLong(dialogId, ItemDontShow, 0);
    DGSetDialogClientSize(dialogId, 380, 118);
    DGSetFocus(dialogId, ItemYes);
}

int16_t ClickDialog(int16_t /*dialogId*/, int16_t item, UpdateConfirmDialogData& /*data*/) {
    return item == ItemYes || item == ItemNo ? item : 0;
}

// Both answers keep the box: "No" with the box checked also turns the question off.
void CloseDialog(int16_t dialogId, int16_t /*item*/, UpdateConfirmDialogData& data) {
    data.dontShowAgain = DGGetItemValLong(dialogId, ItemDontShow) != 0 ? 1 : 0;
}

using Notice = ModalDialog<UpdateConfirmDialogData>;
const Notice::Handlers NoticeHandlers = {nullptr, InitDialog, ClickDialog, nullptr, CloseDialog, nullptr, nullptr};
}  // namespace

bool OpenUpdateConfirmDialog(UpdateConfirmDialogData& data) {
    data.dialogId = uint16_t(UpdateConfirmDialogId);
    data.dontShowAgain = 0;
    return Notice::Run(UpdateConfirmDialogId, UpdateConfirmDialogCallback, data) == ItemYes;
}

int16_t UpdateConfirmDialogCallback(int16_t message, int16_t dialogId, int16_t item, intptr_t userData,
                                    intptr_t /*messageData*/) {
    return Notice::Dispatch(UpdateConfirmDialogId, NoticeHandlers, message, dialogId, item, userData);
}
