#pragma once
// The building tool's settings (element kind 9).
#include "settings/FieldTable.hpp"

#include <cmath>

// member, id, type, preference, default, item in the dialog's first layout, in its second. The fill control also
// shows the three pens' colours (the dialog's own items).
#define LODRAVIX_BUILDING_FIELDS(F)                                                                                    \
    F(showRoof, 2, int16_t, PrefsParam::BuildingShowRoof, 0, Item::Check(16), Item::Check(12)) /* sloped roof */       \
    F(roofAngle, 3, double, PrefsParam::BuildingRoofAngle, 25.0 * M_PI / 180.0, Item::Angle(18), Item::Angle(14))      \
    F(resolution, 12, int16_t, PrefsParam::BuildingResolution, 6, Item::Long(10), Item::Long(16)) /* per arc */        \
    F(material, 1, int16_t, PrefsParam::BuildingMaterial, 18, Item::Chooser(12, APIUserControl_Material),              \
      Item::Chooser(18, APIUserControl_Material))                                                                      \
    F(roofMaterial, 4, int16_t, PrefsParam::BuildingRoofMaterial, 50, Item::Chooser(20, APIUserControl_Material),      \
      Item::Chooser(20, APIUserControl_Material))                                                                      \
    F(pen2D, 8, int16_t, PrefsParam::BuildingPen2D, 1, Item::Pen(24, 25), Item::Pen(23, 24))                           \
    F(pen3D, 0, int16_t, PrefsParam::BuildingPen3D, 1, Item::Pen(27, 28), Item::Pen(26, 27))                           \
    F(fill, 5, int16_t, PrefsParam::BuildingFill, 65, Item::Chooser(30, APIUserControl_Fill),                          \
      Item::Chooser(29, APIUserControl_Fill))                                                                          \
    F(fillPen, 6, int16_t, PrefsParam::BuildingFillPen, 2, Item::None, Item::Pen(34, 35))                              \
    F(fillBackgroundPen, 7, int16_t, PrefsParam::BuildingFillBackgroundPen, 19, Item::None, Item::Pen(31, 32))         \
    F(name, 10, QV_String, PrefsParam::BuildingName, "BUILDING", Item::Text(35), Item::Text(38)) /* element ID */      \
    F(topLevel, 11, double, NoPrefs, 9.0, Item::None, Item::None) /* split over "ZZYZX" and "negative_level" */        \
    F(height, 13, double, NoPrefs, 0.0, Item::None, Item::None)   /* above the outline's lowest terrain point */       \
    F(layer, 9, int16_t, NoPrefs, 1, Item::Chooser(33, APIUserControl_Layer), Item::Chooser(41, APIUserControl_Layer))

struct BuildingSettings {
    LODRAVIX_SETTINGS_RECORD(BuildingSettings, LODRAVIX_BUILDING_FIELDS)
};
