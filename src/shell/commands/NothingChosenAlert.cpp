#include "shell/commands/NothingChosenAlert.hpp"

#include "foundation/ErrorCode.hpp"
#include "foundation/Language.hpp"

void ShowNothingChosenAlert(int32_t reasonTableBase, int32_t reasonIndex) {
    QV_String title, message, reason;
    GetResString(title, ErrorTableBase + LanguageIndex, ErrorTitleEntry);
    GetResString(message, ErrorTableBase + LanguageIndex, ErrNoConditions);
    GetResString(reason, reasonTableBase + LanguageIndex, reasonIndex);
    ShowAlertBox(2, title, message, reason);
}
