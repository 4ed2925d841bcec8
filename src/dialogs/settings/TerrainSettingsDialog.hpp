#pragma once
// The "Terrain settings" dialog: the compact layout (32547) with the plan and 3D attributes, the layer, the ID
// and the height bands of the terrain's morphology colouring; the wide layout (32503) with every mesh attribute
// and the vertical offset of a new terrain. The terrain tool drives the two layouts (terrain/TerrainSettingsRun).
#include "terrain/TerrainSettingsRun.hpp"

constexpr int16_t TerrainSettingsDialogId = 32547;
constexpr int16_t TerrainSettingsDialogTwinId = 32503;

// The compact layout over `start`; OK writes the fields that differ from `record` into it, flags them in the
// block and applies the band edits to `contour`. With the layout button it closes with the block's layoutSwitch
// set and both working copies read, cancelled.
DialogAnswer OpenTerrainSettingsDialog(TerrainDialogBlock& block, TerrainSettings& record, const TerrainSettings& start,
                                       ContourLineSettings& contour, int16_t mode, int32_t value, double lowest,
                                       double highest, int16_t option);
// The wide layout, the same way; in modes 2 and 3 OK checks `levels`. The block's verticalOffset is shown (mode
// 1 only lets it be edited) and comes back with verticalOffsetChanged when the user changed it.
DialogAnswer OpenTerrainSettingsDialogTwin(TerrainDialogBlock& block, TerrainSettings& record,
                                           const TerrainSettings& start, const ContourLineSettings& levels,
                                           int16_t mode, int32_t value);
// The compact layout's band edits into its contour-line record, each changed value flagged.
void ApplyTerrainSettingsChanges(TerrainDialogBlock& block);

// Whether the levels rise from the lowest to the highest band that is switched on: with the third band off the
// highest above the lowest; with the second band off the third above the lowest and the highest above the third;
// else all four rising.
bool TerrainLevelsRise(bool thirdBand, bool secondBand, double highest, double second, double third, double lowest);
