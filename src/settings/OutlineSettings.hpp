#pragma once
// The terrain-outline tool's settings (element kind 3): the look of the outline hatch. Fields in id order.
#include "foundation/QV_String.hpp"

#include <cstdint>

struct OutlineSettings {
    OutlineSettings() { Reset(); }

    void Reset();
    // 13, 13, 0, 65, 1, layer 1, "OUTLINE".
    void SetDefaults();

    // Ids 0 to 5; 0 for any other id.
    int32_t GetShort(int16_t id) const;
    // Ids 0 to 5; any other id is ignored.
    void SetShort(int16_t id, int16_t value);

    uint16_t pen;            // 0: 2D (contour) pen of the hatch
    uint16_t fillPen;        // 1
    uint16_t backgroundPen;  // 2
    uint16_t fill;           // 3: fill pattern index
    uint16_t lineType;       // 4
    uint16_t layer;          // 5
    QV_String name;          // 6: element ID text of the hatch
};
