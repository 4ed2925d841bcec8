#pragma once
// The height of a triangulated surface over a plan point, through its index: what an earthwork's slope is
// measured against.
#include "model3d/Surface.hpp"

// False when no triangle lies over the point (off the surface).
bool SurfaceHeightAt(const Surface& surface, const SurfaceIndex& index, double x, double y, double* z);
