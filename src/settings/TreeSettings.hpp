#pragma once
// The tree tool's settings: one tree's branching, trunk and leaf styles, materials and 2D symbol. The preferences
// do not keep them: the first new tree reads them from the tree part, whose defaults are the table's. The
// companion fields hold the second control of a dialog pair and equal their partner after the dialog.
#include "settings/FieldTable.hpp"

// member, id, type, preference, default, item in the 3D dialog's first layout, in its second; the 2D dialog
// binds its own items by id. Rows in the order the 3D dialog shows them.
#define LODRAVIX_TREE_FIELDS(F)                                                                                        \
    F(height, 24, double, NoPrefs, 8.0, Item::Real(8), Item::Real(8))                                                  \
    F(angle, 25, double, NoPrefs, 45.0, Item::Real(10), Item::Real(10)) /* degrees; negative: the conical form */      \
    F(trunkDiameter, 26, double, NoPrefs, 0.3, Item::Real(12), Item::Real(12))                                         \
    F(resolution, 21, int32_t, NoPrefs, 12, Item::Long(13), Item::Long(13))                                            \
    F(branches, 0, int32_t, NoPrefs, 5, Item::Long(20), Item::Long(19))                                                \
    F(branches2, 1, int32_t, NoPrefs, 5, Item::Long(19), Item::Long(18))                                               \
    F(levels, 2, int32_t, NoPrefs, 2, Item::Long(26), Item::Long(24))                                                  \
    F(levels2, 3, int32_t, NoPrefs, 2, Item::Long(25), Item::Long(23))                                                 \
    F(doubled, 6, int32_t, NoPrefs, 0, Item::Check(37), Item::Check(34))                                               \
    F(trunkMaterial, 4, int32_t, NoPrefs, 12, Item::Chooser(43, APIUserControl_Material),                              \
      Item::Chooser(39, APIUserControl_Material))                                                                      \
    F(leafMaterial, 5, int32_t, NoPrefs, 30, Item::Chooser(45, APIUserControl_Material),                               \
      Item::Chooser(41, APIUserControl_Material))                                                                      \
    F(layer, 7, int32_t, NoPrefs, 0, Item::Chooser(58, APIUserControl_Layer), Item::Chooser(51, APIUserControl_Layer)) \
    F(symbolType, 8, int32_t, NoPrefs, 1, Item::None, Item::None)                                                      \
    F(crownPen, 9, int32_t, NoPrefs, 3, Item::None, Item::None) /* crown, border, shadow, second shadow: a run */      \
    F(borderPen, 10, int32_t, NoPrefs, 1, Item::None, Item::None)                                                      \
    F(shadowPen, 11, int32_t, NoPrefs, 8, Item::None, Item::None)                                                      \
    F(secondShadowPen, 12, int32_t, NoPrefs, 9, Item::None, Item::None)                                                \
    F(crownPen2, 13, int32_t, NoPrefs, 3, Item::None, Item::None) /* the four pens' companions: a run */               \
    F(borderPen2, 14, int32_t, NoPrefs, 1, Item::None, Item::None)                                                     \
    F(shadowPen2, 15, int32_t, NoPrefs, 8, Item::None, Item::None)                                                     \
    F(secondShadowPen2, 16, int32_t, NoPrefs, 9, Item::None, Item::None)                                               \
    F(shadow, 17, int32_t, NoPrefs, 1, Item::None, Item::None)                                                         \
    F(showText, 18, int32_t, NoPrefs, 0, Item::None, Item::None)                                                       \
    F(textPen, 19, int32_t, NoPrefs, 1, Item::None, Item::None)                                                        \
    F(textPen2, 20, int32_t, NoPrefs, 1, Item::None, Item::None)                                                       \
    F(trunkStyle, 22, int16_t, NoPrefs, 2, Item::None, Item::None) /* 1 lines, 2 cylinders, 3 trunk, 4 custom */       \
    F(leafStyle, 23, int16_t, NoPrefs, 1, Item::None, Item::None)  /* 0 none, 1, 2, 3 both, -1 custom */               \
    F(shadowDirection, 27, double, NoPrefs, 45.0, Item::None, Item::None) /* degrees */                                \
    F(textSize, 28, double, NoPrefs, 2.5, Item::None, Item::None)                                                      \
    F(text, 29, QV_String, NoPrefs, "", Item::None, Item::None)                                                        \
    F(font, 30, QV_String, NoPrefs, "Arial", Item::None, Item::None)                                                   \
    F(customTrunk, 31, QV_String, NoPrefs, "", Item::None, Item::None)                                                 \
    F(customLeaves, 32, QV_String, NoPrefs, "", Item::None, Item::None)

struct TreeSettings {
    LODRAVIX_SETTINGS_RECORD(TreeSettings, LODRAVIX_TREE_FIELDS)
};

// The four pens and their companions, each a run of ids.
constexpr int16_t TreePenCount = 4;

// One byte per field: set when the user changed that field in the dialog.
struct TreeChangeFlags {
    uint8_t flag[TreeSettings::FieldCount] = {};
    void Clear() {
        for (uint8_t& f : flag) f = 0;
    }
    bool Any() const {
        for (uint8_t f : flag)
            if (f != 0) return true;
        return false;
    }
};
