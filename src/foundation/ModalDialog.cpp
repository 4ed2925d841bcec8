#include "foundation/ModalDialog.hpp"

#include "foundation/ACAPI.hpp"

int16_t RunModalDialogResource(int16_t resourceId, DGDialCallBack callback, DGUserData userData) {
    const GSResModule module = ACAPI_GetOwnResModule();
    return DGModalDialog(module, resourceId, module, callback, userData);
}
