#pragma once
// Union and difference of closed solids that also hold when the operands share faces, edges or points: CGAL's
// corefinement first (fast, in place), and where it refuses (a result that is not a manifold, e.g. two bodies
// that touch along an edge), the same operation on Nef polyhedra, whose result is read back as a closed mesh.
#include "model3d/ExactSolid.hpp"

enum class SolidOperation { Union, Difference };

// `a` becomes a op b; `b` may be changed (corefined). False when neither way gives a closed solid.
bool ApplySolidOperation(SolidOperation op, ExactSolid& a, ExactSolid& b);

// A closed solid from a polygon soup whose boundary may touch itself (points and edges shared by more than two
// faces are split apart): false when the soup bounds no volume.
bool SolidFromTouchingSoup(std::vector<ExactPoint> points, std::vector<std::vector<std::size_t>> polygons,
                           ExactSolid* out);
