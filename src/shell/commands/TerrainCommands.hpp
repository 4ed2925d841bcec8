#pragma once
// The Input palette's terrain commands: "Terrain" (build the terrain from the outline, edit the terrain meshes,
// or edit the terrain defaults) and "Transform ZidudORI Mesh" (make the one selected host mesh the terrain).
#include "settings/Settings.hpp"

class TerrainContourSteps;
class TerrainDialogs;

// The terrain dialogs ask; the terrain's contour-line objects follow through `contours`.
void RunTerrain(Settings& settings, TerrainDialogs& dialogs, TerrainContourSteps& contours);
void RunMeshConversion(Settings& settings, TerrainDialogs& dialogs);
