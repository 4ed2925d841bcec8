#include "settings/BridgeSettings.hpp"

void BridgeSettings::Reset() {
    for (int16_t id = 0; id <= 24; ++id) {
        SetShort(id, 0);
        SetDouble(id, 0.0);
    }
    side.Clear();
    name.Clear();
}

void BridgeSettings::SetDefaults() {
    pen3D = 6;
    bridgeMaterial = 4;
    roadMaterial = 102;
    sidewalkMaterial = 53;
    roadWidth = 6.0;
    side = "left";
    fill = 24;
    fillPen = 102;
    fillBackgroundPen = 24;
    pen2D = 1;
    layer = 1;
    name = "BRIDGE";
    thickness = 0.2;
    sidewalkLeft = 1;
    sidewalkRight = 1;
    sidewalkWidthLeft = 0.5;
    sidewalkThicknessLeft = 0.1;
    sidewalkWidthRight = 0.5;
    sidewalkThicknessRight = 0.1;
    railingLeft = 1;
    railingRight = 1;
    railway = 0;
    twoTracks = 0;
    tieSpacing = 0.9;
    gauge = 1.435;
}

int16_t* BridgeSettings::ShortField(int16_t id) {
    switch (id) {
        case 0: return &pen3D;
        case 1: return &bridgeMaterial;
        case 2: return &roadMaterial;
        case 3: return &sidewalkMaterial;
        case 6: return &fill;
        case 7: return &fillPen;
        case 8: return &fillBackgroundPen;
        case 9: return &pen2D;
        case 10: return &layer;
        case 13: return &sidewalkLeft;
        case 14: return &sidewalkRight;
        case 19: return &railingLeft;
        case 20: return &railingRight;
        case 21: return &railway;
        case 22: return &twoTracks;
        default: return nullptr;
    }
}

double* BridgeSettings::DoubleField(int16_t id) {
    switch (id) {
        case 4: return &roadWidth;
        case 12: return &thickness;
        case 15: return &sidewalkWidthLeft;
        case 16: return &sidewalkThicknessLeft;
        case 17: return &sidewalkWidthRight;
        case 18: return &sidewalkThicknessRight;
        case 23: return &tieSpacing;
        case 24: return &gauge;
        default: return nullptr;
    }
}

int32_t BridgeSettings::GetShort(int16_t id) const {
    const int16_t* field = const_cast<BridgeSettings*>(this)->ShortField(id);
    return field != nullptr ? *field : 0;
}

void BridgeSettings::SetShort(int16_t id, int16_t value) {
    if (int16_t* field = ShortField(id)) *field = value;
}

double BridgeSettings::GetDouble(int16_t id) const {
    const double* field = const_cast<BridgeSettings*>(this)->DoubleField(id);
    return field != nullptr ? *field : 0.0;
}

void BridgeSettings::SetDouble(int16_t id, double value) {
    if (double* field = DoubleField(id)) *field = value;
}
