#pragma once
// The retainer wall settings dialog: one wall record (height, face angles, resolution, pens, material, fill,
// layer, name) and, beside it, the general wall thickness. Built on the settings dialog frame, in
// its two layouts.
#include "dialogs/settings/SettingsDialogFrame.hpp"
#include "earthworks/Obstacle.hpp"

#include "DG.hpp"

struct RetainerWallSettingsBlock {
    SettingsDialogBlock<RetainerWallSettings> frame;
    RetainerWallDialogState* state = nullptr;
};

// The first layout, then the other at each switch. Confirmed: the edits are in the state's record with their
// flags and the thickness shown is in the state (in every mode), for the wall tool to keep. Cancel writes nothing.
DialogAnswer OpenRetainerWallSettingsDialog(RetainerWallDialogState& state, SettingsMode mode);

namespace RetainerWallSettingsDlg {
int16_t Callback(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData messageData);
int16_t CallbackTwin(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData messageData);
}  // namespace RetainerWallSettingsDlg
