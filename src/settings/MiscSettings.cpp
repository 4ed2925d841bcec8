#include "settings/MiscSettings.hpp"

void MiscSettings::Reset() {
    deleteFlag = obstacleShow2D = obstaclePen = obstacleLineType = paintMaterial = 0;
    sidewalkWidth = roadWidth = retainingThickness = paintValue = cameraValue = 0.0;
    worksheetReference.Clear();
    worksheetName.Clear();
    sosiChoice = sosiChoice2 = roadReferenceLine = railwayReferenceLine = 0;
}

void MiscSettings::SetPrefsDefaults() {
    paintValue = 0.01;
    worksheetReference.Clear();
    worksheetName.Clear();
    sosiChoice = 10;
    sosiChoice2 = 1;
    roadReferenceLine = 2;
    railwayReferenceLine = 2;
}

void MiscSettings::SetDefaults() {
    deleteFlag = 0;
    obstacleShow2D = 0;
    obstaclePen = 10;
    obstacleLineType = 5;
    sidewalkWidth = 3.0;
    roadWidth = 6.0;
    retainingThickness = 0.5;
    paintMaterial = 77;
    cameraValue = 10.0;
    SetPrefsDefaults();
}

int16_t* MiscSettings::ShortField(int16_t id) {
    switch (id) {
        case 0: return &deleteFlag;
        case 1: return &obstacleShow2D;
        case 2: return &obstaclePen;
        case 3: return &obstacleLineType;
        case 7: return &paintMaterial;
        case 12: return &sosiChoice;
        case 13: return &sosiChoice2;
        case 14: return &roadReferenceLine;
        case 15: return &railwayReferenceLine;
        default: return nullptr;
    }
}

double* MiscSettings::DoubleField(int16_t id) {
    switch (id) {
        case 4: return &sidewalkWidth;
        case 5: return &roadWidth;
        case 6: return &retainingThickness;
        case 8: return &paintValue;
        case 9: return &cameraValue;
        default: return nullptr;
    }
}

int32_t MiscSettings::GetField(int16_t id) const {
    const int16_t* field = const_cast<MiscSettings*>(this)->ShortField(id);
    return field != nullptr ? *field : 0;
}

void MiscSettings::SetShort(int16_t id, int16_t value) {
    if (int16_t* field = ShortField(id)) *field = value;
}

double MiscSettings::GetDouble(int16_t id) const {
    const double* field = const_cast<MiscSettings*>(this)->DoubleField(id);
    return field != nullptr ? *field : 0.0;
}

void MiscSettings::SetDouble(int16_t id, double value) {
    if (double* field = DoubleField(id)) *field = value;
}
