#include "siteobjects/TreeParams.hpp"

#include "siteobjects/TreeBranches.hpp"

#include <cmath>

namespace {

constexpr double RadToDeg = 57.29577951308232;
constexpr double DegToRad = 3.141592653589793 / 180.0;

bool IsAngleField(int16_t field) { return field == TreeAngle || field == TreeShadowDirection; }
bool IsTextField(int16_t field) { return field >= TreeText && field <= TreeCustomLeaves; }
bool IsDoubleField(int16_t field) { return field >= TreeHeight && field <= TreeTextSize; }

// The field whose value a parameter takes: a companion writes its partner's.
int16_t MainField(int16_t field) {
    if (field == TreeBranches2 || field == TreeLevels2) return int16_t(field - 1);
    if (field >= TreePen1Companion && field < TreePen1Companion + 4) return int16_t(field - 4);
    if (field == TreeTextPen2) return TreeTextPen;
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
        const QV_String text = settings.GetText(source);
        if (text.GetLength() == 0) {
            view.status = LPStatus_NoText;
            return;
        }
        view.SetStringParam(name, text);
        return;
    }
    double value = IsDoubleField(source) ? settings.GetDouble(source) : double(settings.GetLong(source));
    if (IsAngleField(source)) value *= DegToRad;
    view.SetParamDouble(QV_String(name), value);
}

}  // namespace

const char* TreeParamName(int16_t field) {
    static const char* const names[TreeFieldCount] = {"enne_rami",
                                                      "enne_rami",
                                                      "enne_cicli",
                                                      "enne_cicli",
                                                      "mat",
                                                      "mat_foglie",
                                                      "doppio",
                                                      nullptr,
                                                      "tipo_simbolo",
                                                      "penna_chioma",
                                                      "penna_bordo",
                                                      "penna_ombra",
                                                      "penna_ombra_2",
                                                      "penna_chioma",
                                                      "penna_bordo",
                                                      "penna_ombra",
                                                      "penna_ombra_2",
                                                      "sole",
                                                      "D",
                                                      "penna_font",
                                                      "penna_font",
                                                      "risoluzione",
                                                      "stile",
                                                      "tipo_foglia",
                                                      "ZZYZX",
                                                      "angolo",
                                                      "tronco",
                                                      "verso_ombra",
                                                      "F",
                                                      "nome",
                                                      "E",
                                                      "ramo_custom",
                                                      "foglia_custom"};
    return field >= 0 && field < TreeFieldCount ? names[field] : nullptr;
}

void ReadTreeSettings(BaseLP& view, TreeSettings& settings, const API_Element& element) {
    for (int16_t field = 0; field < TreeFieldCount; ++field) {
        const char* name = TreeParamName(field);
        if (name == nullptr || field == TreeBranches2 || field == TreeLevels2 || MainField(field) != field) continue;
        const QV_String key(name);
        if (IsTextField(field)) {
            QV_String text;
            view.GetStringParam(text, key);
            settings.SetText(field, text);
            continue;
        }
        double value = 0.0;
        if (!view.GetSetDoubleByName(key, value, LPMode_Get)) continue;
        if (IsDoubleField(field))
            settings.SetDouble(field, IsAngleField(field) ? value * RadToDeg : value);
        else
            settings.SetLong(field, TruncatedInt(value));
    }
    for (int i = 0; i < 4; ++i) settings.pens2[i] = settings.pens[i];
    settings.textPen2 = settings.textPen;
    settings.layer = element.header.layer;
}

void WriteTreeSettings(BaseLP& view, const TreeSettings& settings) {
    static const int16_t order[] = {TreePen1,
                                    TreePen1 + 1,
                                    TreePen1 + 2,
                                    TreePen1 + 3,
                                    TreeHeight,
                                    TreeTrunkDiameter,
                                    TreeTrunkMaterial,
                                    TreeLeafMaterial,
                                    TreeDouble,
                                    TreeSymbolType,
                                    TreeShadow,
                                    TreeAngle,
                                    TreeShadowDirection,
                                    TreeShowText,
                                    TreeText,
                                    TreeTextSize,
                                    TreeTextPen,
                                    TreeFont,
                                    TreeResolution,
                                    TreeTrunkStyle,
                                    TreeCustomTrunk,
                                    TreeLeafStyle,
                                    TreeCustomLeaves};
    for (int16_t field : order) WriteField(view, settings, field);
}

bool WriteFlaggedTreeSettings(BaseLP& view, const TreeSettings& settings, const TreeChangeFlags& flags,
                              API_Element& element) {
    bool shape = false;
    for (int16_t field = 0; field < TreeFieldCount; ++field) {
        if (flags.flag[field] == 0) continue;
        if (field == TreeLayer) {
            element.header.layer = settings.layer;
            continue;
        }
        if (field <= TreeLevels2 || field == TreeAngle) shape = true;
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
