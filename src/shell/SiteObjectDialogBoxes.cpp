#include "shell/SiteObjectDialogBoxes.hpp"

#include "dialogs/settings/BuildingSettingsDialog.hpp"
#include "dialogs/settings/ColouredAreaSettingsDialog.hpp"
#include "dialogs/settings/SpotHeightSettingsDialog.hpp"
#include "dialogs/settings/TreeSettingsDialog.hpp"
#include "dialogs/settings/WallSettingsDialog.hpp"
#include "dialogs/tools/CameraSettingsDialog.hpp"

bool SiteObjectDialogBoxes::OpenBuildingSettings(BuildingDialogState& state) {
    return OpenBuildingSettingsDialog(state);
}

bool SiteObjectDialogBoxes::OpenWallSettings(WallDialogState& state) { return OpenWallSettingsDialog(state); }

bool SiteObjectDialogBoxes::OpenSpotHeightSettings(MarkerDialogState& state) {
    return OpenSpotHeightSettingsDialog(state);
}

bool SiteObjectDialogBoxes::OpenColouredAreaSettings(PaintDialogState& state) {
    return OpenColouredAreaSettingsDialog(state);
}

bool SiteObjectDialogBoxes::OpenTreeSettings(TreeSettings& record, TreeChangeFlags& flags) {
    return RunTreeSettingsDialogs(record, flags);
}

bool SiteObjectDialogBoxes::ConfirmSpotHeightGrid(int32_t nodeCount) { return ::ConfirmSpotHeightGrid(nodeCount); }

bool SiteObjectDialogBoxes::AskCameraDistance(double& distance, double limit) {
    return ::AskCameraDistance(distance, limit);
}
