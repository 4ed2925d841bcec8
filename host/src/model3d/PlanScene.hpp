#pragma once
// What the plan picture shows, gathered from the project in plan coordinates before it is framed and drawn
// (model3d/PlanPicture.hpp): the top triangles of meshes, the plan elements' points, lines and rings, what the
// objects' library parts say they draw, the contour lines they ask for, and where the earthworks cut and fill the
// meshes. Elements on hidden layers are left out.
#include "model3d/PlanFeatures.hpp"
#include "model3d/PlanLegend.hpp"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class ProjectDatabase;
class ModelStore;
class LibraryStore;

struct PlanShape {
    std::vector<ModelPoint> points;
    bool closed = false;
    std::string cls, fill = "none";
    std::string stroke;  // "" the colour of its key
    double width = 1.0;
    PlanKey key = PlanKey::Line;
    bool marker = false;  // a hotspot: drawn as a small circle at its one point
    int owner = -1;       // the object it belongs to (its number among the scene's objects), -1 none
};

struct PlanTriangle {
    ModelPoint a, b, c;
};

// The top of a mesh's model: its triangles over the vertices they share.
struct MeshTop {
    std::vector<ModelPoint> points;
    std::vector<std::array<int32_t, 3>> triangles;
    PlanBox box = {0, 0, 0, 0};
    double zMin = 0.0, zMax = 0.0;
};

struct ContourRequest {
    LevelLineRequest request;
    int owner = -1;  // the object that asks
};

struct PlanScene {
    std::vector<PlanShape> shapes;  // in the order of the elements
    std::vector<PlanTriangle> triangles;
    // The faces of the meshes' final tops that their earthworks lowered (cut) or raised (fill), and the volumes
    // taken and added, the final ground against the original (model3d/ModelStore.hpp: ChangedFacesOf).
    std::vector<PlanTriangle> cut, fill;
    double cutVolume = 0.0, fillVolume = 0.0;
    bool earthworks = false;  // a mesh has links that change its surface
    std::vector<MeshTop> tops;
    std::vector<ContourRequest> contours;
    int objects = 0;  // objects shown, numbered from 0 as owners
    int hidden = 0;   // elements on hidden layers
};

// The scene of the project's elements. `libraries` (optional) gives the objects' plan items. Elements the host
// cannot model or outline, and plan items it cannot read, are named in `skipped` (optional), one per line.
PlanScene GatherPlanScene(const ProjectDatabase& db, ModelStore& models, const LibraryStore* libraries,
                          std::string* skipped);
