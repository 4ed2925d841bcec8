#pragma once
// The site objects' dialogs as the user sees them: each method opens its dialog of dialogs/. Made by the shell
// when the module starts (shell/Wiring) and handed down through the commands.
#include "siteobjects/SiteObjectDialogs.hpp"

class SiteObjectDialogBoxes final : public SiteObjectDialogs {
public:
    bool OpenBuildingSettings(BuildingDialogState& state) override;
    bool OpenWallSettings(WallDialogState& state) override;
    bool OpenSpotHeightSettings(MarkerDialogState& state) override;
    bool OpenColouredAreaSettings(PaintDialogState& state) override;
    bool OpenTreeSettings(TreeSettings& record, TreeChangeFlags& flags) override;
    bool ConfirmSpotHeightGrid(int32_t nodeCount) override;
    bool AskCameraDistance(double& distance, double limit) override;
};
