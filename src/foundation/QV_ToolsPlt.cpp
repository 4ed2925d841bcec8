#include "foundation/QV_ToolsPlt.hpp"

#include "foundation/ACAPI.hpp"

namespace {
QV_ToolsPlt* currentPalette = nullptr;
constexpr int16_t ClickIgnored = -1;  // item 65535 as the dialog manager's signed item
}  // namespace

QV_ToolsPlt::QV_ToolsPlt() { ResetFields(); }

void QV_ToolsPlt::ResetFields() {
    closed = 1;
    dialogId = 0;
    resourceId = 0;
    width = 0;
    height = 0;
    controlFlags = 0;
    handleClose = handleHide = handleDisable = 1;
    flag4 = flag5 = flag6 = flag7 = 1;
}

void QV_ToolsPlt::Reinit() {
    ResetFields();
    currentPalette = nullptr;
}

QV_ToolsPlt* QV_ToolsPlt::Current() { return currentPalette; }

bool QV_ToolsPlt::IsVisible() const { return dialogId != 0 && DGIsModelessDialogVisible(dialogId); }

void QV_ToolsPlt::SetClientSize(int16_t dialId) {
    if (dialId != 0) DGSetDialogClientSize(dialId, width, height, 0, true);
}

void QV_ToolsPlt::Hide() {
    if (dialogId != 0) DGHideModelessDialog(dialogId);
}

void QV_ToolsPlt::Show() {
    if (dialogId != 0) DGShowModelessDialog(dialogId);
}

void QV_ToolsPlt::ResetState() { ResetFields(); }

void QV_ToolsPlt::PreMessage(int16_t, int16_t, int16_t, DGMessageData) {}

void QV_ToolsPlt::Activate() { DGSetFocus(dialogId, DG_DIALOG_WINDOW); }

void QV_ToolsPlt::ToggleVisibility() {
    if (dialogId == 0) return;
    if (DGIsModelessDialogVisible(dialogId))
        Hide();
    else
        Show();
    UpdateMenu();
}

void QV_ToolsPlt::SetHidden(bool hide) {
    if (dialogId == 0) return;
    if (!hide) {
        Show();
        UpdateMenu();
        return;
    }
    const bool wasVisible = DGIsModelessDialogVisible(dialogId);
    Hide();
    if (wasVisible) UpdateMenu();
}

void QV_ToolsPlt::EnableItems(bool enable) {
    if (dialogId != 0) DGSetItemEnable(dialogId, DG_ALL_ITEMS, enable);
}

int16_t QV_ToolsPlt::Open() {
    const GSResModule own = ACAPI_GetOwnResModule();
    registrationRefused = false;
    const int16_t id = DGModelessInit(own, resourceId, own, DialogCallback, reinterpret_cast<DGUserData>(this));
    dialogId = id;
    // A window the host would not register would not hear the host's palette messages: it is closed again.
    if (id != 0 && registrationRefused) {
        Close();
        return 0;
    }
    // Only a window that exists makes the palette open: a failed build leaves it closed, so that the next
    // open builds again instead of toggling nothing.
    if (id == 0) return id;
    closed = 0;
    UpdateMenu();
    OnOpened();
    ACAPI_Automate(APIDo_RebuildID);
    return id;
}

void QV_ToolsPlt::Close() {
    if (dialogId != 0) DGModelessClose(dialogId);
    ResetState();
    currentPalette = nullptr;
}

int16_t QV_ToolsPlt::DialogCallback(int16_t message, int16_t dialId, int16_t item, DGUserData userData,
                                    DGMessageData data) {
    QV_ToolsPlt* self = reinterpret_cast<QV_ToolsPlt*>(userData);
    if (self == nullptr) return 0;
    self->PreMessage(message, dialId, item, data);
    switch (message) {
        case 0: self->OnMessage0(); return 0;
        case DG_MSG_INIT:
            currentPalette = self;
            self->dialogId = dialId;
            self->registrationRefused =
                ACAPI_RegisterModelessWindow(dialId, PaletteControlCallback,
                                             static_cast<int32_t>(self->controlFlags)) != NoError;
            self->SetClientSize(dialId);
            self->Activate();
            return 0;
        case DG_MSG_CLOSE:
            self->UpdateMenu();
            ACAPI_UnregisterModelessWindow(self->dialogId != 0 ? self->dialogId : dialId);
            self->ResetState();
            self->OnClosed();
            currentPalette = nullptr;
            return 0;
        case DG_MSG_CLICK:
            if (item == ClickIgnored) return ClickIgnored;
            return static_cast<int16_t>(self->OnClick(item, data) & 0xFFFF);
        case DG_MSG_CHANGE: self->OnChange(item, data); return 0;
        case 15: self->OnMessage15(data); return 0;
        case DG_MSG_UPDATE: self->OnUpdateUserItem(item, data); return 0;
        default: return 0;
    }
}

GSErrCode QV_ToolsPlt::PaletteControlCallback(int32_t referenceId, int32_t message, intptr_t) {
    QV_ToolsPlt* self = currentPalette;
    if (self == nullptr || referenceId != self->dialogId) return NoError;
    switch (message) {
        case APIPaletteMessage_Close:
            if (self->handleClose) self->Close();
            break;
        case APIPaletteMessage_Hide:
            if (self->handleHide) self->SetHidden(true);
            break;
        case APIPaletteMessage_Show:
            if (self->handleHide) self->SetHidden(false);
            break;
        case APIPaletteMessage_Disable:
            if (self->handleDisable) self->EnableItems(false);
            break;
        case APIPaletteMessage_Enable:
            if (self->handleDisable) self->EnableItems(true);
            break;
        default: break;
    }
    return NoError;
}
