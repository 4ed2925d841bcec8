#pragma once
// The terrain tool's settings (element kind 4): the look of the terrain mesh and its ID text. Fields in id
// order; every one but the name (12) is a 16-bit attribute index or switch.
#include "foundation/QV_String.hpp"

#include <cstdint>

struct TerrainSettings {
    TerrainSettings() { Reset(); }

    // Every field 0, the name empty (the working copies inside the settings dialog).
    void Reset();
    // The terrain tool's defaults, layer 1.
    void SetDefaults();

    // Ids 0 to 11 and 13 to 18; 0 for any other id (12, the name, included).
    int32_t GetLongByItem(int16_t id) const;
    // The same ids; any other id is ignored.
    void SetLongByItem(int16_t id, uint16_t value);

    uint16_t lineType;                // 0: plan line type
    uint16_t contourPen;              // 1
    uint16_t ridgePen;                // 2
    uint16_t planTriangles;           // 3: 1 hide, 2 show
    uint16_t fill;                    // 4: kept with the preferences only
    uint16_t fillPen;                 // 5: section fill foreground pen
    uint16_t fillBackgroundPen;       // 6
    uint16_t fillContourPen;          // 7: section contour pen
    uint16_t topMaterial;             // 8
    uint16_t sideMaterial;            // 9
    uint16_t bottomMaterial;          // 10
    uint16_t modelTriangles;          // 11: 1 hide, 0 show
    QV_String name;                   // 12: the mesh's element ID text
    uint16_t layer;                   // 13
    uint16_t buildingMaterial;        // 14
    uint16_t penOverride;             // 15: 0 none, 1 foreground, 2 background, 3 both
    uint16_t topMaterialOverride;     // 16
    uint16_t sideMaterialOverride;    // 17
    uint16_t bottomMaterialOverride;  // 18

private:
    uint16_t* Field(int16_t id);
};
