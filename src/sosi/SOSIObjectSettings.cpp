#include "sosi/SOSIObjectSettings.hpp"

#include "elements/BaseLP.hpp"

namespace {

// Numbers travel as doubles whatever the field's type.
bool Number(BaseLP& view, const char* name, double& value, int32_t mode) {
    return view.GetSetDoubleByName(QV_String(name), value, mode == LPMode_Set ? LPMode_Set : LPMode_Get);
}

bool Short(BaseLP& view, const char* name, int16_t& value, int32_t mode) {
    double d = value;
    if (!Number(view, name, d, mode)) return false;
    if (mode != LPMode_Set) {
        // Truncated; a value beyond the type's range is held at its ends rather than wrapped.
        if (!(d > -32768.0)) d = d != d ? 0.0 : -32768.0;
        if (d > 32767.0) d = 32767.0;
        value = int16_t(d);
    }
    return true;
}

bool Flag(BaseLP& view, const char* name, uint8_t& value, int32_t mode) {
    double d = value != 0 ? 1.0 : 0.0;
    if (!Number(view, name, d, mode)) return false;
    if (mode != LPMode_Set) value = d == 1.0 ? 1 : 0;
    return true;
}

bool Text(BaseLP& view, const char* name, QV_String& value, int32_t mode) {
    const QV_String key(name);
    if (mode != LPMode_Set) return view.GetSetStringParam(key, value, LPMode_Get);
    QV_String text = value.HasBuffer() ? value : QV_String("");
    return view.GetSetStringParam(key, text, LPMode_Set);
}

}  // namespace

void SOSIObjectSettings::Init() {
    style = QV_String("POLYLINE");
    date = QV_String("");
    objectType = QV_String("");
    show2D = 1;
    contourPen = 4;
    fillPen = 4;
    backPen = 19;
    fillType = 65;
    detailLevel3D = QV_String("Wireframe 3D model");
    topSurfaceStyle = QV_String("All Ridges Sharp");
    lowerOffset = 0.0;
    pen3D = 1;
    topMaterial = 18;
    sideMaterial = 18;
    bottomMaterial = 18;
    shadow = 0;
    oneMaterial = 0;
}

bool SOSIObjectSettings::Exchange(BaseLP& view, int32_t mode) {
    return Text(view, "stile", style, mode) && Text(view, "dato", date, mode) &&
        Text(view, "OBJECTTYPE", objectType, mode) && Flag(view, "show_2D", show2D, mode) &&
        Short(view, "gs_cont_pen", contourPen, mode) && Short(view, "gs_fill_pen", fillPen, mode) &&
        Short(view, "gs_back_pen", backPen, mode) && Short(view, "gs_fill_type", fillType, mode) &&
        Text(view, "gs_detlevel_3D", detailLevel3D, mode) && Text(view, "top_surface_style", topSurfaceStyle, mode) &&
        Number(view, "offset_inferiore", lowerOffset, mode) && Short(view, "penna_3D", pen3D, mode) &&
        Short(view, "top_material", topMaterial, mode) && Short(view, "side_material", sideMaterial, mode) &&
        Short(view, "bottom_material", bottomMaterial, mode) && Flag(view, "gs_shadow", shadow, mode) &&
        Flag(view, "use_1_material", oneMaterial, mode);
}

SOSIObjectSettings& SOSIObjectSettingsRecord() {
    static SOSIObjectSettings record;
    return record;
}
