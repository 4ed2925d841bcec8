#include "dialogs/tools/MeshConversionDialog.hpp"

#include "dialogs/settings/DialogTexts.hpp"
#include "foundation/Language.hpp"
#include "foundation/ModalDialog.hpp"

#include "DG.hpp"

namespace {
enum : int16_t {
    ItemConvert = 1,
    ItemCancel = 2,
    ItemFirstLine = 4,  // "Important:", then the six lines of the question
};

void InitDialog(int16_t dialogId, MeshConversionDialogData& data) {
    DGSetDialogTitle(dialogId, Text(TitleTableBase, 26));
    DGSetItemText(dialogId, ItemConvert, Text(GeneralTableBase, 162));
    DGSetItemText(dialogId, ItemCancel, Text(CommonTableBase, 5));
    // Lines 4 to 10 are entries 129 to 135; the flag swaps in 160 and 161 for the second and third.
    for (int16_t item = ItemFirstLine; item <= 10; ++item) {
        int32_t index = 129 + (item - ItemFirstLine);
        if (data.alternativeText != 0 && (item == 5 || item == 6)) index = 160 + (item - 5);
        DGSetItemText(dialogId, item, Text(GeneralTableBase, index));
    }
    DGSetDialogClientSize(dialogId, 450, 230);
    DGSetFocus(dialogId, ItemConvert);
}

int16_t ClickDialog(int16_t /*dialogId*/, int16_t item, MeshConversionDialogData& /*data*/) {
    return item == ItemConvert || item == ItemCancel ? item : 0;
}

using ConversionDialog = ModalDialog<MeshConversionDialogData>;
const ConversionDialog::Handlers ConversionDialogHandlers = {nullptr, InitDialog, ClickDialog, nullptr,
                                                             nullptr, nullptr,    nullptr};
}  // namespace

bool OpenMeshConversionDialog(MeshConversionDialogData& data) {
    data.dialogId = uint16_t(MeshConversionDialogId);
    return ConversionDialog::Run(MeshConversionDialogId, MeshConversionDialogCallback, data) == ItemConvert;
}

int16_t MeshConversionDialogCallback(int16_t message, int16_t dialogId, int16_t item, intptr_t userData,
                                     intptr_t /*messageData*/) {
    return ConversionDialog::Dispatch(MeshConversionDialogId, ConversionDialogHandlers, message, dialogId, item,
                                      userData);
}
