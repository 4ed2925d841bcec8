#include "siteobjects/TreeParams.hpp"

#include "siteobjects/TreeBranches.hpp"

#include <cmath>

namespace {

constexpr double RadToDeg = 57.29577951308232;
constexpr double DegToRad = 3.141592653589793 / 180.0;

bool IsAngleField(int16_t field) {
    return field == TreeSettings::Id::angle || field == TreeSettings::Id::shadowDirection;
}
bool IsTextField(int16_t field) { return field >= TreeSettings::Id::text && field <= TreeSettings::Id::customLeaves; }
bool IsDoubleField(int16_t field) { return field >= TreeSettings::Id::height && field <= TreeSettings::Id::textSize; }

// The field whose value a parameter takes: a companion writes its partner's.
int16_t MainField(int16_t field) {
    if (field == TreeSettings::Id::branches2 || field == TreeSettings::Id::levels2) return int16_t(field - 1);
    if (field >= TreeSettings::Id::crownPen2 && field < TreeSettings::Id::crownPen2 + TreePenCount)
        return int16_t(field - TreePenCount);
    if (field == TreeSettings::Id::textPen2) return TreeSettings::Id::textPen;
    return field;
}

int32_t TruncatedInt(double value) {
    if (!(value > -2147483649.0 && value < 2147483648.0)) return 0;
    return int32_t(std::trunc(value));
}

void WriteField(BaseLP& view, const TreeSettings& settings, int16_t field) {
    const char* name = TreeParamName(field);
    if (name == nullptr) return;
    const int16_t source = MainField(field);
    if (IsTextField(source)) {
        // An empty text would wipe the part's own default.
        const QV_String text = *settings.Text(source);
        if (text.GetLength() == 0) {
            view.status = LPStatus_NoText;
            return;
        }
        view.SetStringParam(name, text);
        return;
    }
    double value = IsDoubleField(source) ? settings.GetReal(source) : double(settings.GetLong(source));
    if (IsAngleField(source)) value *= DegToRad;
    view.SetParamDouble(QV_String(name), value);
}

}  // namespace

const char* TreeParamName(int16_t field) {
    using Id = TreeSettings::Id;
    struct Named {
        int16_t field;
        const char* name;
    };
    // The layer is the element's, not a parameter.
    static const Named names[] = {{Id::branches, "enne_rami"},
                                  {Id::branches2, "enne_rami"},
                                  {Id::levels, "enne_cicli"},
                                  {Id::levels2, "enne_cicli"},
                                  {Id::trunkMaterial, "mat"},
                                  {Id::leafMaterial, "mat_foglie"},
                                  {Id::doubled, "doppio"},
                                  {Id::symbolType, "tipo_simbolo"},
                                  {Id::crownPen, "penna_chioma"},
                                  {Id::borderPen, "penna_bordo"},
                                  {Id::shadowPen, "penna_ombra"},
                                  {Id::secondShadowPen, "penna_ombra_2"},
                                  {Id::crownPen2, "penna_chioma"},
                                  {Id::borderPen2, "penna_bordo"},
                                  {Id::shadowPen2, "penna_ombra"},
                                  {Id::secondShadowPen2, "penna_ombra_2"},
                                  {Id::shadow, "sole"},
                                  {Id::showText, "D"},
                                  {Id::textPen, "penna_font"},
                                  {Id::textPen2, "penna_font"},
                                  {Id::resolution, "risoluzione"},
                                  {Id::trunkStyle, "stile"},
                                  {Id::leafStyle, "tipo_foglia"},
                                  {Id::height, "ZZYZX"},
                                  {Id::angle, "angolo"},
                                  {Id::trunkDiameter, "tronco"},
                                  {Id::shadowDirection, "verso_ombra"},
                                  {Id::textSize, "F"},
                                  {Id::text, "nome"},
                                  {Id::font, "E"},
                                  {Id::customTrunk, "ramo_custom"},
                                  {Id::customLeaves, "foglia_custom"}};
    for (const Named& named : names)
        if (named.field == field) return named.name;
    return nullptr;
}

