#pragma once
// The downward subtraction of a region from a surface: what is left outside the region, cut along its border.
#include "model3d/PlanRings.hpp"
#include "model3d/Surface.hpp"

#include <vector>

// The part of `surface` outside the region of `footprint` (rings by even-odd nesting), cut along the region's
// border; cut points lie on the surface. Only the triangles near the region's border and inside its holes are
// looked at when the region's outer ring encloses the surface. `untouched`, when given, tells that the region
// took nothing: every triangle is kept whole.
Surface SurfaceOutside(const Surface& surface, const SurfaceIndex& index, const std::vector<PlanRing>& footprint,
                       bool* untouched = nullptr);
