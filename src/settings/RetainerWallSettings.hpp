#pragma once
// The retaining-wall tool's settings (element kind 15). The wall's thickness is not here: it is shared through
// the general record (MiscSettings::retainingThickness). GetShort answers the 16 bits sign-extended.
#include "settings/FieldTable.hpp"

#include <cmath>

// member, id, type, preference, default, item in the dialog's first layout, in its second. The fill controls
// following the pens are the dialog's own items.
#define LODRAVIX_RETAINING_WALL_FIELDS(F)                                                                              \
    F(height, 0, double, PrefsParam::RetainingHeight, 0.5, Item::Real(8), Item::Real(8))                               \
    F(leftAngle, 1, double, PrefsParam::RetainingLeftAngle, M_PI / 2.0, Item::Angle(12), Item::Angle(12)) /* rad */    \
    F(rightAngle, 2, double, PrefsParam::RetainingRightAngle, M_PI / 2.0, Item::Angle(14), Item::Angle(14))            \
    F(pen, 3, uint16_t, PrefsParam::RetainingPen3D, 1, Item::Pen(21, 22), Item::Pen(18, 19))       /* the object's */  \
    F(resolution, 4, uint16_t, PrefsParam::RetainingResolution, 6, Item::Long(16), Item::Long(21)) /* per arc */       \
    F(material, 5, uint16_t, PrefsParam::RetainingMaterial, 53, Item::Chooser(23, APIUserControl_Material),            \
      Item::Chooser(22, APIUserControl_Material))                                                                      \
    F(pen2D, 6, uint16_t, PrefsParam::RetainingPen2D, 1, Item::Pen(27, 28), Item::Pen(25, 26))                         \
    F(fill, 7, uint16_t, PrefsParam::RetainingFill, 4, Item::Chooser(30, APIUserControl_Fill),                         \
      Item::Chooser(28, APIUserControl_Fill))                                                                          \
    F(fillPen, 8, uint16_t, PrefsParam::RetainingFillPen, 2, Item::None, Item::Pen(33, 34))                            \
    F(fillBackgroundPen, 9, uint16_t, PrefsParam::RetainingBackgroundPen, 19, Item::None, Item::Pen(30, 31))           \
    F(name, 10, QV_String, PrefsParam::RetainingName, "RETAINING WALL", Item::Text(35), Item::Text(37))                \
    F(layer, 11, int32_t, NoPrefs, 1, Item::Chooser(33, APIUserControl_Layer), Item::Chooser(40, APIUserControl_Layer))

struct RetainerWallSettings {
    LODRAVIX_SETTINGS_RECORD_SIGNED(RetainerWallSettings, LODRAVIX_RETAINING_WALL_FIELDS)
};
