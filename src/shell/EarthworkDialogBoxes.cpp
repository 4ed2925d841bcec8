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

DialogAnswer EarthworkDialogBoxes::OpenRoadSettings(RoadDialogState& state, int32_t layout, SettingsMode mode) {
    return OpenRoadSettingsLayout(state, layout, mode);
}

DialogAnswer EarthworkDialogBoxes::OpenRailwaySettings(RailwayDialogState& state, SettingsMode mode) {
    return OpenRailwaySettingsDialog(state, mode);
}

DialogAnswer EarthworkDialogBoxes::OpenSectionSettings(SectionDialogState& state, SettingsMode mode) {
    return RunSectionSettingsDialog(state, mode);
}

DialogAnswer EarthworkDialogBoxes::OpenRetainerWallSettings(RetainerWallDialogState& state, SettingsMode mode) {
    return OpenRetainerWallSettingsDialog(state, mode);
}

DialogAnswer EarthworkDialogBoxes::OpenBasinSettings(BasinSettings& record, uint8_t (&changed)[Basin::BasinFieldCount],
                                                     SettingsMode mode) {
    return RunBasinSettingsLayouts(record, changed, mode);
}

DialogAnswer EarthworkDialogBoxes::OpenBridgeSettings(BridgeSettings& record, uint8_t (&changed)[BridgeFieldCount],
                                                      bool railwayLock, SettingsMode mode) {
    return OpenBridgeSettingsDialog(record, changed, railwayLock, mode);
}

DialogAnswer EarthworkDialogBoxes::OpenPlateauSettings(PlateauDialogState& state, int32_t layout, SettingsMode mode) {
    return OpenPlateauSettingsLayout(state, layout, mode);
}

DialogAnswer EarthworkDialogBoxes::OpenSidewalkSettings(SidewalkDialogState& state, int32_t layout, SettingsMode mode) {
    return OpenSidewalkSettingsLayout(state, layout, mode);
}

void EarthworkDialogBoxes::SectionWindowRebuilt() {
    if (!PaletteSuspended) ToolsPalette().OnOpened();
}
