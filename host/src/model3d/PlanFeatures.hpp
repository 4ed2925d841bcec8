#pragma once
// What a placed object draws in the floor plan, read from its parameters as its library part's plan items say
// (library/LibraryPlan.hpp): its lines, outlines and slope feet in plan coordinates, what its level lines ask
// for and the level of the ground it outlines. Faulty parameters are named, never drawn wrong.
#include "library/LibraryPlan.hpp"
#include "model3d/PlanRings.hpp"
#include "project/StoredElement.hpp"

#include <string>
#include <vector>

struct FeatureShape {
    enum class Kind { Line, Outline, Foot };
    Kind kind = Kind::Line;
    std::vector<ModelPoint> points;  // plan coordinates; an outline closes on its first point
};

// Level lines of the terrain under `box`: first, first + step ... up to last; every mainStep-th a main line.
struct LevelLineRequest {
    double step = 0.0, first = 0.0, last = 0.0;
    int32_t mainStep = 0;  // 0: no main lines
    PlanBox box = {0, 0, 0, 0};
};

// The ground at or below `level` where the meshes meet `box` (model3d/GroundBelow.hpp).
struct GroundBelowRequest {
    double level = 0.0;
    PlanBox box = {0, 0, 0, 0};
};

struct ObjectPlan {
    std::vector<FeatureShape> shapes;
    std::vector<LevelLineRequest> levelLines;
    std::vector<GroundBelowRequest> groundBelow;
    bool daylight = false;  // where its bodies meet the ground is drawn
};

// The object's plan. Items whose parameters are missing or do not fit are left out, each named in `faults`
// (one line each, without the object's name).
ObjectPlan ReadObjectPlan(const StoredElement& object, const std::vector<LibPlanItem>& items,
                          std::vector<std::string>* faults);

// The line moved sideways by `distance` (to its left when positive), each vertex along the mean of its sides'
// normals, so that straight parts stay parallel; a sharp turn's point is kept within twice the distance.
std::vector<ModelPoint> OffsetLine(const std::vector<ModelPoint>& line, double distance);
