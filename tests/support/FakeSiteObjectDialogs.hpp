#pragma once
// The site objects' dialogs as a test answers them: each one a function the test sets. One left unset answers as
// the user who cancels (or says "No" to a grid). The mode each settings dialog was asked with is kept.
#include "siteobjects/SiteObjectDialogs.hpp"

#include <functional>
#include <vector>

struct FakeSiteObjectDialogs final : SiteObjectDialogs {
    std::function<DialogAnswer(BuildingDialogState&)> building;
    std::function<DialogAnswer(WallDialogState&)> wall;
    std::function<DialogAnswer(MarkerDialogState&)> spotHeight;
    std::function<DialogAnswer(PaintDialogState&)> colouredArea;
    std::function<DialogAnswer(TreeSettings&, TreeChangeFlags&)> tree;
    std::function<bool(int32_t)> grid;
    std::function<DialogAnswer(double&, double)> cameraDistance;
    std::vector<SettingsMode> modes;  // one per settings dialog asked, in order

    DialogAnswer OpenBuildingSettings(BuildingDialogState& state, SettingsMode mode) override {
        modes.push_back(mode);
        return building ? building(state) : DialogAnswer::Cancelled;
    }
    DialogAnswer OpenWallSettings(WallDialogState& state, SettingsMode mode) override {
        modes.push_back(mode);
        return wall ? wall(state) : DialogAnswer::Cancelled;
    }
    DialogAnswer OpenSpotHeightSettings(MarkerDialogState& state, SettingsMode mode) override {
        modes.push_back(mode);
        return spotHeight ? spotHeight(state) : DialogAnswer::Cancelled;
    }
    DialogAnswer OpenColouredAreaSettings(PaintDialogState& state, SettingsMode mode) override {
        modes.push_back(mode);
        return colouredArea ? colouredArea(state) : DialogAnswer::Cancelled;
    }
    DialogAnswer OpenTreeSettings(TreeSettings& record, TreeChangeFlags& flags, SettingsMode mode) override {
        modes.push_back(mode);
        return tree ? tree(record, flags) : DialogAnswer::Cancelled;
    }
    bool ConfirmSpotHeightGrid(int32_t nodeCount) override { return grid && grid(nodeCount); }
    DialogAnswer AskCameraDistance(double& distance, double limit, SettingsMode mode) override {
        modes.push_back(mode);
        return cameraDistance ? cameraDistance(distance, limit) : DialogAnswer::Cancelled;
    }
};
