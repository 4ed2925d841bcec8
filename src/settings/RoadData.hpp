#pragma once
// The road tool's settings (element kind 6). Fields in id order.
#include "foundation/QV_String.hpp"

#include <cstdint>

struct RoadData {
    RoadData() { Reset(); }

    // Every number 0, the name empty.
    void Reset();
    // The road tool's defaults, layer 1.
    void SetDefaults();

    // Ids 1 to 4, 16 and 17; 0.0 for any other id.
    double GetDoubleByItem(int16_t id) const;
    void SetDoubleByItem(int16_t id, double value);
    // Ids 0 and 6 to 15, sign-extended; 0 for any other id.
    int32_t GetLongByItem(int16_t id) const;
    void SetLongByItem(int16_t id, int16_t value);

    int16_t layer;             // 0: of the result object
    double leftCutAngle;       // 1: radians
    double rightCutAngle;      // 2
    double leftFillAngle;      // 3
    double rightFillAngle;     // 4
    QV_String name;            // 5: element information text of the objects
    int16_t levelMaterial;     // 6
    int16_t fillMaterial;      // 7
    int16_t cutMaterial;       // 8
    int16_t resolution;        // 9: arc resolution
    int16_t show2D;            // 10
    int16_t pen2D;             // 11
    int16_t pen;               // 12: object pen
    int16_t obstacleShow2D;    // 13: retaining structures shown in 2D
    int16_t obstaclePen;       // 14
    int16_t obstacleLineType;  // 15
    double cutExtension;       // 16
    double fillExtension;      // 17

private:
    int16_t* ShortField(int16_t id);
    double* DoubleField(int16_t id);
};

// The road settings' field ids that the commands name.
namespace RoadField {
constexpr int16_t Layer = 0;
constexpr int16_t Name = 5;
constexpr int16_t Pen = 12;
constexpr int16_t CutExtension = 16;
// Ids 1 to 4 (the slope angles) and 16, 17 (the slope extensions) are reals, the others but the name 16-bit.
constexpr bool IsReal(int16_t id) { return (id >= 1 && id <= 4) || id >= CutExtension; }
}  // namespace RoadField

// The road tool's own name for the record.
typedef RoadData RoadSettings;
