#pragma once
// The indexes under which the code addresses the GDL parameters of the add-on's library parts, one namespace per
// name table (ParamNames.cpp, and the coordinate locator's in CoordinateLocatorLP.cpp); the preferences part's
// are in PrefsParamIndexes.hpp. The module hands a view no index but these constants.
//
// Each list gives, per parameter, the constant, its index and the GDL name the view's table answers there; the
// list makes both the constants and `Entries`, which the index test holds against the name tables and the library
// parts' descriptions, so that a wrong index fails there. The names are the library parts' own (misspellings
// included).
#include <cstdint>

// One parameter of a view's table as the code names it.
struct ParamIndexEntry {
    const char* constant;
    int32_t index;
    const char* name;  // the GDL parameter the view's table gives at `index`
};

#define LODRAVIX_PARAM_CONSTANT(constant, index, name) constexpr int32_t constant = index;
#define LODRAVIX_PARAM_ENTRY(constant, index, name) ParamIndexEntry{#constant, index, name},
// The constants of `LIST` in namespace `space`, with their entries in `space::Entries`.
#define LODRAVIX_PARAM_INDEXES(space, LIST)                                                                            \
    namespace space {                                                                                                  \
    LIST(LODRAVIX_PARAM_CONSTANT)                                                                                      \
    constexpr ParamIndexEntry Entries[] = {LIST(LODRAVIX_PARAM_ENTRY)};                                                \
    }

// ---- BaseLP, 0 to 2: every view but the coordinate locator's

#define LODRAVIX_BASE_PARAMS(P)                                                                                        \
    P(A, 0, "A")                                                                                                       \
    P(B, 1, "B")                                                                                                       \
    P(Zzyzx, 2, "ZZYZX")
LODRAVIX_PARAM_INDEXES(BaseParam, LODRAVIX_BASE_PARAMS)

// ---- BaseIDLP, 3 to 38: every view of an object with the identity and link parameters

#define LODRAVIX_BASE_ID_PARAMS(P)                                                                                     \
    P(IDResult, 3, "IDresult")                                                                                         \
    P(IDCut, 4, "IDcut")                                                                                               \
    P(IDFill, 5, "IDfill")                                                                                             \
    P(IDTerrain, 6, "IDterrain")                                                                                       \
    P(Operatore, 7, "operatore")                                                                                       \
    P(Pen3D, 8, "penna3D")                                                                                             \
    P(SkirtMaterial, 9, "mesh_skirt_material")                                                                         \
    P(Skirt, 10, "mesh_skirt")                                                                                         \
    P(MinLevel, 11, "mesh_min_level")                                                                                  \
    P(MaxLevel, 12, "mesh_max_level")                                                                                  \
    P(ObstacleCounts, 13, "nodi_ostacoli")                                                                             \
    P(Obstacles, 14, "ostacolo")                                                                                       \
    P(CutsEnne, 15, "cuts_enne")                                                                                       \
    P(CutsNode, 16, "cuts_node")                                                                                       \
    P(ChangeLevel, 17, "change_level")                                                                                 \
    P(SlopeIncFill, 18, "slope_inc_fill")                                                                              \
    P(SlopeIncCut, 19, "slope_inc_cut")                                                                                \
    P(CancellaObs, 20, "cancella_obs")                                                                                 \
    P(OutlineLeft, 21, "perimetro_base_SX")                                                                            \
    P(OutlineRight, 22, "perimetro_base_DX")                                                                           \
    P(LevelMaterial, 23, "level_material")                                                                             \
    P(CutMaterial, 24, "cut_material")                                                                                 \
    P(FillMaterial, 25, "fill_material")                                                                               \
    P(Show2D, 26, "show_2d")                                                                                           \
    P(Outline, 27, "perimetro_base")                                                                                   \
    P(LowestLevel, 28, "quota_minima")                                                                                 \
    P(HighestLevel, 29, "quota_massima")                                                                               \
    P(MacroName, 30, "macro_name")                                                                                     \
    P(FillPen, 31, "penna_fill")                                                                                       \
    P(FillBackgroundPen, 32, "penna_bkg_fill")                                                                         \
    P(Pen2D, 33, "penna_2D")                                                                                           \
    P(Resolution, 34, "resol_arco")                                                                                    \
    P(ObstacleLineType, 35, "tlinea_obs")                                                                              \
    P(ObstaclePen, 36, "penna_obs")                                                                                    \
    P(ObstacleShow2D, 37, "show_2D_obs")                                                                               \
    P(OriginalMeshLevel, 38, "original_mesh_level")
