#pragma once
// The question before the data update of the selected add-on objects (32574), with a box that turns the question
// off until the add-on is loaded again.
#include <cstdint>

struct UpdateConfirmDialogData {
    uint16_t dialogId;
    uint8_t dontShowAgain;  // cleared by the opener, set from the box however the dialog closes
};

constexpr int16_t UpdateConfirmDialogId = 32574;

// Asks; true when the user answered "Yes".
bool OpenUpdateConfirmDialog(UpdateConfirmDialogData& data);

// The dialog's callback (1 init, 3 close, 4 click); userData points to its UpdateConfirmDialogData.
int16_t UpdateConfirmDialogCallback(int16_t message, int16_t dialogId, int16_t item, intptr_t userData,
                                    intptr_t messageData);
