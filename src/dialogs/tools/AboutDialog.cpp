#include "dialogs/tools/AboutDialog.hpp"

#include "dialogs/settings/DialogTexts.hpp"
#include "foundation/AddOnInfo.hpp"
#include "foundation/Language.hpp"
#include "foundation/ModalDialog.hpp"

#include "DG.hpp"

namespace {
enum : int16_t { ItemOK = 1, ItemCancel = 2 };

void InitDialog(int16_t dialogId, AboutDialogData& /*data*/) {
    DGSetItemText(dialogId, ItemOK, Text(CommonTableBase, 64));
    DGSetItemText(dialogId, ItemCancel, Text(CommonTableBase, 5));
    DGSetItemText(dialogId, 3, Text(GeneralTableBase, 185));
    DGSetItemText(dialogId, 4, Text(GeneralTableBase, 225));
    DGSetItemText(dialogId, 5, Text(GeneralTableBase, 226));
    // Not localised: the release, as the host is told it.
    DGSetItemText(dialogId, 6, GS::UniString(AddOnName));
    DGSetItemText(dialogId, 7, GS::UniString(ProductVersion));
    DGSetItemText(dialogId, 8, GS::UniString(BuildDate));
    DGSetDialogClientSize(dialogId, 390, 137);
    DGSetFocus(dialogId, ItemOK);
}

int16_t ClickDialog(int16_t /*dialogId*/, int16_t item, AboutDialogData& /*data*/) {
    return item == ItemOK || item == ItemCancel ? item : 0;
}

using About = ModalDialog<AboutDialogData>;
const About::Handlers AboutHandlers = {nullptr, InitDialog, ClickDialog, nullptr, nullptr, nullptr, nullptr};
}  // namespace

void OpenAboutDialog(AboutDialogData& data) {
    data.dialogId = uint16_t(AboutDialogId);
    About::Run(AboutDialogId, AboutDialogCallback, data);
}

void OpenAboutDialog() {
    AboutDialogData data = {};
    OpenAboutDialog(data);
}

int16_t AboutDialogCallback(int16_t message, int16_t dialogId, int16_t item, intptr_t userData,
                            intptr_t /*messageData*/) {
    return About::Dispatch(AboutDialogId, AboutHandlers, message, dialogId, item, userData);
}
