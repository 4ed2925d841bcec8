#pragma once
// The plateau settings dialog: one plateau record (level, slope, side slopes and their extensions, surfaces,
// display, obstacle lines, layer, name) and, in the second layout, the slope direction the owner keeps beside it.
// Built on the settings dialog frame, in two layouts; the plateau tool runs the loop between them
// (earthworks/Digging).
#include "dialogs/settings/SettingsDialogFrame.hpp"
#include "earthworks/Digging.hpp"
#include "foundation/DialogAnswer.hpp"

#include "DG.hpp"

struct PlateauSettingsBlock {
    SettingsDialogBlock<PlateauSettings> frame;
    PlateauDialogState* state = nullptr;
    double shownDirection = 0.0;  // what the direction item was given, in degrees
};

// One layout over the state: the first (32553) or the second (32505). Confirmed: the edits are in the state's
// record with their flags, and from the second layout the direction with its flag. A layout switch leaves the
// edits in the state's working copy and sets its switch flag; Cancel writes nothing.
DialogAnswer OpenPlateauSettingsDialog(PlateauDialogState& state, SettingsMode mode);
DialogAnswer OpenPlateauSettingsDialogTwin(PlateauDialogState& state, SettingsMode mode);
// Either one by number (0 the first layout), as the plateau tool asks for it (EarthworkDialogs).
DialogAnswer OpenPlateauSettingsLayout(PlateauDialogState& state, int32_t layout, SettingsMode mode);

namespace PlateauSettingsDlg {
int16_t Callback(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData messageData);
int16_t CallbackTwin(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData messageData);
}  // namespace PlateauSettingsDlg
