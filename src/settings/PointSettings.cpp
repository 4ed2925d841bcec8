#include "settings/PointSettings.hpp"

void PointSettings::Reset() {
    pen = layer = 0;
    code.Clear();
    codeNumber = 0;
    comment.Clear();
    height = 0.0;
}

void PointSettings::SetDefaults() {
    pen = 4;
    layer = 1;
    code = "Point";
    codeNumber = 1;
    comment.Clear();
    height = 0.0;
}

void PointSettings::FromDefaults(const ImportOptionsRec& defaults) {
    pen = uint16_t(defaults.pen);
    layer = uint16_t(defaults.layer);
    code = defaults.code;
    codeNumber = uint32_t(defaults.codeNumber);
    comment = defaults.text;
    height = defaults.value;
}

void PointSettings::ToDefaults(ImportOptionsRec& defaults) const {
    defaults.pen = int16_t(pen);
    defaults.layer = int16_t(layer);
    defaults.code = code;
    defaults.codeNumber = int32_t(codeNumber);
    defaults.text = comment;
    defaults.value = height;
}

uint32_t PointSettings::NextCodeNumber(uint32_t codeNumber) { return (codeNumber + 1) % PointCodeNumberLimit; }

int32_t PointSettings::GetLongByItem(int16_t id) const {
    switch (id) {
        case 0: return pen;
        case 1: return layer;
        case 3: return int32_t(codeNumber);
        default: return 0;
    }
}

void PointSettings::SetLongByItem(int16_t id, int32_t value) {
    switch (id) {
        case 0: pen = uint16_t(value); break;
        case 1: layer = uint16_t(value); break;
        case 3: codeNumber = uint32_t(value); break;
        default: break;
    }
}

double PointSettings::GetDoubleByItem(int16_t id) const { return id == 5 ? height : 0.0; }

void PointSettings::SetDoubleByItem(int16_t id, double value) {
    if (id == 5) height = value;
}

QV_String PointSettings::GetString(int16_t id) const {
    if (id == 2) return code;
    if (id == 4) return comment;
    return QV_String();
}

void PointSettings::SetString(int16_t id, const QV_String& value) {
    if (id == 2) code = value;
    if (id == 4) comment = value;
}
