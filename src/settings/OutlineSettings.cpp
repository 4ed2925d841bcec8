#include "settings/OutlineSettings.hpp"

void OutlineSettings::Reset() {
    pen = fillPen = backgroundPen = fill = lineType = layer = 0;
    name.Clear();
}

void OutlineSettings::SetDefaults() {
    pen = 13;
    fillPen = 13;
    backgroundPen = 0;
    fill = 65;
    lineType = 1;
    layer = 1;
    name = "OUTLINE";
}

int32_t OutlineSettings::GetShort(int16_t id) const {
    switch (id) {
        case 0: return pen;
        case 1: return fillPen;
        case 2: return backgroundPen;
        case 3: return fill;
        case 4: return lineType;
        case 5: return layer;
        default: return 0;
    }
}

void OutlineSettings::SetShort(int16_t id, int16_t value) {
    const auto v = uint16_t(value);
    switch (id) {
        case 0: pen = v; break;
        case 1: fillPen = v; break;
        case 2: backgroundPen = v; break;
        case 3: fill = v; break;
        case 4: lineType = v; break;
        case 5: layer = v; break;
        default: break;
    }
}
