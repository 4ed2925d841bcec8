#pragma once
// The height of a triangulated surface over a plan point, through its index: what an earthwork's slope is
// measured against.
#include "model3d/Surface.hpp"

#include <utility>
#include <vector>

// False when no triangle lies over the point (off the surface).
bool SurfaceHeightAt(const Surface& surface, const SurfaceIndex& index, double x, double y, double* z);

// The highest (`highest`) or lowest height of the surface's triangles that meet a convex plan region (corners in
// order, either way round), each taken at its highest (lowest) corner: a bound of the surface over the region. False
// when no triangle meets it.
bool SurfaceExtremeOver(const Surface& surface, const SurfaceIndex& index,
                        const std::vector<std::pair<double, double>>& region, bool highest, double* z);
