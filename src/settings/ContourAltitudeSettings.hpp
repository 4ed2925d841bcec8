#pragma once
// The contour tool's single-altitude values: the altitude given to digitised contour lines and the
// attributes of the terrain points and constraints made along them.
#include <cstdint>

struct ContourAltitudeSettings {
    ContourAltitudeSettings() { Reset(); }

    void Reset();
    // Altitude 0.0, point pen 4, constraint pen 64, constraint line type 1, layer 1.
    void SetDefaults();

    double altitude;
    int16_t pointPen;
    int16_t constraintPen;
    int16_t constraintLineType;
    int16_t layer;
};
