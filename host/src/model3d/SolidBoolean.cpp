#include "model3d/SolidBoolean.hpp"

#include <CGAL/Nef_polyhedron_3.h>
#include <CGAL/Polygon_mesh_processing/corefinement.h>
#include <CGAL/Polygon_mesh_processing/orient_polygon_soup.h>
#include <CGAL/Polygon_mesh_processing/orientation.h>
#include <CGAL/Polygon_mesh_processing/polygon_soup_to_polygon_mesh.h>
#include <CGAL/Polygon_mesh_processing/repair_polygon_soup.h>
#include <CGAL/Polygon_mesh_processing/triangulate_faces.h>
#include <CGAL/boost/graph/convert_nef_polyhedron_to_polygon_mesh.h>

#include <utility>

namespace PMP = CGAL::Polygon_mesh_processing;

namespace {
using Nef = CGAL::Nef_polyhedron_3<ExactKernel>;

bool Corefined(SolidOperation op, ExactSolid& a, ExactSolid& b) {
    return op == SolidOperation::Union ? PMP::corefine_and_compute_union(a, b, a)
                                       : PMP::corefine_and_compute_difference(a, b, a);
}
}  // namespace

bool SolidFromTouchingSoup(std::vector<ExactPoint> points, std::vector<std::vector<std::size_t>> polygons,
                           ExactSolid* out) {
    PMP::repair_polygon_soup(points, polygons);
    if (polygons.empty()) {
        *out = ExactSolid();
        return true;
    }
    // Where the boundary touches itself the orientation splits the shared points: the result stays closed, each
    // sheet a manifold, and bounds the same volume.
    PMP::orient_polygon_soup(points, polygons);
    ExactSolid solid;
    PMP::polygon_soup_to_polygon_mesh(points, polygons, solid);
    if (!CGAL::is_closed(solid) || !PMP::triangulate_faces(solid)) return false;
    PMP::orient_to_bound_a_volume(solid);
    *out = std::move(solid);
    return true;
}

bool ApplySolidOperation(SolidOperation op, ExactSolid& a, ExactSolid& b) {
    // Corefinement refuses (and leaves `a` only corefined, the same solid) when the result is no manifold.
    if (Corefined(op, a, b)) return true;
    if (!CGAL::is_closed(a) || !CGAL::is_closed(b)) return false;
    Nef na(a), nb(b);
    const Nef result = op == SolidOperation::Union ? na + nb : na - nb;
    // Only the solid's own volumes: lower-dimensional leftovers bound nothing.
    const Nef regular = result.regularization();
    std::vector<ExactPoint> points;
    std::vector<std::vector<std::size_t>> polygons;
    CGAL::convert_nef_polyhedron_to_polygon_soup(regular, points, polygons, true);
    return SolidFromTouchingSoup(std::move(points), std::move(polygons), &a);
}
