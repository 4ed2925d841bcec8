#include "siteobjects/SiteObjectUpdateSteps.hpp"

#include "siteobjects/Building.hpp"
#include "siteobjects/Paint.hpp"
#include "siteobjects/Wall.hpp"

bool RefreshNewBuildings(const ModelUpdateEvent& event) {
    LogModelUpdateStep("BuildingCls::OnElementEvent", event.mode);
    return BuildingCls::OnElementEvent(event.mode, event.heads) != 0;
}

bool RefreshNewColouredAreas(const ModelUpdateEvent& event) {
    LogModelUpdateStep("PaintCls::OnElementEvent", event.mode);
    return PaintCls::OnElementEvent(event.mode, event.heads) != 0;
}

bool RefreshNewWalls(const ModelUpdateEvent& event) {
    LogModelUpdateStep("WallCls::OnElementEvent", event.mode);
    return WallCls::OnElementEvent(event.mode, event.heads) != 0;
}
