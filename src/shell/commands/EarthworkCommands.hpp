#pragma once
// The Earthmoving buttons' commands: each picks its operation by the selected objects of its kind, the add-on
// terrains of the project and the selected fills or polylines.
#include "settings/Settings.hpp"

#include "APIElements.hpp"

void RunRoad(Settings& settings);
void RunRailway(Settings& settings);
void RunSidewalk(Settings& settings);
void RunPlateau(Settings& settings);
void RunBridge(Settings& settings);
void RunRoadSection(Settings& settings);
// The polyline tool made current, its default set to the kind of polyline the tools read.
void RunPolygon(Settings& settings);

// The bridge's path test on a polyline: the host counts two vertices in it (one straight or curved segment).
bool IsBridgePath(const API_Element& polyline);
