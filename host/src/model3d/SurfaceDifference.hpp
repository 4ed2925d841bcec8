#pragma once
// What a changed top leaves of a terrain's surface: over each face of the new top, the integral of the old surface's
// height less the new one where it is higher (what was taken) and of the new less the old where that is higher (what
// was added), both planar over each piece where a face lies over a triangle of the old surface.
#include "model3d/ModelBody.hpp"
#include "model3d/Surface.hpp"

#include <array>
#include <vector>

struct SurfaceChange {
    double removed = 0.0, added = 0.0;
};

// `faces`: the new top's triangles (any order round); the old surface is what lies under them before.
SurfaceChange SurfaceDifference(const std::vector<std::array<ModelPoint, 3>>& faces, const Surface& old,
                                const SurfaceIndex& index);
