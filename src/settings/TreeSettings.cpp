#include "settings/TreeSettings.hpp"

namespace {

int32_t* LongField(TreeSettings& s, int16_t id) {
    switch (id) {
        case TreeBranches: return &s.branches;
        case TreeBranches2: return &s.branches2;
        case TreeLevels: return &s.levels;
        case TreeLevels2: return &s.levels2;
        case TreeTrunkMaterial: return &s.trunkMaterial;
        case TreeLeafMaterial: return &s.leafMaterial;
        case TreeDouble: return &s.doubled;
        case TreeLayer: return &s.layer;
        case TreeSymbolType: return &s.symbolType;
        case TreeShadow: return &s.shadow;
        case TreeShowText: return &s.showText;
        case TreeTextPen: return &s.textPen;
        case TreeTextPen2: return &s.textPen2;
        case TreeResolution: return &s.resolution;
        default: break;
    }
    if (id >= TreePen1 && id < TreePen1 + 4) return &s.pens[id - TreePen1];
    if (id >= TreePen1Companion && id < TreePen1Companion + 4) return &s.pens2[id - TreePen1Companion];
    return nullptr;
}

double* DoubleField(TreeSettings& s, int16_t id) {
    switch (id) {
        case TreeHeight: return &s.height;
        case TreeAngle: return &s.angle;
        case TreeTrunkDiameter: return &s.trunkDiameter;
        case TreeShadowDirection: return &s.shadowDirection;
        case TreeTextSize: return &s.textSize;
        default: return nullptr;
    }
}

QV_String* TextField(TreeSettings& s, int16_t id) {
    switch (id) {
        case TreeText: return &s.text;
        case TreeFont: return &s.font;
        case TreeCustomTrunk: return &s.customTrunk;
        case TreeCustomLeaves: return &s.customLeaves;
        default: return nullptr;
    }
}

}  // namespace

int32_t TreeSettings::GetLong(int16_t id) const {
    if (id == TreeTrunkStyle) return trunkStyle;
    if (id == TreeLeafStyle) return leafStyle;
    const int32_t* field = LongField(const_cast<TreeSettings&>(*this), id);
    return field != nullptr ? *field : 0;
}

void TreeSettings::SetLong(int16_t id, int32_t value) {
    if (id == TreeTrunkStyle) {
        trunkStyle = int16_t(value);
    } else if (id == TreeLeafStyle) {
        leafStyle = int16_t(value);
    } else if (int32_t* field = LongField(*this, id)) {
        *field = value;
    }
}

double TreeSettings::GetDouble(int16_t id) const {
    const double* field = DoubleField(const_cast<TreeSettings&>(*this), id);
    return field != nullptr ? *field : 0.0;
}

void TreeSettings::SetDouble(int16_t id, double value) {
    if (double* field = DoubleField(*this, id)) *field = value;
}

QV_String TreeSettings::GetText(int16_t id) const {
    const QV_String* field = TextField(const_cast<TreeSettings&>(*this), id);
    return field != nullptr ? *field : QV_String();
}

void TreeSettings::SetText(int16_t id, const QV_String& value) {
    if (QV_String* field = TextField(*this, id)) *field = value;
}

TreeSettings& TreeSettings::CopyTo(TreeSettings& target, TreeSettings& second, const TreeSettings& source) {
    if (&target != &source) target = source;
    if (&second != &target) second = target;
    return second;
}
