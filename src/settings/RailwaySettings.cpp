#include "settings/RailwaySettings.hpp"

#include "settings/SharedEmptyText.hpp"
#include "settings/StripDefaults.hpp"

void RailwaySettings::Reset() {
    for (int16_t id = 0; id <= 24; ++id) {
        SetShort(id, 0);
        SetReal(id, 0.0);
    }
    name.Clear();
}

void RailwaySettings::SetDefaults() {
    SetStripDefaults(*this);
    name = "RAILWAY";
    railMaterial = 99;
    tieMaterial = 3;
    levelMaterial = 76;
    firstTrack = 1;
    secondTrack = 0;
    gauge = 1.435;
    tieSpacing = 0.6;
    levelCrossing = 0;
}

void RailwaySettings::SetPrefsDefaults() {
    layer = 1;
    obstacleShow2D = 0;
    obstaclePen = 3;
    obstacleLineType = 5;
}

int16_t* RailwaySettings::ShortField(int16_t id) {
    switch (id) {
        case 0: return &layer;
        case 6: return &railMaterial;
        case 7: return &tieMaterial;
        case 8: return &levelMaterial;
        case 9: return &fillMaterial;
        case 10: return &cutMaterial;
        case 11: return &resolution;
        case 12: return &show2D;
        case 13: return &pen2D;
        case 14: return &pen;
        case 15: return &obstacleShow2D;
        case 16: return &obstaclePen;
        case 17: return &obstacleLineType;
        case 20: return &firstTrack;
        case 21: return &secondTrack;
        case 24: return &levelCrossing;
        default: return nullptr;
    }
}

double* RailwaySettings::DoubleField(int16_t id) {
    switch (id) {
        case 1: return &leftCutAngle;
        case 2: return &rightCutAngle;
        case 3: return &leftFillAngle;
        case 4: return &rightFillAngle;
        case 18: return &cutExtension;
        case 19: return &fillExtension;
        case 22: return &gauge;
        case 23: return &tieSpacing;
        default: return nullptr;
    }
}

double RailwaySettings::GetReal(int16_t id) const {
    if (id == 20) return firstTrack;
    if (id == 21) return secondTrack;
    const double* field = const_cast<RailwaySettings*>(this)->DoubleField(id);
    return field != nullptr ? *field : 0.0;
}

void RailwaySettings::SetReal(int16_t id, double value) {
    if (double* field = DoubleField(id)) *field = value;
}

int32_t RailwaySettings::GetShort(int16_t id) const {
    const int16_t* field = const_cast<RailwaySettings*>(this)->ShortField(id);
    return field != nullptr ? *field : 0;
}

void RailwaySettings::SetShort(int16_t id, int16_t value) {
    if (int16_t* field = ShortField(id)) *field = value;
}

const QV_String& RailwaySettings::GetString(int16_t id) const { return id == 5 ? name : SharedEmptyText(); }

void RailwaySettings::SetString(int16_t id, const QV_String& text) {
    if (id == 5) name = text;
}
