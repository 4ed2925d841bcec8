#pragma once
// The Street furniture buttons' commands: basins, buildings, walls, retaining walls, coloured areas, trees, and
// the switch between editing placed objects in X-Y and in Z. Each asks the user through the dialogs it is handed:
// the earthworks' for the basin and the retaining wall, the site objects' for the others.
#include "settings/Settings.hpp"

class ContourLineRefresh;
class EarthworkDialogs;
class SiteObjectDialogs;

void RunBasin(Settings& settings, EarthworkDialogs& dialogs);
void RunBuilding(Settings& settings, SiteObjectDialogs& dialogs);
void RunWall(Settings& settings, SiteObjectDialogs& dialogs);
void RunRetainingWall(Settings& settings, EarthworkDialogs& dialogs, ContourLineRefresh& contours);
void RunPaint(Settings& settings, SiteObjectDialogs& dialogs, ContourLineRefresh& contours);
void RunTree(Settings& settings, SiteObjectDialogs& dialogs);
// Flips the XYZ button's state and sets "change_level" of every building, sidewalk, plateau, road and railway
// (with their linked objects) to match; the state flips only when every object took the new value.
void RunEditXYZ(Settings& settings);
