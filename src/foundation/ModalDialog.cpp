#include "foundation/ModalDialog.hpp"

#include "foundation/Alert.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/Language.hpp"

namespace {}

int16_t RunModalDialogResource(int16_t resourceId, DGDialCallBack callback, DGUserData userData) {
    const GSResModule module = ACAPI_GetOwnResModule();
    const int16_t item = DGModalDialog(module, resourceId, module, callback, userData);
    // A dialog that never opened answers 0, which its owner takes for a cancel: the user must learn that the
    // command stopped (without the module's resources the alert falls back to its built-in English text).
    if (item == 0) ShowErrorMessage(ErrDialog, AlertKind::Warning);
    return item;
}

uint8_t HostLanguageNOR = 0;
uint8_t HostLanguageAUT = 0;
