#pragma once
// The basin tool's settings (element kind 12). The attribute and the layer are 32-bit fields that GetShort answers as
// their low 16 bits.
#include "settings/FieldTable.hpp"

// member, id, type, preference, default, item in the dialog's first layout, in its second. Each pen has an edit
// beside its control, and the fill control shows three pens' colours (the dialog's own items).
#define LODRAVIX_BASIN_FIELDS(F)                                                                                       \
    F(levelMaterial, 1, int16_t, PrefsParam::BasinMaterial, 28, Item::Chooser(11, APIUserControl_Material),            \
      Item::Chooser(11, APIUserControl_Material))                                                                      \
    F(pen3D, 0, int16_t, PrefsParam::BasinPen3D, 6, Item::Chooser(9, APIUserControl_Pen),                              \
      Item::Chooser(9, APIUserControl_Pen))                                                                            \
    F(pen2D, 2, int16_t, PrefsParam::BasinPen2D, 6, Item::Chooser(16, APIUserControl_Pen),                             \
      Item::Chooser(15, APIUserControl_Pen))                                                                           \
    F(attribute, 3, int32_t, PrefsParam::BasinLineType, 1, Item::Chooser(18, APIUserControl_LineTypeAlt),              \
      Item::Chooser(17, APIUserControl_LineTypeAlt)) /* the line type of the object's record */                        \
    F(fill, 4, int16_t, PrefsParam::BasinFill, 65, Item::Chooser(20, APIUserControl_Fill),                             \
      Item::Chooser(19, APIUserControl_Fill))                                                                          \
    F(fillPen, 5, int16_t, PrefsParam::BasinFillPen, 6, Item::Chooser(27, APIUserControl_Pen),                         \
      Item::Chooser(26, APIUserControl_Pen))                                                                           \
    F(fillBackgroundPen, 6, int16_t, PrefsParam::BasinBackgroundPen, 105,                                              \
      Item::Chooser(24, APIUserControl_PenWithZero), Item::Chooser(23, APIUserControl_PenWithZero))                    \
    F(name, 9, QV_String, PrefsParam::BasinName, "BASIN", Item::Text(32), Item::Text(29)) /* element information */    \
    F(showFill, 7, int16_t, NoPrefs, 1, Item::Check(21), Item::Check(20))                                              \
    F(layer, 8, int32_t, NoPrefs, 1, Item::Chooser(30, APIUserControl_Layer), Item::Chooser(32, APIUserControl_Layer)) \
    F(level, 10, double, NoPrefs, 1.0, Item::None, Item::None) /* split over "ZZYZX" and "negative_level" */

struct BasinSettings {
    LODRAVIX_SETTINGS_RECORD(BasinSettings, LODRAVIX_BASIN_FIELDS)
};
