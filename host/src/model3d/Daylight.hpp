#pragma once
// Where an earthwork body's surface meets the ground (its "daylight"): the zero lines of the ground's height less
// the design surface's, over the body's underside for a cut or its top for a fill, each piece where a face of the
// body lies over a triangle of the ground being planar in both. Pieces are chained into lines.
#include "model3d/ModelBody.hpp"
#include "model3d/Surface.hpp"

#include <vector>

std::vector<std::vector<ModelPoint>> DaylightLines(const ModelBody& body, bool cut, const Surface& ground,
                                                   const SurfaceIndex& index);
