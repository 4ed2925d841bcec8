#pragma once
// An object that a terrain subtracts from downwards ('SSUD', the object the target, the terrain the operator):
// its bodies less the terrain's solid extruded down, so that it keeps what stands above the ground (CGAL
// corefinement, exact constructions). Only the terrain under each body's plan box takes part.
#include "model3d/ElementModels.hpp"

#include <string>
#include <vector>

// Cuts each body in place; a body wholly below the ground goes. False with `why` when a body is no closed solid
// or the operation cannot be computed.
bool CutBelowGround(const MeshSurfaceModel& terrain, std::vector<ModelBody>* bodies, std::string* why);
