#include "elements/ParamNames.hpp"

#include <cstddef>

const char* const UnknownParamName = "???";

namespace {

// One run of consecutive indices and its names.
struct NameRun {
    int32_t first;
    int32_t count;
    const char* const* names;

    // The name of `index`, or null when the index lies outside the run.
    const char* Find(int32_t index) const {
        if (index < first || index - first >= count) return nullptr;
        return names[index - first];
    }
};

template <size_t N>
constexpr NameRun Run(int32_t first, const char* const (&names)[N]) {
    return NameRun{first, int32_t(N), names};
}

const char* Pick(const char* own, const char* parent) { return own != nullptr ? own : parent; }

// ---- BaseLP and BaseIDLP

const char* const kBaseNames[] = {"A", "B", "ZZYZX"};

const char* const kBaseIDNames[] = {"IDresult",
                                    "IDcut",
                                    "IDfill",
                                    "IDterrain",
                                    "operatore",
                                    "penna3D",
                                    "mesh_skirt_material",
                                    "mesh_skirt",
                                    "mesh_min_level",
                                    "mesh_max_level",
                                    "nodi_ostacoli",
                                    "ostacolo",
                                    "cuts_enne",
                                    "cuts_node",
                                    "change_level",
                                    "slope_inc_fill",
                                    "slope_inc_cut",
                                    "cancella_obs",
                                    "perimetro_base_SX",
                                    "perimetro_base_DX",
                                    "level_material",
                                    "cut_material",
                                    "fill_material",
                                    "show_2d",
                                    "perimetro_base",
                                    "quota_minima",
                                    "quota_massima",
                                    "macro_name",
                                    "penna_fill",
                                    "penna_bkg_fill",
                                    "penna_2D",
                                    "resol_arco",
                                    "tlinea_obs",
                                    "penna_obs",
                                    "show_2D_obs",
                                    "original_mesh_level"};
static_assert(sizeof kBaseIDNames / sizeof kBaseIDNames[0] == 36, "BaseIDLP answers 3 to 38");

// ---- views of BaseIDLP, from 39

const char* const kBasinBuilderNames[] = {"livello", "mesh_level"};

const char* const kBasinNames[] = {"perimetro_base", "show_fill", "retino", "negative_level", "language"};

const char* const kBridgeNames[] = {"BridgeSurface",
                                    "roadWidth",
                                    "posizione",
                                    "retino",
                                    "bridgeThick",
                                    "bSidewalkOnLeft",
                                    "bSidewalkOnRight",
                                    "sidewalkWidthOnLeft",
                                    "sideWalkThickOnLeft",
                                    "sidewalkWidthOnRight",
                                    "sideWalkThickOnRight",
                                    "RoadSurface",
                                    "SidewalkSurface",
                                    "bRailingOnLeft",
                                    "bRailingOnRight",
                                    "bRailroad",
                                    "num_track",
                                    "DistTie",
                                    "GaugeTrack"};
static_assert(sizeof kBridgeNames / sizeof kBridgeNames[0] == 19, "BridgeLP answers 39 to 57");

const char* const kBuildingNames[] = {"mat_oggetto", "mostra_falda",   "angolo_falda", "mat_falda",
                                      "retino",      "negative_level", "acca_palazzo"};

const char* const kContourLineNames[] = {
    "passo",       "quota_min_depth", "quota_max_depth", "main_secondary", "penna_1",         "penna_2",
    "passo_main",  "scarpate",        "contour_line",    "gradiente",      "usa_quota_media", "usa_quota_media_2",
    "rgb_colore",  "quota_media",     "quota_media_2",   "penna_depth",    "colore_1",        "colore_2",
    "colore_3",    "colore_4",        "show_section",    "BB_coor",        "flag_2d",         "flag_3d",
    "auto_update", "quantita",        "identificatori",  "language"};
static_assert(sizeof kContourLineNames / sizeof kContourLineNames[0] == 28, "ContourLineLP answers 39 to 66");

const char* const kDiggingNames[] = {"slope_angle_cut", "slope_angle_fill", "livello", "slope_direction",
                                     "slope",           "X_origo",          "Y_origo", "language"};
constexpr int32_t kDiggingSlopedFirst = 42;  // 42 to 45 belong to the sloped plateau only
constexpr int32_t kDiggingSlopedLast = 45;

const char* const kObstacleNames[] = {"slope_SX_fill", "slope_DX_fill", "retino",
                                      "mat_oggetto",   "originale",     "a_sinistra"};

const char* const kPaintNames[] = {"nodes", "coordinates", "mat",     "retino",  "penna_retino", "sfondo_retino",
                                   "penna", "offset_Z",    "origine", "show_ID", "dislivello"};

// The road uses the first 29 of these (39 to 67); the railway all 35 (39 to 73).
const char* const kRailwayNames[] = {"slope_SX_cut",
                                     "slope_DX_cut",
                                     "slope_SX_fill",
                                     "slope_DX_fill",
                                     "road_SX",
                                     "road_DX",
                                     "IDoriginal",
                                     "sezione",
                                     "penna_divisori",
                                     "penna_rette",
                                     "penna_curve",
                                     "penna_linee",
                                     "penna_terreno",
                                     "font",
                                     "size",
                                     "font_pen",
                                     "livello_minimo",
                                     "tlinea_divisore",
                                     "tlinea_rette",
                                     "mostra_strada",
                                     "left_section",
                                     "right_section",
                                     "flip_left",
                                     "flip_right",
                                     "flag_modificato",
                                     "language",
                                     "use_new_slope",
                                     "slope_depth_fill",
                                     "slope_depth_cut",
                                     "et_num_track",
                                     "et_GaugeTrack",
                                     "et_rail_material",
                                     "et_tie_material",
                                     "et_DistTie",
                                     "et_bLevelCrossing"};
static_assert(sizeof kRailwayNames / sizeof kRailwayNames[0] == 35, "RailwayLP answers 39 to 73");
constexpr int32_t kRoadNameCount = 29;

const char* const kSideWalkNames[] = {"thck", "latosinistro"};

const char* const kWallNames[] = {"mat", "spessore", "posizione", "retino"};

// ---- views of BaseLP, from 3

const char* const kLocalizatorNames[] = {"language"};

const char* const kMarkerNames[] = {"tipo",         "marker_size", "font",         "size",      "corsivo",
                                    "livello",      "passo_X",     "passo_Y",      "matrice",   "livello_singolo",
                                    "codice",       "commenti",    "show_level",   "show_code", "show_comment",
                                    "penna_marker", "penna_testo", "angolo_testo", "point_ref", "icsy_offset",
                                    "ipsy_offset",  "zeta_offset", "Marker_Active"};
static_assert(sizeof kMarkerNames / sizeof kMarkerNames[0] == 23, "MarkerLP answers 3 to 25");

const char* const kMarkerPtNames[] = {"tipo",         "marker_size",  "font",         "size",      "coordinates",
                                      "codice",       "commenti",     "show_level",   "show_code", "show_comment",
                                      "penna_marker", "penna_testo",  "angolo_testo", "corsivo",   "icsy_offset",
                                      "ipsy_offset",  "Marker_Active"};
static_assert(sizeof kMarkerPtNames / sizeof kMarkerPtNames[0] == 17, "MarkerPtLP answers 3 to 19");

const char* const kSlopeRangeNames[] = {"XYZ_mask",       "indici",        "slopes",      "P_range_1",   "P_range_2",
                                        "P_range_3",      "P_range_4",     "P_range_5",   "P_range_6",   "color_1",
                                        "color_2",        "color_3",       "color_4",     "color_5",     "color_6",
                                        "color_7",        "mostra_3D",     "alzatore",    "text_A",      "text_B",
                                        "text_C",         "font_family",   "size",        "penna_frame", "penna_testo",
                                        "legenda_offset", "legenda_angle", "mostra_zeri", "mostra_2D"};
static_assert(sizeof kSlopeRangeNames / sizeof kSlopeRangeNames[0] == 29, "SlopeRangeLP answers 3 to 31");

// VY_PREFS: the defaults of every tool, group by group.
const char* const kPrefsNames[] = {
    // 3-4 points
    "punti_2D_pen", "punti_code",
    // 5-6 constraints
    "constraint_2D_pen", "constraint_linetype",
    // 7-12 outlines
    "outline_linetype", "outline_fill", "outline_2D_pen", "outline_fill_pen", "outline_bkg_pen", "outline_ID",
    // 13-19 contour lines
    "contour_line_main", "contour_line_main_pen", "contour_line_pen", "contour_line_linetype", "contour_line_show_2D",
    "contour_line_show_SE", "contour_line_show_3D",
    // 20-37 terrain
    "terrain_linetype", "terrain_contour_pen", "terrain_ridge_pen", "terrain_fill", "terrain_fill_contour_pen",
    "terrain_fill_pen", "terrain_fill_bkg_pen", "terrain_show_2d_triangle", "terrain_show_3d_triangle",
    "terrain_top_mat", "terrain_side_mat", "terrain_bottom_mat", "terrain_ID", "terrain_override", "terrain_BM",
    "top_mat_override", "side_mat_override", "bottom_mat_override",
    // 38-43 depth colouring
    "show_depth_pen", "show_depth_colour_1", "show_depth_colour_2", "show_depth_colour_3", "show_depth_colour_4",
    "show_depth_RGB",
    // 44-57 plateaus
    "plateau_level", "plateau_slope", "plateau_cut_angle", "plateau_fill_angle", "plateau_cut_extension",
    "plateau_fill_extension", "plateau_resolution", "plateau_top_mat", "plateau_cut_mat", "plateau_fill_mat",
    "plateau_show_2D", "plateau_2d_pen", "plateau_3d_pen", "plateau_ID",
    // 58-67 sidewalks
    "sidewalk_width", "sidewalk_thickness", "sidewalk_resolution", "sidewalk_mat", "sidewalk_cut_mat",
    "sidewalk_fill_mat", "sidewalk_show_2d", "sidewalk_2d_pen", "sidewalk_3d_pen", "sidewalk_ID",
    // 68-82 roads
    "road_width", "road_left_cut_angle", "road_left_fill_angle", "road_rigth_cut_angle", "road_rigth_fill_angle",
    "road_cut_extension", "road_fill_extension", "road_resolution", "road_mat", "road_cut_mat", "road_fill_mat",
    "road_show_2d", "road_2d_pen", "road_3d_pen", "road_ID",
    // 83-98 road sections
    "road_sect_bot_level", "road_sect_straigth_pen", "road_sect_curve_pen", "road_sect_terrain_pen",
    "road_sect_leading_linetype", "road_sect_leading_pen", "road_sect_grid_linetype", "road_sect_grid_pen",
    "road_sect_text", "road_sect_text_size", "road_sect_text_pen", "road_sect_show_plan", "road_sect_show_left",
    "road_sect_flip_left", "road_sect_show_rigth", "road_sect_flip_rigth",
    // 99-106 basins
    "basin_mat", "basin_3d_pen", "basin_2d_pen", "basin_linetype", "basin_fill", "basin_fill_pen", "basin_bkg_pen",
    "basin_ID",
    // 107-117 buildings
    "building_show_roof", "building_roof_angle", "building_resolution", "building_mat", "building_roof_mat",
    "building_2D_pen", "building_3D_pen", "building_fill", "building_fill_pen", "building_fill_bkg_pen", "building_ID",
    // 118-123 coloured areas
    "paint_show_2d", "paint_show_ID", "paint_distance", "paint_resolution", "paint_ID", "paint_mat",
    // 124-133 walls
    "VYwall_heigth", "VYwall_thickness", "VYwall_3d_pen", "VYwall_resolution", "VYwall_material", "VYwall_2d_pen",
    "VYwall_fill", "VYwall_fill_pen", "VYwall_bkg_pen", "VYwall_ID",
    // 134-152 bridges
    "VYbridge_thickness", "VYbridge_width", "VYbridge_3d_pen", "VYbridge_material", "VYbridge_material_road",
    "VYbridge_material_sidewalk", "VYbridge_2d_pen", "VYbridge_fill", "VYbridge_fill_pen", "VYbridge_bkg_pen",
    "VYbridge_ID", "VYbridge_border_left", "VYbridge_border_right", "VYbridge_border_width_left",
    "VYbridge_border_width_right", "VYbridge_border_thick_left", "VYbridge_border_thick_right", "VYbridge_railing_left",
    "VYbridge_railing_right",
    // 153-167 railways, in the order of the road group
    "railway_width", "railway_left_cut_angle", "railway_left_fill_angle", "railway_right_cut_angle",
    "railway_right_fill_angle", "railway_cut_extension", "railway_fill_extension", "railway_resolution", "railway_mat",
    "railway_cut_mat", "railway_fill_mat", "railway_show_2d", "railway_2d_pen", "railway_3d_pen", "railway_ID",
    // 168-170 2D display shared by plateaus, roads and railways
    "obstacle_show_2d", "obstacle_2d_pen", "obstacle_line_type",
    // 171-182 retaining walls
    "retaining_heigth", "retaining_thickness", "retaining_left_angle", "retaining_rigth_angle", "retaining_3d_pen",
    "retaining_resolution", "retaining_material", "retaining_2d_pen", "retaining_fill", "retaining_fill_pen",
    "retaining_bkg_pen", "retaining_ID",
    // 183-193 level markers
    "level_type", "level_size", "level_angle", "level_marker_pen", "level_text_pen", "level_font", "level_text_size",
    "level_italic", "level_show_level", "level_show_code", "level_show_comment",
    // 194-213 slope ranges
    "slopeRange_P_range_1", "slopeRange_P_range_2", "slopeRange_P_range_3", "slopeRange_P_range_4",
    "slopeRange_P_range_5", "slopeRange_P_range_6", "slopeRange_color_1", "slopeRange_color_2", "slopeRange_color_3",
    "slopeRange_color_4", "slopeRange_color_5", "slopeRange_color_6", "slopeRange_color_7", "slopeRange_text_A",
    "slopeRange_text_B", "slopeRange_text_C", "slopeRange_font_family", "slopeRange_size", "slopeRange_penna_testo",
    "slopeRange_penna_frame",
    // 214-215 general
    "Quorra30_delete", "Quorra30_camera"};
static_assert(sizeof kPrefsNames / sizeof kPrefsNames[0] == 213, "PrefsLP answers 3 to 215");

}  // namespace

