#pragma once
// The earthworks' dialogs as the user sees them: each method opens its settings dialog of dialogs/, and the tool
// palette is told when a section window was rebuilt under it. Made by the shell when the module starts
// (shell/Wiring) and handed down through the commands.
#include "earthworks/EarthworkDialogs.hpp"

class EarthworkDialogBoxes final : public EarthworkDialogs {
public:
    DialogAnswer OpenRoadSettings(RoadDialogState& state, int32_t layout, SettingsMode mode) override;
    DialogAnswer OpenRailwaySettings(RailwayDialogState& state, SettingsMode mode) override;
    DialogAnswer OpenSectionSettings(SectionDialogState& state, SettingsMode mode) override;
    DialogAnswer OpenRetainerWallSettings(RetainerWallDialogState& state, SettingsMode mode) override;
    DialogAnswer OpenBasinSettings(BasinSettings& record, uint8_t (&changed)[Basin::BasinFieldCount],
                                   SettingsMode mode) override;
    DialogAnswer OpenBridgeSettings(BridgeSettings& record, uint8_t (&changed)[BridgeFieldCount], bool railwayLock,
                                    SettingsMode mode) override;
    DialogAnswer OpenPlateauSettings(PlateauDialogState& state, int32_t layout, SettingsMode mode) override;
    DialogAnswer OpenSidewalkSettings(SidewalkDialogState& state, int32_t layout, SettingsMode mode) override;
    void SectionWindowRebuilt() override;
};
