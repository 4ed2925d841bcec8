#pragma once
// The railway settings dialog: one railway record (track, cross-section, surfaces, display, layer, name) with two
// general values, the width shared with the road and where the drawn line lies on the railway.
// Built on the settings dialog frame, in its single layout.
#include "dialogs/settings/SettingsDialogFrame.hpp"
#include "earthworks/Railway.hpp"

#include "DG.hpp"

struct RailwaySettingsBlock {
    SettingsDialogBlock<RailwaySettings> frame;
    RailwayDialogState* state = nullptr;
};

// Confirmed: the edits are in the state's record with their flags, the width (when editable) and the reference
// line in the state, for the railway tool to keep. Cancel writes nothing.
DialogAnswer OpenRailwaySettingsDialog(RailwayDialogState& state, SettingsMode mode);

namespace RailwaySettingsDlg {
int16_t Callback(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData messageData);
}
