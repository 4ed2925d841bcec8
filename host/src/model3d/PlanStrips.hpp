#pragma once
// Plan boxes that cover a face as it lies in plan, strip by strip along its longer side: one box round a long
// face lying across the axes (a road's deck, its slopes) covers a square whose side is the face's length.
#include "model3d/Surface.hpp"

#include <vector>

// Appends boxes whose union holds every point of the polygon `ring` (closed, the first not repeated) in plan, a
// margin above rounding included; the one box of its points when a coordinate is not finite.
void StripBoxes(const std::vector<ModelPoint>& ring, std::vector<PlanBox>* out);
