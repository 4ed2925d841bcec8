// Headless dialog manager: numbers as the host writes and reads them, and the host's length unit.
#include "DGInternal.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

struct LengthUnit {
    int32_t code;
    const char* symbol;
    double metres;     // one unit in metres
    int32_t decimals;  // shown by length edits
};

constexpr LengthUnit kUnits[] = {{DG_UNIT_M, "m", 1.0, 3},        {DG_UNIT_DM, "dm", 0.1, 2},
                                 {DG_UNIT_CM, "cm", 0.01, 1},     {DG_UNIT_MM, "mm", 0.001, 0},
                                 {DG_UNIT_FOOT, "ft", 0.3048, 3}, {DG_UNIT_INCH, "in", 0.0254, 2}};

const LengthUnit& UnitOf(int32_t code) {
    for (const LengthUnit& u : kUnits)
        if (u.code == code) return u;
    return kUnits[0];
}

// "%.*f" without a minus sign on a value that prints as zero.
std::string Fixed(double value, int32_t decimals) {
    decimals = std::clamp(decimals, 0, 15);
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.*f", static_cast<int>(decimals), value);
    std::string text = buffer;
    if (text.size() > 1 && text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
    return text;
}

std::string Shortest(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    return buffer == std::string("-0") ? "0" : buffer;
}

std::string Trim(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    const size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// A finite decimal number, the whole text; ',' may stand for the decimal point.
bool ParsePlain(std::string text, double* value) {
    for (char& c : text)
        if (c == ',') c = '.';
    text = Trim(text);
    if (text.empty() || text.find_first_of("xXnN") != std::string::npos) return false;  // no hex, inf, nan
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || *end != '\0' || !std::isfinite(v)) return false;
    *value = v;
    return true;
}

const char* const kDegree = "\xC2\xB0";

}  // namespace

namespace dgimpl {

bool IsNumericEdit(RSDialogItemKind kind) {
    return kind == RSDialogItemKind::IntEdit || kind == RSDialogItemKind::RealEdit ||
        kind == RSDialogItemKind::LengthEdit || kind == RSDialogItemKind::AngleEdit || kind == RSDialogItemKind::Slider;
}

GS::UniString ValueText(const Item& item) {
    if (item.blank) return GS::UniString();
    switch (item.kind) {
        case RSDialogItemKind::LengthEdit: {
            const LengthUnit& unit = UnitOf(GetState().lengthUnit);
            return GS::UniString(Fixed(item.value / unit.metres, unit.decimals));
        }
        case RSDialogItemKind::AngleEdit: return GS::UniString(Shortest(item.value) + kDegree);
        case RSDialogItemKind::RealEdit: return GS::UniString(Shortest(item.value));
        default: return GS::UniString(Fixed(std::trunc(item.value), 0));
    }
}

bool ReadValue(const Item& item, const std::string& typed, double* value, std::string* why) {
    std::string text = Trim(typed);
    double factor = 1.0;
    if (item.kind == RSDialogItemKind::AngleEdit && EndsWith(text, kDegree)) {
        text = text.substr(0, text.size() - 2);
    } else if (item.kind == RSDialogItemKind::LengthEdit) {
        // In the host's unit, or in the unit its symbol names ("12 cm"); the longest symbol that fits wins.
        factor = UnitOf(GetState().lengthUnit).metres;
        size_t best = 0;
        for (const LengthUnit& u : kUnits) {
            const std::string symbol = u.symbol;
            if (symbol.size() > best && EndsWith(text, symbol)) {
                best = symbol.size();
                factor = u.metres;
            }
        }
        text = text.substr(0, text.size() - best);
    }
    double v = 0.0;
    if (!ParsePlain(text, &v)) {
        *why = "\"" + typed + "\" is not a number";
        return false;
    }
    *value = v * factor;
    return true;
}

}  // namespace dgimpl

GS::UniString DGLongToString(int32_t value, int32_t /*format*/) { return GS::UniString(std::to_string(value)); }

GS::UniString DGDoubleToString(double value, int32_t precision) { return GS::UniString(Fixed(value, precision)); }

int32_t DGGetUnit() { return dgimpl::GetState().lengthUnit; }

GS::UniString DGDoubleToStringUnit(double metres, int32_t unit, int32_t precision) {
    return GS::UniString(Fixed(metres / UnitOf(unit).metres, precision));
}

namespace DGDriver {

void SetLengthUnit(int32_t unit) { dgimpl::GetState().lengthUnit = UnitOf(unit).code; }

bool LengthUnitFromName(const std::string& name, int32_t* unit) {
    for (const LengthUnit& u : kUnits)
        if (name == u.symbol) {
            *unit = u.code;
            return true;
        }
    return false;
}

}  // namespace DGDriver
