#pragma once
// A building's block under a hipped roof, as one closed body: upright walls over plan rings from the foot to the
// eaves, and from every side of the rings a roof face rising inward at the roof's pitch. The faces meet along the
// rings' interior straight skeleton (CGAL), so each side's face is one plane and the ridges lie where two sides'
// faces reach the same height.
#include "model3d/ModelBody.hpp"
#include "model3d/PlanRings.hpp"

#include <string>
#include <vector>

// `rise` is the roof's height per metre of plan distance from its side (the tangent of its angle, above 0). A ring
// inside an odd number of the others bounds a courtyard, whose sides get roof faces as the outer ones do.
// `ridge` takes the roof's highest point. False with `why` when rings cross each other or themselves or the
// skeleton cannot be built.
bool RoofedPrismBody(std::vector<PlanRing> rings, double low, double eave, double rise, ModelBody* out, double* ridge,
                     std::string* why);
