#pragma once
// The terrain tool's settings (element kind 4): the look of the terrain mesh and its ID text. Every field but the
// name is a 16-bit attribute index or switch.
#include "settings/FieldTable.hpp"

// member, id, type, preference, default, item in the dialog's first layout, in its second. The two triangle
// switches are kept as "hidden" flags (settings/PrefsSections.cpp) and shown as radio pairs, the dialog's own.
#define LODRAVIX_TERRAIN_FIELDS(F)                                                                                     \
    F(lineType, 0, uint16_t, PrefsParam::TerrainLineType, 1, Item::Chooser(7, APIUserControl_LineType),                \
      Item::Chooser(8, APIUserControl_LineType)) /* plan line type */                                                  \
    F(contourPen, 1, uint16_t, PrefsParam::TerrainContourPen, 53, Item::Pen(11, 12), Item::Pen(12, 13))                \
    F(ridgePen, 2, uint16_t, PrefsParam::TerrainRidgePen, 73, Item::Pen(14, 15), Item::Pen(15, 16))                    \
    F(fill, 4, uint16_t, PrefsParam::TerrainFill, 38, Item::None, Item::None) /* kept with the preferences only */     \
    F(fillContourPen, 7, uint16_t, PrefsParam::TerrainFillContourPen, 93, Item::None, Item::Pen(23, 24)) /* section */ \
    F(fillPen, 5, uint16_t, PrefsParam::TerrainFillPen, 113, Item::None, Item::Pen(26, 27))                            \
    F(fillBackgroundPen, 6, uint16_t, PrefsParam::TerrainFillBackgroundPen, 133, Item::None, Item::Pen(29, 30))        \
    F(planTriangles, 3, uint16_t, PrefsParam::TerrainShow2DTriangles, 1, Item::None, Item::None) /* 1 hide, 2 show */  \
    F(modelTriangles, 11, uint16_t, PrefsParam::TerrainShow3DTriangles, 1, Item::None,                                 \
      Item::None) /* 1 hide, 0 show */                                                                                 \
    F(topMaterial, 8, uint16_t, PrefsParam::TerrainTopMaterial, 26, Item::Chooser(20, APIUserControl_Material),        \
      Item::Chooser(35, APIUserControl_Material))                                                                      \
    F(sideMaterial, 9, uint16_t, PrefsParam::TerrainSideMaterial, 33, Item::Chooser(21, APIUserControl_Material),      \
      Item::Chooser(36, APIUserControl_Material))                                                                      \
    F(bottomMaterial, 10, uint16_t, PrefsParam::TerrainBottomMaterial, 33, Item::None,                                 \
      Item::Chooser(37, APIUserControl_Material))                                                                      \
    F(name, 12, QV_String, PrefsParam::TerrainName, "TERRAIN", Item::None, Item::None)   /* the mesh's element ID */   \
    F(penOverride, 15, uint16_t, PrefsParam::TerrainOverride, 1, Item::None, Item::None) /* 0 none, 1 fg, 2 bg, 3 */   \
    F(buildingMaterial, 14, uint16_t, PrefsParam::TerrainBuildingMaterial, 1, Item::None,                              \
      Item::Chooser(19, APIUserControl_BuildingMaterial))                                                              \
    F(topMaterialOverride, 16, uint16_t, PrefsParam::TopMaterialOverride, 0, Item::None, Item::None)                   \
    F(sideMaterialOverride, 17, uint16_t, PrefsParam::SideMaterialOverride, 0, Item::None, Item::None)                 \
    F(bottomMaterialOverride, 18, uint16_t, PrefsParam::BottomMaterialOverride, 0, Item::None, Item::None)             \
    F(layer, 13, uint16_t, NoPrefs, 1, Item::Chooser(44, APIUserControl_Layer), Item::Chooser(45, APIUserControl_Layer))

struct TerrainSettings {
    LODRAVIX_SETTINGS_RECORD(TerrainSettings, LODRAVIX_TERRAIN_FIELDS)
};
