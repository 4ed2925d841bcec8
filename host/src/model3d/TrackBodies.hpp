#pragma once
// The tracks a bridge carries on its road: per track two rails on ties, laid along the deck's path. No parameter
// sizes a tie or a rail, so the host settles them (library/README.md).
#include "model3d/ModelBody.hpp"

#include <string>
#include <vector>

struct TrackLayout {
    int tracks = 1;           // spread evenly across the road
    double roadWidth = 0.0;   // the road the tracks share
    double gauge = 0.0;       // between the rails' inner faces
    double tieSpacing = 0.0;  // from one tie's centre to the next along the path
};

// A tie: this long across its track beyond the gauge, this wide along the path, this deep; a rail this wide and
// this high, standing on the ties.
constexpr double kTieOverhang = 1.0, kTieWidth = 0.25, kTieDepth = 0.15;
constexpr double kRailWidth = 0.07, kRailHeight = 0.15;

// Two bodies: all the ties, and all the rails (each a set of closed boxes or bands), on `path` (its heights the
// road's surface) with its mitred `normals`. False with `why` when the tracks do not fit the road or a tie or rail
// folds back where the path bends.
bool BuildTrackBodies(const std::vector<ModelPoint>& path, const std::vector<ModelPoint>& normals,
                      const TrackLayout& layout, std::vector<ModelBody>* bodies, std::string* why);

// One body holding the parts' polygons (closed parts stay closed; the body has as many pieces).
ModelBody JoinBodies(const std::vector<ModelBody>& parts);
