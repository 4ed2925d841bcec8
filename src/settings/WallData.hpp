#pragma once
// The wall tool's settings (element kind 10).
#include "settings/FieldTable.hpp"

// member, id, type, preference, default, item in the dialog's first layout, in its second. The fill control
// also shows the three pens' colours (the dialog's own items).
#define LODRAVIX_WALL_FIELDS(F)                                                                                        \
    F(height, 10, double, PrefsParam::WallHeight, 3.0, Item::Real(8), Item::Real(8))                                   \
    F(thickness, 2, double, PrefsParam::WallThickness, 0.45, Item::Real(10), Item::Real(10))                           \
    F(pen3D, 0, int16_t, PrefsParam::WallPen3D, 99, Item::Pen(19, 20), Item::Pen(16, 17))                              \
    F(resolution, 11, int16_t, PrefsParam::WallResolution, 24, Item::Long(15), Item::Long(19))                         \
    F(material, 1, int16_t, PrefsParam::WallMaterial, 18, Item::Chooser(21, APIUserControl_Material),                  \
      Item::Chooser(20, APIUserControl_Material))                                                                      \
    F(pen2D, 7, int16_t, PrefsParam::WallPen2D, 1, Item::Pen(25, 26), Item::Pen(23, 24))                               \
    F(fill, 4, int16_t, PrefsParam::WallFill, 4, Item::Chooser(28, APIUserControl_Fill),                               \
      Item::Chooser(26, APIUserControl_Fill))                                                                          \
    F(fillPen, 5, int16_t, PrefsParam::WallFillPen, 2, Item::None, Item::Pen(31, 32))                                  \
    F(fillBackgroundPen, 6, int16_t, PrefsParam::WallBackgroundPen, 19, Item::None, Item::Pen(28, 29))                 \
    F(name, 9, QV_String, PrefsParam::WallName, "WALL", Item::Text(33), Item::Text(35)) /* the element ID */           \
    F(side, 3, QV_String, NoPrefs, "left", Item::None, Item::None) /* "left" or "right" of the polyline */             \
    F(layer, 8, int16_t, NoPrefs, 1, Item::Chooser(31, APIUserControl_Layer), Item::Chooser(38, APIUserControl_Layer))

struct WallData {
    LODRAVIX_SETTINGS_RECORD(WallData, LODRAVIX_WALL_FIELDS)
};

// The wall tool's own name for the record.
typedef WallData WallSettings;
