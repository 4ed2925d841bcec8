#pragma once
// The wall tool's settings (element kind 10). Fields in id order.
#include "foundation/QV_String.hpp"

#include <cstdint>

struct WallData {
    WallData() { Reset(); }

    // Every number 0, both texts empty.
    void Reset();
    // The wall tool's defaults, layer 1.
    void SetDefaults();

    // The 16-bit ids 0, 1, 4 to 8 and 11, sign-extended; 0 for any other id.
    int32_t GetByItem(int16_t id) const;
    // The same ids; any other id is ignored.
    void SetByItem(int16_t id, int16_t value);

    int16_t pen3D;              // 0
    int16_t material;           // 1
    double thickness;           // 2
    QV_String side;             // 3: "left" or "right" of the polyline
    int16_t fill;               // 4
    int16_t fillPen;            // 5
    int16_t fillBackgroundPen;  // 6
    int16_t pen2D;              // 7
    int16_t layer;              // 8
    QV_String name;             // 9: the object's element ID text
    double height;              // 10
    int16_t resolution;         // 11

private:
    int16_t* ShortField(int16_t id);
};

// The wall tool's own name for the record.
typedef WallData WallSettings;
