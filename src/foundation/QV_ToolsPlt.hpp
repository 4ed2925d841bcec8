#pragma once
// Base of a modeless palette window that the host also knows as a registered modeless window, so that it can
// ask the palette to close, hide, show, disable and enable itself. It owns the window's identity and a few
// flags, and turns the dialog manager's and the host's messages into calls of its virtual operations.
#include "APIDefs.hpp"
#include "DG.hpp"

#include <cstdint>

class QV_ToolsPlt {
public:
    QV_ToolsPlt();
    virtual ~QV_ToolsPlt() = default;
    QV_ToolsPlt(const QV_ToolsPlt&) = delete;
    QV_ToolsPlt& operator=(const QV_ToolsPlt&) = delete;

    // The slots, in their fixed order.
    virtual void SetClientSize(int16_t dialId);
    virtual void Hide();
    virtual void Show();
    virtual void ResetState();
    virtual void PreMessage(int16_t message, int16_t dialId, int16_t item, DGMessageData data);
    virtual void Activate();
    virtual void OnClosed() {}
    virtual void ToggleVisibility();
    virtual void SetHidden(bool hide);
    virtual void EnableItems(bool enable);
    // Builds the window; answers the dialog manager's result (the new dialog id, 0 when none was built).
    virtual int16_t Open();
    virtual void Close();
    virtual void UpdateMenu() {}
    virtual void OnOpened() {}
    virtual int32_t OnClick(int16_t /*item*/, DGMessageData /*data*/) { return 0; }
    virtual void OnChange(int16_t /*item*/, DGMessageData /*data*/) {}
    virtual void OnMessage0() {}
    virtual void OnMessage15(DGMessageData /*data*/) {}
    virtual void OnUpdateUserItem(int16_t /*item*/, DGMessageData /*data*/) {}

    // The constructor's state, and no current palette any more.
    void Reinit();

    bool IsOpen() const { return dialogId != 0; }
    bool IsVisible() const;

    static int16_t DialogCallback(int16_t message, int16_t dialId, int16_t item, DGUserData userData,
                                  DGMessageData data);
    static GSErrCode PaletteControlCallback(int32_t referenceId, int32_t message, intptr_t param);
    // The palette the host's palette messages reach; none while no palette window exists.
    static QV_ToolsPlt* Current();

    int16_t dialogId = 0;
    uint8_t closed = 1;
    int16_t resourceId = 0;
    int16_t width = 0;
    int16_t height = 0;
    uint32_t controlFlags = 0;
    uint8_t handleClose = 1;
    uint8_t handleHide = 1;
    uint8_t handleDisable = 1;
    uint8_t flag4 = 1;
    uint8_t flag5 = 1;
    uint8_t flag6 = 1;
    uint8_t flag7 = 1;
    // The host refused to register the window as it opened (Open then closes it again).
    bool registrationRefused = false;

private:
    void ResetFields();
};
