#pragma once
// The wall settings dialog: one wall record (height, thickness, side of the line, arc resolution, pens,
// material, fill, layer and ID) in two layouts, the compact one first.
#include "dialogs/settings/SettingsDialogFrame.hpp"
#include "siteobjects/Wall.hpp"

#include "DG.hpp"

// Both layouts, starting with the first, until OK or Cancel. Confirmed: the edits are in the state's record with
// their flags. Cancel, in either layout, writes nothing.
DialogAnswer OpenWallSettingsDialog(WallDialogState& state, SettingsMode mode);

// The side as the dialog stores it: "left" and "right" exactly, anything else "middle".
QV_String NormalisedWallSide(const QV_String& side);

namespace WallSettingsDlg {
int16_t Callback(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData messageData);
int16_t CallbackTwin(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData messageData);
}  // namespace WallSettingsDlg