void ReadTreeSettings(BaseLP& view, TreeSettings& settings, const API_Element& element) {
    for (int16_t field = 0; field < TreeSettings::FieldCount; ++field) {
        const char* name = TreeParamName(field);
        if (name == nullptr || field == TreeSettings::Id::branches2 || field == TreeSettings::Id::levels2 ||
            MainField(field) != field)
            continue;
        const QV_String key(name);
        if (IsTextField(field)) {
            QV_String text;
            view.GetStringParam(text, key);
            *settings.Text(field) = text;
            continue;
        }
        double value = 0.0;
        if (!view.GetSetDoubleByName(key, value, LPMode_Get)) continue;
        if (IsDoubleField(field))
            settings.SetReal(field, IsAngleField(field) ? value * RadToDeg : value);
        else
            settings.SetLong(field, TruncatedInt(value));
    }
    for (int16_t i = 0; i < TreePenCount; ++i)
        settings.SetLong(int16_t(TreeSettings::Id::crownPen2 + i),
                         settings.GetLong(int16_t(TreeSettings::Id::crownPen + i)));
    settings.textPen2 = settings.textPen;
    settings.layer = element.header.layer;
}

void WriteTreeSettings(BaseLP& view, const TreeSettings& settings) {
    static const int16_t order[] = {
        TreeSettings::Id::crownPen,        TreeSettings::Id::crownPen + 1, TreeSettings::Id::crownPen + 2,
        TreeSettings::Id::crownPen + 3,    TreeSettings::Id::height,       TreeSettings::Id::trunkDiameter,
        TreeSettings::Id::trunkMaterial,   TreeSettings::Id::leafMaterial, TreeSettings::Id::doubled,
        TreeSettings::Id::symbolType,      TreeSettings::Id::shadow,       TreeSettings::Id::angle,
        TreeSettings::Id::shadowDirection, TreeSettings::Id::showText,     TreeSettings::Id::text,
        TreeSettings::Id::textSize,        TreeSettings::Id::textPen,      TreeSettings::Id::font,
        TreeSettings::Id::resolution,      TreeSettings::Id::trunkStyle,   TreeSettings::Id::customTrunk,
        TreeSettings::Id::leafStyle,       TreeSettings::Id::customLeaves};
    for (int16_t field : order) WriteField(view, settings, field);
}

bool WriteFlaggedTreeSettings(BaseLP& view, const TreeSettings& settings, const TreeChangeFlags& flags,
                              API_Element& element) {
    bool shape = false;
    for (int16_t field = 0; field < TreeSettings::FieldCount; ++field) {
        if (flags.flag[field] == 0) continue;
        if (field == TreeSettings::Id::layer) {
            element.header.layer = settings.layer;
            continue;
        }
        if (field <= TreeSettings::Id::levels2 || field == TreeSettings::Id::angle) shape = true;
        WriteField(view, settings, field);
    }
    return shape;
}

void ReadTreeShape(BaseLP& view, int32_t& n, int32_t& levels, double& angleDegrees) {
    n = TruncatedInt(view.GetParamDouble(QV_String("enne_rami")));
    levels = TruncatedInt(view.GetParamDouble(QV_String("enne_cicli")));
    angleDegrees = view.GetParamDouble(QV_String("angolo")) * RadToDeg;
}

bool WriteTreeShape(BaseLP& view, int32_t n, int32_t levels, double angleDegrees) {
    if (!TreeCountsUsable(n, levels)) return false;
    view.SetParamDouble(QV_String("enne_rami"), double(n));
    view.SetParamDouble(QV_String("enne_cicli"), double(levels));
    view.SetParamDouble(QV_String("angolo"), angleDegrees * DegToRad);
    view.SetParamDouble(QV_String("max_height"), 1.0);
    return GrowTreeBranches(view, n, levels, angleDegrees);
}
