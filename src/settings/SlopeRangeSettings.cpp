#include "settings/SlopeRangeSettings.hpp"

#include "settings/SharedEmptyText.hpp"

void SlopeRangeSettings::Reset() {
    for (int16_t id = 0; id <= 24; ++id) SetShort(id, 0);
    lift = size = 0.0;
    for (QV_String& text : texts) text.Clear();
    font.Clear();
    show2D = 1;
}

void SlopeRangeSettings::SetDefaults(const QV_String& defaultFont) {
    const uint16_t defaultLimits[6] = {5, 10, 15, 20, 25, 30};
    const uint16_t defaultColours[7] = {80, 104, 100, 117, 103, 3, 20};
    for (int i = 0; i < 6; ++i) limits[i] = defaultLimits[i];
    for (int i = 0; i < 7; ++i) colours[i] = defaultColours[i];
    show3D = 0;
    lift = 0.03;
    for (QV_String& text : texts) text.Clear();
    font = defaultFont;
    size = 2.5;
    textPen = 1;
    framePen = 1;
    showZeros = 0;
    layer = 1;
    show2D = 1;
}

uint16_t* SlopeRangeSettings::ShortField(int16_t id) {
    if (id >= 0 && id <= 5) return &limits[id];
    if (id >= 6 && id <= 12) return &colours[id - 6];
    switch (id) {
        case 13: return &show3D;
        case 20: return &textPen;
        case 21: return &framePen;
        case 22: return &showZeros;
        case 23: return &layer;
        case 24: return &show2D;
        default: return nullptr;
    }
}

QV_String* SlopeRangeSettings::TextField(int16_t id) {
    if (id >= 15 && id <= 17) return &texts[id - 15];
    return id == 18 ? &font : nullptr;
}

int32_t SlopeRangeSettings::GetShort(int16_t id) const {
    const uint16_t* field = const_cast<SlopeRangeSettings*>(this)->ShortField(id);
    return field != nullptr ? int16_t(*field) : 0;
}

void SlopeRangeSettings::SetShort(int16_t id, int16_t value) {
    if (uint16_t* field = ShortField(id)) *field = uint16_t(value);
}

const QV_String& SlopeRangeSettings::GetString(int16_t id) const {
    const QV_String* field = const_cast<SlopeRangeSettings*>(this)->TextField(id);
    return field != nullptr ? *field : SharedEmptyText();
}

void SlopeRangeSettings::SetString(int16_t id, const QV_String& text) {
    if (QV_String* field = TextField(id)) *field = text;
}

void SlopeRangeSettings::MergeChanged(const uint8_t* flags, SlopeRangeSettings& target,
                                      const SlopeRangeSettings& source) {
    for (int16_t id = 0; id < 25; ++id) {
        if (flags[id] == 0 || id == 23) continue;
        if (id == 14)
            target.lift = source.lift;
        else if (id == 19)
            target.size = source.size;
        else if (id >= 15 && id <= 18)
            target.SetString(id, source.GetString(id));
        else
            target.SetShort(id, int16_t(source.GetShort(id)));
    }
}
