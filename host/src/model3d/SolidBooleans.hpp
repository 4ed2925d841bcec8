#pragma once
// The boolean operations on exact solids, compiled once here: CGAL's corefinement is a template that takes a
// minute to compile in each file that calls it.
#include "model3d/ExactSolid.hpp"

enum class SolidOperation { Union, Difference, Intersection };

// `out` (which may be `a` or `b`) becomes a `operation` b; false when the result bounds no volume. Both inputs are
// refined along their intersection. Throws as CGAL throws on a degenerate input.
bool Combine(ExactSolid& a, ExactSolid& b, SolidOperation operation, ExactSolid& out);

// Whether the solid's boundary meets itself anywhere but at its shared edges and corners.
bool SelfIntersects(const ExactSolid& solid);
