#include "shell/SiteObjectDialogBoxes.hpp"

#include "dialogs/settings/BuildingSettingsDialog.hpp"
#include "dialogs/settings/ColouredAreaSettingsDialog.hpp"
#include "dialogs/settings/SpotHeightSettingsDialog.hpp"
#include "dialogs/settings/TreeSettingsDialog.hpp"
#include "dialogs/settings/WallSettingsDialog.hpp"
#include "dialogs/tools/CameraSettingsDialog.hpp"

DialogAnswer SiteObjectDialogBoxes::OpenBuildingSettings(BuildingDialogState& state, SettingsMode mode) {
    return OpenBuildingSettingsDialog(state, mode);
}

DialogAnswer SiteObjectDialogBoxes::OpenWallSettings(WallDialogState& state, SettingsMode mode) {
    return OpenWallSettingsDialog(state, mode);
}

DialogAnswer SiteObjectDialogBoxes::OpenSpotHeightSettings(MarkerDialogState& state, SettingsMode mode) {
    return OpenSpotHeightSettingsDialog(state, mode);
}

DialogAnswer SiteObjectDialogBoxes::OpenColouredAreaSettings(PaintDialogState& state, SettingsMode mode) {
    return OpenColouredAreaSettingsDialog(state, mode);
}

DialogAnswer SiteObjectDialogBoxes::OpenTreeSettings(TreeSettings& record, TreeChangeFlags& flags, SettingsMode mode) {
    return RunTreeSettingsDialogs(record, flags, mode);
}

bool SiteObjectDialogBoxes::ConfirmSpotHeightGrid(int32_t nodeCount) { return ::ConfirmSpotHeightGrid(nodeCount); }

DialogAnswer SiteObjectDialogBoxes::AskCameraDistance(double& distance, double limit, SettingsMode mode) {
    return ::AskCameraDistance(distance, limit, mode);
}
