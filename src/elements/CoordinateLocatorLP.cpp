#include "elements/CoordinateLocatorLP.hpp"

#include "elements/ParamIndexes.hpp"

const char* const CoordinateLocatorPartName = "SOSI_COORDINATE_LOCATOR";

namespace {
const char* const kNames[] = {"X_origo_mondo", "Y_origo_mondo", "Z_origo_mondo", "used_by_Lodrava", "dim_marker",
                              "font",          "gs_cont_pen",   "fontsize",      "text_pen",        "stile"};
}  // namespace

const char* CoordinateLocatorLP::GetParamName(int32_t index) const {
    return index >= 0 && index < int32_t(sizeof kNames / sizeof kNames[0]) ? kNames[index] : "???";
}

bool CoordinateLocatorLP::Exchange(CoordinateLocatorRec& rec, int32_t mode) {
    const bool set = mode == LPMode_Set;
    if (!set) rec = CoordinateLocatorRec();
    // Setting a text needs a string with a buffer, which a never-filled record lacks.
    if (set && rec.font.IsEmpty()) rec.font = QV_String("");
    if (set && rec.style.IsEmpty()) rec.style = QV_String("");
    namespace P = CoordinateLocatorParam;
    return GetSetDouble(P::X, rec.x, mode) && GetSetDouble(P::Y, rec.y, mode) && GetSetDouble(P::Z, rec.z, mode) &&
        GetSetDouble(P::MarkerSize, rec.markerSize, mode) &&
        GetSetStringByName(QV_String(kNames[P::Font]), rec.font, mode) &&
        GetSetShort(P::MarkerPen, rec.markerPen, mode) && GetSetDouble(P::TextSize, rec.textSize, mode) &&
        GetSetShort(P::TextPen, rec.textPen, mode) && GetSetStringByName(QV_String(kNames[P::Style]), rec.style, mode);
}

QV_String CoordinateLocatorStyle(bool bold, bool italic) {
    if (bold && italic) return QV_String("grassetto e corsivo");
    if (bold) return QV_String("grassetto");
    if (italic) return QV_String("corsivo");
    return QV_String("normale");
}

API_Coord CoordinateLocatorOffset(const API_Coord& position, double realX, double realY) {
    return {realX - position.x, realY - position.y};
}
