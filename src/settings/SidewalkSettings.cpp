#include "settings/SidewalkSettings.hpp"

void SidewalkSettings::Reset() {
    layer = levelMaterial = fillMaterial = cutMaterial = resolution = show2D = pen2D = pen = leftSide = 0;
    thickness = 0.0;
    name.Clear();
}

void SidewalkSettings::SetDefaults() {
    layer = 1;
    name = "SIDEWALK";
    levelMaterial = 4;
    fillMaterial = 7;
    cutMaterial = 7;
    resolution = 6;
    thickness = 0.15;
    show2D = 1;
    pen2D = 4;
    pen = 4;
    leftSide = 0;
}

int16_t* SidewalkSettings::ShortField(int16_t id) {
    switch (id) {
        case 0: return &layer;
        case 2: return &levelMaterial;
        case 3: return &fillMaterial;
        case 4: return &cutMaterial;
        case 5: return &resolution;
        case 7: return &show2D;
        case 8: return &pen2D;
        case 9: return &pen;
        case 10: return &leftSide;
        default: return nullptr;
    }
}

int32_t SidewalkSettings::GetByItem(int16_t id) const {
    const int16_t* field = const_cast<SidewalkSettings*>(this)->ShortField(id);
    return field != nullptr ? *field : 0;
}

void SidewalkSettings::SetByItem(int16_t id, int16_t value) {
    if (int16_t* field = ShortField(id)) *field = value;
}
