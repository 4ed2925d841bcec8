#pragma once
// The bridge tool's settings (element kind 20). Fields in id order.
#include "foundation/QV_String.hpp"

#include <cstdint>

struct BridgeSettings {
    BridgeSettings() { Reset(); }

    // Every number 0, both texts empty.
    void Reset();
    // The bridge tool's defaults, layer 1.
    void SetDefaults();

    // The 16-bit ids 0 to 3, 6 to 10, 13, 14 and 19 to 22, sign-extended; 0 for any other id.
    int32_t GetShort(int16_t id) const;
    void SetShort(int16_t id, int16_t value);
    // Ids 4, 12, 15 to 18, 23 and 24; 0.0 for any other id.
    double GetDouble(int16_t id) const;
    void SetDouble(int16_t id, double value);

    int16_t pen3D;                  // 0
    int16_t bridgeMaterial;         // 1
    int16_t roadMaterial;           // 2
    int16_t sidewalkMaterial;       // 3
    double roadWidth;               // 4
    QV_String side;                 // 5: "left" or "right"
    int16_t fill;                   // 6
    int16_t fillPen;                // 7
    int16_t fillBackgroundPen;      // 8
    int16_t pen2D;                  // 9
    int16_t layer;                  // 10
    QV_String name;                 // 11: the object's element information text
    double thickness;               // 12
    int16_t sidewalkLeft;           // 13
    int16_t sidewalkRight;          // 14
    double sidewalkWidthLeft;       // 15
    double sidewalkThicknessLeft;   // 16
    double sidewalkWidthRight;      // 17
    double sidewalkThicknessRight;  // 18
    int16_t railingLeft;            // 19
    int16_t railingRight;           // 20
    int16_t railway;                // 21
    int16_t twoTracks;              // 22
    double tieSpacing;              // 23
    double gauge;                   // 24

private:
    int16_t* ShortField(int16_t id);
    double* DoubleField(int16_t id);
};
