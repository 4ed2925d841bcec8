#pragma once
// The terrain tools' dialogs as a test answers them: each one a function the test sets. One left unset answers as
// the user who cancels. What each settings dialog was asked for is kept in `modes`, in call order.
#include "terrain/TerrainDialogs.hpp"

#include <functional>
#include <vector>

struct FakeTerrainDialogs final : TerrainDialogs {
    std::function<DialogAnswer(TerrainDialogBlock&, TerrainSettings&, const TerrainSettings&, ContourLineSettings&,
                               int16_t, int32_t, double, double, int16_t)>
        terrain;
    std::function<DialogAnswer(TerrainDialogBlock&, TerrainSettings&, const TerrainSettings&,
                               const ContourLineSettings&, int16_t, int32_t)>
        terrainWide;
    std::function<void(TerrainDialogBlock&)> applyContourEdits;
    std::function<DialogAnswer(ContourLineSettings&, uint8_t*, double, double, bool)> contourSettings;
    std::function<DialogAnswer(ContourAltitudeSettings&, uint8_t*)> contourAltitude;
    std::function<DialogAnswer(SlopeRangeSettings&, uint8_t*)> slopeRange;
    std::function<bool()> meshConversion;
    std::vector<SettingsMode> modes;

    DialogAnswer OpenTerrainSettings(TerrainDialogBlock& block, TerrainSettings& record, const TerrainSettings& start,
                                     ContourLineSettings& contour, int16_t mode, int32_t value, double lowest,
                                     double highest, int16_t option) override {
        return terrain ? terrain(block, record, start, contour, mode, value, lowest, highest, option)
                       : DialogAnswer::Cancelled;
    }
    DialogAnswer OpenTerrainSettingsWide(TerrainDialogBlock& block, TerrainSettings& record,
                                         const TerrainSettings& start, const ContourLineSettings& levels, int16_t mode,
                                         int32_t value) override {
        return terrainWide ? terrainWide(block, record, start, levels, mode, value) : DialogAnswer::Cancelled;
    }
    void ApplyTerrainContourEdits(TerrainDialogBlock& block) override {
        if (applyContourEdits) applyContourEdits(block);
    }
    DialogAnswer OpenContourLineSettings(ContourLineSettings& record, uint8_t changed[ContourLineSettings::FieldCount],
                                         double lowest, double highest, bool useRange, SettingsMode mode) override {
        modes.push_back(mode);
        return contourSettings ? contourSettings(record, changed, lowest, highest, useRange) : DialogAnswer::Cancelled;
    }
    DialogAnswer OpenContourAltitude(ContourAltitudeSettings& record, uint8_t flags[5], SettingsMode mode) override {
        modes.push_back(mode);
        return contourAltitude ? contourAltitude(record, flags) : DialogAnswer::Cancelled;
    }
    DialogAnswer OpenSlopeAnalysis(SlopeRangeSettings& record, uint8_t changed[SlopeRangeSettings::FieldCount],
                                   SettingsMode mode) override {
        modes.push_back(mode);
        return slopeRange ? slopeRange(record, changed) : DialogAnswer::Cancelled;
    }
    bool AskMeshConversion() override { return meshConversion && meshConversion(); }
};
