#pragma once
// The terrain tools' dialogs as the user sees them: each method opens its dialog of dialogs/. Made by the shell
// when the module starts (shell/Wiring) and handed down through the commands.
#include "terrain/TerrainDialogs.hpp"

class TerrainDialogBoxes final : public TerrainDialogs {
public:
    DialogAnswer OpenTerrainSettings(TerrainDialogBlock& block, TerrainSettings& record, const TerrainSettings& start,
                                     ContourLineSettings& contour, int16_t mode, int32_t value, double lowest,
                                     double highest, int16_t option) override;
    DialogAnswer OpenTerrainSettingsWide(TerrainDialogBlock& block, TerrainSettings& record,
                                         const TerrainSettings& start, const ContourLineSettings& levels, int16_t mode,
                                         int32_t value) override;
    void ApplyTerrainContourEdits(TerrainDialogBlock& block) override;
    DialogAnswer OpenContourLineSettings(ContourLineSettings& record, uint8_t changed[ContourLineSettings::FieldCount],
                                         double lowest, double highest, bool useRange, SettingsMode mode) override;
    DialogAnswer OpenContourAltitude(ContourAltitudeSettings& record, uint8_t flags[5], SettingsMode mode) override;
    DialogAnswer OpenSlopeAnalysis(SlopeRangeSettings& record, uint8_t changed[SlopeRangeSettings::FieldCount],
                                   SettingsMode mode) override;
    bool AskMeshConversion() override;
};
