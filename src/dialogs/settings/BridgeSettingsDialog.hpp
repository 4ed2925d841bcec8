#pragma once
// The bridge settings dialog: deck, sides (sidewalks and railings), railway, 3D pen and materials, 2D pen and
// fill, layer and name, in one layout. Built on the settings dialog frame.
#include "dialogs/settings/SettingsDialogFrame.hpp"
#include "earthworks/Bridge.hpp"
#include "settings/BridgeSettings.hpp"

#include "DG.hpp"

struct BridgeSettingsBlock {
    SettingsDialogBlock<BridgeSettings> frame;
    uint8_t railwayLock = 0;  // the railway items disabled and their fields kept
};

// Confirmed: the changed fields are written into the record and flagged. A side whose sidewalk is off keeps its
// sidewalk width and thickness; with `railwayLock` the railway fields stay as they are.
DialogAnswer OpenBridgeSettingsDialog(BridgeSettings& record, uint8_t (&changed)[BridgeFieldCount], bool railwayLock,
                                      SettingsMode mode);

namespace BridgeSettingsDlg {
int16_t Callback(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData messageData);
}
