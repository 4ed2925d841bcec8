#pragma once
// The retaining-wall tool's settings (element kind 15). Fields in id order. The wall's thickness is not
// here: it is shared through the general record (MiscSettings, id 6).
#include "foundation/QV_String.hpp"

#include <cstdint>

struct RetainerWallSettings {
    RetainerWallSettings() { Reset(); }

    // Every number 0, the name empty.
    void Reset();
    // The retaining-wall tool's defaults, layer 1.
    void SetDefaults();

    // Ids 3 to 9 and 11 (its low 16 bits), sign-extended; 0 for any other id.
    int32_t GetByItem(int16_t id) const;
    // The same ids (11 sign-extended); any other id is ignored.
    void SetByItem(int16_t id, int16_t value);

    double height;               // 0
    double leftAngle;            // 1: radians
    double rightAngle;           // 2
    uint16_t pen;                // 3: object pen
    uint16_t resolution;         // 4: chords per path arc
    uint16_t material;           // 5
    uint16_t pen2D;              // 6
    uint16_t fill;               // 7
    uint16_t fillPen;            // 8
    uint16_t fillBackgroundPen;  // 9
    QV_String name;              // 10: the object's element ID text
    int32_t layer;               // 11

private:
    uint16_t* ShortField(int16_t id);
};
