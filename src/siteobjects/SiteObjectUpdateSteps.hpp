#pragma once
// The site objects' steps of the model update, one per element kind; the shell puts each under its kind in the
// model update's steps at start-up (shell/Wiring). Each answers false when it failed, which ends the dispatch.
#include "elements/ModelUpdate.hpp"

// New and copied buildings and walls drop the links of the object they were copied from; coloured areas stay
// observed (the kinds' OnElementEvent).
bool RefreshNewBuildings(const ModelUpdateEvent& event);
bool RefreshNewColouredAreas(const ModelUpdateEvent& event);
bool RefreshNewWalls(const ModelUpdateEvent& event);
