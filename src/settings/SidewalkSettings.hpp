#pragma once
// The sidewalk tool's settings (element kind 11). Fields in id order.
#include "foundation/QV_String.hpp"

#include <cstdint>

struct SidewalkSettings {
    SidewalkSettings() { Reset(); }

    // Every number 0, the name empty.
    void Reset();
    // The sidewalk tool's defaults, layer 1.
    void SetDefaults();

    // The 16-bit ids 0, 2 to 5 and 7 to 10, sign-extended; 0 for any other id.
    int32_t GetByItem(int16_t id) const;
    // The same ids; any other id is ignored.
    void SetByItem(int16_t id, int16_t value);

    int16_t layer;          // 0: of the result object
    QV_String name;         // 1: element information text of the three objects
    int16_t levelMaterial;  // 2
    int16_t fillMaterial;   // 3
    int16_t cutMaterial;    // 4
    int16_t resolution;     // 5: arc resolution
    double thickness;       // 6, though no accessor by id reaches it
    int16_t show2D;         // 7
    int16_t pen2D;          // 8
    int16_t pen;            // 9: object pen
    int16_t leftSide;       // 10

private:
    int16_t* ShortField(int16_t id);
};
