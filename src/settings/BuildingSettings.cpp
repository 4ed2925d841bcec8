#include "settings/BuildingSettings.hpp"

#include "settings/SharedEmptyText.hpp"

#include <cmath>

void BuildingSettings::Reset() {
    pen3D = material = showRoof = roofMaterial = fill = fillPen = fillBackgroundPen = pen2D = layer = 0;
    resolution = 0;
    roofAngle = topLevel = height = 0.0;
    name.Clear();
}

void BuildingSettings::SetDefaults() {
    pen3D = 1;
    material = 18;
    showRoof = 0;
    roofAngle = 25.0 * M_PI / 180.0;
    roofMaterial = 50;
    fill = 65;
    fillPen = 2;
    fillBackgroundPen = 19;
    pen2D = 1;
    name = "BUILDING";
    resolution = 6;
    SetBaseDefaults();
}

void BuildingSettings::SetBaseDefaults() {
    height = 0.0;
    layer = 1;
    topLevel = 9.0;
}

int16_t* BuildingSettings::ShortField(int16_t id) {
    switch (id) {
        case 0: return &pen3D;
        case 1: return &material;
        case 2: return &showRoof;
        case 4: return &roofMaterial;
        case 5: return &fill;
        case 6: return &fillPen;
        case 7: return &fillBackgroundPen;
        case 8: return &pen2D;
        case 9: return &layer;
        case 12: return &resolution;
        default: return nullptr;
    }
}

double* BuildingSettings::DoubleField(int16_t id) {
    switch (id) {
        case 3: return &roofAngle;
        case 11: return &topLevel;
        case 13: return &height;
        default: return nullptr;
    }
}

int32_t BuildingSettings::GetShort(int16_t id) const {
    const int16_t* field = const_cast<BuildingSettings*>(this)->ShortField(id);
    return field != nullptr ? *field : 0;
}

void BuildingSettings::SetShort(int16_t id, int16_t value) {
    if (int16_t* field = ShortField(id)) *field = value;
}

double BuildingSettings::GetDouble(int16_t id) const {
    const double* field = const_cast<BuildingSettings*>(this)->DoubleField(id);
    return field != nullptr ? *field : 0.0;
}

void BuildingSettings::SetDouble(int16_t id, double value) {
    if (double* field = DoubleField(id)) *field = value;
}

const QV_String& BuildingSettings::GetString(int16_t id) const { return id == 10 ? name : SharedEmptyText(); }

void BuildingSettings::SetString(int16_t id, const QV_String& text) {
    if (id == 10) name = text;
}
