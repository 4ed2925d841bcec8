#pragma once
// The terrain-point tool's record (element kind 1): the attributes the next point gets, the tool's working copy
// and what "Point settings" edits. It is the import options record, whose defaults the importers share; the
// point tool and its dialog reach its fields by id: 0 pen, 1 layer, 2 code text, 3 code number, 4 comment
// (`text`), 5 height above project zero (`value`). `SetDefaults` gives the tool's defaults.
#include "foundation/QV_String.hpp"
#include "settings/ImportOptionsRec.hpp"

#include <cstdint>

constexpr int32_t PointCodeNumberLimit = 100000;  // code numbers are shown as five digits
constexpr int32_t PointSettingsFieldCount = 6;

namespace PointFields {
// By field id; an unknown id reads 0 (or an empty text) and is ignored on write. Pen and layer read as unsigned
// 16-bit values.
int32_t GetLong(const PointSettings& record, int16_t id);
void SetLong(PointSettings& record, int16_t id, int32_t value);
double GetDouble(const PointSettings& record, int16_t id);
void SetDouble(PointSettings& record, int16_t id, double value);
// The code text for 2, the comment for 4, empty otherwise.
QV_String GetString(const PointSettings& record, int16_t id);
void SetString(PointSettings& record, int16_t id, const QV_String& value);
}  // namespace PointFields

// The number the next point gets after this one: one more, wrapping to 0 after 99999.
int32_t NextPointCodeNumber(int32_t codeNumber);
