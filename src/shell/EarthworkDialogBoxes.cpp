#include "shell/EarthworkDialogBoxes.hpp"

#include "dialogs/settings/BasinSettingsDialog.hpp"
#include "dialogs/settings/BridgeSettingsDialog.hpp"
#include "dialogs/settings/PlateauSettingsDialog.hpp"
#include "dialogs/settings/RailwaySettingsDialog.hpp"
#include "dialogs/settings/RetainerWallSettingsDialog.hpp"
#include "dialogs/settings/RoadSettingsDialog.hpp"
#include "dialogs/settings/SidewalkSettingsDialog.hpp"
#include "dialogs/tools/SectionSettingsDialog.hpp"
#include "shell/ShellState.hpp"
#include "shell/ToolsPalette.hpp"

bool EarthworkDialogBoxes::OpenRoadSettings(RoadDialogState& state, int32_t layout) {
    return OpenRoadSettingsLayout(state, layout);
}

bool EarthworkDialogBoxes::OpenRailwaySettings(RailwayDialogState& state) { return OpenRailwaySettingsDialog(state); }

bool EarthworkDialogBoxes::OpenSectionSettings(SectionDialogState& state) { return RunSectionSettingsDialog(state); }

bool EarthworkDialogBoxes::OpenRetainerWallSettings(RetainerWallDialogState& state) {
    return OpenRetainerWallSettingsDialog(state);
}

bool EarthworkDialogBoxes::OpenBasinSettings(BasinSettings& record, uint8_t (&changed)[Basin::BasinFieldCount]) {
    return RunBasinSettingsLayouts(record, changed);
}

bool EarthworkDialogBoxes::OpenBridgeSettings(BridgeSettings& record, uint8_t (&changed)[BridgeFieldCount],
                                              bool railwayLock) {
    return OpenBridgeSettingsDialog(record, changed, railwayLock);
}

bool EarthworkDialogBoxes::OpenPlateauSettings(PlateauDialogState& state, int32_t layout) {
    return OpenPlateauSettingsLayout(state, layout);
}

bool EarthworkDialogBoxes::OpenSidewalkSettings(SidewalkDialogState& state, int32_t layout) {
    return OpenSidewalkSettingsLayout(state, layout);
}

void EarthworkDialogBoxes::SectionWindowRebuilt() {
    if (!PaletteSuspended) ToolsPalette().OnOpened();
}
