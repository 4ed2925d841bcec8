#include "settings/PlateauSettings.hpp"

#include <cmath>

void PlateauSettings::Reset() {
    sloped = layer = levelMaterial = fillMaterial = cutMaterial = 0;
    resolution = show2D = pen2D = pen3D = obstacleShow2D = obstaclePen = obstacleLineType = 0;
    level = cutAngle = fillAngle = slope = cutExtension = fillExtension = 0.0;
    name.Clear();
}

void PlateauSettings::SetDefaults() {
    sloped = 0;
    level = 10.0;
    layer = 1;
    cutAngle = M_PI / 3.0;
    fillAngle = M_PI / 4.0;
    name = "PLATEAU";
    levelMaterial = 69;
    fillMaterial = 78;
    cutMaterial = 77;
    slope = M_PI / 36.0;
    resolution = 6;
    show2D = 1;
    pen2D = 4;
    pen3D = 4;
    obstacleShow2D = 0;
    obstaclePen = 3;
    obstacleLineType = 5;
    cutExtension = 2.0;
    fillExtension = 2.0;
}

uint16_t* PlateauSettings::ShortField(int16_t id) {
    switch (id) {
        case 0: return &sloped;
        case 2: return &layer;
        case 6: return &levelMaterial;
        case 7: return &fillMaterial;
        case 8: return &cutMaterial;
        case 10: return &resolution;
        case 11: return &show2D;
        case 12: return &pen2D;
        case 13: return &pen3D;
        case 14: return &obstacleShow2D;
        case 15: return &obstaclePen;
        case 16: return &obstacleLineType;
        default: return nullptr;
    }
}

double* PlateauSettings::DoubleField(int16_t id) {
    switch (id) {
        case 1: return &level;
        case 3: return &cutAngle;
        case 4: return &fillAngle;
        case 9: return &slope;
        case 17: return &cutExtension;
        case 18: return &fillExtension;
        default: return nullptr;
    }
}

double PlateauSettings::GetDoubleByItem(int16_t id) const {
    const double* field = const_cast<PlateauSettings*>(this)->DoubleField(id);
    return field != nullptr ? *field : 0.0;
}

void PlateauSettings::SetDoubleByItem(int16_t id, double value) {
    if (double* field = DoubleField(id)) *field = value;
}

int32_t PlateauSettings::GetLongByItem(int16_t id) const {
    const uint16_t* field = const_cast<PlateauSettings*>(this)->ShortField(id);
    return field != nullptr ? *field : 0;
}

void PlateauSettings::SetLongByItem(int16_t id, uint16_t value) {
    if (uint16_t* field = ShortField(id)) *field = value;
}

PlateauSettings& PlateauSettings::Assign(PlateauSettings& target, PlateauSettings& second,
                                         const PlateauSettings& source) {
    target = source;
    second = target;
    return second;
}

void PlateauSettings::CopyChangedFields(const uint8_t changed[PlateauFieldCount], PlateauSettings& target,
                                        const PlateauSettings& source) {
    for (int16_t id = 1; id < PlateauFieldCount; ++id) {
        if (changed[id] == 0 || id == 2 || id == 5 || id == 13) continue;
        target.SetDoubleByItem(id, source.GetDoubleByItem(id));
        target.SetLongByItem(id, uint16_t(source.GetLongByItem(id)));
    }
}