LODRAVIX_PARAM_INDEXES(BaseIDParam, LODRAVIX_BASE_ID_PARAMS)

// ---- the views of BaseIDLP's branch, from 39

// BasinBuilderLP, the basin's tracer.
#define LODRAVIX_BASIN_BUILDER_PARAMS(P)                                                                               \
    P(Level, 39, "livello")                                                                                            \
    P(MeshLevel, 40, "mesh_level")
LODRAVIX_PARAM_INDEXES(BasinBuilderParam, LODRAVIX_BASIN_BUILDER_PARAMS)

// BasinLP. Its outline has three columns here, where the other views use BaseIDParam::Outline with four.
#define LODRAVIX_BASIN_PARAMS(P)                                                                                       \
    P(Outline, 39, "perimetro_base")                                                                                   \
    P(ShowFill, 40, "show_fill")                                                                                       \
    P(Fill, 41, "retino")                                                                                              \
    P(NegativeLevel, 42, "negative_level")                                                                             \
    P(Language, 43, "language")
LODRAVIX_PARAM_INDEXES(BasinParam, LODRAVIX_BASIN_PARAMS)

// BridgeLP.
#define LODRAVIX_BRIDGE_PARAMS(P)                                                                                      \
    P(BridgeMaterial, 39, "BridgeSurface")                                                                             \
    P(RoadWidth, 40, "roadWidth")                                                                                      \
    P(Fill, 42, "retino")                                                                                              \
    P(Thickness, 43, "bridgeThick")                                                                                    \
    P(SidewalkLeft, 44, "bSidewalkOnLeft")                                                                             \
    P(SidewalkRight, 45, "bSidewalkOnRight")                                                                           \
    P(SidewalkWidthLeft, 46, "sidewalkWidthOnLeft")                                                                    \
    P(SidewalkThicknessLeft, 47, "sideWalkThickOnLeft")                                                                \
    P(SidewalkWidthRight, 48, "sidewalkWidthOnRight")                                                                  \
    P(SidewalkThicknessRight, 49, "sideWalkThickOnRight")                                                              \
    P(RoadMaterial, 50, "RoadSurface")                                                                                 \
    P(SidewalkMaterial, 51, "SidewalkSurface")                                                                         \
    P(RailingLeft, 52, "bRailingOnLeft")                                                                               \
    P(RailingRight, 53, "bRailingOnRight")                                                                             \
    P(Railway, 54, "bRailroad")                                                                                        \
    P(TrackCount, 55, "num_track")                                                                                     \
    P(TieSpacing, 56, "DistTie")                                                                                       \
    P(Gauge, 57, "GaugeTrack")
LODRAVIX_PARAM_INDEXES(BridgeParam, LODRAVIX_BRIDGE_PARAMS)

// BuildingLP.
#define LODRAVIX_BUILDING_PARAMS(P)                                                                                    \
    P(Material, 39, "mat_oggetto")                                                                                     \
    P(ShowRoof, 40, "mostra_falda")                                                                                    \
    P(RoofAngle, 41, "angolo_falda")                                                                                   \
    P(RoofMaterial, 42, "mat_falda")                                                                                   \
    P(Fill, 43, "retino")                                                                                              \
    P(NegativeLevel, 44, "negative_level")                                                                             \
    P(Height, 45, "acca_palazzo")
LODRAVIX_PARAM_INDEXES(BuildingParam, LODRAVIX_BUILDING_PARAMS)

// ContourLineLP.
#define LODRAVIX_CONTOUR_LINE_PARAMS(P)                                                                                \
    P(Interval, 39, "passo")                                                                                           \
    P(MinDepth, 40, "quota_min_depth")                                                                                 \
    P(MaxDepth, 41, "quota_max_depth")                                                                                 \
    P(MainSecondary, 42, "main_secondary")                                                                             \
    P(FirstPen, 43, "penna_1")                                                                                         \
    P(SecondPen, 44, "penna_2")                                                                                        \
    P(MainStep, 45, "passo_main")                                                                                      \
    P(Slopes, 46, "scarpate")                                                                                          \
    P(ContourLine, 47, "contour_line")                                                                                 \
    P(Gradient, 48, "gradiente")                                                                                       \
    P(UseAverage, 49, "usa_quota_media")                                                                               \
    P(UseAverage2, 50, "usa_quota_media_2")                                                                            \
    P(Rgb, 51, "rgb_colore")                                                                                           \
    P(Average, 52, "quota_media")                                                                                      \
    P(Average2, 53, "quota_media_2")                                                                                   \
    P(DepthPen, 54, "penna_depth")                                                                                     \
    P(Colour1, 55, "colore_1")                                                                                         \
    P(Colour2, 56, "colore_2")                                                                                         \
    P(Colour3, 57, "colore_3")                                                                                         \
    P(Colour4, 58, "colore_4")                                                                                         \
    P(ShowSection, 59, "show_section")                                                                                 \
    P(BoundingBox, 60, "BB_coor")                                                                                      \
    P(Show2D, 61, "flag_2d")                                                                                           \
    P(Show3D, 62, "flag_3d")                                                                                           \
    P(Quantities, 64, "quantita")                                                                                      \
    P(Identifiers, 65, "identificatori")
