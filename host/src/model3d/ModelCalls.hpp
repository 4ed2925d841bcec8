#pragma once
// The 3D model's host functions: an element's 3D info and the components of the model's bodies.
#include "HostCalls.hpp"

void InstallModelCalls(HostFunctionSet& set);
