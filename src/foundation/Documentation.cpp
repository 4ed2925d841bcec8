#include "foundation/Documentation.hpp"

#include "foundation/Alert.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/FileUtils.hpp"
#include "foundation/Language.hpp"
#include "foundation/LibPart.hpp"
#include "foundation/ModalDialog.hpp"

#include "DG.hpp"

#include <string>

namespace {
enum : int16_t {
    ItemOK = 1,
    ItemClose = 2,
    ItemManual = 3,
    ItemImage = 7,
    ItemBody = 8,
};
constexpr int32_t HelpImage = 32767;

std::u16string Ascii(const std::string& text) { return std::u16string(text.begin(), text.end()); }

const char* LanguagePrefix(int16_t language) {
    switch (language) {
        case 0: return "ITA_";
        case 1: return "INT_";
        case 2: return "FRA_";
        case 3: return "GER_";
        case 4: return "SPA_";
        case 5: return "JPN_";
        default: return "RUS_";
    }
}

std::u16string FileName(const char* prefix, const QV_String& name, int16_t number1, int16_t number2,
                        const QV_String& suffix) {
    std::u16string file = Ascii(prefix) + TextUnits(name);
    if (number1 != -1) file += u"_" + Ascii(std::to_string(number1));
    if (number2 != -1) file += Ascii(std::to_string(number2));
    file += TextUnits(suffix);
    return file + u".pdf";
}

QV_String Common(int32_t index) {
    QV_String text;
    GetResString(text, CommonTableBase + LanguageIndex, index);
    return text;
}

// The alert for a manual that cannot be opened. Its words come from the resources: one that could not be read
// leaves the alert saying that a read failed, never the marker of a missing text inside the sentence.
void ReportMissingDocument(const QV_String& messageName, const QV_String& messageText) {
    QV_String text;
    if (!IsResText(messageName) || !ComposeMessageText(text, messageName, true, messageText, true)) {
        ShowUnreadTextError();
        return;
    }
    ShowAlertBox(AlertKind::Error, QV_String(""), text, QV_String(""));
}

void InitDialog(int16_t dialogId, HelpDialogData& data) {
    std::u16string title = TextUnits(Common(7));
    if (!data.name.IsEmpty()) title += u" " + TextUnits(data.name);
    DGSetDialogTitle(dialogId, GS::UniString(title.data(), uint32_t(title.size())));
    for (int16_t item = 4; item <= 6; ++item) DGHideItem(dialogId, item);
    DGSetItemImage(dialogId, ItemImage, DG::Image(ACAPI_GetOwnResModule(), HelpImage));
    DGSetDialogClientSize(dialogId, 400, 436);
    const std::u16string body = TextUnits(data.bodyText);
    DGSetItemText(dialogId, ItemBody, GS::UniString(body.data(), uint32_t(body.size())));
}

int16_t ClickDialog(int16_t /*dialogId*/, int16_t item, HelpDialogData& data) {
    if (item == ItemOK || item == ItemClose) return item;
    if (item == ItemManual && !OpenFileWithShell(data.path)) ReportMissingDocument(Common(28), QV_String(": "));
    return 0;
}

using HelpDialog = ModalDialog<HelpDialogData>;
const HelpDialog::Handlers HelpDialogHandlers = {nullptr, InitDialog, ClickDialog, nullptr, nullptr, nullptr, nullptr};
}  // namespace

void GetDocumentationPath(QV_String& outPath, const QV_String& name, int16_t number1, int16_t number2,
                          const QV_String& suffix) {
    IO::Location own;
    QV_String ownPath("");
    if (ACAPI_Environment(APIEnv_GetOwnLocationID, &own) == NoError) LocationToPathString(ownPath, own);
    const std::u16string file = TextUnits(ownPath);
    const size_t slash = file.rfind(u'\\');
    const std::u16string folder =
        slash == std::u16string::npos ? u"Documentation" : file.substr(0, slash + 1) + u"Documentation";
    outPath = TextOfUnits(folder + u"\\" + FileName(LanguagePrefix(LanguageIndex), name, number1, number2, suffix));
    if (!FileExists(outPath) && LanguageIndex != LanguageEnglish)
        outPath = TextOfUnits(folder + u"\\" + FileName("INT_", name, number1, number2, suffix));
}

void OpenDocumentation(QV_ToolsPlt* /*palette*/, const QV_String& name, int16_t number1, int16_t number2,
                       const QV_String& messageName, const QV_String& messageText) {
    QV_String path;
    GetDocumentationPath(path, name, number1, number2, QV_String(""));
    if (!OpenFileWithShell(path)) ReportMissingDocument(messageName, messageText);
}

void ShowHelp(QV_ToolsPlt* /*palette*/, const QV_String& name, int16_t number1, int16_t number2, uint32_t mode,
              const QV_String& text1, const QV_String& text2, const QV_String& text3, int32_t image1, int32_t image2,
              const QV_String& bodyText) {
    QV_String path;
    GetDocumentationPath(path, name, number1, number2, QV_String(""));
    ShowHelpDialog(name, path, mode, text1, text2, text3, image1, image2, bodyText);
}

int16_t ShowHelpDialog(const QV_String& name, const QV_String& path, uint32_t mode, const QV_String& text1,
                       const QV_String& text2, const QV_String& text3, int32_t image1, int32_t image2,
                       const QV_String& bodyText) {
    HelpDialogData data = {name, path, 0, mode, text1, text2, text3, image1, image2, bodyText};
    data.result = uint16_t(HelpDialog::Run(HelpDialogId, HelpDialogCallback, data) == ItemOK ? 1 : 2);
    return int16_t(data.result);
}

bool ComposeMessageText(QV_String& outText, const QV_String& name, bool isError, const QV_String& text,
                        bool lowerFirst) {
    const std::u16string n = TextUnits(name);
    const std::u16string t = TextUnits(text);
    if (n.empty() || t.empty()) {
        outText = QV_String("");
        return true;
    }
    const QV_String lead = Common(isError ? 10 : 14);
    if (!IsResText(lead)) {
        outText = QV_String("");
        return false;
    }
    std::u16string first = n.substr(0, 1);
    QV_String cased;
    if (lowerFirst)
        TextOfUnits(first).ToLower(cased);
    else
        TextOfUnits(first).ToUpper(cased);
    outText = TextOfUnits(TextUnits(lead) + t + TextUnits(cased) + n.substr(1));
    return true;
}

int16_t HelpDialogCallback(int16_t message, int16_t dialogId, int16_t item, intptr_t userData,
                           intptr_t /*messageData*/) {
    return HelpDialog::Dispatch(HelpDialogId, HelpDialogHandlers, message, dialogId, item, userData);
}
