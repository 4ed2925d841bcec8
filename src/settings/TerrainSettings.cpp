#include "settings/TerrainSettings.hpp"

void TerrainSettings::Reset() {
    for (int16_t id = 0; id <= 18; ++id) SetLongByItem(id, 0);
    name.Clear();
}

void TerrainSettings::SetDefaults() {
    lineType = 1;
    contourPen = 53;
    ridgePen = 73;
    planTriangles = 1;
    fill = 38;
    fillPen = 113;
    fillBackgroundPen = 133;
    fillContourPen = 93;
    topMaterial = 26;
    sideMaterial = 33;
    bottomMaterial = 33;
    modelTriangles = 1;
    name = "TERRAIN";
    layer = 1;
    buildingMaterial = 1;
    penOverride = 1;
    topMaterialOverride = 0;
    sideMaterialOverride = 0;
    bottomMaterialOverride = 0;
}

uint16_t* TerrainSettings::Field(int16_t id) {
    switch (id) {
        case 0: return &lineType;
        case 1: return &contourPen;
        case 2: return &ridgePen;
        case 3: return &planTriangles;
        case 4: return &fill;
        case 5: return &fillPen;
        case 6: return &fillBackgroundPen;
        case 7: return &fillContourPen;
        case 8: return &topMaterial;
        case 9: return &sideMaterial;
        case 10: return &bottomMaterial;
        case 11: return &modelTriangles;
        case 13: return &layer;
        case 14: return &buildingMaterial;
        case 15: return &penOverride;
        case 16: return &topMaterialOverride;
        case 17: return &sideMaterialOverride;
        case 18: return &bottomMaterialOverride;
        default: return nullptr;
    }
}

int32_t TerrainSettings::GetLongByItem(int16_t id) const {
    const uint16_t* field = const_cast<TerrainSettings*>(this)->Field(id);
    return field != nullptr ? *field : 0;
}

void TerrainSettings::SetLongByItem(int16_t id, uint16_t value) {
    if (uint16_t* field = Field(id)) *field = value;
}
