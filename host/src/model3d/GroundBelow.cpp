#include "model3d/GroundBelow.hpp"

#include "model3d/ElementModels.hpp"
#include "project/ProjectDatabase.hpp"

#include <CGAL/Boolean_set_operations_2.h>
#include <CGAL/Exact_predicates_exact_constructions_kernel.h>
#include <CGAL/Polygon_set_2.h>

#include <algorithm>
#include <string>

namespace {

using Kernel = CGAL::Exact_predicates_exact_constructions_kernel;
using Polygon = CGAL::Polygon_2<Kernel>;
using PolygonWithHoles = CGAL::Polygon_with_holes_2<Kernel>;

double StoryLevelOf(const ProjectDatabase& db, int16_t index) {
    for (const API_StoryType& s : db.Model().stories)
        if (s.index == index) return s.level;
    return 0.0;
}

// The part of the triangle at or below the level, in plan (empty when none of it is).
Polygon ClipBelow(const Surface& s, const std::array<int32_t, 3>& t, double level) {
    Polygon piece;
    for (int k = 0; k < 3; ++k) {
        const ModelPoint& a = s.points[size_t(t[size_t(k)])];
        const ModelPoint& b = s.points[size_t(t[size_t((k + 1) % 3)])];
        if (a.z <= level) piece.push_back(Kernel::Point_2(a.x, a.y));
        if ((a.z < level) != (b.z < level) && a.z != b.z) {
            const double f = (level - a.z) / (b.z - a.z);
            if (f > 0.0 && f < 1.0) piece.push_back(Kernel::Point_2(a.x + f * (b.x - a.x), a.y + f * (b.y - a.y)));
        }
    }
    if (piece.size() < 3 || piece.area() == 0) return Polygon();
    if (piece.orientation() == CGAL::CLOCKWISE) piece.reverse_orientation();
    return piece;
}

PlanRing RingOf(const Polygon& contour) {
    PlanRing ring;
    for (auto v = contour.vertices_begin(); v != contour.vertices_end(); ++v)
        ring.points.push_back({CGAL::to_double(v->x()), CGAL::to_double(v->y()), 0.0});
    return ring;
}

}  // namespace

std::vector<GroundRegion> GroundBelow(const ProjectDatabase& db, const API_Guid& database, const PlanBox& box,
                                      double level) {
    CGAL::Polygon_set_2<Kernel> below;
    for (const API_Guid& guid : db.Model().elements.InDatabases({database}, API_MeshID)) {
        const StoredElement* mesh = db.Find(guid);
        MeshSurfaceModel model;
        std::string why;
        if (!BuildMeshSurface(*mesh, StoryLevelOf(db, mesh->record.header.floorInd), &model, &why)) continue;
        for (const auto& t : model.surface.triangles) {
            PlanBox tb{1e300, 1e300, -1e300, -1e300};
            for (int32_t i : t) {
                const ModelPoint& p = model.surface.points[size_t(i)];
                tb = {std::min(tb.xMin, p.x), std::min(tb.yMin, p.y), std::max(tb.xMax, p.x), std::max(tb.yMax, p.y)};
            }
            if (!tb.Meets(box)) continue;
            const Polygon piece = ClipBelow(model.surface, t, level);
            if (!piece.is_empty()) below.join(piece);
        }
    }
    std::vector<PolygonWithHoles> united;
    below.polygons_with_holes(std::back_inserter(united));
    std::vector<GroundRegion> regions;
    for (const PolygonWithHoles& u : united) {
        GroundRegion region;
        region.contours.push_back(RingOf(u.outer_boundary()));
        for (auto h = u.holes_begin(); h != u.holes_end(); ++h) region.contours.push_back(RingOf(*h));
        regions.push_back(std::move(region));
    }
    return regions;
}
