#pragma once
// Whether a terrain already has contour lines: a contour-line object whose record names the terrain's identifier.
#include "APIElements.hpp"

// True when a placed object with a contour-line record (kind 5) carries the terrain's TerrainId (compared exactly)
// as its ContourText. False when the terrain's record (kind 4) cannot be read or has no identifier. Reads in the
// floor plan's database; with the 3D window in front the 3D model's database is current again afterwards, on
// every path.
bool HasContourLinesForTerrain(const API_Element& terrain);
