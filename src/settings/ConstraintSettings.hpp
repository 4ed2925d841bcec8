#pragma once
// The terrain-constraint tool's defaults (element kind 2). The three fields are 32-bit, but every caller
// hands over and reads back 16-bit values.
#include <cstdint>

struct ConstraintSettings {
    ConstraintSettings() { Reset(); }

    void Reset() { pen = lineType = layer = 0; }
    // Pen 64, line type 1, layer 1.
    void SetDefaults();

    // Ids 0 to 2: the low 16 bits of the field, sign-extended; 0 for any other id.
    int32_t GetShort(int16_t id) const;
    // Ids 0 to 2: stores the value sign-extended to 32 bits; any other id is ignored.
    void SetShort(int16_t id, int16_t value);

    int32_t pen;       // 0: 2D pen of the constraint lines
    int32_t lineType;  // 1
    int32_t layer;     // 2
};
