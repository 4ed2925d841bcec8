#include "foundation/ModalDialog.hpp"

#include "foundation/ACAPI.hpp"

int16_t RunModalDialogResource(int16_t resourceId, DGDialCallBack callback, DGUserData userData) {
    const GSResModule module = ACAPI_GetOwnResModule();
    return DGModalDialog(module, resourceId, module, callback, userData);
}

int16_t DialogMode = 1;
int32_t EditedEntityCount = 0;
uint8_t HostLanguageNOR = 0;
uint8_t HostLanguageAUT = 0;
