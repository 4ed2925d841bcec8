#pragma once
// The 3D model of one element as the host builds it: a mesh is a solid whose top is the triangulated surface,
// with a skirt down to a floor; a slab is the prism of its polygon; an object is the bodies a script or test gave
// it, else those its library part's body lines build from its parameters (model3d/ObjectBodies.hpp). Solid links
// then change the target: a slab that subtracts downwards ('SSUD') leaves of a mesh only what lies outside the
// slab's polygon (inside its holes); an operator that adds ('SADD') joins its bodies; a terrain that subtracts
// downwards from an object leaves of it what stands above the ground (model3d/GroundCut.hpp).
#include "model3d/PlanTriangulation.hpp"
#include "model3d/SurfaceClip.hpp"
#include "project/ProjectModel.hpp"

#include <memory>
#include <string>
#include <vector>

struct Model3D {
    std::vector<ModelBody> bodies;
    // A mesh's first body starts with this many vertices of its surface (-1: no mesh body).
    int32_t surfaceVertices = -1;
    // Why an object whose library part builds bodies from its parameters has none ("" when it has them, or its
    // role carries none).
    std::string noBody;
};

// A mesh's surface before links, with what its solid needs; built once per state of the mesh.
struct MeshSurfaceModel {
    Surface surface;
    std::unique_ptr<SurfaceIndex> index;
    double floorZ = 0.0;  // the skirt goes down to here
    double zMax = 0.0;
};

// The outline of a polygon element as rings in plan (arcs cut into short chords): the memo's contours in order,
// each without its closing repeat; z = base + the mesh height of the point (meshes) or base. False with `why` for
// a polygon the memo does not hold.
bool ElementRings(const StoredElement& element, double base, std::vector<PlanRing>* rings, std::string* why);
// The parts of a polyline as open lines with every vertex (arcs cut into chords), z as ElementRings; false with
// `why` when no part has two points.
bool ElementLines(const StoredElement& element, double base, std::vector<PlanRing>* lines, std::string* why);

// The surface of a mesh: outline, level points and level lines at story level + mesh level + their heights.
bool BuildMeshSurface(const StoredElement& mesh, double storyLevel, MeshSurfaceModel* out, std::string* why);

// The solid under a surface: its triangles on top, a skirt along its border down to floorZ and a floor there.
// Vertices: the surface's, then the floor's; polygons: the top, the skirt, the floor.
bool BuildSolidBody(const Surface& surface, double floorZ, ModelBody* body, std::string* why);

// The prism of a slab: top at story level + level, bottom a thickness lower. Its plan rings come back too.
bool BuildSlabBody(const StoredElement& slab, double storyLevel, ModelBody* body, std::vector<PlanRing>* footprint,
                   std::string* why);

// The bodies given to an object, placed where the object stands.
void PlaceGivenBodies(const StoredElement& object, double storyLevel, Model3D* model);
