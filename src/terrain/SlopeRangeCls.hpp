#pragma once
// The slope-range tool: one "VY_SLOPE_RANGE" object per terrain, carrying the terrain's triangles, their
// vertices and the slope of each, with the class limits, colours and legend that its script draws by.
#include "elements/BaseCls.hpp"
#include "foundation/QV_List.hpp"
#include "foundation/DialogAnswer.hpp"
#include "foundation/SettingsMode.hpp"
#include "geometry/MeshBody.hpp"
#include "settings/SlopeRangeSettings.hpp"

#include "APIElements.hpp"

#include <cstdint>

class Settings;

class TerrainDialogs;

constexpr int32_t SlopeRangeFieldCount = SlopeRangeSettings::FieldCount;

class SlopeRangeCls : public BaseCls {
public:
    SlopeRangeCls();

    // New objects for the terrains of the list, after the settings dialog. 0; 42 outside the floor plan; 43 when
    // an object cannot be placed.
    int32_t Create(Settings& store, TerrainDialogs& dialogs, const QV_List<API_Element>& terrains);
    // The dialog's edits into every listed object (each keeps its own unedited fields). 0 or 43.
    int32_t Modify(Settings& store, TerrainDialogs& dialogs, QV_List<API_Element>& objects);
    int32_t EditSettings(Settings& store, TerrainDialogs& dialogs);
    bool CreateObject(const API_Element& terrain);
    bool UpdateSelectedObjects(QV_List<API_Element>& objects);

    SlopeRangeSettings settings;
    uint8_t changed[SlopeRangeFieldCount];

private:
    // Confirmed: settings and changed flags taken.
    DialogAnswer RunDialog(TerrainDialogs& dialogs, SettingsMode mode);
};

// The polygons of a terrain's top as the object carries them: each ring without the repeat of its first vertex,
// its size, and its slope in radians (0 for a polygon without a plane). False when the 3D model cannot be read.
bool ReadSlopePolygons(const API_Element& terrain, MeshBody& body);
