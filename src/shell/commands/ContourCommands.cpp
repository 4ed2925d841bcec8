#include "shell/commands/ContourCommands.hpp"

#include "elements/AddOnObjects.hpp"
#include "elements/ElemDataRecord.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/Language.hpp"
#include "foundation/ModalDialog.hpp"
#include "foundation/SelectionHelpers.hpp"
#include "geometry/project/CurveDivision.hpp"
#include "settings/Settings.hpp"
#include "terrain/ContourLineCls.hpp"
#include "terrain/SlopeRangeCls.hpp"

namespace {
constexpr int32_t ErrFinding = 10;
constexpr int32_t ErrDatabase = 42;

void ResetCounts() {
    GlobalSettings.firstCount = 0;
    GlobalSettings.editedCount = 0;
    EditedEntityCount = 0;
}

void SetEditedCount(int32_t n) {
    GlobalSettings.editedCount = n;
    EditedEntityCount = n;
}

// The selected elements of `type` that carry the add-on's record of `kind`.
bool PickSelected(int32_t kind, API_ElemTypeID type, QV_List<API_Element>& out) {
    out.Clear();
    ElemSelection selection;
    if (!GetSelectedElements(selection, true, &type, false, true, 0)) return false;
    for (const API_Element& e : selection.elements) {
        ElemDescriptor record;
        if (ElemUserData_ReadFromElement(record, kind, e.header, true)) out.Insert(e);
    }
    return true;
}

// Groups are suspended for the command when they are not already, and put back afterwards.
class GroupSuspension {
public:
    GroupSuspension() {
        bool suspended = true;
        if (ACAPI_Environment(APIEnv_IsSuspendGroupOnID, &suspended) == NoError && !suspended)
            toggled_ = ACAPI_Database(APIDb_ToolSuspendGroupID) == NoError;
    }
    ~GroupSuspension() {
        if (toggled_) ACAPI_Database(APIDb_ToolSuspendGroupID);
    }
    GroupSuspension(const GroupSuspension&) = delete;
    GroupSuspension& operator=(const GroupSuspension&) = delete;

private:
    bool toggled_ = false;
};

int32_t ContourLineTool() {
    ContourLineCls cls;
    ResetCounts();
    if (!EnsureFloorPlanWindow(true)) return ErrDatabase;
    QV_List<API_Element> terrains;
    if (CollectAddOnObjects(ElemKind_Terrain, API_MeshID, 0, terrains) <= 0) return ErrFinding;
    GroupSuspension groups;
    // Any add-on terrain of the project, selected or not, is the one the object belongs to.
    if (terrains.GetCount() > 0) {
        ACAPI_Element_DeselectAll();
        return cls.CreateFromTerrain(terrains[0]);
    }
    QV_List<API_Element> points;
    QV_List<API_Element> constraints;
    QV_List<PlanSegment> segments;
    QV_List<API_Elem_Head> sources;
    bool gathered = PickSelected(ElemKind_Point, API_HotspotID, points);
    gathered = PickSelected(ElemKind_Constraint, API_LineID, constraints) && gathered;
    gathered = SegmentSelectedSplines(1, 1, segments, sources) == CurveDivision_Done && gathered;
    int32_t result = 0;
    const bool withPoints = points.GetCount() > 0;
    const bool withConstraints = constraints.GetCount() > 0;
    if (segments.GetCount() > 0 && withPoints && withConstraints) {
        SetEditedCount(points.GetCount() + constraints.GetCount());
        result = cls.SetAltitudeOfSelection(points, constraints);
    } else if (segments.GetCount() > 0 && !withPoints && !withConstraints) {
        result = cls.DigitizeContour(segments, sources);
    } else {
        result = cls.EditSettings();
    }
    return result != 0 ? result : gathered ? 0 : ErrFinding;
}

int32_t SlopeRange() {
    SlopeRangeCls cls;
    ResetCounts();
    cls.settings.Reset();
    cls.settings.SetDefaults(GlobalSettings.slopeRange.font);
    QV_List<API_Element> objects;
    if (CollectAddOnObjects(ElemKind_SlopeRange, API_ObjectID, 0, objects) <= 0) return ErrFinding;
    if (objects.GetCount() > 0) {
        SetEditedCount(objects.GetCount());
        return cls.Modify(objects);
    }
    QV_List<API_Element> terrains;
    if (CollectAddOnObjects(ElemKind_Terrain, API_MeshID, 0, terrains) <= 0) return ErrFinding;
    return terrains.GetCount() > 0 ? cls.Create(terrains) : cls.EditSettings();
}
}  // namespace

void RunContourLineTool() { ShowErrorMessage(ContourLineTool(), -1); }

void RunSlopeRange() { ShowErrorMessage(SlopeRange(), -1); }

int32_t RunContourLines(const API_Element& terrain, QV_List<CalculationVolume>* volumes) {
    ContourLineCls cls;
    const int32_t result = cls.Regenerate(terrain, volumes);
    ShowErrorMessage(result, -1);
    return result;
}
