#pragma once
// A modal dialog of the module's own resources, driven by handlers. The helper opens the dialog by its resource
// id with a typed pointer to the dialog's data as the dialog manager's user data, hands the messages of that
// dialog to the handlers (1 init, 3 close, 4 click, 6 change; any other message answers 0) and answers the item
// that closed it. Each dialog keeps its own callback, which other code may call, as one line over Dispatch.
#include "DG.hpp"

#include <cstdint>

// Opens dialog `resourceId` of the module's resources with `callback` and `userData`; the item that closed it, 0
// (after the error alert) when the dialog could not be opened.
int16_t RunModalDialogResource(int16_t resourceId, DGDialCallBack callback, DGUserData userData);

template <typename Data>
struct ModalDialog {
    // Every handler may be left out.
    struct Handlers {
        // False: the data is not fit for the dialog and every message answers 0.
        bool (*usable)(const Data& data);
        void (*init)(int16_t dialogId, Data& data);
        // The item that closes the dialog, 0 to keep it open; without a handler a click closes nothing.
        int16_t (*click)(int16_t dialogId, int16_t item, Data& data);
        void (*change)(int16_t dialogId, int16_t item, Data& data);
        // The dialog closes with `item` (always accepted).
        void (*close)(int16_t dialogId, int16_t item, Data& data);
        // The user picks in a host user control.
        void (*track)(int16_t dialogId, int16_t item, Data& data);
        // A user item is to be redrawn; `update` points to the dialog manager's DGUserUpdateData.
        void (*update)(int16_t dialogId, int16_t item, Data& data, DGMessageData update);
    };

    static int16_t Run(int16_t resourceId, DGDialCallBack callback, Data& data) {
        return RunModalDialogResource(resourceId, callback, reinterpret_cast<DGUserData>(&data));
    }

    // The body of the dialog's callback: messages of another dialog, or without data, answer 0.
    static int16_t Dispatch(int16_t resourceId, const Handlers& handlers, int16_t message, int16_t dialogId,
                            int16_t item, DGUserData userData, DGMessageData messageData = 0) {
        if (message < DG_MSG_INIT || message > DG_MSG_UPDATE) return 0;
        if (dialogId != resourceId || userData == 0) return 0;
        Data& data = *reinterpret_cast<Data*>(userData);
        if (handlers.usable != nullptr && !handlers.usable(data)) return 0;
        switch (message) {
            case DG_MSG_INIT:
                if (handlers.init != nullptr) handlers.init(dialogId, data);
                return 0;
            case DG_MSG_CHANGE:
                if (handlers.change != nullptr) handlers.change(dialogId, item, data);
                return 0;
            case DG_MSG_CLICK: return handlers.click != nullptr ? handlers.click(dialogId, item, data) : 0;
            case DG_MSG_CLOSE:
                if (handlers.close != nullptr) handlers.close(dialogId, item, data);
                return item;
            case DG_MSG_TRACK:
                if (handlers.track != nullptr) handlers.track(dialogId, item, data);
                return 0;
            case DG_MSG_UPDATE:
                if (handlers.update != nullptr) handlers.update(dialogId, item, data, messageData);
                return 0;
            default: return 0;
        }
    }
};

// The host's language variant: either set gives the second layouts the other language image. The shell sets them
// at start-up.
extern uint8_t HostLanguageNOR;
extern uint8_t HostLanguageAUT;
