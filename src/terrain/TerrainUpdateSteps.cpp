#include "terrain/TerrainUpdateSteps.hpp"

#include "terrain/ConstraintInput.hpp"
#include "terrain/ContourLineCls.hpp"
#include "terrain/PointTool.hpp"
#include "terrain/TerrainFromMesh.hpp"

bool RefreshCopiedContourLines(const ModelUpdateEvent& event) {
    return !event.userNew || ContourLineCls::RefreshOnUpdate(event.heads);
}

bool KeepTerrainObjectsInStep(ElementEditor& editor, const ModelUpdateEvent& event) {
    return CollectTerrainElements(editor, event.mode, event.heads, event.parents);
}

bool KeepPointsInStep(PointSettings& defaults, const ModelUpdateEvent& event) {
    return PointTool::OnElementEvent(defaults, event.mode, event.heads.begin(), event.heads.GetCount(),
                                     event.parents.begin(), event.parents.GetCount());
}

bool KeepConstraintsOnTheirPoints(const ModelUpdateEvent& event) {
    bool refreshed = true;
    if (event.userNew) {
        LogModelUpdateStep("ConstraintInput::RefreshOnUpdateA", event.heads.GetCount());
        refreshed = ConstraintInput::RefreshOnUpdateA(event.heads);
    } else if (event.mode == 4) {
        LogModelUpdateStep("ConstraintInput::RefreshOnUpdateB", event.heads.GetCount());
        refreshed = ConstraintInput::RefreshOnUpdateB(event.heads, event.parents);
    }
    return refreshed && ConstraintInput::RefreshOnUpdateC();
}
