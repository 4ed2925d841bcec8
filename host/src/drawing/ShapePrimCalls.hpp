#pragma once
// The host table's Element_ShapePrims: the primitives of an element's drawing (drawing/ElementDrawing.hpp) handed
// to the module's callback, over the serving host's project.
class HostFunctionSet;

void InstallShapePrimCalls(HostFunctionSet& set);
