#include "settings/BasinSettings.hpp"

#include "settings/SharedEmptyText.hpp"

void BasinSettings::Reset() {
    pen3D = levelMaterial = fill = fillPen = fillBackgroundPen = pen2D = showFill = 0;
    attribute = layer = 0;
    level = 0.0;
    name.Clear();
}

void BasinSettings::SetDefaults() {
    pen3D = 6;
    levelMaterial = 28;
    pen2D = 6;
    attribute = 1;
    fill = 65;
    fillPen = 6;
    fillBackgroundPen = 105;
    showFill = 1;
    layer = 1;
    name = "BASIN";
    level = 1.0;
}

void BasinSettings::SetPrefsDefaults() {
    levelMaterial = 28;
    showFill = 1;
    layer = 1;
}

int16_t* BasinSettings::ShortField(int16_t id) {
    switch (id) {
        case 0: return &pen3D;
        case 1: return &levelMaterial;
        case 2: return &pen2D;
        case 4: return &fill;
        case 5: return &fillPen;
        case 6: return &fillBackgroundPen;
        case 7: return &showFill;
        default: return nullptr;
    }
}

int32_t* BasinSettings::LongField(int16_t id) {
    switch (id) {
        case 3: return &attribute;
        case 8: return &layer;
        default: return nullptr;
    }
}

int32_t BasinSettings::GetShort(int16_t id) const {
    auto* self = const_cast<BasinSettings*>(this);
    if (const int16_t* field = self->ShortField(id)) return *field;
    if (const int32_t* field = self->LongField(id)) return int16_t(*field);
    return 0;
}

void BasinSettings::SetShort(int16_t id, int16_t value) {
    if (int16_t* field = ShortField(id))
        *field = value;
    else if (int32_t* wide = LongField(id))
        *wide = value;
}

void BasinSettings::SetLong(int16_t id, int32_t value) {
    if (int32_t* field = LongField(id)) *field = value;
}

double BasinSettings::GetDouble(int16_t id) const { return id == 10 ? level : 0.0; }

void BasinSettings::SetDouble(int16_t id, double value) {
    if (id == 10) level = value;
}

const QV_String& BasinSettings::GetString(int16_t id) const { return id == 9 ? name : SharedEmptyText(); }

void BasinSettings::SetString(int16_t id, const QV_String& text) {
    if (id == 9) name = text;
}
