#pragma once
// The indexes of the preferences library part "VY_PREFS" (PrefsLP, PrefsLP_ParamName), group by group as the
// preference sections (settings/PrefsSections.cpp) exchange them; made and checked as those of ParamIndexes.hpp.
#include "elements/ParamIndexes.hpp"

#define LODRAVIX_PREFS_PARAMS(P)                                                                                       \
    /* 3-4 points */                                                                                                   \
    P(PointsPen, 3, "punti_2D_pen")                                                                                    \
    P(PointsCode, 4, "punti_code")                                                                                     \
    /* 5-6 constraints */                                                                                              \
    P(ConstraintPen, 5, "constraint_2D_pen")                                                                           \
    P(ConstraintLineType, 6, "constraint_linetype")                                                                    \
    /* 7-12 outlines */                                                                                                \
    P(OutlineLineType, 7, "outline_linetype")                                                                          \
    P(OutlineFill, 8, "outline_fill")                                                                                  \
    P(OutlinePen, 9, "outline_2D_pen")                                                                                 \
    P(OutlineFillPen, 10, "outline_fill_pen")                                                                          \
    P(OutlineBackgroundPen, 11, "outline_bkg_pen")                                                                     \
    P(OutlineName, 12, "outline_ID")                                                                                   \
    /* 13-19 contour lines */                                                                                          \
    P(ContourMain, 13, "contour_line_main")                                                                            \
    P(ContourMainPen, 14, "contour_line_main_pen")                                                                     \
    P(ContourPen, 15, "contour_line_pen")                                                                              \
    P(ContourLineType, 16, "contour_line_linetype")                                                                    \
    P(ContourShow2D, 17, "contour_line_show_2D")                                                                       \
    P(ContourShowSection, 18, "contour_line_show_SE")                                                                  \
    P(ContourShow3D, 19, "contour_line_show_3D")                                                                       \
    /* 20-37 terrain */                                                                                                \
    P(TerrainLineType, 20, "terrain_linetype")                                                                         \
    P(TerrainContourPen, 21, "terrain_contour_pen")                                                                    \
    P(TerrainRidgePen, 22, "terrain_ridge_pen")                                                                        \
    P(TerrainFill, 23, "terrain_fill")                                                                                 \
    P(TerrainFillContourPen, 24, "terrain_fill_contour_pen")                                                           \
    P(TerrainFillPen, 25, "terrain_fill_pen")                                                                          \
    P(TerrainFillBackgroundPen, 26, "terrain_fill_bkg_pen")                                                            \
    P(TerrainShow2DTriangles, 27, "terrain_show_2d_triangle")                                                          \
    P(TerrainShow3DTriangles, 28, "terrain_show_3d_triangle")                                                          \
    P(TerrainTopMaterial, 29, "terrain_top_mat")                                                                       \
    P(TerrainSideMaterial, 30, "terrain_side_mat")                                                                     \
    P(TerrainBottomMaterial, 31, "terrain_bottom_mat")                                                                 \
    P(TerrainName, 32, "terrain_ID")                                                                                   \
    P(TerrainOverride, 33, "terrain_override")                                                                         \
    P(TerrainBuildingMaterial, 34, "terrain_BM")                                                                       \
    P(TopMaterialOverride, 35, "top_mat_override")                                                                     \
    P(SideMaterialOverride, 36, "side_mat_override")                                                                   \
    P(BottomMaterialOverride, 37, "bottom_mat_override")                                                               \
    /* 38-43 depth colouring */                                                                                        \
    P(DepthPen, 38, "show_depth_pen")                                                                                  \
    P(DepthColour1, 39, "show_depth_colour_1")                                                                         \
    P(DepthColour2, 40, "show_depth_colour_2")                                                                         \
    P(DepthColour3, 41, "show_depth_colour_3")                                                                         \
    P(DepthColour4, 42, "show_depth_colour_4")                                                                         \
    P(DepthRgb, 43, "show_depth_RGB")                                                                                  \
    /* 44-57 plateaus */                                                                                               \
    P(PlateauLevel, 44, "plateau_level")                                                                               \
    P(PlateauSlope, 45, "plateau_slope")                                                                               \
    P(PlateauCutAngle, 46, "plateau_cut_angle")                                                                        \
    P(PlateauFillAngle, 47, "plateau_fill_angle")                                                                      \
    P(PlateauCutExtension, 48, "plateau_cut_extension")                                                                \
    P(PlateauFillExtension, 49, "plateau_fill_extension")                                                              \
    P(PlateauResolution, 50, "plateau_resolution")                                                                     \
    P(PlateauTopMaterial, 51, "plateau_top_mat")                                                                       \
    P(PlateauCutMaterial, 52, "plateau_cut_mat")                                                                       \
    P(PlateauFillMaterial, 53, "plateau_fill_mat")                                                                     \
    P(PlateauShow2D, 54, "plateau_show_2D")                                                                            \
    P(PlateauPen2D, 55, "plateau_2d_pen")                                                                              \
    P(PlateauPen3D, 56, "plateau_3d_pen")                                                                              \
    P(PlateauName, 57, "plateau_ID")                                                                                   \
    /* 58-67 sidewalks */                                                                                              \
    P(SidewalkWidth, 58, "sidewalk_width")                                                                             \
    P(SidewalkThickness, 59, "sidewalk_thickness")                                                                     \
    P(SidewalkResolution, 60, "sidewalk_resolution")                                                                   \
    P(SidewalkMaterial, 61, "sidewalk_mat")                                                                            \
    P(SidewalkCutMaterial, 62, "sidewalk_cut_mat")                                                                     \
    P(SidewalkFillMaterial, 63, "sidewalk_fill_mat")                                                                   \
    P(SidewalkShow2D, 64, "sidewalk_show_2d")                                                                          \
    P(SidewalkPen2D, 65, "sidewalk_2d_pen")                                                                            \
    P(SidewalkPen3D, 66, "sidewalk_3d_pen")                                                                            \
    P(SidewalkName, 67, "sidewalk_ID")                                                                                 \
    /* 68-82 roads */                                                                                                  \
    P(RoadWidth, 68, "road_width")                                                                                     \
    P(RoadLeftCutAngle, 69, "road_left_cut_angle")                                                                     \
    P(RoadLeftFillAngle, 70, "road_left_fill_angle")                                                                   \
    P(RoadRightCutAngle, 71, "road_rigth_cut_angle")                                                                   \
    P(RoadRightFillAngle, 72, "road_rigth_fill_angle")                                                                 \
    P(RoadCutExtension, 73, "road_cut_extension")                                                                      \
    P(RoadFillExtension, 74, "road_fill_extension")                                                                    \
    P(RoadResolution, 75, "road_resolution")                                                                           \
    P(RoadMaterial, 76, "road_mat")                                                                                    \
    P(RoadCutMaterial, 77, "road_cut_mat")                                                                             \
    P(RoadFillMaterial, 78, "road_fill_mat")                                                                           \
    P(RoadShow2D, 79, "road_show_2d")                                                                                  \
    P(RoadPen2D, 80, "road_2d_pen")                                                                                    \
    P(RoadPen3D, 81, "road_3d_pen")                                                                                    \
    P(RoadName, 82, "road_ID")                                                                                         \
    /* 83-98 road sections */                                                                                          \
    P(SectionBottomLevel, 83, "road_sect_bot_level")                                                                   \
    P(SectionStraightPen, 84, "road_sect_straigth_pen")                                                                \
    P(SectionCurvePen, 85, "road_sect_curve_pen")                                                                      \
    P(SectionTerrainPen, 86, "road_sect_terrain_pen")                                                                  \
    P(SectionLeadingLineType, 87, "road_sect_leading_linetype")                                                        \
    P(SectionLeadingPen, 88, "road_sect_leading_pen")                                                                  \
    P(SectionGridLineType, 89, "road_sect_grid_linetype")                                                              \
    P(SectionGridPen, 90, "road_sect_grid_pen")                                                                        \
    P(SectionFont, 91, "road_sect_text")                                                                               \
    P(SectionTextSize, 92, "road_sect_text_size")                                                                      \
    P(SectionTextPen, 93, "road_sect_text_pen")                                                                        \
    P(SectionShowPlan, 94, "road_sect_show_plan")                                                                      \
    P(SectionShowLeft, 95, "road_sect_show_left")                                                                      \
    P(SectionFlipLeft, 96, "road_sect_flip_left")                                                                      \
    P(SectionShowRight, 97, "road_sect_show_rigth")                                                                    \
    P(SectionFlipRight, 98, "road_sect_flip_rigth")                                                                    \
    /* 99-106 basins */                                                                                                \
    P(BasinMaterial, 99, "basin_mat")                                                                                  \
    P(BasinPen3D, 100, "basin_3d_pen")                                                                                 \
    P(BasinPen2D, 101, "basin_2d_pen")                                                                                 \
    P(BasinLineType, 102, "basin_linetype")                                                                            \
    P(BasinFill, 103, "basin_fill")                                                                                    \
    P(BasinFillPen, 104, "basin_fill_pen")                                                                             \
    P(BasinBackgroundPen, 105, "basin_bkg_pen")                                                                        \
    P(BasinName, 106, "basin_ID")                                                                                      \
    /* 107-117 buildings */                                                                                            \
    P(BuildingShowRoof, 107, "building_show_roof")                                                                     \
    P(BuildingRoofAngle, 108, "building_roof_angle")                                                                   \
    P(BuildingResolution, 109, "building_resolution")                                                                  \
    P(BuildingMaterial, 110, "building_mat")                                                                           \
    P(BuildingRoofMaterial, 111, "building_roof_mat")                                                                  \
    P(BuildingPen2D, 112, "building_2D_pen")                                                                           \
    P(BuildingPen3D, 113, "building_3D_pen")                                                                           \
    P(BuildingFill, 114, "building_fill")                                                                              \
    P(BuildingFillPen, 115, "building_fill_pen")                                                                       \
    P(BuildingFillBackgroundPen, 116, "building_fill_bkg_pen")                                                         \
    P(BuildingName, 117, "building_ID")                                                                                \
    /* 118-123 coloured areas */                                                                                       \
    P(PaintShow2D, 118, "paint_show_2d")                                                                               \
    P(PaintShowName, 119, "paint_show_ID")                                                                             \
    P(PaintDistance, 120, "paint_distance")                                                                            \
    P(PaintResolution, 121, "paint_resolution")                                                                        \
    P(PaintName, 122, "paint_ID")                                                                                      \
    P(PaintMaterial, 123, "paint_mat")                                                                                 \
    /* 124-133 walls */                                                                                                \
    P(WallHeight, 124, "VYwall_heigth")                                                                                \
    P(WallThickness, 125, "VYwall_thickness")                                                                          \
    P(WallPen3D, 126, "VYwall_3d_pen")                                                                                 \
    P(WallResolution, 127, "VYwall_resolution")                                                                        \
    P(WallMaterial, 128, "VYwall_material")                                                                            \
    P(WallPen2D, 129, "VYwall_2d_pen")                                                                                 \
    P(WallFill, 130, "VYwall_fill")                                                                                    \
    P(WallFillPen, 131, "VYwall_fill_pen")                                                                             \
    P(WallBackgroundPen, 132, "VYwall_bkg_pen")                                                                        \
    P(WallName, 133, "VYwall_ID")                                                                                      \
    /* 134-152 bridges */                                                                                              \
    P(BridgeThickness, 134, "VYbridge_thickness")                                                                      \
    P(BridgeWidth, 135, "VYbridge_width")                                                                              \
    P(BridgePen3D, 136, "VYbridge_3d_pen")                                                                             \
    P(BridgeMaterial, 137, "VYbridge_material")                                                                        \
    P(BridgeRoadMaterial, 138, "VYbridge_material_road")                                                               \
    P(BridgeSidewalkMaterial, 139, "VYbridge_material_sidewalk")                                                       \
    P(BridgePen2D, 140, "VYbridge_2d_pen")                                                                             \
    P(BridgeFill, 141, "VYbridge_fill")                                                                                \
    P(BridgeFillPen, 142, "VYbridge_fill_pen")                                                                         \
    P(BridgeBackgroundPen, 143, "VYbridge_bkg_pen")                                                                    \
    P(BridgeName, 144, "VYbridge_ID")                                                                                  \
    P(BridgeBorderLeft, 145, "VYbridge_border_left")                                                                   \
    P(BridgeBorderRight, 146, "VYbridge_border_right")                                                                 \
    P(BridgeBorderWidthLeft, 147, "VYbridge_border_width_left")                                                        \
    P(BridgeBorderWidthRight, 148, "VYbridge_border_width_right")                                                      \
    P(BridgeBorderThickLeft, 149, "VYbridge_border_thick_left")                                                        \
    P(BridgeBorderThickRight, 150, "VYbridge_border_thick_right")                                                      \
    P(BridgeRailingLeft, 151, "VYbridge_railing_left")                                                                 \
    P(BridgeRailingRight, 152, "VYbridge_railing_right")                                                               \
    /* 154-167 railways; 153 "railway_width" is no field: the railway takes the road width */                          \
    P(RailwayLeftCutAngle, 154, "railway_left_cut_angle")                                                              \
    P(RailwayLeftFillAngle, 155, "railway_left_fill_angle")                                                            \
    P(RailwayRightCutAngle, 156, "railway_right_cut_angle")                                                            \
    P(RailwayRightFillAngle, 157, "railway_right_fill_angle")                                                          \
    P(RailwayCutExtension, 158, "railway_cut_extension")                                                               \
    P(RailwayFillExtension, 159, "railway_fill_extension")                                                             \
    P(RailwayResolution, 160, "railway_resolution")                                                                    \
    P(RailwayMaterial, 161, "railway_mat")                                                                             \
    P(RailwayCutMaterial, 162, "railway_cut_mat")                                                                      \
    P(RailwayFillMaterial, 163, "railway_fill_mat")                                                                    \
    P(RailwayShow2D, 164, "railway_show_2d")                                                                           \
    P(RailwayPen2D, 165, "railway_2d_pen")                                                                             \
    P(RailwayPen3D, 166, "railway_3d_pen")                                                                             \
    P(RailwayName, 167, "railway_ID")                                                                                  \
    /* 168-170 the 2D display of retaining structures along plateaus, roads and railways */                            \
    P(ObstacleShow2D, 168, "obstacle_show_2d")                                                                         \
    P(ObstaclePen2D, 169, "obstacle_2d_pen")                                                                           \
    P(ObstacleLineType, 170, "obstacle_line_type")                                                                     \
    /* 171-182 retaining walls */                                                                                      \
    P(RetainingHeight, 171, "retaining_heigth")                                                                        \
    P(RetainingThickness, 172, "retaining_thickness")                                                                  \
    P(RetainingLeftAngle, 173, "retaining_left_angle")                                                                 \
    P(RetainingRightAngle, 174, "retaining_rigth_angle")                                                               \
    P(RetainingPen3D, 175, "retaining_3d_pen")                                                                         \
    P(RetainingResolution, 176, "retaining_resolution")                                                                \
    P(RetainingMaterial, 177, "retaining_material")                                                                    \
    P(RetainingPen2D, 178, "retaining_2d_pen")                                                                         \
    P(RetainingFill, 179, "retaining_fill")                                                                            \
    P(RetainingFillPen, 180, "retaining_fill_pen")                                                                     \
    P(RetainingBackgroundPen, 181, "retaining_bkg_pen")                                                                \
    P(RetainingName, 182, "retaining_ID")                                                                              \
    /* 183-193 level markers */                                                                                        \
    P(LevelSymbol, 183, "level_type")                                                                                  \
    P(LevelSize, 184, "level_size")                                                                                    \
    P(LevelTextAngle, 185, "level_angle")                                                                              \
    P(LevelMarkerPen, 186, "level_marker_pen")                                                                         \
    P(LevelTextPen, 187, "level_text_pen")                                                                             \
    P(LevelFont, 188, "level_font")                                                                                    \
    P(LevelTextSize, 189, "level_text_size")                                                                           \
    P(LevelItalic, 190, "level_italic")                                                                                \
    P(LevelShowLevel, 191, "level_show_level")                                                                         \
    P(LevelShowCode, 192, "level_show_code")                                                                           \
    P(LevelShowComment, 193, "level_show_comment")                                                                     \
    /* 194-213 slope ranges */                                                                                         \
    P(SlopeRangeLimit1, 194, "slopeRange_P_range_1")                                                                   \
    P(SlopeRangeLimit2, 195, "slopeRange_P_range_2")                                                                   \
    P(SlopeRangeLimit3, 196, "slopeRange_P_range_3")                                                                   \
    P(SlopeRangeLimit4, 197, "slopeRange_P_range_4")                                                                   \
    P(SlopeRangeLimit5, 198, "slopeRange_P_range_5")                                                                   \
    P(SlopeRangeLimit6, 199, "slopeRange_P_range_6")                                                                   \
    P(SlopeRangeColour1, 200, "slopeRange_color_1")                                                                    \
    P(SlopeRangeColour2, 201, "slopeRange_color_2")                                                                    \
    P(SlopeRangeColour3, 202, "slopeRange_color_3")                                                                    \
    P(SlopeRangeColour4, 203, "slopeRange_color_4")                                                                    \
    P(SlopeRangeColour5, 204, "slopeRange_color_5")                                                                    \
    P(SlopeRangeColour6, 205, "slopeRange_color_6")                                                                    \
    P(SlopeRangeColour7, 206, "slopeRange_color_7")                                                                    \
    P(SlopeRangeTextA, 207, "slopeRange_text_A")                                                                       \
    P(SlopeRangeTextB, 208, "slopeRange_text_B")                                                                       \
    P(SlopeRangeTextC, 209, "slopeRange_text_C")                                                                       \
    P(SlopeRangeFont, 210, "slopeRange_font_family")                                                                   \
    P(SlopeRangeSize, 211, "slopeRange_size")                                                                          \
    P(SlopeRangeTextPen, 212, "slopeRange_penna_testo")                                                                \
    P(SlopeRangeFramePen, 213, "slopeRange_penna_frame")                                                               \
    /* 214-215 general */                                                                                              \
    P(DeleteFlag, 214, "Quorra30_delete")                                                                              \
    P(CameraValue, 215, "Quorra30_camera")
LODRAVIX_PARAM_INDEXES(PrefsParam, LODRAVIX_PREFS_PARAMS)
