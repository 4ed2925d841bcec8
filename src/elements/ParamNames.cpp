#include "elements/ParamNames.hpp"

#include "elements/PrefsParamIndexes.hpp"

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

const char* PrefsLP_ParamName(int32_t index) {
    return Pick(Run(PrefsParam::First, PrefsParam::Names).Find(index), BaseLP_ParamName(index));
}

const char* SlopeRangeLP_ParamName(int32_t index) {
    return Pick(Run(3, kSlopeRangeNames).Find(index), BaseLP_ParamName(index));
}
