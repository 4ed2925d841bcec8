#pragma once
// The parameters of the preferences library part "VY_PREFS" (PrefsLP, PrefsLP_ParamName) in the part's order,
// group by group as the preference sections (settings/PrefsSections.cpp) exchange them. A parameter's index is
// its place in the list, counted from 3 (after A, B, ZZYZX): a parameter put inside a group moves the later ones
// with it, and the name table (ParamNames.cpp) is this list's names. Checked as those of ParamIndexes.hpp.
#include "elements/ParamIndexes.hpp"

#define LODRAVIX_PREFS_PARAMS(P)                                                                                       \
    /* points */                                                                                                       \
    P(PointsPen, "punti_2D_pen")                                                                                       \
    P(PointsCode, "punti_code")                                                                                        \
    /* constraints */                                                                                                  \
    P(ConstraintPen, "constraint_2D_pen")                                                                              \
    P(ConstraintLineType, "constraint_linetype")                                                                       \
    /* outlines */                                                                                                     \
    P(OutlineLineType, "outline_linetype")                                                                             \
    P(OutlineFill, "outline_fill")                                                                                     \
    P(OutlinePen, "outline_2D_pen")                                                                                    \
    P(OutlineFillPen, "outline_fill_pen")                                                                              \
    P(OutlineBackgroundPen, "outline_bkg_pen")                                                                         \
    P(OutlineName, "outline_ID")                                                                                       \
    /* contour lines */                                                                                                \
    P(ContourMain, "contour_line_main")                                                                                \
    P(ContourMainPen, "contour_line_main_pen")                                                                         \
    P(ContourPen, "contour_line_pen")                                                                                  \
    P(ContourLineType, "contour_line_linetype")                                                                        \
    P(ContourShow2D, "contour_line_show_2D")                                                                           \
    P(ContourShowSection, "contour_line_show_SE")                                                                      \
    P(ContourShow3D, "contour_line_show_3D")                                                                           \
    /* terrain */                                                                                                      \
    P(TerrainLineType, "terrain_linetype")                                                                             \
    P(TerrainContourPen, "terrain_contour_pen")                                                                        \
    P(TerrainRidgePen, "terrain_ridge_pen")                                                                            \
    P(TerrainFill, "terrain_fill")                                                                                     \
    P(TerrainFillContourPen, "terrain_fill_contour_pen")                                                               \
    P(TerrainFillPen, "terrain_fill_pen")                                                                              \
    P(TerrainFillBackgroundPen, "terrain_fill_bkg_pen")                                                                \
    P(TerrainShow2DTriangles, "terrain_show_2d_triangle")                                                              \
    P(TerrainShow3DTriangles, "terrain_show_3d_triangle")                                                              \
    P(TerrainTopMaterial, "terrain_top_mat")                                                                           \
    P(TerrainSideMaterial, "terrain_side_mat")                                                                         \
    P(TerrainBottomMaterial, "terrain_bottom_mat")                                                                     \
    P(TerrainName, "terrain_ID")                                                                                       \
    P(TerrainOverride, "terrain_override")                                                                             \
    P(TerrainBuildingMaterial, "terrain_BM")                                                                           \
    P(TopMaterialOverride, "top_mat_override")                                                                         \
    P(SideMaterialOverride, "side_mat_override")                                                                       \
    P(BottomMaterialOverride, "bottom_mat_override")                                                                   \
    /* depth colouring */                                                                                              \
    P(DepthPen, "show_depth_pen")                                                                                      \
    P(DepthColour1, "show_depth_colour_1")                                                                             \
    P(DepthColour2, "show_depth_colour_2")                                                                             \
    P(DepthColour3, "show_depth_colour_3")                                                                             \
    P(DepthColour4, "show_depth_colour_4")                                                                             \
    P(DepthRgb, "show_depth_RGB")                                                                                      \
    /* plateaus */                                                                                                     \
    P(PlateauLevel, "plateau_level")                                                                                   \
    P(PlateauSlope, "plateau_slope")                                                                                   \
    P(PlateauCutAngle, "plateau_cut_angle")                                                                            \
    P(PlateauFillAngle, "plateau_fill_angle")                                                                          \
    P(PlateauCutExtension, "plateau_cut_extension")                                                                    \
    P(PlateauFillExtension, "plateau_fill_extension")                                                                  \
    P(PlateauResolution, "plateau_resolution")                                                                         \
    P(PlateauTopMaterial, "plateau_top_mat")                                                                           \
    P(PlateauCutMaterial, "plateau_cut_mat")                                                                           \
    P(PlateauFillMaterial, "plateau_fill_mat")                                                                         \
    P(PlateauShow2D, "plateau_show_2D")                                                                                \
    P(PlateauPen2D, "plateau_2d_pen")                                                                                  \
    P(PlateauPen3D, "plateau_3d_pen")                                                                                  \
    P(PlateauName, "plateau_ID")                                                                                       \
    /* sidewalks */                                                                                                    \
    P(SidewalkWidth, "sidewalk_width")                                                                                 \
    P(SidewalkThickness, "sidewalk_thickness")                                                                         \
    P(SidewalkResolution, "sidewalk_resolution")                                                                       \
    P(SidewalkMaterial, "sidewalk_mat")                                                                                \
    P(SidewalkCutMaterial, "sidewalk_cut_mat")                                                                         \
    P(SidewalkFillMaterial, "sidewalk_fill_mat")                                                                       \
    P(SidewalkShow2D, "sidewalk_show_2d")                                                                              \
    P(SidewalkPen2D, "sidewalk_2d_pen")                                                                                \
    P(SidewalkPen3D, "sidewalk_3d_pen")                                                                                \
    P(SidewalkName, "sidewalk_ID")                                                                                     \
    /* roads */                                                                                                        \
    P(RoadWidth, "road_width")                                                                                         \
    P(RoadLeftCutAngle, "road_left_cut_angle")                                                                         \
    P(RoadLeftFillAngle, "road_left_fill_angle")                                                                       \
    P(RoadRightCutAngle, "road_rigth_cut_angle")                                                                       \
    P(RoadRightFillAngle, "road_rigth_fill_angle")                                                                     \
    P(RoadCutExtension, "road_cut_extension")                                                                          \
    P(RoadFillExtension, "road_fill_extension")                                                                        \
    P(RoadResolution, "road_resolution")                                                                               \
    P(RoadMaterial, "road_mat")                                                                                        \
    P(RoadCutMaterial, "road_cut_mat")                                                                                 \
    P(RoadFillMaterial, "road_fill_mat")                                                                               \
    P(RoadShow2D, "road_show_2d")                                                                                      \
    P(RoadPen2D, "road_2d_pen")                                                                                        \
    P(RoadPen3D, "road_3d_pen")                                                                                        \
    P(RoadName, "road_ID")                                                                                             \
    /* road sections */                                                                                                \
    P(SectionBottomLevel, "road_sect_bot_level")                                                                       \
    P(SectionStraightPen, "road_sect_straigth_pen")                                                                    \
    P(SectionCurvePen, "road_sect_curve_pen")                                                                          \
    P(SectionTerrainPen, "road_sect_terrain_pen")                                                                      \
    P(SectionLeadingLineType, "road_sect_leading_linetype")                                                            \
    P(SectionLeadingPen, "road_sect_leading_pen")                                                                      \
    P(SectionGridLineType, "road_sect_grid_linetype")                                                                  \
    P(SectionGridPen, "road_sect_grid_pen")                                                                            \
    P(SectionFont, "road_sect_text")                                                                                   \
    P(SectionTextSize, "road_sect_text_size")                                                                          \
    P(SectionTextPen, "road_sect_text_pen")                                                                            \
    P(SectionShowPlan, "road_sect_show_plan")                                                                          \
    P(SectionShowLeft, "road_sect_show_left")                                                                          \
    P(SectionFlipLeft, "road_sect_flip_left")                                                                          \
    P(SectionShowRight, "road_sect_show_rigth")                                                                        \
    P(SectionFlipRight, "road_sect_flip_rigth")                                                                        \
    /* basins */                                                                                                       \
    P(BasinMaterial, "basin_mat")                                                                                      \
    P(BasinPen3D, "basin_3d_pen")                                                                                      \
    P(BasinPen2D, "basin_2d_pen")                                                                                      \
    P(BasinLineType, "basin_linetype")                                                                                 \
    P(BasinFill, "basin_fill")                                                                                         \
    P(BasinFillPen, "basin_fill_pen")                                                                                  \
    P(BasinBackgroundPen, "basin_bkg_pen")                                                                             \
    P(BasinName, "basin_ID")                                                                                           \
    /* buildings */                                                                                                    \
    P(BuildingShowRoof, "building_show_roof")                                                                          \
    P(BuildingRoofAngle, "building_roof_angle")                                                                        \
    P(BuildingResolution, "building_resolution")                                                                       \
    P(BuildingMaterial, "building_mat")                                                                                \
    P(BuildingRoofMaterial, "building_roof_mat")                                                                       \
    P(BuildingPen2D, "building_2D_pen")                                                                                \
    P(BuildingPen3D, "building_3D_pen")                                                                                \
    P(BuildingFill, "building_fill")                                                                                   \
    P(BuildingFillPen, "building_fill_pen")                                                                            \
    P(BuildingFillBackgroundPen, "building_fill_bkg_pen")                                                              \
    P(BuildingName, "building_ID")                                                                                     \
    /* coloured areas */                                                                                               \
    P(PaintShow2D, "paint_show_2d")                                                                                    \
    P(PaintShowName, "paint_show_ID")                                                                                  \
    P(PaintDistance, "paint_distance")                                                                                 \
    P(PaintResolution, "paint_resolution")                                                                             \
    P(PaintName, "paint_ID")                                                                                           \
    P(PaintMaterial, "paint_mat")                                                                                      \
    /* walls */                                                                                                        \
    P(WallHeight, "VYwall_heigth")                                                                                     \
    P(WallThickness, "VYwall_thickness")                                                                               \
    P(WallPen3D, "VYwall_3d_pen")                                                                                      \
    P(WallResolution, "VYwall_resolution")                                                                             \
    P(WallMaterial, "VYwall_material")                                                                                 \
    P(WallPen2D, "VYwall_2d_pen")                                                                                      \
    P(WallFill, "VYwall_fill")                                                                                         \
    P(WallFillPen, "VYwall_fill_pen")                                                                                  \
    P(WallBackgroundPen, "VYwall_bkg_pen")                                                                             \
    P(WallName, "VYwall_ID")                                                                                           \
    /* bridges */                                                                                                      \
    P(BridgeThickness, "VYbridge_thickness")                                                                           \
    P(BridgeWidth, "VYbridge_width")                                                                                   \
    P(BridgePen3D, "VYbridge_3d_pen")                                                                                  \
    P(BridgeMaterial, "VYbridge_material")                                                                             \
    P(BridgeRoadMaterial, "VYbridge_material_road")                                                                    \
    P(BridgeSidewalkMaterial, "VYbridge_material_sidewalk")                                                            \
    P(BridgePen2D, "VYbridge_2d_pen")                                                                                  \
    P(BridgeFill, "VYbridge_fill")                                                                                     \
    P(BridgeFillPen, "VYbridge_fill_pen")                                                                              \
    P(BridgeBackgroundPen, "VYbridge_bkg_pen")                                                                         \
    P(BridgeName, "VYbridge_ID")                                                                                       \
    P(BridgeBorderLeft, "VYbridge_border_left")                                                                        \
    P(BridgeBorderRight, "VYbridge_border_right")                                                                      \
    P(BridgeBorderWidthLeft, "VYbridge_border_width_left")                                                             \
    P(BridgeBorderWidthRight, "VYbridge_border_width_right")                                                           \
    P(BridgeBorderThickLeft, "VYbridge_border_thick_left")                                                             \
    P(BridgeBorderThickRight, "VYbridge_border_thick_right")                                                           \
    P(BridgeRailingLeft, "VYbridge_railing_left")                                                                      \
    P(BridgeRailingRight, "VYbridge_railing_right")                                                                    \
    /* railways; "railway_width" is no field: the railway takes the road width */                                      \
    P(RailwayWidth, "railway_width")                                                                                   \
    P(RailwayLeftCutAngle, "railway_left_cut_angle")                                                                   \
    P(RailwayLeftFillAngle, "railway_left_fill_angle")                                                                 \
    P(RailwayRightCutAngle, "railway_right_cut_angle")                                                                 \
    P(RailwayRightFillAngle, "railway_right_fill_angle")                                                               \
    P(RailwayCutExtension, "railway_cut_extension")                                                                    \
    P(RailwayFillExtension, "railway_fill_extension")                                                                  \
    P(RailwayResolution, "railway_resolution")                                                                         \
    P(RailwayMaterial, "railway_mat")                                                                                  \
    P(RailwayCutMaterial, "railway_cut_mat")                                                                           \
    P(RailwayFillMaterial, "railway_fill_mat")                                                                         \
    P(RailwayShow2D, "railway_show_2d")                                                                                \
    P(RailwayPen2D, "railway_2d_pen")                                                                                  \
    P(RailwayPen3D, "railway_3d_pen")                                                                                  \
    P(RailwayName, "railway_ID")                                                                                       \
    /* the 2D display of retaining structures along plateaus, roads and railways */                                    \
    P(ObstacleShow2D, "obstacle_show_2d")                                                                              \
    P(ObstaclePen2D, "obstacle_2d_pen")                                                                                \
    P(ObstacleLineType, "obstacle_line_type")                                                                          \
    /* retaining walls */                                                                                              \
    P(RetainingHeight, "retaining_heigth")                                                                             \
    P(RetainingThickness, "retaining_thickness")                                                                       \
    P(RetainingLeftAngle, "retaining_left_angle")                                                                      \
    P(RetainingRightAngle, "retaining_rigth_angle")                                                                    \
    P(RetainingPen3D, "retaining_3d_pen")                                                                              \
    P(RetainingResolution, "retaining_resolution")                                                                     \
    P(RetainingMaterial, "retaining_material")                                                                         \
    P(RetainingPen2D, "retaining_2d_pen")                                                                              \
    P(RetainingFill, "retaining_fill")                                                                                 \
    P(RetainingFillPen, "retaining_fill_pen")                                                                          \
    P(RetainingBackgroundPen, "retaining_bkg_pen")                                                                     \
    P(RetainingName, "retaining_ID")                                                                                   \
    /* level markers */                                                                                                \
    P(LevelSymbol, "level_type")                                                                                       \
    P(LevelSize, "level_size")                                                                                         \
    P(LevelTextAngle, "level_angle")                                                                                   \
    P(LevelMarkerPen, "level_marker_pen")                                                                              \
    P(LevelTextPen, "level_text_pen")                                                                                  \
    P(LevelFont, "level_font")                                                                                         \
    P(LevelTextSize, "level_text_size")                                                                                \
    P(LevelItalic, "level_italic")                                                                                     \
    P(LevelShowLevel, "level_show_level")                                                                              \
    P(LevelShowCode, "level_show_code")                                                                                \
    P(LevelShowComment, "level_show_comment")                                                                          \
    /* slope ranges */                                                                                                 \
    P(SlopeRangeLimit1, "slopeRange_P_range_1")                                                                        \
    P(SlopeRangeLimit2, "slopeRange_P_range_2")                                                                        \
    P(SlopeRangeLimit3, "slopeRange_P_range_3")                                                                        \
    P(SlopeRangeLimit4, "slopeRange_P_range_4")                                                                        \
    P(SlopeRangeLimit5, "slopeRange_P_range_5")                                                                        \
    P(SlopeRangeLimit6, "slopeRange_P_range_6")                                                                        \
    P(SlopeRangeColour1, "slopeRange_color_1")                                                                         \
    P(SlopeRangeColour2, "slopeRange_color_2")                                                                         \
    P(SlopeRangeColour3, "slopeRange_color_3")                                                                         \
    P(SlopeRangeColour4, "slopeRange_color_4")                                                                         \
    P(SlopeRangeColour5, "slopeRange_color_5")                                                                         \
    P(SlopeRangeColour6, "slopeRange_color_6")                                                                         \
    P(SlopeRangeColour7, "slopeRange_color_7")                                                                         \
    P(SlopeRangeTextA, "slopeRange_text_A")                                                                            \
    P(SlopeRangeTextB, "slopeRange_text_B")                                                                            \
    P(SlopeRangeTextC, "slopeRange_text_C")                                                                            \
    P(SlopeRangeFont, "slopeRange_font_family")                                                                        \
    P(SlopeRangeSize, "slopeRange_size")                                                                               \
    P(SlopeRangeTextPen, "slopeRange_penna_testo")                                                                     \
    P(SlopeRangeFramePen, "slopeRange_penna_frame")                                                                    \
    /* general */                                                                                                      \
    P(DeleteFlag, "Quorra30_delete")                                                                                   \
    P(CameraValue, "Quorra30_camera")

#define LODRAVIX_PREFS_CONSTANT(constant, name) constant,
#define LODRAVIX_PREFS_ENTRY(constant, name) ParamIndexEntry{#constant, constant, name},
#define LODRAVIX_PREFS_NAME(constant, name) name,
namespace PrefsParam {
enum : int32_t { BeforeFirst = 2, LODRAVIX_PREFS_PARAMS(LODRAVIX_PREFS_CONSTANT) End };
constexpr int32_t First = BeforeFirst + 1;
constexpr int32_t Last = End - 1;
constexpr ParamIndexEntry Entries[] = {LODRAVIX_PREFS_PARAMS(LODRAVIX_PREFS_ENTRY)};
constexpr const char* Names[] = {LODRAVIX_PREFS_PARAMS(LODRAVIX_PREFS_NAME)};
}  // namespace PrefsParam
