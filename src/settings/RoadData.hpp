#pragma once
// The road tool's settings (element kind 6).
#include "settings/FieldTable.hpp"

#include <cmath>

// member, id, type, preference, default, item in the dialog's first layout, in its second. The display of retaining
// structures is read with the section but kept by the general record's (settings/PrefsSections.cpp).
#define LODRAVIX_ROAD_FIELDS(F)                                                                                        \
    F(leftCutAngle, 1, double, PrefsParam::RoadLeftCutAngle, M_PI / 3.0, Item::Angle(15), Item::Angle(12)) /* rad */   \
    F(leftFillAngle, 3, double, PrefsParam::RoadLeftFillAngle, M_PI / 4.0, Item::Angle(18), Item::Angle(14))           \
    F(rightCutAngle, 2, double, PrefsParam::RoadRightCutAngle, M_PI / 3.0, Item::Angle(17), Item::Angle(17))           \
    F(rightFillAngle, 4, double, PrefsParam::RoadRightFillAngle, M_PI / 4.0, Item::Angle(20), Item::Angle(19))         \
    F(cutExtension, 16, double, PrefsParam::RoadCutExtension, 2.0, Item::Real(24), Item::Real(22))                     \
    F(fillExtension, 17, double, PrefsParam::RoadFillExtension, 2.0, Item::Real(26), Item::Real(24))                   \
    F(resolution, 9, int16_t, PrefsParam::RoadResolution, 6, Item::Long(11), Item::Long(27)) /* per arc */             \
    F(levelMaterial, 6, int16_t, PrefsParam::RoadMaterial, 99, Item::Chooser(30, APIUserControl_Material),             \
      Item::Chooser(29, APIUserControl_Material))                                                                      \
    F(cutMaterial, 8, int16_t, PrefsParam::RoadCutMaterial, 77, Item::Chooser(31, APIUserControl_Material),            \
      Item::Chooser(30, APIUserControl_Material))                                                                      \
    F(fillMaterial, 7, int16_t, PrefsParam::RoadFillMaterial, 78, Item::Chooser(32, APIUserControl_Material),          \
      Item::Chooser(31, APIUserControl_Material))                                                                      \
    F(show2D, 10, int16_t, PrefsParam::RoadShow2D, 1, Item::Check(35), Item::Check(35))                                \
    F(pen2D, 11, int16_t, PrefsParam::RoadPen2D, 4, Item::Pen(37, 38), Item::Pen(37, 38))                              \
    F(pen, 12, int16_t, PrefsParam::RoadPen3D, 4, Item::None, Item::Pen(40, 41))        /* the objects' */             \
    F(name, 5, QV_String, PrefsParam::RoadName, "ROAD", Item::Text(43), Item::Text(51)) /* element information */      \
    F(obstacleShow2D, 13, int16_t, NoPrefs, 0, Item::None, Item::Check(44)) /* retaining structures in 2D */           \
    F(obstaclePen, 14, int16_t, NoPrefs, 3, Item::None, Item::Pen(46, 47))                                             \
    F(obstacleLineType, 15, int16_t, NoPrefs, 5, Item::None, Item::Chooser(48, APIUserControl_LineType))               \
    F(layer, 0, int16_t, NoPrefs, 1, Item::Chooser(41, APIUserControl_Layer),                                          \
      Item::Chooser(54, APIUserControl_Layer)) /* of the result object */

struct RoadData {
    LODRAVIX_SETTINGS_RECORD(RoadData, LODRAVIX_ROAD_FIELDS)
};

// The road tool's own name for the record.
typedef RoadData RoadSettings;
