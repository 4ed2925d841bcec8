#pragma once
// The indexes under which the parameter views address the parameters the code reads or writes by index, one
// table per view, beside the name tables (ParamNames.cpp); each constant's comment names its parameter. A test
// holds every entry against the name tables.
#include <cstdint>

namespace BaseIDParam {
constexpr int32_t IDResult = 3;         // "IDresult"
constexpr int32_t IDCut = 4;            // "IDcut"
constexpr int32_t IDFill = 5;           // "IDfill"
constexpr int32_t IDTerrain = 6;        // "IDterrain"
constexpr int32_t Operatore = 7;        // "operatore"
constexpr int32_t SkirtMaterial = 9;    // "mesh_skirt_material"
constexpr int32_t Skirt = 10;           // "mesh_skirt"
constexpr int32_t MinLevel = 11;        // "mesh_min_level"
constexpr int32_t MaxLevel = 12;        // "mesh_max_level"
constexpr int32_t ObstacleCounts = 13;  // "nodi_ostacoli"
constexpr int32_t Obstacles = 14;       // "ostacolo"
constexpr int32_t CutsEnne = 15;        // "cuts_enne"
constexpr int32_t CutsNode = 16;        // "cuts_node"
constexpr int32_t ChangeLevel = 17;     // "change_level"
constexpr int32_t SlopeIncFill = 18;    // "slope_inc_fill"
constexpr int32_t SlopeIncCut = 19;     // "slope_inc_cut"
constexpr int32_t OutlineLeft = 21;     // "perimetro_base_SX"
constexpr int32_t OutlineRight = 22;    // "perimetro_base_DX"
constexpr int32_t Outline = 27;         // "perimetro_base"
constexpr int32_t MacroName = 30;       // "macro_name"
}  // namespace BaseIDParam

namespace BasinParam {
constexpr int32_t Outline = 39;  // "perimetro_base"
}

namespace ContourLineParam {
constexpr int32_t Rgb = 51;          // "rgb_colore"
constexpr int32_t Quantities = 64;   // "quantita"
constexpr int32_t Identifiers = 65;  // "identificatori"
}  // namespace ContourLineParam

namespace ObstacleParam {
constexpr int32_t Original = 43;  // "originale"
}

namespace RailwayParam {
constexpr int32_t Left = 43;      // "road_SX"
constexpr int32_t Right = 44;     // "road_DX"
constexpr int32_t Original = 45;  // "IDoriginal"
// The road's view names these too (its names end at 67).
constexpr int32_t Language = 64;        // "language"
constexpr int32_t UseNewSlope = 65;     // "use_new_slope"
constexpr int32_t SlopeDepthFill = 66;  // "slope_depth_fill"
constexpr int32_t SlopeDepthCut = 67;   // "slope_depth_cut"
constexpr int32_t NumTrack = 68;        // "et_num_track"
constexpr int32_t GaugeTrack = 69;      // "et_GaugeTrack"
}  // namespace RailwayParam

namespace RoadParam {
constexpr int32_t Section = 46;  // "sezione"
}

namespace LocalizatorParam {
constexpr int32_t Language = 3;  // "language"
}

namespace MarkerParam {
constexpr int32_t Levels = 8;     // "livello"
constexpr int32_t PointRef = 21;  // "point_ref"
}  // namespace MarkerParam

namespace MarkerPtParam {
constexpr int32_t Coordinates = 7;  // "coordinates"
constexpr int32_t Codes = 8;        // "codice"
constexpr int32_t Comments = 9;     // "commenti"
}  // namespace MarkerPtParam

namespace SlopeRangeParam {
constexpr int32_t Mask = 3;     // "XYZ_mask"
constexpr int32_t Indices = 4;  // "indici"
constexpr int32_t Slopes = 5;   // "slopes"
}  // namespace SlopeRangeParam

namespace PrefsParam {
constexpr int32_t DepthRgb = 43;  // "show_depth_RGB"
}
