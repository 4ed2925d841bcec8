#pragma once
// The terrain's surface height at a plan point, as the site objects probe it: a 0.5 x 0.5 square with its upper
// left corner at the point is draped over the terrain mesh through a temporary cutting slab, and the point takes
// the highest model vertex at its x, y. The model changes make it run inside the caller's undoable command.
#include "APIElements.hpp"

// The height at (x, y); false when the mesh cannot be probed there (a host failure, or a point off the mesh).
// With `hostFailed`, it tells the first from the second.
bool TerrainHeightAtPoint(const API_Element& terrain, const API_Coord& point, double& height,
                          bool* hostFailed = nullptr);
