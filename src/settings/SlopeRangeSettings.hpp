#pragma once
// The slope-range tool's settings (element kind 18): six class limits, seven class colours and the legend.
// Fields in id order.
#include "foundation/QV_String.hpp"

#include <cstdint>

struct SlopeRangeSettings {
    SlopeRangeSettings() { Reset(); }

    // Every number 0 and every text empty, but show in 2D (24), which becomes 1.
    void Reset();
    // The slope-range tool's defaults with the given legend font, layer 1.
    void SetDefaults(const QV_String& defaultFont);

    // Ids 0 to 13 and 20 to 24, sign-extended; 0 for any other id.
    int32_t GetShort(int16_t id) const;
    void SetShort(int16_t id, int16_t value);
    // Ids 15 to 18; the shared empty text for any other id.
    const QV_String& GetString(int16_t id) const;
    // Ids 15 to 18; any other id is ignored.
    void SetString(int16_t id, const QV_String& text);

    // Copies from `source` into `target` each field 0 to 22 and 24 whose flag (by id, 25 of them) is set; the
    // layer (23) travels with the element instead.
    static void MergeChanged(const uint8_t* flags, SlopeRangeSettings& target, const SlopeRangeSettings& source);

    uint16_t limits[6];   // 0 to 5: upper limits of slope classes 1 to 6, degrees
    uint16_t colours[7];  // 6 to 12: colour index of classes 1 to 7
    uint16_t show3D;      // 13
    double lift;          // 14: of the coloured surface above the terrain
    QV_String texts[3];   // 15 to 17: legend texts
    QV_String font;       // 18: legend font
    double size;          // 19: legend text size
    uint16_t textPen;     // 20
    uint16_t framePen;    // 21
    uint16_t showZeros;   // 22
    uint16_t layer;       // 23
    uint16_t show2D;      // 24

private:
    uint16_t* ShortField(int16_t id);
    QV_String* TextField(int16_t id);
};
