#pragma once
// The part of a closed body inside the upright prism over plan rings between two heights (CGAL corefinement, exact
// constructions): earthwork bodies end at the terrain's outline, above its floor.
#include "model3d/ModelBody.hpp"
#include "model3d/PlanRings.hpp"

#include <string>
#include <vector>

// `rings`: the first outer, the others holes (nesting alternates). An empty part gives an empty body (no
// vertices). False with `why` when the body is no closed solid or the operation cannot be computed.
bool ClipBodyToPrism(const ModelBody& body, const std::vector<PlanRing>& rings, double zLow, double zHigh,
                     ModelBody* out, std::string* why);
