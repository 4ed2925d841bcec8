#pragma once
// The site objects' dialogs as a test answers them: each one a function the test sets. One left unset answers as
// the user who cancels (or says "No" to a grid).
#include "siteobjects/SiteObjectDialogs.hpp"

#include <functional>

struct FakeSiteObjectDialogs final : SiteObjectDialogs {
    std::function<bool(BuildingDialogState&)> building;
    std::function<bool(WallDialogState&)> wall;
    std::function<bool(MarkerDialogState&)> spotHeight;
    std::function<bool(PaintDialogState&)> colouredArea;
    std::function<bool(TreeSettings&, TreeChangeFlags&)> tree;
    std::function<bool(int32_t)> grid;
    std::function<bool(double&, double)> cameraDistance;

    bool OpenBuildingSettings(BuildingDialogState& state) override { return building && building(state); }
    bool OpenWallSettings(WallDialogState& state) override { return wall && wall(state); }
    bool OpenSpotHeightSettings(MarkerDialogState& state) override { return spotHeight && spotHeight(state); }
    bool OpenColouredAreaSettings(PaintDialogState& state) override { return colouredArea && colouredArea(state); }
    bool OpenTreeSettings(TreeSettings& record, TreeChangeFlags& flags) override { return tree && tree(record, flags); }
    bool ConfirmSpotHeightGrid(int32_t nodeCount) override { return grid && grid(nodeCount); }
    bool AskCameraDistance(double& distance, double limit) override {
        return cameraDistance && cameraDistance(distance, limit);
    }
};
