#pragma once
// The Input palette's terrain commands: "Terrain" (build the terrain from the outline, edit the terrain meshes,
// or edit the terrain defaults) and "Transform ZidudORI Mesh" (make the one selected host mesh the terrain).
#include "settings/Settings.hpp"

void RunTerrain(Settings& settings);
void RunMeshConversion(Settings& settings);
