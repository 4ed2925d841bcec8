#pragma once
// The about box of the add-on's menu (32529): product name, version and date, fixed in the program.
#include <cstdint>

struct AboutDialogData {
    uint16_t dialogId;
};

constexpr int16_t AboutDialogId = 32529;

// Shows the about box until OK or Cancel.
void OpenAboutDialog(AboutDialogData& data);
void OpenAboutDialog();

// The dialog's callback (1 init, 4 click); userData points to its AboutDialogData.
int16_t AboutDialogCallback(int16_t message, int16_t dialogId, int16_t item, intptr_t userData, intptr_t messageData);
