#pragma once
// The host's unit settings and numbers written in them: the length unit the user works in and the number
// format (decimal separator) of the host's texts.
#include "UniString.hpp"

#include <cstdint>

constexpr int32_t DG_UNIT_METER = 1;
constexpr int32_t DG_UNIT_CENTIMETER = 2;
constexpr int32_t DG_UNIT_MILLIMETER = 3;

struct DGUnitData {
    int32_t lengthUnit;         // DG_UNIT_*
    char16_t decimalDelimiter;  // u'.' or u','
    char16_t filler0;
    int32_t reserved[4];
};

// The host's current settings.
void DGGetUnit(DGUnitData* unit);
// A length given in metres, written in the unit's length unit with `precision` decimals (0 to 15) and its
// decimal separator; no digit grouping, no unit name. A bad unit record is taken as metres with '.'.
GS::UniString DGDoubleToStringUnit(const DGUnitData* unit, double metres, int32_t precision);
