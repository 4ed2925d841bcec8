#include "shell/TerrainDialogBoxes.hpp"

#include "dialogs/settings/ContourAltitudeDialog.hpp"
#include "dialogs/settings/ContourLineSettingsDialog.hpp"
#include "dialogs/settings/TerrainSettingsDialog.hpp"
#include "dialogs/tools/MeshConversionDialog.hpp"
#include "dialogs/tools/SlopeAnalysisDialog.hpp"

DialogAnswer TerrainDialogBoxes::OpenTerrainSettings(TerrainDialogBlock& block, TerrainSettings& record,
                                                     const TerrainSettings& start, ContourLineSettings& contour,
                                                     int16_t mode, int32_t value, double lowest, double highest,
                                                     int16_t option) {
    return OpenTerrainSettingsDialog(block, record, start, contour, mode, value, lowest, highest, option);
}

DialogAnswer TerrainDialogBoxes::OpenTerrainSettingsWide(TerrainDialogBlock& block, TerrainSettings& record,
                                                         const TerrainSettings& start,
                                                         const ContourLineSettings& levels, int16_t mode,
                                                         int32_t value) {
    return OpenTerrainSettingsDialogTwin(block, record, start, levels, mode, value);
}

void TerrainDialogBoxes::ApplyTerrainContourEdits(TerrainDialogBlock& block) { ApplyTerrainSettingsChanges(block); }

DialogAnswer TerrainDialogBoxes::OpenContourLineSettings(ContourLineSettings& record,
                                                         uint8_t changed[ContourLineSettings::FieldCount],
                                                         double lowest, double highest, bool useRange,
                                                         SettingsMode mode) {
    return RunContourLineSettingsDialog(record, changed, lowest, highest, useRange, mode);
}

DialogAnswer TerrainDialogBoxes::OpenContourAltitude(ContourAltitudeSettings& record, uint8_t flags[5],
                                                     SettingsMode mode) {
    return RunContourAltitudeDialog(record, flags, mode);
}

DialogAnswer TerrainDialogBoxes::OpenSlopeAnalysis(SlopeRangeSettings& record,
                                                   uint8_t changed[SlopeRangeSettings::FieldCount], SettingsMode mode) {
    return RunSlopeAnalysisDialog(record, changed, mode);
}

bool TerrainDialogBoxes::AskMeshConversion() {
    MeshConversionDialogData data = {};  // the mesh is not one of the add-on's
    return OpenMeshConversionDialog(data);
}
