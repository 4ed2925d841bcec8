#include "shell/Notifications.hpp"

#include "elements/LinkUpkeep.hpp"
#include "elements/ModelUpdate.hpp"
#include "elements/ProjectOpenUpkeep.hpp"
#include "foundation/Alert.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/Language.hpp"
#include "foundation/ObservedElements.hpp"
#include "settings/ObserverAttachment.hpp"
#include "shell/ModulePorts.hpp"
#include "shell/ModuleMemory.hpp"
#include "shell/ProjectOffset.hpp"
#include "shell/ShellState.hpp"
#include "shell/ToolsPalette.hpp"
#include "terrain/ToolInput.hpp"

#include <cstring>

namespace {
// Project events that carry no name in the host's list of constants.
constexpr int32_t EventBeforeSave = 8;
constexpr int32_t EventClose = 0x20;
constexpr int32_t EventWindowChanged = 0x80000;
constexpr int32_t EventToolInputReset = 0x800000;
}  // namespace

GSErrCode ProjectEventHandler(int32_t notifID, int32_t) {
    switch (notifID) {
        case APINotify_New:
        case APINotify_NewAndReset:
        case APINotify_Open:
            // What the add-on observed, prepared or looked up belonged to the project before.
            ObservedElements::Forget();
            ForgetProjectMemory();
            // The host reports edits only of observed elements: without this a project's terrain could be
            // dragged away from its linked objects. Elements that could not be looked at are told.
            ShowErrorMessage(AttachObserversToAddOnElements(), AlertKind::Warning);
            // An upkeep that could not finish has taken its change back; the user learns it as the project opens
            // (a success, 0, shows nothing).
            ShowErrorMessage(ProjectOpenUpkeep::RunOpeningUpkeep(), AlertKind::Warning);
            if (notifID == APINotify_Open) {
                ReadProjectOffset();
            }
            break;
        case EventBeforeSave: StoreProjectOffsetTold(); break;
        case EventClose:
            ToolsPalette().Close();
            PaletteSuspended = 1;
            break;
        case EventWindowChanged:
            if (!PaletteSuspended) ToolsPalette().OnOpened();
            break;
        case EventToolInputReset: ResetToolInput(ToolsPalette()); break;
        case APINotify_ConvertOldIds:
            ShowErrorMessage(RunLinkUpkeep(Ports().contourLineRefresh), AlertKind::Warning);
            break;
        default: break;
    }
    return NoError;
}

GSErrCode ElementEventHandler(const API_NotifyElementType* elemType) {
    return HandleElementEvent(elemType, []() -> const ModelUpdateSteps& { return Ports().modelUpdateSteps; });
}

GSErrCode HandleElementEvent(const API_NotifyElementType* elemType, const ModelUpdateSteps& (*steps)()) {
    if (elemType == nullptr) return NoError;
    PendingModelUpdate& pending = PendingUpdate;
    const int32_t code = elemType->notifID;
    if (code == -2) {
        UpdateModelSeries(pending, steps());
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
        // A parent the host cannot give stays zero (no GUID): a step that needs it fails on it.
        if (ACAPI_Notify_GetParentElement(&parent) != NoError) std::memset(&parent, 0, sizeof parent);
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
