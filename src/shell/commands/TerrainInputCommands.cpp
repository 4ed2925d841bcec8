#include "shell/commands/TerrainInputCommands.hpp"

#include "elements/AddOnObjects.hpp"
#include "elements/ElemDataRecord.hpp"
#include "foundation/Alert.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/Language.hpp"
#include "foundation/SelectionHelpers.hpp"
#include "shell/commands/ToolCommand.hpp"
#include "terrain/ConstraintInput.hpp"
#include "terrain/OutlineData.hpp"
#include "terrain/PointTool.hpp"

namespace {
constexpr int32_t TerrainExistsEntry = 34;  // table 32580: "A terrain still exist!"
}  // namespace

void RunPoint(Settings& settings, TerrainInputDialogs& dialogs) {
    BeginToolCommand(settings);
    QV_List<API_Element> points;
    if (!PickElements(ElemKind_Point, API_HotspotID, false, Leave3D::Yes, points, true))
        return ReportToolResult(ErrFindingData);
    PointTool tool(settings, dialogs);
    if (points.GetCount() == 0) {
        ACAPI_Element_DeselectAll();
        return ReportToolResult(tool.PlaceByClicks());
    }
    SetEditedCount(settings, points.GetCount());
    ReportToolResult(tool.PlaceFromHotspots(points));
}

void RunConstraint(Settings& settings, TerrainInputDialogs& dialogs) {
    BeginToolCommand(settings);
    QV_List<API_Element> constraints;
    if (!PickElements(ElemKind_Constraint, API_LineID, false, Leave3D::Yes, constraints, true))
        return ReportToolResult(ErrFindingData);
    ConstraintInput input(settings, dialogs);
    if (constraints.GetCount() == 0) {
        ACAPI_Element_DeselectAll();
        return ReportToolResult(input.Create());
    }
    SetEditedCount(settings, constraints.GetCount());
    ReportToolResult(input.Modify(constraints));
}

void RunOutline(Settings& settings, TerrainInputDialogs& dialogs) {
    BeginToolCommand(settings);
    OutlineData data(settings, dialogs);
    if (!RequireFloorPlan()) return ReportToolResult(ErrDatabase);
    QV_List<API_Elem_Head> terrains;
    if (!CollectAddOnObjectHeads(ElemKind_Terrain, API_MeshID, Leave3D::Yes, terrains))
        return ReportToolResult(ErrFindingData);
    if (terrains.GetCount() > 0) {
        ShowAlert(Alert(AlertKind::Error, ErrorTitleText, AlertText{ImportTableBase, TerrainExistsEntry}));
        return;
    }
    QV_List<API_Elem_Head> hatches;
    if (!CollectSelectionHeads(hatches, true, API_HatchID, false, Leave3D::Yes))
        return ReportToolResult(ErrFindingData);
    if (hatches.GetCount() >= 2) return ReportToolResult(ErrTwoOutlines);
    if (hatches.GetCount() == 0) return ReportToolResult(data.CommandByClicks());
    ElemDescriptor record;
    if (ElemUserData_ReadFromElement(record, ElemKind_Outline, hatches[0], true)) {
        SetEditedCount(settings, 1);
        return ReportToolResult(data.CommandModify(hatches[0]));
    }
    ReportToolResult(data.CommandFromHatch(hatches[0]));
}
