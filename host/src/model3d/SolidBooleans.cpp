#include "model3d/SolidBooleans.hpp"

#include <CGAL/Polygon_mesh_processing/corefinement.h>
#include <CGAL/Polygon_mesh_processing/self_intersections.h>

namespace PMP = CGAL::Polygon_mesh_processing;

bool Combine(ExactSolid& a, ExactSolid& b, SolidOperation operation, ExactSolid& out) {
    switch (operation) {
        case SolidOperation::Union: return PMP::corefine_and_compute_union(a, b, out);
        case SolidOperation::Difference: return PMP::corefine_and_compute_difference(a, b, out);
        case SolidOperation::Intersection: return PMP::corefine_and_compute_intersection(a, b, out);
    }
    return false;
}

bool SelfIntersects(const ExactSolid& solid) { return PMP::does_self_intersect(solid); }
