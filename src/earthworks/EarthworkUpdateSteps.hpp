#pragma once
// The earthworks' steps of the model update, one per element kind; the shell puts each under its kind in the
// model update's steps at start-up (shell/Wiring). Each answers false when it failed, which ends the dispatch.
#include "elements/ModelUpdate.hpp"

// Road sections the user placed get their road's tag (SectionCls::OnElementEvent).
bool TagNewRoadSections(const ModelUpdateEvent& event);
// New and copied basins and bridges lose the terrain cut of the object they were copied from.
bool RefreshBasinTerrainCuts(const ModelUpdateEvent& event);
bool RefreshBridgeTerrainCuts(const ModelUpdateEvent& event);
// New and copied retaining walls: record refreshed, solid links removed (ObstacleCls::OnElementEvent).
bool RefreshNewRetainingWalls(const ModelUpdateEvent& event);
