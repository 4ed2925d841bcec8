#include "dialogs/settings/NewObjectNameDialog.hpp"

#include "dialogs/settings/DialogTexts.hpp"
#include "fileio/GISObjects.hpp"
#include "foundation/Alert.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/Language.hpp"
#include "foundation/ModalDialog.hpp"

#include "DG.hpp"

namespace {

constexpr int32_t TitleEntry = 183;

QV_String ItemText(int16_t dialogId, int16_t item) {
    const GS::UniString text = DGGetItemText(dialogId, item);
    QV_String out;
    out.AppendWide(text.ToUStr(), text.GetLength());
    return out;
}

void Init(int16_t dialogId, NewObjectNameBlock& block) {
    block.dialogId = dialogId;
    DGSetDialogTitle(dialogId, Text(GeneralTableBase, TitleEntry));
    DGSetItemText(dialogId, 1, Text(CommonTableBase, 64));
    DGSetItemText(dialogId, 2, Text(CommonTableBase, 5));
    DGSetItemText(dialogId, 3, GS::UniString(block.name.GetBuffer(), block.name.GetLength()));
    DGSetFocus(dialogId, 3);
}

int16_t Click(int16_t dialogId, int16_t item, NewObjectNameBlock&) {
    if (item == 2) return 2;
    if (item != 1) return 0;
    bool refused = false;
    if (NewObjectNameAccepted(ItemText(dialogId, 3), &refused)) return 1;
    // A name the host would not look up is not the user's fault: the alert says the search failed.
    if (refused) {
        ShowErrorMessage(ErrFindingData, AlertKind::Warning);
        return 0;
    }
    ShowAlert(Alert(AlertKind::Warning, ErrorTitleText, AlertText{ErrorTableBase, NameUsedText}));
    return 0;
}

void Close(int16_t dialogId, int16_t item, NewObjectNameBlock& block) {
    if (item == 1) block.name = ItemText(dialogId, 3);
    block.dialogId = 0;
}

using NameDialog = ModalDialog<NewObjectNameBlock>;
const NameDialog::Handlers Handlers = {nullptr, Init, Click, nullptr, Close, nullptr, nullptr};

}  // namespace

bool NewObjectNameAccepted(const QV_String& typed, bool* refused) {
    if (refused != nullptr) *refused = false;
    QV_String name = typed;
    if (name.GetLength() > 0 && name.GetAt(name.GetLength() - 1) == '\\') typed.Left(name, typed.GetLength() - 1);
    if (name.IsEmpty()) return false;
    // The name becomes a file in the library folder: no way out of it.
    for (uint32_t i = 0; i < name.GetLength(); ++i) {
        const GS::UniChar c = name.GetAt(i);
        if (c == '\\' || c == '/') return false;
        if (c == '.' && i + 1 < name.GetLength() && name.GetAt(i + 1) == '.') return false;
    }
    return !LibPartNameInUse(name, APILib_ObjectID, refused);
}

bool OpenNewObjectNameDialog(NewObjectNameBlock& block) {
    block.name = QV_String();
    return NameDialog::Run(NewObjectNameDialogId, NewObjectNameCallback, block) == 1;
}

int16_t NewObjectNameCallback(int16_t message, int16_t dialogId, int16_t item, intptr_t userData,
                              intptr_t messageData) {
    return NameDialog::Dispatch(NewObjectNameDialogId, Handlers, message, dialogId, item, userData, messageData);
}
