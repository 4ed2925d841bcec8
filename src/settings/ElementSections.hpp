#pragma once
// The element settings sections: a tool's settings record to and from the parameters of one placed object of
// the tool, through the object's parameter view. The element classes write their record with direction 1
// when they place an object and read it back with direction 0 from a picked object. Each follows
// SectionExchange's rules: a fixed order, the first failure ends the section, and a read changes the record
// entirely or not at all. Indices are those of the view's name table (elements/ParamNames.cpp).
//
// Conversions beside the plain copies:
//   - basin id 10 and building id 11 are heights split over "ZZYZX" and "negative_level";
//   - the plateau's "slope" (id 9) takes part only for a sloped plateau: written first, read last; read on a
//     plain plateau, id 9 becomes 0.0;
//   - road and railway: with direction 0, "slope_inc_cut" and "slope_inc_fill" are read over the values just
//     read from "slope_depth_cut" and "slope_depth_fill", and "use_new_slope" must be there (its value is
//     dropped);
//   - bridge "num_track": written 2 when id 22 is set, else 1; read 1 gives id 22 = 0, 2 gives 1, any other
//     value goes into id 22 as read;
//   - railway "et_num_track": written 2 when id 21 is set, else 1; read 1 gives ids 20, 21 = 1, 0 and 2 gives
//     1, 1; any other value goes into id 21 as read and id 20 keeps its value;
//   - point markers: with direction 1 only, "icsy_offset" and "ipsy_offset" get the project offset negated.
#include "elements/LibPartViews.hpp"
#include "settings/BasinSettings.hpp"
#include "settings/BridgeSettings.hpp"
#include "settings/BuildingSettings.hpp"
#include "settings/ContourLineSettings.hpp"
#include "settings/PaintSettings.hpp"
#include "settings/PlateauSettings.hpp"
#include "settings/RailwaySettings.hpp"
#include "settings/RetainerWallSettings.hpp"
#include "settings/RoadData.hpp"
#include "settings/SectionData.hpp"
#include "settings/SidewalkSettings.hpp"
#include "settings/SlopeRangeSettings.hpp"
#include "settings/SpotHeightSettings.hpp"
#include "settings/WallData.hpp"

#include <cstdint>

bool SerializeSettings(BasinLP& view, BasinSettings& record, int32_t direction);
bool SerializeSettings(BridgeLP& view, BridgeSettings& record, int32_t direction);
bool SerializeSettings(BuildingLP& view, BuildingSettings& record, int32_t direction);
bool SerializeSettings(ContourLineLP& view, ContourLineSettings& record, int32_t direction);
bool SerializeSettings(DiggingLP& view, PlateauSettings& record, bool sloped, int32_t direction);
bool SerializeSettings(MarkerLP& view, SpotHeightSettings& record, int32_t direction);
bool SerializeSettings(MarkerPtLP& view, SpotHeightSettings& record, int32_t direction);
bool SerializeSettings(ObstacleLP& view, RetainerWallSettings& record, int32_t direction);
bool SerializeSettings(PaintLP& view, PaintSettings& record, int32_t direction);
bool SerializeSettings(RailwayLP& view, RailwaySettings& record, int32_t direction);
bool SerializeSettings(RoadLP& view, RoadSettings& record, int32_t direction);
// The road cross section's record, over the road object's view.
bool SerializeSettings2(RoadLP& view, SectionSettings& record, int32_t direction);
bool SerializeSettings(SideWalkLP& view, SidewalkSettings& record, int32_t direction);
bool SerializeSettings(SlopeRangeLP& view, SlopeRangeSettings& record, int32_t direction);
bool SerializeSettings(WallLP& view, WallSettings& record, int32_t direction);
