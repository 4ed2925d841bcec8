#pragma once
// The railway tool's settings (element kind 21): the road's fields plus the track data.
#include "settings/FieldTable.hpp"

#include <cmath>

// member, id, type, preference, default, item in the dialog's one layout, in no second. The display of retaining
// structures is read with the section but kept by the general record's; the width is the general record's road
// width ("railway_width" belongs to no section).
#define LODRAVIX_RAILWAY_FIELDS(F)                                                                                     \
    F(leftCutAngle, 1, double, PrefsParam::RailwayLeftCutAngle, M_PI / 3.0, Item::Angle(19), Item::None) /* rad */     \
    F(leftFillAngle, 3, double, PrefsParam::RailwayLeftFillAngle, M_PI / 4.0, Item::Angle(22), Item::None)             \
    F(rightCutAngle, 2, double, PrefsParam::RailwayRightCutAngle, M_PI / 3.0, Item::Angle(21), Item::None)             \
    F(rightFillAngle, 4, double, PrefsParam::RailwayRightFillAngle, M_PI / 4.0, Item::Angle(24), Item::None)           \
    F(cutExtension, 18, double, PrefsParam::RailwayCutExtension, 2.0, Item::Real(28), Item::None)                      \
    F(fillExtension, 19, double, PrefsParam::RailwayFillExtension, 2.0, Item::Real(30), Item::None)                    \
    F(resolution, 11, int16_t, PrefsParam::RailwayResolution, 6, Item::Long(15), Item::None) /* per arc */             \
    F(levelMaterial, 8, int16_t, PrefsParam::RailwayMaterial, 76, Item::Chooser(36, APIUserControl_Material),          \
      Item::None)                                                                                                      \
    F(cutMaterial, 10, int16_t, PrefsParam::RailwayCutMaterial, 77, Item::Chooser(37, APIUserControl_Material),        \
      Item::None)                                                                                                      \
    F(fillMaterial, 9, int16_t, PrefsParam::RailwayFillMaterial, 78, Item::Chooser(38, APIUserControl_Material),       \
      Item::None)                                                                                                      \
    F(show2D, 12, int16_t, PrefsParam::RailwayShow2D, 1, Item::Check(41), Item::None)                                  \
    F(pen2D, 13, int16_t, PrefsParam::RailwayPen2D, 4, Item::Pen(43, 44), Item::None)                                  \
    F(pen, 14, int16_t, PrefsParam::RailwayPen3D, 4, Item::None, Item::None) /* the objects' */                        \
    F(name, 5, QV_String, PrefsParam::RailwayName, "RAILWAY", Item::Text(49), Item::None)                              \
    F(obstacleShow2D, 15, int16_t, NoPrefs, 0, Item::None, Item::None) /* retaining structures in 2D */                \
    F(obstaclePen, 16, int16_t, NoPrefs, 3, Item::None, Item::None)                                                    \
    F(obstacleLineType, 17, int16_t, NoPrefs, 5, Item::None, Item::None)                                               \
    F(layer, 0, int16_t, NoPrefs, 1, Item::Chooser(47, APIUserControl_Layer), Item::None) /* of the result object */   \
    F(railMaterial, 6, int16_t, NoPrefs, 99, Item::Chooser(34, APIUserControl_Material), Item::None)                   \
    F(tieMaterial, 7, int16_t, NoPrefs, 3, Item::Chooser(35, APIUserControl_Material), Item::None)                     \
    F(firstTrack, 20, int16_t, NoPrefs, 1, Item::Check(56), Item::None)                                                \
    F(secondTrack, 21, int16_t, NoPrefs, 0, Item::Check(58), Item::None)                                               \
    F(gauge, 22, double, NoPrefs, 1.435, Item::Real(10), Item::None)                                                   \
    F(tieSpacing, 23, double, NoPrefs, 0.6, Item::Real(12), Item::None)                                                \
    F(levelCrossing, 24, int16_t, NoPrefs, 0, Item::Check(60), Item::None)

struct RailwaySettings {
    LODRAVIX_SETTINGS_RECORD(RailwaySettings, LODRAVIX_RAILWAY_FIELDS)
};
