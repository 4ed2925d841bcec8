#pragma once
// The coloured-area tool's settings (element kind 8). Fields in id order.
#include "foundation/QV_String.hpp"

#include <cstdint>

struct PaintSettings {
    PaintSettings() { Reset(); }

    // Every number 0, the ID empty.
    void Reset();
    // Show in 2D, layer 1, "COLOURED AREA", offset 0.01, resolution 6, ID hidden.
    void SetDefaults();

    // Ids 0, 1, 4 and 5, sign-extended; 0 for any other id.
    int32_t GetShort(int16_t id) const;
    // The same ids; any other id is ignored.
    void SetShort(int16_t id, int16_t value);

    int16_t show2D;      // 0
    int16_t layer;       // 1
    QV_String name;      // 2: the object's element ID
    double offset;       // 3: vertical offset of the areas
    int16_t resolution;  // 4: arc resolution
    int16_t showName;    // 5

private:
    int16_t* ShortField(int16_t id);
};
