#include "earthworks/EarthworkUpdateSteps.hpp"

#include "earthworks/Obstacle.hpp"
#include "earthworks/Section.hpp"
#include "earthworks/TerrainCutRefresh.hpp"
#include "elements/ElemDataRecord.hpp"

bool TagNewRoadSections(const ModelUpdateEvent& event) {
    LogModelUpdateStep("SectionCls::OnElementEvent", event.mode);
    return SectionCls::OnElementEvent(event.mode, event.heads) != 0;
}

bool RefreshBasinTerrainCuts(const ModelUpdateEvent& event) {
    LogModelUpdateStep("BasinLP::OnModelUpdate", event.mode);
    return RefreshTerrainCutObjects(ElemKind_Basin, event.mode, event.heads);
}

bool RefreshBridgeTerrainCuts(const ModelUpdateEvent& event) {
    LogModelUpdateStep("BridgeLP::OnModelUpdate", event.mode);
    return RefreshTerrainCutObjects(ElemKind_Bridge, event.mode, event.heads);
}

bool RefreshNewRetainingWalls(const ModelUpdateEvent& event) {
    LogModelUpdateStep("ObstacleCls::OnElementEvent", event.mode);
    return ObstacleCls::OnElementEvent(event.mode, event.heads) != 0;
}
