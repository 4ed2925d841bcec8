#include "shell/commands/NothingChosenAlert.hpp"

#include "foundation/Alert.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/Language.hpp"

void ShowNothingChosenAlert(int32_t reasonTableBase, int32_t reasonIndex) {
    ShowAlert(Alert(ErrNoConditions, AlertKind::Warning).Beneath(AlertText{reasonTableBase, reasonIndex}));
}
