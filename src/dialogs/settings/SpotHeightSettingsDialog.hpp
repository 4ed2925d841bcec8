#pragma once
// The spot height settings dialog: the marker record (symbol type, size and pen, the text's font, size, italic,
// angle, pen and content, the layer) in two layouts, the compact one first; the second also offers the map with
// spot heights when a level marker is placed. And the question before a grid is computed.
#include "dialogs/settings/SettingsDialogFrame.hpp"
#include "siteobjects/Marker.hpp"

#include "DG.hpp"

struct SpotHeightSettingsBlock {
    SettingsDialogBlock<SpotHeightSettings> frame;
    MarkerDialogState* state = nullptr;
    uint8_t typePicked = 0;  // the user clicked a marker type in this layout
};

// Both layouts, starting with the first, until OK or Cancel. Confirmed: the edits are in the state's record with
// their flags. Cancel, in either layout, writes nothing.
DialogAnswer OpenSpotHeightSettingsDialog(MarkerDialogState& state, SettingsMode mode);

// "The number of spot heights to be calculated amount to <n>. Do you want to continue?": true for "Yes".
bool ConfirmSpotHeightGrid(int32_t nodeCount);

namespace SpotHeightSettingsDlg {
int16_t Callback(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData messageData);
int16_t CallbackTwin(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData messageData);
}  // namespace SpotHeightSettingsDlg
