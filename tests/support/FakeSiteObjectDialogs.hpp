#pragma once
// The site objects' dialogs as a test answers them: each one a function the test sets. One left unset answers as
// the user who cancels (or says "No" to a grid). The mode each settings dialog was asked with is kept.
#include "siteobjects/SiteObjectDialogs.hpp"

#include <functional>
#include <vector>

struct FakeSiteObjectDialogs final : SiteObjectDialogs {
    std::function<bool(BuildingDialogState&)> building;
    std::function<bool(WallDialogState&)> wall;
    std::function<bool(MarkerDialogState&)> spotHeight;
    std::function<bool(PaintDialogState&)> colouredArea;
    std::function<bool(TreeSettings&, TreeChangeFlags&)> tree;
    std::function<bool(int32_t)> grid;
    std::function<bool(double&, double)> cameraDistance;
    std::vector<SettingsMode> modes;  // one per settings dialog asked, in order

    bool OpenBuildingSettings(BuildingDialogState& state, SettingsMode mode) override {
        modes.push_back(mode);
        return building && building(state);
    }
    bool OpenWallSettings(WallDialogState& state, SettingsMode mode) override {
        modes.push_back(mode);
        return wall && wall(state);
    }
    bool OpenSpotHeightSettings(MarkerDialogState& state, SettingsMode mode) override {
        modes.push_back(mode);
        return spotHeight && spotHeight(state);
    }
    bool OpenColouredAreaSettings(PaintDialogState& state, SettingsMode mode) override {
        modes.push_back(mode);
        return colouredArea && colouredArea(state);
    }
    bool OpenTreeSettings(TreeSettings& record, TreeChangeFlags& flags, SettingsMode mode) override {
        modes.push_back(mode);
        return tree && tree(record, flags);
    }
    bool ConfirmSpotHeightGrid(int32_t nodeCount) override { return grid && grid(nodeCount); }
    bool AskCameraDistance(double& distance, double limit, SettingsMode mode) override {
        modes.push_back(mode);
        return cameraDistance && cameraDistance(distance, limit);
    }
};
