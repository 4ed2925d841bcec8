#pragma once
// The terrain record: the terrain settings plus the working input of one mesh build (the outline with a height
// at every corner, level points, break lines, a used flag per level point) and a changed flag per settings field
// for mass edits. It lives on the stack of one terrain command and owns its lists.
#include "foundation/QV_List.hpp"
#include "settings/TerrainSettings.hpp"

#include "APICoord.hpp"
#include "APIElements.hpp"

#include <cstdint>

// A break-line segment; consecutive segments whose end and next start meet in x and y form one polyline.
struct QV_Segment3D {
    API_Coord3D begin;
    API_Coord3D end;
};

constexpr int16_t TerrainFieldCount = TerrainSettings::FieldCount;

struct TerrainRecord : TerrainSettings {
    // The terrain tool's defaults, nothing changed, the lists empty.
    TerrainRecord();
    TerrainRecord(const TerrainRecord&) = default;
    TerrainRecord& operator=(const TerrainRecord&) = default;

    // Drops the build input (outline, level points, break lines, used flags); the settings stay.
    void ClearInput();

    uint8_t changed[TerrainFieldCount] = {};  // 1: the user changed that field id in the dialog
    QV_List<API_Coord3D> boundary;            // closed ring: the last point repeats the first
    QV_List<API_Coord3D> levelPoints;
    QV_List<QV_Segment3D> breakLines;
    QV_List<bool> used;  // per level point: 1 when it already ends a break line
};

// Copies the nineteen fields and the name, never the changed flags or the lists.
void Assign(TerrainSettings& destination, const TerrainSettings& source);

// The settings into a mesh record: layer, pens, line type, building material, section pens and their two
// override bytes, the three materials with their overrides, the plan and 3D triangle displays.
void TerrainSettingsToMesh(const TerrainSettings& settings, API_MeshType& mesh);
// The ID text (field 12) into the memo's element info string.
void TerrainNameToMemo(const TerrainSettings& settings, API_ElementMemo& memo);
// The inverse of both; a null memo or one without an ID text gives an empty name.
void MeshToTerrainSettings(const API_MeshType& mesh, const API_ElementMemo* memo, TerrainSettings& settings);

// Marks in `mask` (zeroed first) the mesh fields of every field id whose changed flag is set. Field 4 (kept with
// the preferences only) and 12 (the memo's ID text) mark nothing.
void TerrainChangeMask(const uint8_t (&changed)[TerrainFieldCount], API_Element& mask);
