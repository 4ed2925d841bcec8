#pragma once
// The ground at or below a level, in plan: the part of each mesh surface under a box that lies at or below the
// level (every triangle meeting the box clipped to the level, the pieces united). A library part's `plan below`
// item draws its outline (library/LibraryPlan.hpp).
#include "model3d/PlanRings.hpp"
#include "project/Guids.hpp"

#include <vector>

class ProjectDatabase;

// One united region: its outer contour, then its holes.
struct GroundRegion {
    std::vector<PlanRing> contours;
};

// The regions of the meshes of `database` whose triangles meet `box`, at or below `level` (a height of the model
// itself: story and mesh level included).
std::vector<GroundRegion> GroundBelow(const ProjectDatabase& db, const API_Guid& database, const PlanBox& box,
                                      double level);
