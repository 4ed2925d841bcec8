#pragma once
// "Point settings": the terrain-point tool's record (height, code and its description, comment, pen, layer) in
// two layouts, 32555 and 32508, on the settings dialog frame with the five-digit code item.
#include "dialogs/settings/SettingsDialogFrame.hpp"
#include "settings/PointSettings.hpp"

using PointSettingsBlock = SettingsDialogBlock<PointSettings>;

// One layout over `record`; confirmed, the changed fields are in the record and flagged in the block by field id.
// With `carryWork` the block's working copy is shown as the other layout left it.
DialogAnswer OpenPointSettingsDialog(PointSettingsBlock& block, PointSettings& record, bool carryWork = false);
DialogAnswer OpenPointSettingsDialogTwin(PointSettingsBlock& block, PointSettings& record, bool carryWork = false);

// Both layouts, the first first; confirmed, with the six changed flags (by field id) in `changed`.
DialogAnswer RunPointSettingsDialog(PointSettings& record, uint8_t (&changed)[PointSettings::FieldCount],
                                    SettingsMode mode);

namespace PointSettingsDlg {
int16_t Callback(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData messageData);
int16_t CallbackTwin(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData messageData);
}  // namespace PointSettingsDlg
