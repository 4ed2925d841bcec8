#pragma once
// The host's check of a mesh's memo before it is stored: the 1-based arrays with their dummy entry 0, each ring
// closed by its vertex numbers, heights that are numbers, and level-line ends that are running counts rising to
// the level-point count. A mesh that fails is refused whole, so the 3D model never meets one it cannot read.
#include "APIElements.hpp"
#include "project/ElementMemo.hpp"

#include <string>

// Empty when the mesh and its memo agree; otherwise why not.
std::string MeshMemoProblem(const API_MeshType& mesh, const StoredMemo& memo);
