#include "shell/commands/TerrainInputCommands.hpp"

#include "elements/ElemDataRecord.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/Language.hpp"
#include "foundation/SelectionHelpers.hpp"
#include "settings/Settings.hpp"
#include "elements/AddOnObjects.hpp"
#include "terrain/ConstraintInput.hpp"
#include "terrain/OutlineData.hpp"
#include "terrain/PointTool.hpp"

namespace {
// Every command starts from no edited objects.
void StartCommand() {
    GlobalSettings.firstCount = 0;
    GlobalSettings.editedCount = 0;
}

// The selected elements of the host type that carry the kind's record; false when the selection cannot be read.
bool SelectedOfKind(int32_t kind, API_ElemTypeID type, QV_List<API_Element>& out) {
    out.Clear();
    ElemSelection selection;
    if (!GetSelectedElements(selection, true, &type, false, true, 0)) return false;
    for (int32_t i = 0; i < selection.elements.GetCount(); ++i) {
        ElemDescriptor record;
        if (ElemUserData_ReadFromElement(record, kind, selection.elements[i].header, true))
            out.Insert(selection.elements[i]);
    }
    return true;
}

void Report(int32_t code) { ShowErrorMessage(code, -1); }
}  // namespace

void RunPoint() {
    StartCommand();
    QV_List<API_Element> points;
    if (!SelectedOfKind(ElemKind_Point, API_HotspotID, points)) return Report(10);
    PointTool tool;
    if (points.GetCount() == 0) {
        ACAPI_Element_DeselectAll();
        return Report(tool.PlaceByClicks());
    }
    GlobalSettings.editedCount = points.GetCount();
    Report(tool.PlaceFromHotspots(points));
}

void RunConstraint() {
    StartCommand();
    QV_List<API_Element> constraints;
    if (!SelectedOfKind(ElemKind_Constraint, API_LineID, constraints)) return Report(10);
    ConstraintInput input;
    if (constraints.GetCount() == 0) {
        ACAPI_Element_DeselectAll();
        return Report(input.Create());
    }
    GlobalSettings.editedCount = constraints.GetCount();
    Report(input.Modify(constraints));
}

void RunOutline() {
    StartCommand();
    OutlineData data;
    if (!EnsureFloorPlanWindow(true)) return Report(42);
    QV_List<API_Element> terrains;
    if (CollectAddOnObjects(ElemKind_Terrain, API_MeshID, 0, terrains) == 0) return Report(10);
    if (terrains.GetCount() > 0) {
        QV_String title, text;
        GetResString(title, ErrorTableBase + LanguageIndex, 54);
        GetResString(text, ImportTableBase + LanguageIndex, 34);
        ShowAlertBox(-1, title, text, QV_String());
        return;
    }
    ElemSelection hatches;
    const API_ElemTypeID hatchType = API_HatchID;
    if (!GetSelectedElements(hatches, true, &hatchType, false, true, 0)) return Report(10);
    if (hatches.heads.GetCount() >= 2) return Report(17);
    if (hatches.heads.GetCount() == 0) return Report(data.CommandByClicks());
    ElemDescriptor record;
    if (ElemUserData_ReadFromElement(record, ElemKind_Outline, hatches.heads[0], true)) {
        GlobalSettings.editedCount = 1;
        return Report(data.CommandModify(hatches.heads[0]));
    }
    Report(data.CommandFromHatch(hatches.heads[0]));
}
