#pragma once
// An upright prism over plan rings between two heights, as a closed body: slabs, blocks and the cutting prisms at
// the terrain's outline and around obstacles.
#include "model3d/ModelBody.hpp"
#include "model3d/PlanRings.hpp"

#include <string>
#include <vector>

// A ring inside an odd number of the others bounds a hole. False with `why` when rings cross each other or
// themselves.
bool PrismBody(std::vector<PlanRing> rings, double low, double high, ModelBody* out, std::string* why);