// ---------------------------------------------------------------------------------------------------------

const char* BaseLP_ParamName(int32_t index) { return Pick(Run(0, kBaseNames).Find(index), UnknownParamName); }

const char* BaseIDLP_ParamName(int32_t index) {
    return Pick(Run(3, kBaseIDNames).Find(index), BaseLP_ParamName(index));
}

const char* BasinBuilderLP_ParamName(int32_t index) {
    return Pick(Run(39, kBasinBuilderNames).Find(index), BaseIDLP_ParamName(index));
}

const char* BasinLP_ParamName(int32_t index) {
    return Pick(Run(39, kBasinNames).Find(index), BaseIDLP_ParamName(index));
}

const char* BridgeLP_ParamName(int32_t index) {
    return Pick(Run(39, kBridgeNames).Find(index), BaseIDLP_ParamName(index));
}

const char* BuildingLP_ParamName(int32_t index) {
    return Pick(Run(39, kBuildingNames).Find(index), BaseIDLP_ParamName(index));
}

const char* ContourLineLP_ParamName(int32_t index) {
    return Pick(Run(39, kContourLineNames).Find(index), BaseIDLP_ParamName(index));
}

const char* DiggingLP_ParamName(int32_t index, bool sloped) {
    if (!sloped && index >= kDiggingSlopedFirst && index <= kDiggingSlopedLast) return BaseIDLP_ParamName(index);
    return Pick(Run(39, kDiggingNames).Find(index), BaseIDLP_ParamName(index));
}

