#pragma once
// An alert as a value: its kind, the texts of the string tables it shows and the words filled into them. An
// operation hands back the alert it has to tell, with the object or the count it names, and one place shows it.
#include "foundation/ErrorCode.hpp"
#include "foundation/Language.hpp"
#include "foundation/QV_String.hpp"

#include <cstdint>
#include <vector>

// The kinds of the host's alert that the module shows. Every kind but Information and Question tells of a failure: a user action
// that showed one and kept nothing is taken back whole, with the selection and window it started with
// (WarningsShown).
enum class AlertKind : int16_t {
    Error = -1,       // the stop sign: commands, tools and settings that failed
    Information = 1,  // a command done, and what came of it
    Warning = 2,      // the caution sign: imports, the coordinate locator, the project's upkeep, refused names
    Question = -2,    // a question whose buttons choose what happens next; it tells of no failure
};

// Entry `entry` of the string-table group `group` (its table for the current language is the group's base plus the
// language index). Entry 0 is no text.
struct AlertText {
    int32_t group = 0;
    int32_t entry = 0;
    bool Given() const { return entry != 0; }
};

// The title of every error alert ("Error").
constexpr AlertText ErrorTitleText{ErrorTableBase, ErrorTitleEntry};

// The message, and where it stands the title and the small text beneath, each a template whose "{1}" to "{9}" take
// the arguments in order.
struct Alert {
    AlertKind kind = AlertKind::Error;
    int32_t code = NoErrorCode;  // the result code it reports; 0 for an alert worded from another table
    AlertText title;             // none: no title
    AlertText message;           // none: the alert shows nothing
    AlertText detail;            // none: no small text
    std::vector<QV_String> arguments;

    Alert() = default;
    // The error alert of `code` (1 to LastErrorCode) under the title "Error"; any other code shows nothing. An
    // operation's result code stands for its alert.
    Alert(int32_t code, AlertKind kind = AlertKind::Error);  // NOLINT(google-explicit-constructor)
    // An alert worded from any table, under `title`.
    Alert(AlertKind kind, AlertText title, AlertText message, AlertText detail = {});

    Alert& Beneath(AlertText small) {
        detail = small;
        return *this;
    }
    Alert& With(const QV_String& argument) {
        arguments.push_back(argument);
        return *this;
    }
    Alert& With(uint64_t count);
    bool Shows() const { return message.Given(); }
};

// `text` with each "{n}" (n 1 to 9) replaced by argument n; a number past the arguments, and any other brace,
// stay as written.
QV_String FillArguments(const QV_String& text, const std::vector<QV_String>& arguments);
// The text of `text` in the current language with the arguments filled in; empty for no text.
QV_String AlertWords(AlertText text, const std::vector<QV_String>& arguments);

// Shows `alert` in the current language; nothing when it has no message. A small text that cannot be read is its
// arguments alone.
void ShowAlert(const Alert& alert);
// Shows the error alert of `code` 1 to 70 (1-68 from the error table, 69 and 70 from the SOSI table entries 14 and
// 16) under the title "Error"; nothing for other codes.
void ShowErrorMessage(int32_t code, AlertKind kind);
// A modal host alert with one "OK" button, of texts already worded; empty texts are left out. An alert whose title
// or message the resources could not give is shown as the error "Error while finding data." instead.
void ShowAlertBox(AlertKind kind, const QV_String& title, const QV_String& message, const QV_String& detail);
// The error a text that could not be read is told with (a question that cannot be asked without its words).
void ShowUnreadTextError();
// How many alerts other than information ones (errors, warnings) have been shown so far: an action that showed
// one and kept nothing ended in failure.
int WarningsShown();
