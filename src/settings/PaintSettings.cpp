#include "settings/PaintSettings.hpp"

void PaintSettings::Reset() {
    show2D = layer = resolution = showName = 0;
    offset = 0.0;
    name.Clear();
}

void PaintSettings::SetDefaults() {
    show2D = 1;
    layer = 1;
    name = "COLOURED AREA";
    offset = 0.01;
    resolution = 6;
    showName = 0;
}

int16_t* PaintSettings::ShortField(int16_t id) {
    switch (id) {
        case 0: return &show2D;
        case 1: return &layer;
        case 4: return &resolution;
        case 5: return &showName;
        default: return nullptr;
    }
}

int32_t PaintSettings::GetShort(int16_t id) const {
    const int16_t* field = const_cast<PaintSettings*>(this)->ShortField(id);
    return field != nullptr ? *field : 0;
}

void PaintSettings::SetShort(int16_t id, int16_t value) {
    if (int16_t* field = ShortField(id)) *field = value;
}
