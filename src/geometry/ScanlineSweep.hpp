#pragma once
// The clipper's sweep over the beams between the distinct vertex heights.
#include "geometry/ScanlineContours.hpp"

#include <cstdint>
#include <vector>

namespace Scanline {

// Combines subject and clip by the operation into groups (left as they are when no contour takes part). Throws
// std::bad_alloc or std::length_error when memory runs out.
void Sweep(const std::vector<Contour>& subject, uint32_t op, const std::vector<Contour>& clip,
           std::vector<Group>& groups);

// Gives the calling thread's working arrays back to the system when they have grown large.
void ReleaseSweepWorkspace();

}  // namespace Scanline
