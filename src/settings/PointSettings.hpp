#pragma once
// The terrain-point tool's record (element kind 1): the attributes the next point gets, the tool's working copy
// and what "Point settings" edits. It is the import options record, whose defaults the importers share.
#include "settings/ImportOptionsRec.hpp"

#include <cstdint>

constexpr int32_t PointCodeNumberLimit = 100000;  // code numbers are shown as five digits
constexpr int32_t PointSettingsFieldCount = PointSettings::FieldCount;

// The number the next point gets after this one: one more, wrapping to 0 after 99999.
int32_t NextPointCodeNumber(int32_t codeNumber);
