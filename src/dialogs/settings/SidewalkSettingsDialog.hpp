#pragma once
// The sidewalk settings dialog: one sidewalk record (thickness, resolution, surfaces, display, layer, name) and, in
// the second layout, the general sidewalk width. The first layout is compact: one material for both
// sides and no 2D view switch. Built on the settings dialog frame; the sidewalk tool runs the loop between the two
// layouts (earthworks/Sidewalk).
#include "dialogs/settings/SettingsDialogFrame.hpp"
#include "earthworks/Sidewalk.hpp"
#include "foundation/DialogAnswer.hpp"

#include "DG.hpp"

struct SidewalkSettingsBlock {
    SettingsDialogBlock<SidewalkSettings> frame;
    SidewalkDialogState* state = nullptr;
};

// One layout over the state: the first (32552) or the second (32515). Confirmed: the edits are in the state's
// record with their flags (and the width, when editable, in the state, for the sidewalk tool to keep). A layout switch leaves the edits
// in the state's working copy and sets its switch flag; Cancel writes nothing.
DialogAnswer OpenSidewalkSettingsDialog(SidewalkDialogState& state, SettingsMode mode);
DialogAnswer OpenSidewalkSettingsDialogTwin(SidewalkDialogState& state, SettingsMode mode);
// Either one by number (0 the first layout), as the sidewalk tool asks for it (EarthworkDialogs).
DialogAnswer OpenSidewalkSettingsLayout(SidewalkDialogState& state, int32_t layout, SettingsMode mode);

namespace SidewalkSettingsDlg {
int16_t Callback(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData messageData);
int16_t CallbackTwin(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData messageData);
}  // namespace SidewalkSettingsDlg