const char* ObstacleLP_ParamName(int32_t index) {
    return Pick(Run(39, kObstacleNames).Find(index), BaseIDLP_ParamName(index));
}

const char* PaintLP_ParamName(int32_t index) {
    return Pick(Run(39, kPaintNames).Find(index), BaseIDLP_ParamName(index));
}

const char* RailwayLP_ParamName(int32_t index) {
    return Pick(Run(39, kRailwayNames).Find(index), BaseIDLP_ParamName(index));
}

const char* RoadLP_ParamName(int32_t index) {
    return Pick(NameRun{39, kRoadNameCount, kRailwayNames}.Find(index), BaseIDLP_ParamName(index));
}

const char* SideWalkLP_ParamName(int32_t index) {
    return Pick(Run(39, kSideWalkNames).Find(index), BaseIDLP_ParamName(index));
}

const char* WallLP_ParamName(int32_t index) { return Pick(Run(39, kWallNames).Find(index), BaseIDLP_ParamName(index)); }

const char* LocalizatorLP_ParamName(int32_t index) {
    return Pick(Run(3, kLocalizatorNames).Find(index), BaseLP_ParamName(index));
}

const char* MarkerLP_ParamName(int32_t index) {
    return Pick(Run(3, kMarkerNames).Find(index), BaseLP_ParamName(index));
}

const char* MarkerPtLP_ParamName(int32_t index) {
    return Pick(Run(3, kMarkerPtNames).Find(index), BaseLP_ParamName(index));
}

const char* PrefsLP_ParamName(int32_t index) { return Pick(Run(3, kPrefsNames).Find(index), BaseLP_ParamName(index)); }

const char* SlopeRangeLP_ParamName(int32_t index) {
    return Pick(Run(3, kSlopeRangeNames).Find(index), BaseLP_ParamName(index));
}
