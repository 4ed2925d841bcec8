#include "DGUnit.hpp"
#include "DGUnitDriver.hpp"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {
DGUnitData DefaultUnit() {
    DGUnitData unit;
    std::memset(&unit, 0, sizeof unit);
    unit.lengthUnit = DG_UNIT_METER;
    unit.decimalDelimiter = u'.';
    return unit;
}

DGUnitData g_unit = DefaultUnit();
}  // namespace

void DGGetUnit(DGUnitData* unit) {
    if (unit != nullptr) *unit = g_unit;
}

GS::UniString DGDoubleToStringUnit(const DGUnitData* unit, double metres, int32_t precision) {
    const DGUnitData u = unit != nullptr ? *unit : DefaultUnit();
    double factor = 1.0;
    if (u.lengthUnit == DG_UNIT_CENTIMETER) factor = 100.0;
    if (u.lengthUnit == DG_UNIT_MILLIMETER) factor = 1000.0;
    if (precision < 0) precision = 0;
    if (precision > 15) precision = 15;
    const double value = metres * factor;
    if (!std::isfinite(value)) return GS::UniString(value != value ? "nan" : value > 0 ? "inf" : "-inf");
    char text[400];
    std::snprintf(text, sizeof text, "%.*f", int(precision), value);
    // "-0.000" is 0.
    bool zero = true;
    for (const char* c = text; *c != '\0'; ++c) zero = zero && (*c == '-' || *c == '0' || *c == '.');
    GS::UniString out;
    for (const char* c = text; *c != '\0'; ++c) {
        if (*c == '-' && zero) continue;
        const char16_t separator = u.decimalDelimiter == u',' ? u',' : u'.';
        out.Append(*c == '.' ? separator : char16_t(*c));
    }
    return out;
}

namespace DGUnitDriver {
void SetUnit(const DGUnitData& unit) { g_unit = unit; }
void Reset() { g_unit = DefaultUnit(); }
}  // namespace DGUnitDriver
