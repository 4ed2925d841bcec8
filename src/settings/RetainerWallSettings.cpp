#include "settings/RetainerWallSettings.hpp"

#include <cmath>

void RetainerWallSettings::Reset() {
    height = leftAngle = rightAngle = 0.0;
    pen = resolution = material = pen2D = fill = fillPen = fillBackgroundPen = 0;
    name.Clear();
    layer = 0;
}

void RetainerWallSettings::SetDefaults() {
    height = 0.5;
    leftAngle = rightAngle = M_PI / 2.0;
    pen = 1;
    resolution = 6;
    material = 53;
    pen2D = 1;
    fill = 4;
    fillPen = 2;
    fillBackgroundPen = 19;
    name = "RETAINING WALL";
    layer = 1;
}

uint16_t* RetainerWallSettings::ShortField(int16_t id) {
    switch (id) {
        case 3: return &pen;
        case 4: return &resolution;
        case 5: return &material;
        case 6: return &pen2D;
        case 7: return &fill;
        case 8: return &fillPen;
        case 9: return &fillBackgroundPen;
        default: return nullptr;
    }
}

int32_t RetainerWallSettings::GetByItem(int16_t id) const {
    if (id == 11) return int16_t(layer);
    const uint16_t* field = const_cast<RetainerWallSettings*>(this)->ShortField(id);
    return field != nullptr ? int16_t(*field) : 0;
}

void RetainerWallSettings::SetByItem(int16_t id, int16_t value) {
    if (id == 11)
        layer = value;
    else if (uint16_t* field = ShortField(id))
        *field = uint16_t(value);
}
