#pragma once
// The marker settings (element kinds 13 and 14 share them): level markers, point markers and spot-height
// grids. Fields in id order.
#include "foundation/QV_String.hpp"

#include <cstdint>

struct SpotHeightSettings {
    SpotHeightSettings() { Clear(); }

    // Every number 0, the font empty.
    void Clear();
    // The marker tool's defaults with the given font, layer 1.
    void SetDefaults(const QV_String& defaultFont);

    // The 16-bit ids 0, 1, 2, 4, 6, 9 to 12 and 15, sign-extended; 0 for any other id.
    int32_t GetByItem(int16_t id) const;
    void SetByItem(int16_t id, int16_t value);
    // The reals 3, 5, 8, 13 and 14; 0.0 for any other id.
    double GetDoubleByItem(int16_t id) const;
    void SetDoubleByItem(int16_t id, double value);

    int16_t mode;         // 0: 0 single markers, else a spot-height grid
    int16_t layer;        // 1
    int16_t symbol;       // 2: marker symbol type
    double size;          // 3: symbol size
    int16_t markerPen;    // 4
    double textAngle;     // 5: radians
    int16_t textPen;      // 6
    QV_String font;       // 7
    double textSize;      // 8
    int16_t italic;       // 9
    int16_t showLevel;    // 10
    int16_t showCode;     // 11
    int16_t showComment;  // 12
    double stepX;         // 13: grid step
    double stepY;         // 14
    int16_t active;       // 15

private:
    int16_t* ShortField(int16_t id);
    double* DoubleField(int16_t id);
};
