#pragma once
// The general record (element kind 0): values that several tools share. Fields in id order.
#include "foundation/QV_String.hpp"

#include <cstdint>

struct MiscSettings {
    MiscSettings() { Reset(); }

    // Every field 0 or empty.
    void Reset();
    // The built-in values of every field.
    void SetDefaults();
    // The fields the preferences do not carry: 8, 10 to 15.
    void SetPrefsDefaults();

    // Ids 0 to 3, 7 and 12 to 15: the short, sign-extended; any other id (a real or a text) gives 0.
    int32_t GetField(int16_t id) const;
    void SetShort(int16_t id, int16_t value);
    // Ids 4, 5, 6, 8 and 9; 0.0 for any other id.
    double GetDouble(int16_t id) const;
    void SetDouble(int16_t id, double value);

    int16_t deleteFlag;            // 0
    int16_t obstacleShow2D;        // 1: retaining structures along roads, railways, plateaus shown in 2D
    int16_t obstaclePen;           // 2
    int16_t obstacleLineType;      // 3
    double sidewalkWidth;          // 4
    double roadWidth;              // 5: of roads and railways
    double retainingThickness;     // 6
    int16_t paintMaterial;         // 7
    double paintValue;             // 8: a real of the coloured-area tool
    double cameraValue;            // 9
    QV_String worksheetReference;  // 10: of the independent worksheet of a SOSI import
    QV_String worksheetName;       // 11
    int16_t sosiChoice;            // 12
    int16_t sosiChoice2;           // 13
    int16_t roadReferenceLine;     // 14: where the road runs against the drawn line, 1 to 3
    int16_t railwayReferenceLine;  // 15: the same for railways

private:
    int16_t* ShortField(int16_t id);
    double* DoubleField(int16_t id);
};
