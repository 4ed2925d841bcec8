#pragma once
// The road settings dialog: one road record (cross-section, surfaces, display, layer, name) with two general
// values, the road width and where the drawn line lies on the road (the reference line). Built on
// the settings dialog frame, in two layouts; the road tool runs the loop between them (earthworks/Road).
#include "dialogs/settings/SettingsDialogFrame.hpp"
#include "earthworks/Road.hpp"
#include "foundation/DialogAnswer.hpp"

#include "DG.hpp"

struct RoadSettingsBlock {
    SettingsDialogBlock<RoadData> frame;
    RoadDialogState* state = nullptr;
};

// One layout over the state: the first (32554) or the second (32504). Confirmed: the edits are in the state's
// record with their flags, the width (when editable) and the reference line in the state, for the road tool to keep. A layout
// switch leaves the edits in the state's working copy and sets its switch flag; Cancel writes nothing.
DialogAnswer OpenRoadSettingsDialog(RoadDialogState& state, SettingsMode mode);
DialogAnswer OpenRoadSettingsDialogTwin(RoadDialogState& state, SettingsMode mode);
// Either one by number (0 the first layout), as the road tool asks for it (EarthworkDialogs).
DialogAnswer OpenRoadSettingsLayout(RoadDialogState& state, int32_t layout, SettingsMode mode);

namespace RoadSettingsDlg {
int16_t Callback(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData messageData);
int16_t CallbackTwin(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData messageData);
}  // namespace RoadSettingsDlg
