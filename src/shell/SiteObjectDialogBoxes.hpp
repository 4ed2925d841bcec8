#pragma once
// The site objects' dialogs as the user sees them: each method opens its dialog of dialogs/. Made by the shell
// when the module starts (shell/Wiring) and handed down through the commands.
#include "siteobjects/SiteObjectDialogs.hpp"

class SiteObjectDialogBoxes final : public SiteObjectDialogs {
public:
    DialogAnswer OpenBuildingSettings(BuildingDialogState& state, SettingsMode mode) override;
    DialogAnswer OpenWallSettings(WallDialogState& state, SettingsMode mode) override;
    DialogAnswer OpenSpotHeightSettings(MarkerDialogState& state, SettingsMode mode) override;
    DialogAnswer OpenColouredAreaSettings(PaintDialogState& state, SettingsMode mode) override;
    DialogAnswer OpenTreeSettings(TreeSettings& record, TreeChangeFlags& flags, SettingsMode mode) override;
    bool ConfirmSpotHeightGrid(int32_t nodeCount) override;
    DialogAnswer AskCameraDistance(double& distance, double limit, SettingsMode mode) override;
};