LODRAVIX_PARAM_INDEXES(ContourLineParam, LODRAVIX_CONTOUR_LINE_PARAMS)

// DiggingLP, both plateaus; the second list exists on the sloped plateau only (VY_SLOPED_PLATEAU).
#define LODRAVIX_DIGGING_PARAMS(P)                                                                                     \
    P(CutAngle, 39, "slope_angle_cut")                                                                                 \
    P(FillAngle, 40, "slope_angle_fill")                                                                               \
    P(Level, 41, "livello")                                                                                            \
    P(Language, 46, "language")
LODRAVIX_PARAM_INDEXES(DiggingParam, LODRAVIX_DIGGING_PARAMS)
#define LODRAVIX_SLOPED_DIGGING_PARAMS(P)                                                                              \
    P(SlopeDirection, 42, "slope_direction")                                                                           \
    P(Slope, 43, "slope")                                                                                              \
    P(OriginX, 44, "X_origo")                                                                                          \
    P(OriginY, 45, "Y_origo")
LODRAVIX_PARAM_INDEXES(SlopedDiggingParam, LODRAVIX_SLOPED_DIGGING_PARAMS)

// ObstacleLP, the retaining wall.
#define LODRAVIX_OBSTACLE_PARAMS(P)                                                                                    \
    P(SlopeLeftFill, 39, "slope_SX_fill")                                                                              \
    P(SlopeRightFill, 40, "slope_DX_fill")                                                                             \
    P(Fill, 41, "retino")                                                                                              \
    P(Material, 42, "mat_oggetto")                                                                                     \
    P(Original, 43, "originale")                                                                                       \
    P(OnLeft, 44, "a_sinistra")
LODRAVIX_PARAM_INDEXES(ObstacleParam, LODRAVIX_OBSTACLE_PARAMS)

// PaintLP, the coloured area.
#define LODRAVIX_PAINT_PARAMS(P)                                                                                       \
    P(Nodes, 39, "nodes")                                                                                              \
    P(Coordinates, 40, "coordinates")                                                                                  \
    P(Mat, 41, "mat")                                                                                                  \
    P(Retino, 42, "retino")                                                                                            \
    P(PennaRetino, 43, "penna_retino")                                                                                 \
    P(SfondoRetino, 44, "sfondo_retino")                                                                               \
    P(Penna, 45, "penna")                                                                                              \
    P(OffsetZ, 46, "offset_Z")                                                                                         \
    P(Origine, 47, "origine")                                                                                          \
    P(ShowID, 48, "show_ID")                                                                                           \
    P(Dislivello, 49, "dislivello")
LODRAVIX_PARAM_INDEXES(PaintParam, LODRAVIX_PAINT_PARAMS)

