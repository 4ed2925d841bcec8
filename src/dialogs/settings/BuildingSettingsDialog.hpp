#pragma once
// The building settings dialog: one building record (height, arc resolution, materials, sloped roof, pens, fill,
// layer and ID) in two layouts, the compact one first. The height is shown above the building's base level (the
// lowest terrain height of its outline) and never below the outline's height difference; the second layout can
// take it as a topographical level instead.
#include "dialogs/settings/SettingsDialogFrame.hpp"
#include "siteobjects/Building.hpp"

#include "DG.hpp"

struct BuildingSettingsBlock {
    SettingsDialogBlock<BuildingSettings> frame;
    BuildingDialogState* state = nullptr;
    double keptHeight = 0.0;  // the height item's value as last accepted
    uint8_t topographical = 0;
    uint8_t carried = 0;  // opened after a layout switch: the working copy holds the user's height
};

// Both layouts, starting with the first, until OK or Cancel. Confirmed: the edits are in the state's record with
// their flags. Cancel, in either layout, writes nothing.
DialogAnswer OpenBuildingSettingsDialog(BuildingDialogState& state, SettingsMode mode);

namespace BuildingSettingsDlg {
int16_t Callback(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData messageData);
int16_t CallbackTwin(int16_t message, int16_t dialogId, int16_t item, DGUserData userData, DGMessageData messageData);
}  // namespace BuildingSettingsDlg
