#pragma once
// A body's shape apart from its numbering: its polygons as runs of coordinates, in an order of their own. Two
// bodies with the same shape give solids that are the same point set, so their exact volumes (and those of what the
// same operations make of them) are equal, though their meshes are numbered differently.
#include "model3d/ModelBody.hpp"

#include <vector>

// False when the shape cannot stand for the body: an index out of range, or two points a rounding apart (the
// solid welds those to whichever comes first, so the numbering would decide its points).
bool ShapeOf(const ModelBody& body, std::vector<double>* shape);
