#pragma once
// Whether a terrain already has contour lines: a contour-line object whose record names the terrain's identifier.
#include "APIElements.hpp"

#include <cstdint>

// 1 when a placed object with a contour-line record (kind 5) carries the terrain's TerrainId (compared exactly) as
// its ContourText; 0 when none does, or the terrain has no record of kind 4 or no identifier; -1 when the host
// refused to tell (the database switch, the terrain's user data, the list of objects, or the filter, read or user
// data of one of them). Reads in the floor plan's database; with the 3D window in front the 3D model's database
// is current again afterwards, on every path.
int32_t LookUpContourLinesForTerrain(const API_Element& terrain);
// Whether that lookup found contour lines.
bool HasContourLinesForTerrain(const API_Element& terrain);
