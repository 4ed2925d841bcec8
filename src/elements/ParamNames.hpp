#pragma once
// Names of the GDL parameters of the add-on's library parts, by the index under which the parameter views
// address them (slot 0 of each view class). Each function answers its own run of indices and hands every
// other index on to its parent's table, as the view classes derive from each other:
//
//   BaseLP         0-2    "A", "B", "ZZYZX"; "???" for any other index
//   BaseIDLP       3-38   shared by the views of objects that carry the identity and link parameters
//     BasinBuilderLP, BasinLP, BridgeLP, BuildingLP, ContourLineLP, DiggingLP, ObstacleLP, PaintLP,
//     RailwayLP, RoadLP, SideWalkLP, WallLP: their own names from 39
//   LocalizatorLP, MarkerLP, MarkerPtLP, PrefsLP, SlopeRangeLP: their own names from 3 (parent BaseLP)
//
// The results are static NUL-terminated ASCII texts, never null. "???" names no parameter of any library
// part, so a lookup by it fails as "no such name". The names are those of the library parts and keep their
// spelling exactly (misspellings included): changing one breaks every placed object.
//
// The code addresses parameters only through the index constants of ParamIndexes.hpp and PrefsParamIndexes.hpp.
#include <cstdint>

extern const char* const UnknownParamName;  // "???"

const char* BaseLP_ParamName(int32_t index);
const char* BaseIDLP_ParamName(int32_t index);

const char* BasinBuilderLP_ParamName(int32_t index);
const char* BasinLP_ParamName(int32_t index);
const char* BridgeLP_ParamName(int32_t index);
const char* BuildingLP_ParamName(int32_t index);
const char* ContourLineLP_ParamName(int32_t index);
// Plateau view: 42 to 45 ("slope_direction", "slope", "X_origo", "Y_origo") exist on the sloped plateau only;
// with `sloped` clear they go on to BaseIDLP and yield "???".
const char* DiggingLP_ParamName(int32_t index, bool sloped);
const char* ObstacleLP_ParamName(int32_t index);
const char* PaintLP_ParamName(int32_t index);
const char* RailwayLP_ParamName(int32_t index);
const char* RoadLP_ParamName(int32_t index);  // the first 29 names of RailwayLP
const char* SideWalkLP_ParamName(int32_t index);
const char* WallLP_ParamName(int32_t index);

const char* LocalizatorLP_ParamName(int32_t index);
const char* MarkerLP_ParamName(int32_t index);
const char* MarkerPtLP_ParamName(int32_t index);
const char* PrefsLP_ParamName(int32_t index);  // VY_PREFS, PrefsParam::First to PrefsParam::Last by tool group
const char* SlopeRangeLP_ParamName(int32_t index);
