#pragma once
// What the site objects ask of the user: each tool's settings dialog, the question before a spot-height grid and
// the distance between the cameras of a path. The shell implements it (shell/SiteObjectDialogBoxes) and hands it
// to the commands, which pass it to the element classes' operations that ask; a test passes its own answers the
// same way.
#include "foundation/DialogAnswer.hpp"
#include "foundation/SettingsMode.hpp"

#include <cstdint>

struct BuildingDialogState;
struct WallDialogState;
struct MarkerDialogState;
struct PaintDialogState;
struct TreeSettings;
struct TreeChangeFlags;

class SiteObjectDialogs {
public:
    virtual ~SiteObjectDialogs() = default;

    // Each settings dialog opens on its first layout and goes between its two layouts until OK or Cancel;
    // confirmed, the edits are in the state's record with their flags. `mode` tells what it is asked for (its
    // header).
    virtual DialogAnswer OpenBuildingSettings(BuildingDialogState& state, SettingsMode mode) = 0;
    virtual DialogAnswer OpenWallSettings(WallDialogState& state, SettingsMode mode) = 0;
    virtual DialogAnswer OpenSpotHeightSettings(MarkerDialogState& state, SettingsMode mode) = 0;
    virtual DialogAnswer OpenColouredAreaSettings(PaintDialogState& state, SettingsMode mode) = 0;
    // "Tree settings" over `record`; confirmed, the changed fields are written into the record and flagged.
    virtual DialogAnswer OpenTreeSettings(TreeSettings& record, TreeChangeFlags& flags, SettingsMode mode) = 0;
    // The question before a grid of `nodeCount` spot heights is computed: true for "Yes".
    virtual bool ConfirmSpotHeightGrid(int32_t nodeCount) = 0;
    // The distance between cameras, from 0.1 up to the path length `limit`; confirmed, with the distance.
    virtual DialogAnswer AskCameraDistance(double& distance, double limit, SettingsMode mode) = 0;
};
