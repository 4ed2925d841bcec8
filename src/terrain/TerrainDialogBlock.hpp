#pragma once
// The work block of one layout of "Terrain settings": what the dialog shows and what the user changed, shared by
// the settings run and the dialogs that fill it.
#include "settings/ContourLineSettings.hpp"
#include "terrain/TerrainRecord.hpp"

#include "APIElements.hpp"

#include <cstdint>

constexpr int16_t TerrainContourFieldCount = ContourLineSettings::FieldCount;

// Modes of a run.
enum TerrainSettingsMode : int16_t {
    TerrainMode_Defaults = 0,
    TerrainMode_New = 1,
    TerrainMode_Edit = 2,             // meshes without linked contour-line objects
    TerrainMode_EditWithContours = 3  // meshes with linked contour-line objects
};

// The work block of one layout. Reset clears everything; mode and value stay -1 until the dialog sets them.
struct TerrainDialogBlock {
    TerrainDialogBlock() { Reset(); }
    void Reset();

    uint8_t layoutSwitch;  // the layout closed because the user asked for the other one
    uint16_t savedX, savedY;
    int16_t mode;
    int32_t editedCount;  // the terrains edited together (modes 2 and 3), for the mode header
    int32_t value;        // the owner's value (the coordinate locator's library index), passed through
    TerrainSettings work;
    uint8_t changed[TerrainFieldCount];
    TerrainSettings* record;
    ContourLineSettings* contour;  // first layout: written by the apply step; second: the levels its OK checks
    ContourLineSettings contourWork;
    uint8_t contourChanged[TerrainContourFieldCount];
    API_Coord3D colours[4];  // the band colours as red, green, blue
    double lowest, highest;  // the terrain's height range (modes 1 to 3)
    int16_t option;          // check box 41: a gradient object goes with the terrain
    double verticalOffset;   // second layout: shown, then what the user typed
    uint8_t verticalOffsetChanged;
};
