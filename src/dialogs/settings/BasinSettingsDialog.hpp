#pragma once
// The basin settings dialog: pens, level material, line type, fill, layer and name of a basin, in two layouts
// (the compact one with the mode header, the other with the picture column). Built on the settings dialog frame.
#include "dialogs/settings/SettingsDialogFrame.hpp"
#include "earthworks/Basin.hpp"
#include "settings/BasinSettings.hpp"

#include "DG.hpp"

using BasinSettingsBlock = SettingsDialogBlock<BasinSettings>;

// The first layout, then the other at each switch; confirmed, the changed fields are written into the record and
// flagged (flag 10, the level, is never set). Cancel leaves record and flags alone.
DialogAnswer RunBasinSettingsLayouts(BasinSettings& record, uint8_t (&changed)[Basin::BasinFieldCount],
                                     SettingsMode mode);

// One layout on the record.
DialogAnswer OpenBasinSettingsDialog(BasinSettingsBlock& block, BasinSettings& record);
DialogAnswer OpenBasinSettingsDialogTwin(BasinSettingsBlock& block, BasinSettings& record);

namespace BasinSettingsDlg {
int16_t Callback(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData messageData);
int16_t CallbackTwin(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData messageData);
}  // namespace BasinSettingsDlg
