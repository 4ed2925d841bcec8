#include "model3d/GroundCut.hpp"

#include "model3d/ExactSolid.hpp"
#include "model3d/SolidBooleans.hpp"
#include "model3d/SurfaceClip.hpp"

#include <algorithm>
#include <exception>

namespace {
PlanRing Rectangle(double x0, double y0, double x1, double y1) {
    return {{{x0, y0, 0.0}, {x1, y0, 0.0}, {x1, y1, 0.0}, {x0, y1, 0.0}}};
}

// The terrain's surface inside the rectangle: outside a region that holds the whole terrain with the rectangle as
// its hole, so that only the triangles near the rectangle are looked at.
Surface SurfaceInside(const MeshSurfaceModel& terrain, const PlanBox& box) {
    const PlanBox& all = terrain.index->Box();
    const double reach = 1.0 + std::max({all.xMax - all.xMin, all.yMax - all.yMin, box.xMax - box.xMin});
    const PlanRing outer = Rectangle(std::min(all.xMin, box.xMin) - reach, std::min(all.yMin, box.yMin) - reach,
                                     std::max(all.xMax, box.xMax) + reach, std::max(all.yMax, box.yMax) + reach);
    return SurfaceOutside(terrain.surface, *terrain.index, {outer, Rectangle(box.xMin, box.yMin, box.xMax, box.yMax)});
}

// The body less the ground under it; false with `why` when it cannot be computed.
bool CutOne(const MeshSurfaceModel& terrain, ModelBody* body, std::string* why) {
    if (body->vertices.empty()) return true;
    PlanBox box = BoxOf(body->vertices);
    double low = body->vertices[0].z, high = low;
    for (const ModelPoint& p : body->vertices) low = std::min(low, p.z), high = std::max(high, p.z);
    const double margin = 1.0 + 1e-6 * std::max(box.xMax - box.xMin, box.yMax - box.yMin);
    box = {box.xMin - margin, box.yMin - margin, box.xMax + margin, box.yMax + margin};
    if (!terrain.index->Box().Meets(box)) return true;
    const Surface ground = SurfaceInside(terrain, box);
    if (ground.Empty()) return true;
    double groundLow = 0.0, groundHigh = 0.0;
    ground.ZRange(&groundLow, &groundHigh);
    if (low >= groundHigh) return true;  // wholly above the ground
    ModelBody below;
    if (!BuildSolidBody(ground, std::min(low, groundLow) - 1.0, &below, why)) return false;
    try {
        ExactSolid solid, terrainSolid, rest;
        if (!SolidFromBody(*body, &solid)) {
            *why = "the body is not closed";
            return false;
        }
        if (!SolidFromBody(below, &terrainSolid)) {
            *why = "the terrain under it bounds no solid";
            return false;
        }
        if (!Combine(solid, terrainSolid, SolidOperation::Difference, rest)) {
            *why = "the terrain cannot be taken from the body";
            return false;
        }
        *body = rest.number_of_faces() == 0 ? ModelBody() : BodyFromSolid(rest);
    } catch (const std::exception& ex) {
        *why = std::string("the terrain cannot be taken from the body: ") + ex.what();
        return false;
    }
    return true;
}
}  // namespace

bool CutBelowGround(const MeshSurfaceModel& terrain, std::vector<ModelBody>* bodies, std::string* why) {
    if (terrain.surface.Empty() || !terrain.index) return true;
    for (ModelBody& body : *bodies)
        if (!CutOne(terrain, &body, why)) return false;
    bodies->erase(std::remove_if(bodies->begin(), bodies->end(), [](const ModelBody& b) { return b.vertices.empty(); }),
                  bodies->end());
    return true;
}
