#include "settings/RoadData.hpp"

#include "settings/StripDefaults.hpp"

void RoadData::Reset() {
    layer = levelMaterial = fillMaterial = cutMaterial = resolution = show2D = pen2D = pen = 0;
    obstacleShow2D = obstaclePen = obstacleLineType = 0;
    leftCutAngle = rightCutAngle = leftFillAngle = rightFillAngle = cutExtension = fillExtension = 0.0;
    name.Clear();
}

void RoadData::SetDefaults() {
    SetStripDefaults(*this);
    name = "ROAD";
    levelMaterial = 99;
}

int16_t* RoadData::ShortField(int16_t id) {
    switch (id) {
        case 0: return &layer;
        case 6: return &levelMaterial;
        case 7: return &fillMaterial;
        case 8: return &cutMaterial;
        case 9: return &resolution;
        case 10: return &show2D;
        case 11: return &pen2D;
        case 12: return &pen;
        case 13: return &obstacleShow2D;
        case 14: return &obstaclePen;
        case 15: return &obstacleLineType;
        default: return nullptr;
    }
}

double* RoadData::DoubleField(int16_t id) {
    switch (id) {
        case 1: return &leftCutAngle;
        case 2: return &rightCutAngle;
        case 3: return &leftFillAngle;
        case 4: return &rightFillAngle;
        case 16: return &cutExtension;
        case 17: return &fillExtension;
        default: return nullptr;
    }
}

double RoadData::GetDoubleByItem(int16_t id) const {
    const double* field = const_cast<RoadData*>(this)->DoubleField(id);
    return field != nullptr ? *field : 0.0;
}

void RoadData::SetDoubleByItem(int16_t id, double value) {
    if (double* field = DoubleField(id)) *field = value;
}

int32_t RoadData::GetLongByItem(int16_t id) const {
    const int16_t* field = const_cast<RoadData*>(this)->ShortField(id);
    return field != nullptr ? *field : 0;
}

void RoadData::SetLongByItem(int16_t id, int16_t value) {
    if (int16_t* field = ShortField(id)) *field = value;
}
