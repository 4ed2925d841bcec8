#include "settings/WallData.hpp"

void WallData::Reset() {
    pen3D = material = fill = fillPen = fillBackgroundPen = pen2D = layer = resolution = 0;
    thickness = height = 0.0;
    side.Clear();
    name.Clear();
}

void WallData::SetDefaults() {
    pen3D = 99;
    material = 18;
    thickness = 0.45;
    side = "left";
    fill = 4;
    fillPen = 2;
    fillBackgroundPen = 19;
    pen2D = 1;
    layer = 1;
    name = "WALL";
    height = 3.0;
    resolution = 24;
}

int16_t* WallData::ShortField(int16_t id) {
    switch (id) {
        case 0: return &pen3D;
        case 1: return &material;
        case 4: return &fill;
        case 5: return &fillPen;
        case 6: return &fillBackgroundPen;
        case 7: return &pen2D;
        case 8: return &layer;
        case 11: return &resolution;
        default: return nullptr;
    }
}

int32_t WallData::GetByItem(int16_t id) const {
    const int16_t* field = const_cast<WallData*>(this)->ShortField(id);
    return field != nullptr ? *field : 0;
}

void WallData::SetByItem(int16_t id, int16_t value) {
    if (int16_t* field = ShortField(id)) *field = value;
}
