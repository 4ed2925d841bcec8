#pragma once
// "Data update": re-runs the add-on's own objects after the user edited them by hand. With nothing selected, or
// one terrain alone, the terrains are rebuilt (after the update notice while it is on); otherwise exactly one
// object of a kind that can be rebuilt, or a selection of only walls or only bridges.
#include "settings/Settings.hpp"

#include <cstdint>

class ContourLineRefresh;
class EarthworkDialogs;
class SiteObjectDialogs;

// Which rebuild a selection asks for, in the order the cases are tried.
enum class DataUpdateCase : uint8_t {
    LevelMarker,
    Walls,
    Bridges,
    Basin,
    Road,
    RoadSection,
    Plateau,
    Sidewalk,
    RetainingWall,
    Building,
    ColouredArea,
    None,  // nothing matches: 52
};

// What the selection holds, counted by kind; `selected` counts every selected element.
struct DataUpdateSelection {
    int32_t selected = 0;
    int32_t projectTerrains = 0;
    int32_t markers = 0;
    int32_t walls = 0;
    int32_t bridges = 0;
    int32_t basins = 0;
    int32_t roads = 0;
    int32_t railways = 0;  // gathered, never rebuilt
    int32_t sections = 0;
    int32_t plateaus = 0;
    int32_t sidewalks = 0;
    int32_t retainingWalls = 0;
    int32_t buildings = 0;
    int32_t colouredAreas = 0;
};

// The first case that matches (a selection with something other than one lone terrain).
DataUpdateCase ChooseDataUpdateCase(const DataUpdateSelection& selection);

// The command of the tool palette's button; failures are shown through the error table. A road section rebuilt
// from a section window tells the palette through `earthworks`; a spot-height grid asks before it is computed
// again through `siteObjects`; the terrains an update changed get their contour lines again through `contours`.
void UpdateSelectedObjects(Settings& settings, EarthworkDialogs& earthworks, SiteObjectDialogs& siteObjects,
                           ContourLineRefresh& contours);
