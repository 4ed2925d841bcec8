#pragma once
// The bridge tool's settings (element kind 20).
#include "settings/FieldTable.hpp"

// member, id, type, preference, default, item in the dialog's one layout, in no second. The pens have an edit
// beside their control, and the fill control shows three pens' colours (the dialog's own items).
#define LODRAVIX_BRIDGE_FIELDS(F)                                                                                      \
    F(thickness, 12, double, PrefsParam::BridgeThickness, 0.2, Item::Real(9), Item::None)                              \
    F(roadWidth, 4, double, PrefsParam::BridgeWidth, 6.0, Item::Real(11), Item::None)                                  \
    F(pen3D, 0, int16_t, PrefsParam::BridgePen3D, 6, Item::Chooser(36, APIUserControl_Pen), Item::None)                \
    F(bridgeMaterial, 1, int16_t, PrefsParam::BridgeMaterial, 4, Item::Chooser(39, APIUserControl_Material),           \
      Item::None)                                                                                                      \
    F(roadMaterial, 2, int16_t, PrefsParam::BridgeRoadMaterial, 102, Item::Chooser(41, APIUserControl_Material),       \
      Item::None)                                                                                                      \
    F(sidewalkMaterial, 3, int16_t, PrefsParam::BridgeSidewalkMaterial, 53,                                            \
      Item::Chooser(43, APIUserControl_Material), Item::None)                                                          \
    F(pen2D, 9, int16_t, PrefsParam::BridgePen2D, 1, Item::Chooser(48, APIUserControl_Pen), Item::None)                \
    F(fill, 6, int16_t, PrefsParam::BridgeFill, 24, Item::Chooser(50, APIUserControl_Fill), Item::None)                \
    F(fillPen, 7, int16_t, PrefsParam::BridgeFillPen, 102, Item::None, Item::None)                                     \
    F(fillBackgroundPen, 8, int16_t, PrefsParam::BridgeBackgroundPen, 24, Item::None, Item::None)                      \
    F(name, 11, QV_String, PrefsParam::BridgeName, "BRIDGE", Item::Text(65), Item::None) /* element information */     \
    F(sidewalkLeft, 13, int16_t, PrefsParam::BridgeBorderLeft, 1, Item::Check(18), Item::None)                         \
    F(sidewalkRight, 14, int16_t, PrefsParam::BridgeBorderRight, 1, Item::Check(27), Item::None)                       \
    F(sidewalkWidthLeft, 15, double, PrefsParam::BridgeBorderWidthLeft, 0.5, Item::Real(22), Item::None)               \
    F(sidewalkWidthRight, 17, double, PrefsParam::BridgeBorderWidthRight, 0.5, Item::Real(31), Item::None)             \
    F(sidewalkThicknessLeft, 16, double, PrefsParam::BridgeBorderThickLeft, 0.1, Item::Real(20), Item::None)           \
    F(sidewalkThicknessRight, 18, double, PrefsParam::BridgeBorderThickRight, 0.1, Item::Real(29), Item::None)         \
    F(railingLeft, 19, int16_t, PrefsParam::BridgeRailingLeft, 1, Item::Check(16), Item::None)                         \
    F(railingRight, 20, int16_t, PrefsParam::BridgeRailingRight, 1, Item::Check(25), Item::None)                       \
    F(side, 5, QV_String, NoPrefs, "left", Item::None, Item::None) /* "left" or "right" */                             \
    F(layer, 10, int16_t, NoPrefs, 1, Item::Chooser(63, APIUserControl_Layer), Item::None)                             \
    F(railway, 21, int16_t, NoPrefs, 0, Item::Check(54), Item::None)                                                   \
    F(twoTracks, 22, int16_t, NoPrefs, 0, Item::Check(56), Item::None)                                                 \
    F(tieSpacing, 23, double, NoPrefs, 0.9, Item::Real(58), Item::None)                                                \
    F(gauge, 24, double, NoPrefs, 1.435, Item::Real(60), Item::None)

struct BridgeSettings {
    LODRAVIX_SETTINGS_RECORD(BridgeSettings, LODRAVIX_BRIDGE_FIELDS)
};