// RoadLP, 39 to 67; RailwayLP names these too and goes on with RailwayParam.
#define LODRAVIX_ROAD_PARAMS(P)                                                                                        \
    P(SlopeLeftCut, 39, "slope_SX_cut")                                                                                \
    P(SlopeRightCut, 40, "slope_DX_cut")                                                                               \
    P(SlopeLeftFill, 41, "slope_SX_fill")                                                                              \
    P(SlopeRightFill, 42, "slope_DX_fill")                                                                             \
    P(Left, 43, "road_SX")                                                                                             \
    P(Right, 44, "road_DX")                                                                                            \
    P(Original, 45, "IDoriginal")                                                                                      \
    P(Section, 46, "sezione")                                                                                          \
    P(DividerPen, 47, "penna_divisori")                                                                                \
    P(StraightPen, 48, "penna_rette")                                                                                  \
    P(CurvePen, 49, "penna_curve")                                                                                     \
    P(LinePen, 50, "penna_linee")                                                                                      \
    P(TerrainPen, 51, "penna_terreno")                                                                                 \
    P(Font, 52, "font")                                                                                                \
    P(TextSize, 53, "size")                                                                                            \
    P(TextPen, 54, "font_pen")                                                                                         \
    P(BottomLevel, 55, "livello_minimo")                                                                               \
    P(DividerLineType, 56, "tlinea_divisore")                                                                          \
    P(StraightLineType, 57, "tlinea_rette")                                                                            \
    P(ShowPlan, 58, "mostra_strada")                                                                                   \
    P(ShowLeft, 59, "left_section")                                                                                    \
    P(ShowRight, 60, "right_section")                                                                                  \
    P(FlipLeft, 61, "flip_left")                                                                                       \
    P(FlipRight, 62, "flip_right")                                                                                     \
    P(FlagModificato, 63, "flag_modificato")                                                                           \
    P(Language, 64, "language")                                                                                        \
    P(UseNewSlope, 65, "use_new_slope")                                                                                \
    P(SlopeDepthFill, 66, "slope_depth_fill")                                                                          \
    P(SlopeDepthCut, 67, "slope_depth_cut")
LODRAVIX_PARAM_INDEXES(RoadParam, LODRAVIX_ROAD_PARAMS)

// RailwayLP after the road's names, 68 to 73.
#define LODRAVIX_RAILWAY_PARAMS(P)                                                                                     \
    P(NumTrack, 68, "et_num_track")                                                                                    \
    P(GaugeTrack, 69, "et_GaugeTrack")                                                                                 \
    P(RailMaterial, 70, "et_rail_material")                                                                            \
    P(TieMaterial, 71, "et_tie_material")                                                                              \
    P(DistTie, 72, "et_DistTie")                                                                                       \
    P(LevelCrossing, 73, "et_bLevelCrossing")
LODRAVIX_PARAM_INDEXES(RailwayParam, LODRAVIX_RAILWAY_PARAMS)

// SideWalkLP.
#define LODRAVIX_SIDEWALK_PARAMS(P)                                                                                    \
    P(Thickness, 39, "thck")                                                                                           \
    P(LeftSide, 40, "latosinistro")
LODRAVIX_PARAM_INDEXES(SideWalkParam, LODRAVIX_SIDEWALK_PARAMS)

// WallLP.
#define LODRAVIX_WALL_PARAMS(P)                                                                                        \
    P(Material, 39, "mat")                                                                                             \
    P(Thickness, 40, "spessore")                                                                                       \
    P(Side, 41, "posizione")                                                                                           \
    P(Fill, 42, "retino")
LODRAVIX_PARAM_INDEXES(WallParam, LODRAVIX_WALL_PARAMS)

// ---- views laid directly on BaseLP, from 3

// LocalizatorLP, "VY3_Localizator".
#define LODRAVIX_LOCALIZATOR_PARAMS(P) P(Language, 3, "language")
LODRAVIX_PARAM_INDEXES(LocalizatorParam, LODRAVIX_LOCALIZATOR_PARAMS)

// MarkerLP, the level marker (a single one or a grid).
#define LODRAVIX_MARKER_PARAMS(P)                                                                                      \
    P(Symbol, 3, "tipo")                                                                                               \
    P(Size, 4, "marker_size")                                                                                          \
    P(Font, 5, "font")                                                                                                 \
    P(TextSize, 6, "size")                                                                                             \
    P(Italic, 7, "corsivo")                                                                                            \
    P(Levels, 8, "livello")                                                                                            \
    P(StepX, 9, "passo_X")                                                                                             \
    P(StepY, 10, "passo_Y")                                                                                            \
    P(Grid, 11, "matrice")                                                                                             \
    P(SingleLevel, 12, "livello_singolo")                                                                              \
    P(Code, 13, "codice")                                                                                              \
    P(Comment, 14, "commenti")                                                                                         \
    P(ShowLevel, 15, "show_level")                                                                                     \
    P(ShowCode, 16, "show_code")                                                                                       \
    P(ShowComment, 17, "show_comment")                                                                                 \
    P(MarkerPen, 18, "penna_marker")                                                                                   \
    P(TextPen, 19, "penna_testo")                                                                                      \
    P(TextAngle, 20, "angolo_testo")                                                                                   \
    P(PointRef, 21, "point_ref")                                                                                       \
    P(OffsetX, 22, "icsy_offset")                                                                                      \
    P(OffsetY, 23, "ipsy_offset")                                                                                      \
    P(OffsetZ, 24, "zeta_offset")                                                                                      \
    P(Active, 25, "Marker_Active")
