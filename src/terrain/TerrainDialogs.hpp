#pragma once
// What the terrain tools ask of the user: the "Terrain settings" dialog in its two layouts, the contour-line,
// single-altitude and slope analysis dialogs, and whether a host mesh becomes the terrain. The shell implements it
// (shell/TerrainDialogBoxes) and hands it to the commands, which pass it to the operations that ask; a test passes
// its own answers the same way.
#include "foundation/DialogAnswer.hpp"
#include "foundation/SettingsMode.hpp"
#include "settings/ContourAltitudeSettings.hpp"
#include "settings/ContourLineSettings.hpp"
#include "settings/SlopeRangeSettings.hpp"
#include "terrain/TerrainDialogBlock.hpp"

#include <cstdint>

class TerrainDialogs {
public:
    virtual ~TerrainDialogs() = default;

    // The compact layout of "Terrain settings" over `start` (what the items show first); OK writes the fields that
    // differ from `record` into it and flags them in the block. Cancelled, with the block's switch flag set, when
    // the user asked for the wide layout (terrain/TerrainSettingsRun runs the two).
    virtual DialogAnswer OpenTerrainSettings(TerrainDialogBlock& block, TerrainSettings& record,
                                             const TerrainSettings& start, ContourLineSettings& contour, int16_t mode,
                                             int32_t value, double lowest, double highest, int16_t option) = 0;
    // The wide layout, the same way; `levels` are the contour levels its OK checks. It has no way back.
    virtual DialogAnswer OpenTerrainSettingsWide(TerrainDialogBlock& block, TerrainSettings& record,
                                                 const TerrainSettings& start, const ContourLineSettings& levels,
                                                 int16_t mode, int32_t value) = 0;
    // The compact layout's contour edits into its contour-line record (the wide layout was accepted after it).
    virtual void ApplyTerrainContourEdits(TerrainDialogBlock& block) = 0;
    // The contour-line settings over `record` in its two layouts; confirmed, with one changed flag per field id
    // 0 to 26. The altitude items are limited to `lowest`..`highest`; with `useRange` they start there.
    virtual DialogAnswer OpenContourLineSettings(ContourLineSettings& record,
                                                 uint8_t changed[ContourLineSettings::FieldCount], double lowest,
                                                 double highest, bool useRange, SettingsMode mode) = 0;
    // The single-altitude dialog; confirmed, with the five apply flags (altitude, points pen, constraint pen,
    // constraint line type, layer).
    virtual DialogAnswer OpenContourAltitude(ContourAltitudeSettings& record, uint8_t flags[5], SettingsMode mode) = 0;
    // The slope analysis dialog; confirmed, with one changed flag per field id 0 to 24.
    virtual DialogAnswer OpenSlopeAnalysis(SlopeRangeSettings& record, uint8_t changed[SlopeRangeSettings::FieldCount],
                                           SettingsMode mode) = 0;
    // "Mesh conversion": true when the user wants the selected host mesh made the terrain.
    virtual bool AskMeshConversion() = 0;
};
