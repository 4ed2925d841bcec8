#include "shell/Notifications.hpp"

#include "elements/LinkUpkeep.hpp"
#include "elements/ModelUpdate.hpp"
#include "elements/ProjectOpenUpkeep.hpp"
#include "foundation/ACAPI.hpp"
#include "settings/Settings.hpp"
#include "shell/ToolsPalette.hpp"
#include "terrain/ToolInput.hpp"

#include <cstring>

GSErrCode ProjectEventHandler(int32_t notifID, int32_t) {
    switch (notifID) {
        case APINotify_New:
        case APINotify_NewAndReset:
        case APINotify_Open:
            GlobalSettings.LoadFromProject();
            ProjectOpenUpkeep::RefreshRoads();
            ProjectOpenUpkeep::RefreshRailways();
            ProjectOpenUpkeep::CleanUpLegacySlabs();
            break;
        case APINotify_ConvertOldIds: RunLinkUpkeep(); break;
        default: break;
    }
    return NoError;
}

GSErrCode ElementEventHandler(const API_NotifyElementType* elemType) {
    if (elemType == nullptr) return NoError;
    PendingModelUpdate& pending = PendingUpdate;
    const int32_t code = elemType->notifID;
    if (code == -2) {
        UpdateModelSeries(pending);
        pending.Reset();
        return NoError;
    }
    pending.mode = code;
    if (code == -1) {
        pending.Reset();
        return NoError;
    }
    if (code < 1 || code > 5) return NoError;
    if (code == 4) PendingInput::ToEditPars(pending);
    if (code == 3 || code == 4) {
        API_Element parent;
        std::memset(&parent, 0, sizeof parent);
        ACAPI_Notify_GetParentElement(&parent);
        pending.parents.Insert(parent);
    }
    pending.heads.Insert(elemType->elemHead);
    pending.codes.Insert(code);
    return NoError;
}

GSErrCode ToolInputResetHandler(const API_ToolBoxItem*) {
    ResetToolInput(ToolsPalette());
    return NoError;
}
