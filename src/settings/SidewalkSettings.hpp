#pragma once
// The sidewalk tool's settings (element kind 11).
#include "settings/FieldTable.hpp"

// member, id, type, preference, default, item in the dialog's first layout, in its second. The first layout
// has no item for the cut side: it takes the fill side's material.
#define LODRAVIX_SIDEWALK_FIELDS(F)                                                                                    \
    F(thickness, 6, double, PrefsParam::SidewalkThickness, 0.15, Item::Real(8), Item::Real(10))                        \
    F(resolution, 5, int16_t, PrefsParam::SidewalkResolution, 6, Item::Long(10), Item::Long(13)) /* per arc */         \
    F(levelMaterial, 2, int16_t, PrefsParam::SidewalkMaterial, 4, Item::Chooser(12, APIUserControl_Material),          \
      Item::Chooser(15, APIUserControl_Material))                                                                      \
    F(cutMaterial, 4, int16_t, PrefsParam::SidewalkCutMaterial, 7, Item::None,                                         \
      Item::Chooser(16, APIUserControl_Material))                                                                      \
    F(fillMaterial, 3, int16_t, PrefsParam::SidewalkFillMaterial, 7, Item::Chooser(14, APIUserControl_Material),       \
      Item::Chooser(17, APIUserControl_Material))                                                                      \
    F(show2D, 7, int16_t, PrefsParam::SidewalkShow2D, 1, Item::None, Item::Check(21))                                  \
    F(pen2D, 8, int16_t, PrefsParam::SidewalkPen2D, 4, Item::Pen(18, 19), Item::Pen(23, 24))                           \
    F(pen, 9, int16_t, PrefsParam::SidewalkPen3D, 4, Item::Pen(21, 22), Item::Pen(26, 27))      /* the objects' */     \
    F(name, 1, QV_String, PrefsParam::SidewalkName, "SIDEWALK", Item::Text(27), Item::Text(30)) /* of the three */     \
    F(layer, 0, int16_t, NoPrefs, 1, Item::Chooser(25, APIUserControl_Layer),                                          \
      Item::Chooser(33, APIUserControl_Layer)) /* of the result object */                                              \
    F(leftSide, 10, int16_t, NoPrefs, 0, Item::None, Item::None)

struct SidewalkSettings {
    LODRAVIX_SETTINGS_RECORD(SidewalkSettings, LODRAVIX_SIDEWALK_FIELDS)
};
