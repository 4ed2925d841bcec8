#pragma once
// The road cross-section tool's settings (element kind 16). Fields in id order.
#include "foundation/QV_String.hpp"

#include <cstdint>

struct SectionData {
    SectionData() { Reset(); }

    // Every number 0, the font empty.
    void Reset();
    // The cross-section tool's defaults with the given font, layer 1.
    void SetDefaults(const QV_String& defaultFont);

    // The 16-bit ids 0, 2 to 8 and 11 to 16; 0 for any other id (1, 9 and 10 are reached directly).
    int32_t GetByItem(int16_t id) const;
    // The same ids; any other id changes nothing. Answers the id.
    int16_t SetByItem(int16_t id, int16_t value);

    uint16_t layer;             // 0
    double bottomLevel;         // 1: datum of the drawing
    uint16_t straightPen;       // 2
    uint16_t curvePen;          // 3
    uint16_t terrainPen;        // 4
    uint16_t dividerLineType;   // 5
    uint16_t dividerPen;        // 6
    uint16_t straightLineType;  // 7
    uint16_t linePen;           // 8
    QV_String font;             // 9
    double textSize;            // 10
    uint16_t textPen;           // 11
    uint16_t showPlan;          // 12
    uint16_t showLeft;          // 13
    uint16_t showRight;         // 14
    uint16_t flipLeft;          // 15
    uint16_t flipRight;         // 16

private:
    uint16_t* ShortField(int16_t id);
};

// The cross-section tool's own name for the record.
typedef SectionData SectionSettings;
