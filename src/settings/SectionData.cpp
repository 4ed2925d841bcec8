#include "settings/SectionData.hpp"

void SectionData::Reset() {
    for (int16_t id = 0; id <= 16; ++id) SetByItem(id, 0);
    bottomLevel = textSize = 0.0;
    font.Clear();
}

void SectionData::SetDefaults(const QV_String& defaultFont) {
    layer = 1;
    bottomLevel = 0.0;
    straightPen = 7;
    curvePen = 20;
    terrainPen = 4;
    dividerLineType = 4;
    dividerPen = 63;
    straightLineType = 1;
    linePen = 1;
    font = defaultFont;
    textSize = 2.0;
    textPen = 99;
    showPlan = 0;
    showLeft = 1;
    showRight = 1;
    flipLeft = 0;
    flipRight = 0;
}

uint16_t* SectionData::ShortField(int16_t id) {
    switch (id) {
        case 0: return &layer;
        case 2: return &straightPen;
        case 3: return &curvePen;
        case 4: return &terrainPen;
        case 5: return &dividerLineType;
        case 6: return &dividerPen;
        case 7: return &straightLineType;
        case 8: return &linePen;
        case 11: return &textPen;
        case 12: return &showPlan;
        case 13: return &showLeft;
        case 14: return &showRight;
        case 15: return &flipLeft;
        case 16: return &flipRight;
        default: return nullptr;
    }
}

int32_t SectionData::GetByItem(int16_t id) const {
    const uint16_t* field = const_cast<SectionData*>(this)->ShortField(id);
    return field != nullptr ? int16_t(*field) : 0;
}

int16_t SectionData::SetByItem(int16_t id, int16_t value) {
    if (uint16_t* field = ShortField(id)) *field = uint16_t(value);
    return id;
}
