#pragma once
// The Street furniture buttons' commands: basins, buildings, walls, retaining walls, coloured areas, trees, and
// the switch between editing placed objects in X-Y and in Z. The basin and the retaining wall ask the user through
// the earthworks' dialogs they are handed.
#include "settings/Settings.hpp"

class EarthworkDialogs;

void RunBasin(Settings& settings, EarthworkDialogs& dialogs);
void RunBuilding(Settings& settings);
void RunWall(Settings& settings);
void RunRetainingWall(Settings& settings, EarthworkDialogs& dialogs);
void RunPaint(Settings& settings);
void RunTree(Settings& settings);
// Flips the XYZ button's state and sets "change_level" of every building, sidewalk, plateau, road and railway
// (with their linked objects) to match; the state flips only when every object took the new value.
void RunEditXYZ(Settings& settings);
