#pragma once
// What the plan picture holds, counted by the one step that writes it (model3d/PlanPicture.cpp), and the count
// line a script prints for it.
#include "model3d/PlanLegend.hpp"

#include <string>

struct PlanPictureCounts {
    int triangles = 0;                    // shaded top triangles of meshes
    int cutFaces = 0, fillFaces = 0;      // faces of the final ground shaded as cut or as fill
    int drawn[int(PlanKey::Count)] = {};  // points, lines and rings drawn, by kind (PlanKey::Object: an object's box)
    int objects = 0;                      // objects that drew anything, from their plan items or as their box
    int blankObjects = 0;                 // objects shown that drew nothing (plan items with nothing to draw)
    int hidden = 0;                       // elements on hidden layers, left out

    int Of(PlanKey key) const { return drawn[int(key)]; }
    // Objects drawn as their box: their library part says nothing of the plan, or is not loaded.
    int WithoutPlanData() const { return Of(PlanKey::Object); }
};

// "4802 triangles, 212 cut and 340 fill faces, 2500 points, 494 contour lines, 1 polyline, 2 fills, 2 edges, 4 slope
// feet, 1 outline; 3 objects drawn, 0 without plan data; 4 elements on hidden layers left out": triangles, points,
// contour lines and objects always, the shaded cut and fill, the other kinds and what was left out when there are
// any.
std::string PlanCountLine(const PlanPictureCounts& counts);
