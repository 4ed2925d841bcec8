#pragma once
// The Input sub-palette's terrain-input buttons: "Point", "Constraint" and "Outline".
#include "settings/Settings.hpp"

class TerrainInputDialogs;

// Selected terrain points are edited; without any, points are placed by clicks.
void RunPoint(Settings& settings, TerrainInputDialogs& dialogs);
// Selected constraints are edited; without any, constraints are drawn between points.
void RunConstraint(Settings& settings, TerrainInputDialogs& dialogs);
// With a terrain in the project it refuses; a selected outline is traced again, a selected plain hatch becomes the
// outline's path, and without a selection the path is clicked.
void RunOutline(Settings& settings, TerrainInputDialogs& dialogs);
