#include "settings/ConstraintSettings.hpp"

void ConstraintSettings::SetDefaults() {
    pen = 64;
    lineType = 1;
    layer = 1;
}

int32_t ConstraintSettings::GetShort(int16_t id) const {
    switch (id) {
        case 0: return int16_t(pen);
        case 1: return int16_t(lineType);
        case 2: return int16_t(layer);
        default: return 0;
    }
}

void ConstraintSettings::SetShort(int16_t id, int16_t value) {
    switch (id) {
        case 0: pen = value; break;
        case 1: lineType = value; break;
        case 2: layer = value; break;
        default: break;
    }
}
