#pragma once
// The terrain's steps of the model update, one per element kind; the shell puts each under its kind in the
// model update's steps at start-up (shell/Wiring). Each answers false when it failed, which ends the dispatch.
#include "elements/ModelUpdate.hpp"
#include "settings/PointSettings.hpp"

class ElementEditor;

// Elements the user made: the contour-line objects among them are refreshed (ContourLineCls::RefreshOnUpdate).
bool RefreshCopiedContourLines(const ModelUpdateEvent& event);
// The terrain's own rules after the user's changes, and the objects linked to it following it through `editor`
// (CollectTerrainElements).
bool KeepTerrainObjectsInStep(ElementEditor& editor, const ModelUpdateEvent& event);
// The terrain points' share (PointTool::OnElementEvent), new points numbered from `defaults`.
bool KeepPointsInStep(PointSettings& defaults, const ModelUpdateEvent& event);
// The constraints kept on their points: after the user's new elements those that lost a point go, after an edit
// dragged ends go back; then of two crossing constraints the later one goes.
bool KeepConstraintsOnTheirPoints(const ModelUpdateEvent& event);
