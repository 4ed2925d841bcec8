#include "settings/SpotHeightSettings.hpp"

void SpotHeightSettings::Clear() {
    mode = layer = symbol = markerPen = textPen = italic = showLevel = showCode = showComment = active = 0;
    size = textAngle = textSize = stepX = stepY = 0.0;
    font.Clear();
}

void SpotHeightSettings::SetDefaults(const QV_String& defaultFont) {
    mode = 0;
    layer = 1;
    symbol = 3;
    size = 3.0;
    markerPen = 1;
    textAngle = 0.0;
    textPen = 1;
    font = defaultFont;
    textSize = 2.5;
    italic = 0;
    showLevel = 1;
    showCode = 0;
    showComment = 0;
    stepX = 10.0;
    stepY = 10.0;
    active = 1;
}

int16_t* SpotHeightSettings::ShortField(int16_t id) {
    switch (id) {
        case 0: return &mode;
        case 1: return &layer;
        case 2: return &symbol;
        case 4: return &markerPen;
        case 6: return &textPen;
        case 9: return &italic;
        case 10: return &showLevel;
        case 11: return &showCode;
        case 12: return &showComment;
        case 15: return &active;
        default: return nullptr;
    }
}

double* SpotHeightSettings::DoubleField(int16_t id) {
    switch (id) {
        case 3: return &size;
        case 5: return &textAngle;
        case 8: return &textSize;
        case 13: return &stepX;
        case 14: return &stepY;
        default: return nullptr;
    }
}

int32_t SpotHeightSettings::GetByItem(int16_t id) const {
    const int16_t* field = const_cast<SpotHeightSettings*>(this)->ShortField(id);
    return field != nullptr ? *field : 0;
}

void SpotHeightSettings::SetByItem(int16_t id, int16_t value) {
    if (int16_t* field = ShortField(id)) *field = value;
}

double SpotHeightSettings::GetDoubleByItem(int16_t id) const {
    const double* field = const_cast<SpotHeightSettings*>(this)->DoubleField(id);
    return field != nullptr ? *field : 0.0;
}

void SpotHeightSettings::SetDoubleByItem(int16_t id, double value) {
    if (double* field = DoubleField(id)) *field = value;
}