LODRAVIX_PARAM_INDEXES(MarkerParam, LODRAVIX_MARKER_PARAMS)

// MarkerPtLP, the point marker.
#define LODRAVIX_MARKER_PT_PARAMS(P)                                                                                   \
    P(Symbol, 3, "tipo")                                                                                               \
    P(Size, 4, "marker_size")                                                                                          \
    P(Font, 5, "font")                                                                                                 \
    P(TextSize, 6, "size")                                                                                             \
    P(Coordinates, 7, "coordinates")                                                                                   \
    P(Codes, 8, "codice")                                                                                              \
    P(Comments, 9, "commenti")                                                                                         \
    P(ShowLevel, 10, "show_level")                                                                                     \
    P(ShowCode, 11, "show_code")                                                                                       \
    P(ShowComment, 12, "show_comment")                                                                                 \
    P(MarkerPen, 13, "penna_marker")                                                                                   \
    P(TextPen, 14, "penna_testo")                                                                                      \
    P(TextAngle, 15, "angolo_testo")                                                                                   \
    P(Italic, 16, "corsivo")                                                                                           \
    P(OffsetX, 17, "icsy_offset")                                                                                      \
    P(OffsetY, 18, "ipsy_offset")                                                                                      \
    P(Active, 19, "Marker_Active")
LODRAVIX_PARAM_INDEXES(MarkerPtParam, LODRAVIX_MARKER_PT_PARAMS)

// SlopeRangeLP, the slope analysis.
#define LODRAVIX_SLOPE_RANGE_PARAMS(P)                                                                                 \
    P(Mask, 3, "XYZ_mask")                                                                                             \
    P(Indices, 4, "indici")                                                                                            \
    P(Slopes, 5, "slopes")                                                                                             \
    P(Limit1, 6, "P_range_1")                                                                                          \
    P(Limit2, 7, "P_range_2")                                                                                          \
    P(Limit3, 8, "P_range_3")                                                                                          \
    P(Limit4, 9, "P_range_4")                                                                                          \
    P(Limit5, 10, "P_range_5")                                                                                         \
    P(Limit6, 11, "P_range_6")                                                                                         \
    P(Colour1, 12, "color_1")                                                                                          \
    P(Colour2, 13, "color_2")                                                                                          \
    P(Colour3, 14, "color_3")                                                                                          \
    P(Colour4, 15, "color_4")                                                                                          \
    P(Colour5, 16, "color_5")                                                                                          \
    P(Colour6, 17, "color_6")                                                                                          \
    P(Colour7, 18, "color_7")                                                                                          \
    P(Show3D, 19, "mostra_3D")                                                                                         \
    P(Lift, 20, "alzatore")                                                                                            \
    P(TextA, 21, "text_A")                                                                                             \
    P(TextB, 22, "text_B")                                                                                             \
    P(TextC, 23, "text_C")                                                                                             \
    P(Font, 24, "font_family")                                                                                         \
    P(Size, 25, "size")                                                                                                \
    P(FramePen, 26, "penna_frame")                                                                                     \
    P(TextPen, 27, "penna_testo")                                                                                      \
    P(ShowZeros, 30, "mostra_zeri")                                                                                    \
    P(Show2D, 31, "mostra_2D")
LODRAVIX_PARAM_INDEXES(SlopeRangeParam, LODRAVIX_SLOPE_RANGE_PARAMS)

// ---- CoordinateLocatorLP, "SOSI_COORDINATE_LOCATOR": its own table from 0

#define LODRAVIX_COORDINATE_LOCATOR_PARAMS(P)                                                                          \
    P(X, 0, "X_origo_mondo")                                                                                           \
    P(Y, 1, "Y_origo_mondo")                                                                                           \
    P(Z, 2, "Z_origo_mondo")                                                                                           \
    P(UsedBy, 3, "used_by_Lodrava")                                                                                    \
    P(MarkerSize, 4, "dim_marker")                                                                                     \
    P(Font, 5, "font")                                                                                                 \
    P(MarkerPen, 6, "gs_cont_pen")                                                                                     \
    P(TextSize, 7, "fontsize")                                                                                         \
    P(TextPen, 8, "text_pen")                                                                                          \
    P(Style, 9, "stile")
LODRAVIX_PARAM_INDEXES(CoordinateLocatorParam, LODRAVIX_COORDINATE_LOCATOR_PARAMS)
