#pragma once
// The railway tool's settings (element kind 21): the road's fields plus the track data. Fields in id order.
#include "foundation/QV_String.hpp"

#include <cstdint>

struct RailwaySettings {
    RailwaySettings() { Reset(); }

    // Every number 0, the name empty.
    void Reset();
    // The railway tool's defaults, layer 1.
    void SetDefaults();
    // After the preferences are read: layer 1, retaining structures hidden, pen 3, line type 5.
    void SetPrefsDefaults();

    // Ids 1 to 4, 18, 19, 22 and 23; ids 20 and 21 give their 16-bit value as a real; 0.0 for any other id.
    double GetReal(int16_t id) const;
    // Ids 1 to 4, 18, 19, 22 and 23; any other id is ignored.
    void SetReal(int16_t id, double value);
    // Ids 0, 6 to 17, 20, 21 and 24, sign-extended; 0 for any other id.
    int32_t GetShort(int16_t id) const;
    void SetShort(int16_t id, int16_t value);
    // Id 5; the shared empty text for any other id.
    const QV_String& GetString(int16_t id) const;
    void SetString(int16_t id, const QV_String& text);

    int16_t layer;             // 0: of the result object
    double leftCutAngle;       // 1: radians
    double rightCutAngle;      // 2
    double leftFillAngle;      // 3
    double rightFillAngle;     // 4
    QV_String name;            // 5
    int16_t railMaterial;      // 6
    int16_t tieMaterial;       // 7
    int16_t levelMaterial;     // 8
    int16_t fillMaterial;      // 9
    int16_t cutMaterial;       // 10
    int16_t resolution;        // 11: arc resolution
    int16_t show2D;            // 12
    int16_t pen2D;             // 13
    int16_t pen;               // 14: object pen
    int16_t obstacleShow2D;    // 15
    int16_t obstaclePen;       // 16
    int16_t obstacleLineType;  // 17
    double cutExtension;       // 18
    double fillExtension;      // 19
    int16_t firstTrack;        // 20
    int16_t secondTrack;       // 21
    double gauge;              // 22
    double tieSpacing;         // 23
    int16_t levelCrossing;     // 24

private:
    int16_t* ShortField(int16_t id);
    double* DoubleField(int16_t id);
};

// The railway settings' field ids that the commands name.
namespace RailwayField {
constexpr int16_t Layer = 0;
constexpr int16_t Name = 5;
constexpr int16_t Pen = 14;
// Ids 1 to 4 (the slope angles), 18, 19 (the slope extensions), 22 and 23 (gauge, tie spacing) are reals, the
// others but the name 16-bit.
constexpr bool IsReal(int16_t id) { return (id >= 1 && id <= 4) || id == 18 || id == 19 || id == 22 || id == 23; }
}  // namespace RailwayField
