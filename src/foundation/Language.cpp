#include "foundation/Language.hpp"

#include "foundation/ACAPI.hpp"
#include "foundation/Config.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/ModalDialog.hpp"

#include "DG.hpp"
#include "Resources.hpp"
#include "UniString.hpp"

#include <string>

int16_t LanguageIndex = LanguageEnglish;

const QV_String LanguageCodes[LanguageCount] = {QV_String("ita"), QV_String("int"), QV_String("fra"), QV_String("ger"),
                                                QV_String("spa"), QV_String("jap"), QV_String("rus")};

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
constexpr const char* MissingText = "_ERR_NO_";
constexpr const char* BuiltInErrorTitle = "Error";
constexpr const char* BuiltInErrorText = "The command could not be completed.";

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

QV_String FromUni(const GS::UniString& text) {
    return QV_String(text.ToUStr(), text.GetLength() * 2, Encoding_UTF16LE);
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
        ShowErrorMessage(ErrSettings, -1);
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

QV_String& GetResStringForLanguage(QV_String& out, int32_t id, int32_t index, int16_t language) {
    if (!IsLanguage(language)) language = LanguageEnglish;
    const GSResModule module = ACAPI_GetOwnResModule();
    GS::UniString text;
    bool found = RSGetIndString(&text, id, index, module);
    // The English table of the group; for the common tables it is the same table when English is current.
    if (!found && !(id >= CommonTableBase && language == LanguageEnglish))
        found = RSGetIndString(&text, id - language + LanguageEnglish, index, module);
    out = found ? FromUni(text) : QV_String(MissingText);
    return out;
}

QV_String& GetResString(QV_String& out, int32_t id, int32_t index) {
    return GetResStringForLanguage(out, id, index, LanguageIndex);
}

void ShowErrorMessage(int32_t code, int32_t alertType) {
    if (code < 1 || code > 70) return;
    QV_String message;
    if (code <= 68)
        GetResString(message, ErrorTableBase + LanguageIndex, code);
    else
        GetResString(message, SOSITableBase + LanguageIndex, code == 69 ? 14 : 16);
    QV_String title;
    GetResString(title, ErrorTableBase + LanguageIndex, ErrorTitleEntry);
    // Without the module's resources the user must still learn that the action failed.
    if (message == QV_String(MissingText)) message = QV_String(BuiltInErrorText);
    if (title == QV_String(MissingText)) title = QV_String(BuiltInErrorTitle);
    ShowAlertBox(alertType, title, message, QV_String());
}

void ShowAlertBox(int32_t alertType, const QV_String& title, const QV_String& message, const QV_String& detail) {
    QV_String button;
    GetResString(button, CommonTableBase + LanguageIndex, CommonOK);
    if (button == QV_String(MissingText)) button = QV_String("OK");
    DGAlert(static_cast<int16_t>(alertType), ToUni(title), ToUni(message), ToUni(detail), ToUni(button),
            GS::UniString(), GS::UniString());
}

bool LoadLanguage(bool reload) {
    if (reload) LoadConfigFile(ConfigSharedFile, false);
    LanguageIndex = LanguageEnglish;
    QV_String value;
    if (GetConfigValue(ConfigSharedFile, QV_String("Language_str"), &value, true)) {
        for (int16_t i = 0; i < LanguageCount; ++i) {
            if (value.CompareNoCase(LanguageCodes[i]) == 0) {
                LanguageIndex = i;
                break;
            }
        }
        ValidateLanguage();
        return true;
    }
    if (!GetConfigValue(ConfigSharedFile, QV_String("Language"), &value, true)) return false;
    if (value.ClassifyNumber() != 0) {
        const int32_t number = StrToInt(value.ToStdString(Encoding_System).c_str());
        // The older key never named Russian: 6 and above are not taken from it.
        LanguageIndex = (number >= 6 || number < 0) ? LanguageEnglish : static_cast<int16_t>(number);
    }
    ValidateLanguage();
    return true;
}

void ValidateLanguage() {
    if (!IsLanguage(LanguageIndex)) {
        LanguageIndex = LanguageEnglish;
        return;
    }
    static const QV_String available("jap rus");
    if (LanguageIndex >= 5 && available.FindNoCase(LanguageCodes[LanguageIndex], 0) < 0)
        LanguageIndex = LanguageEnglish;
}

bool ShowLanguageDialog(const QV_String& versionLine) {
    LanguageDialogData data = {LanguageIndex, LanguageIndex, versionLine};
    return LanguageDialog::Run(LanguageDialogId, LanguageDialogCallback, data) == ItemOK;
}

int16_t LanguageDialogCallback(int16_t message, int16_t dialogId, int16_t item, intptr_t userData,
                               intptr_t /*messageData*/) {
    return LanguageDialog::Dispatch(LanguageDialogId, LanguageDialogHandlers, message, dialogId, item, userData);
}
