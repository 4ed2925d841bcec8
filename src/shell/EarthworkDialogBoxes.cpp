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

bool EarthworkDialogBoxes::OpenRoadSettings(RoadDialogState& state, int32_t layout, SettingsMode mode) {
    return OpenRoadSettingsLayout(state, layout, mode);
}

bool EarthworkDialogBoxes::OpenRailwaySettings(RailwayDialogState& state, SettingsMode mode) {
    return OpenRailwaySettingsDialog(state, mode);
}

bool EarthworkDialogBoxes::OpenSectionSettings(SectionDialogState& state, SettingsMode mode) {
    return RunSectionSettingsDialog(state, mode);
}

bool EarthworkDialogBoxes::OpenRetainerWallSettings(RetainerWallDialogState& state, SettingsMode mode) {
    return OpenRetainerWallSettingsDialog(state, mode);
}

bool EarthworkDialogBoxes::OpenBasinSettings(BasinSettings& record, uint8_t (&changed)[Basin::BasinFieldCount],
                                             SettingsMode mode) {
    return RunBasinSettingsLayouts(record, changed, mode);
}

bool EarthworkDialogBoxes::OpenBridgeSettings(BridgeSettings& record, uint8_t (&changed)[BridgeFieldCount],
                                              bool railwayLock, SettingsMode mode) {
    return OpenBridgeSettingsDialog(record, changed, railwayLock, mode);
}

bool EarthworkDialogBoxes::OpenPlateauSettings(PlateauDialogState& state, int32_t layout, SettingsMode mode) {
    return OpenPlateauSettingsLayout(state, layout, mode);
}

bool EarthworkDialogBoxes::OpenSidewalkSettings(SidewalkDialogState& state, int32_t layout, SettingsMode mode) {
    return OpenSidewalkSettingsLayout(state, layout, mode);
}

void EarthworkDialogBoxes::SectionWindowRebuilt() {
    if (!PaletteSuspended) ToolsPalette().OnOpened();
}
