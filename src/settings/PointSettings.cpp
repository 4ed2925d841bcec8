#include "settings/PointSettings.hpp"

namespace PointFields {
int32_t GetLong(const PointSettings& record, int16_t id) {
    switch (id) {
        case 0: return uint16_t(record.pen);
        case 1: return uint16_t(record.layer);
        case 3: return record.codeNumber;
        default: return 0;
    }
}

void SetLong(PointSettings& record, int16_t id, int32_t value) {
    switch (id) {
        case 0: record.pen = int16_t(value); break;
        case 1: record.layer = int16_t(value); break;
        case 3: record.codeNumber = value; break;
        default: break;
    }
}

double GetDouble(const PointSettings& record, int16_t id) { return id == 5 ? record.value : 0.0; }

void SetDouble(PointSettings& record, int16_t id, double value) {
    if (id == 5) record.value = value;
}

QV_String GetString(const PointSettings& record, int16_t id) {
    if (id == 2) return record.code;
    if (id == 4) return record.text;
    return QV_String();
}

void SetString(PointSettings& record, int16_t id, const QV_String& value) {
    if (id == 2) record.code = value;
    if (id == 4) record.text = value;
}
}  // namespace PointFields

int32_t NextPointCodeNumber(int32_t codeNumber) {
    const int32_t next = (codeNumber + 1) % PointCodeNumberLimit;
    return next < 0 ? 0 : next;
}
