#include "foundation/LanguageDialog.hpp"

#include "foundation/Alert.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/Config.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/Language.hpp"
#include "foundation/ModalDialog.hpp"

#include "DG.hpp"
#include "UniString.hpp"

namespace {

constexpr int16_t LanguageDialogId = 32734;
constexpr int32_t LanguageFlagIconBase = 32758;
constexpr int16_t ItemOK = 1;
constexpr int16_t ItemCancel = 2;
constexpr int16_t ItemLanguageList = 3;
constexpr int16_t ItemVersionLine = 4;
constexpr int16_t ItemRestartNote = 6;

constexpr int32_t CommonCancel = 5;
constexpr int32_t CommonOK = 64;
constexpr int32_t CommonRestartNote = 65;

// What the language dialog keeps while it is open. The global language index is written only on OK.
struct LanguageDialogData {
    int16_t openingLanguage;  // the language index when the dialog opened
    int16_t pickedLanguage;   // the language of the selected row, -1 when no row is selected
    QV_String versionLine;    // shown under the restart note; the title is the product name
};

bool IsLanguage(int32_t language) { return language >= 0 && language < LanguageCount; }

GS::UniString ToUni(const QV_String& text) {
    if (text.GetLength() == 0) return GS::UniString();
    return GS::UniString(text.GetBuffer(), text.GetLength());
}

GS::UniString CommonText(int32_t entry, int16_t language) {
    QV_String text;
    return ToUni(GetResStringForLanguage(text, CommonTableBase + language, entry, language));
}

// The language of the list's selected row; -1 when none is selected.
int16_t SelectedLanguage(int16_t dialogId) {
    const int32_t row = DGListGetSelected(dialogId, ItemLanguageList);
    return IsLanguage(row - 1) ? static_cast<int16_t>(row - 1) : static_cast<int16_t>(-1);
}

void InitLanguageDialog(int16_t dialogId, LanguageDialogData& data) {
    const int16_t language = data.openingLanguage;
    DGSetDialogClientSize(dialogId, 483, 282);
    DGSetDialogTitle(dialogId, ToUni(QV_String("Lodravix")));
    if (data.versionLine.GetLength() > 0) DGSetItemText(dialogId, ItemVersionLine, ToUni(data.versionLine));
    DGSetItemText(dialogId, ItemOK, CommonText(CommonOK, language));
    DGSetItemText(dialogId, ItemCancel, CommonText(CommonCancel, language));
    DGSetItemText(dialogId, ItemRestartNote, CommonText(CommonRestartNote, language));

    const GSResModule module = ACAPI_GetOwnResModule();
    DGListSetTabFieldCount(dialogId, ItemLanguageList, 1);
    DGListSetTabFieldData(dialogId, ItemLanguageList, 1, 5, 285);
    DGListSetItemHeight(dialogId, ItemLanguageList, 30);
    DGListDeleteItem(dialogId, ItemLanguageList, DG_ALL_ITEMS);
    for (int16_t i = 0; i < LanguageCount; ++i) {
        DGListInsertItem(dialogId, ItemLanguageList, DG_LIST_BOTTOM);
        const int32_t row = i + 1;
        DGListSetTabItemText(dialogId, ItemLanguageList, row, 1, GS::UniString());
        DGListSetTabItemIcon(dialogId, ItemLanguageList, row, 1, DG::Icon(module, LanguageFlagIconBase + i));
    }
    DGListSelectItem(dialogId, ItemLanguageList, language + 1);
}

// Picking a row previews the caption and the restart note in the picked language.
void ChangeLanguageDialog(int16_t dialogId, int16_t item, LanguageDialogData& data) {
    if (item != ItemLanguageList) return;
    data.pickedLanguage = SelectedLanguage(dialogId);
    const int16_t preview = data.pickedLanguage >= 0 ? data.pickedLanguage : data.openingLanguage;
    DGSetItemText(dialogId, ItemCancel, CommonText(CommonCancel, preview));
    DGSetItemText(dialogId, ItemRestartNote, CommonText(CommonRestartNote, preview));
}

// OK: store a changed language, then make it the language index. Answers the item that closes the dialog.
int16_t ConfirmLanguage(const LanguageDialogData& data) {
    // With no row selected the language stays as it is.
    const int16_t chosen = data.pickedLanguage >= 0 ? data.pickedLanguage : data.openingLanguage;
    if (chosen == data.openingLanguage) return ItemOK;
    if (!SetConfigValue(ConfigSharedFile, QV_String("Language_str"), LanguageCodes[chosen], true)) {
        ShowErrorMessage(ErrSettings, AlertKind::Error);
        return ItemCancel;
    }
    LanguageIndex = chosen;
    ValidateLanguage();
    return ItemOK;
}

int16_t ClickLanguageDialog(int16_t /*dialogId*/, int16_t item, LanguageDialogData& data) {
    if (item == ItemOK) return ConfirmLanguage(data);
    return item == ItemCancel ? ItemCancel : 0;
}

using LanguageDialog = ModalDialog<LanguageDialogData>;
const LanguageDialog::Handlers LanguageDialogHandlers = {
    nullptr, InitLanguageDialog, ClickLanguageDialog, ChangeLanguageDialog, nullptr, nullptr, nullptr};

}  // namespace

bool ShowLanguageDialog(const QV_String& versionLine) {
    LanguageDialogData data = {LanguageIndex, LanguageIndex, versionLine};
    return LanguageDialog::Run(LanguageDialogId, LanguageDialogCallback, data) == ItemOK;
}

int16_t LanguageDialogCallback(int16_t message, int16_t dialogId, int16_t item, intptr_t userData,
                               intptr_t /*messageData*/) {
    return LanguageDialog::Dispatch(LanguageDialogId, LanguageDialogHandlers, message, dialogId, item, userData);
}
