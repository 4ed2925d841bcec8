#pragma once
// The Earthmoving buttons' commands: each picks its operation by the selected objects of its kind, the add-on
// terrains of the project and the selected fills or polylines, and hands the element class the dialogs to ask
// the user with.
#include "settings/Settings.hpp"

#include "APIElements.hpp"

class ContourLineRefresh;
class EarthworkDialogs;

void RunRoad(Settings& settings, EarthworkDialogs& dialogs, ContourLineRefresh& contours);
void RunRailway(Settings& settings, EarthworkDialogs& dialogs, ContourLineRefresh& contours);
void RunSidewalk(Settings& settings, EarthworkDialogs& dialogs, ContourLineRefresh& contours);
void RunPlateau(Settings& settings, EarthworkDialogs& dialogs, ContourLineRefresh& contours);
void RunBridge(Settings& settings, EarthworkDialogs& dialogs);
void RunRoadSection(Settings& settings, EarthworkDialogs& dialogs);
// The polyline tool made current, its default set to the kind of polyline the tools read.
void RunPolygon(Settings& settings);

// The bridge's path test on a polyline: the host counts two vertices in it (one straight or curved segment).
bool IsBridgePath(const API_Element& polyline);
