#include "settings/ContourAltitudeSettings.hpp"

void ContourAltitudeSettings::Reset() {
    altitude = 0.0;
    pointPen = constraintPen = constraintLineType = layer = 0;
}

void ContourAltitudeSettings::SetDefaults() {
    altitude = 0.0;
    pointPen = 4;
    constraintPen = 64;
    constraintLineType = 1;
    layer = 1;
}
