#include "foundation/Alert.hpp"

#include "DG.hpp"
#include "UniString.hpp"

#include <string>

namespace {

constexpr int32_t CommonOK = 64;
constexpr const char* MissingText = "_ERR_NO_";
constexpr const char* BuiltInErrorTitle = "Error";
// What a text the resources could not give is shown as: the read failed, nothing more is known (the command may
// well have done its work).
constexpr const char* BuiltInErrorText = "Error while finding data.";

int warningsShown = 0;

GS::UniString ToUni(const QV_String& text) {
    if (text.GetLength() == 0) return GS::UniString();
    return GS::UniString(text.GetBuffer(), text.GetLength());
}

// The table and entry that hold the message of `code`; entry 0 for a code the error alert does not show.
AlertText MessageOf(int32_t code) {
    if (code < 1 || code > LastErrorCode) return {};
    if (SOSITableEntryOf(code) != 0) return {SOSITableBase, SOSITableEntryOf(code)};
    return {ErrorTableBase, code};
}

}  // namespace

Alert::Alert(int32_t errorCode, AlertKind alertKind)
    : kind(alertKind), code(errorCode), title(ErrorTitleText), message(MessageOf(errorCode)) {}

Alert::Alert(AlertKind alertKind, AlertText alertTitle, AlertText alertMessage, AlertText alertDetail)
    : kind(alertKind), title(alertTitle), message(alertMessage), detail(alertDetail) {}

Alert& Alert::With(uint64_t count) { return With(QV_String(std::to_string(count).c_str())); }

QV_String FillArguments(const QV_String& text, const std::vector<QV_String>& arguments) {
    const GS::UniChar* units = text.GetBuffer();
    const uint32_t length = text.GetLength();
    if (units == nullptr || arguments.empty()) return text;
    std::u16string out;
    for (uint32_t i = 0; i < length; ++i) {
        const bool slot =
            units[i] == u'{' && i + 2 < length && units[i + 1] >= u'1' && units[i + 1] <= u'9' && units[i + 2] == u'}';
        const size_t n = slot ? size_t(units[i + 1] - u'1') : arguments.size();
        if (n >= arguments.size()) {
            out += char16_t(units[i]);
            continue;
        }
        const QV_String& argument = arguments[n];
        if (argument.GetBuffer() != nullptr) out.append(argument.GetBuffer(), argument.GetLength());
        i += 2;
    }
    return QV_String(out.data(), uint32_t(out.size() * 2), Encoding_UTF16LE);
}

QV_String AlertWords(AlertText text, const std::vector<QV_String>& arguments) {
    if (!text.Given()) return QV_String();
    QV_String words;
    GetResString(words, text.group + LanguageIndex, text.entry);
    // A text that could not be read keeps its marker, so the alert is told as unread.
    return IsResText(words) ? FillArguments(words, arguments) : words;
}

void ShowAlert(const Alert& alert) {
    if (!alert.Shows()) return;
    QV_String detail = AlertWords(alert.detail, alert.arguments);
    // A small text whose words could not be read still names what it was to name, and shows no marker.
    if (!IsResText(detail)) {
        detail = QV_String();
        for (const QV_String& argument : alert.arguments) {
            if (!detail.IsEmpty()) detail += " ";
            detail += argument;
        }
    }
    ShowAlertBox(alert.kind, AlertWords(alert.title, alert.arguments), AlertWords(alert.message, alert.arguments),
                 detail);
}

void ShowErrorMessage(int32_t code, AlertKind kind) { ShowAlert(Alert(code, kind)); }

void ShowAlertBox(AlertKind kind, const QV_String& title, const QV_String& message, const QV_String& detail) {
    // An alert whose words the resources could not give tells the user that much, as an error, and never shows
    // the marker of a missing text: what it was to say is not known.
    const bool unread = !IsResText(message);
    if (unread) kind = AlertKind::Error;
    if (kind != AlertKind::Information) ++warningsShown;
    QV_String button;
    GetResString(button, CommonTableBase + LanguageIndex, CommonOK);
    if (!IsResText(button)) button = QV_String("OK");
    const QV_String shownTitle = IsResText(title) && !unread ? title
        : kind == AlertKind::Information                     ? QV_String()
                                                             : QV_String(BuiltInErrorTitle);
    const QV_String shown = unread ? QV_String(BuiltInErrorText) : message;
    DGAlert(static_cast<int16_t>(kind), ToUni(shownTitle), ToUni(shown), ToUni(detail), ToUni(button), GS::UniString(),
            GS::UniString());
}

void ShowUnreadTextError() { ShowAlertBox(AlertKind::Error, QV_String(), QV_String(MissingText), QV_String()); }

int WarningsShown() { return warningsShown; }
