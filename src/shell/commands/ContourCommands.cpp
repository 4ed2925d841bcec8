#include "shell/commands/ContourCommands.hpp"

#include "dialogs/tools/CurveSegmentationDialog.hpp"
#include "elements/AddOnObjects.hpp"
#include "elements/ElemDataRecord.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/ErrorCode.hpp"
#include "foundation/Language.hpp"
#include "foundation/SelectionHelpers.hpp"
#include "geometry/project/CurveDivision.hpp"
#include "settings/Settings.hpp"
#include "shell/commands/ToolCommand.hpp"
#include "terrain/ContourLineCls.hpp"
#include "terrain/SlopeRangeCls.hpp"

namespace {
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

int32_t ContourLineTool(Settings& settings, TerrainDialogs& dialogs) {
    ContourLineCls cls;
    BeginToolCommand(settings);
    SetEditedCount(settings, 0);
    if (!RequireFloorPlan()) return ErrDatabase;
    QV_List<API_Element> terrains;
    if (!ProjectTerrains(terrains)) return ErrFindingData;
    GroupSuspension groups;
    // Any add-on terrain of the project, selected or not, is the one the object belongs to.
    if (terrains.GetCount() > 0) {
        ACAPI_Element_DeselectAll();
        return cls.CreateFromTerrain(settings, dialogs, terrains[0]);
    }
    QV_List<API_Element> points;
    QV_List<API_Element> constraints;
    QV_List<PlanSegment> segments;
    QV_List<API_Elem_Head> sources;
    // A failed gathering is reported at the end; the command goes on with what was gathered.
    if (!PickElements(ElemKind_Point, API_HotspotID, false, Leave3D::Yes, points, true) ||
        !PickElements(ElemKind_Constraint, API_LineID, false, Leave3D::Yes, constraints, true) ||
        SegmentSelectedSplines(AskCurveSegmentation, 1, 1, segments, sources) == CurveDivision_Failed)
        SelectionCheckResult = ErrFindingData;
    int32_t result = 0;
    const bool withPoints = points.GetCount() > 0;
    const bool withConstraints = constraints.GetCount() > 0;
    if (segments.GetCount() > 0 && withPoints && withConstraints) {
        SetEditedCount(settings, points.GetCount() + constraints.GetCount());
        result = cls.SetAltitudeOfSelection(settings, dialogs, points, constraints);
    } else if (segments.GetCount() > 0 && !withPoints && !withConstraints) {
        result = cls.DigitizeContour(settings, dialogs, segments, sources);
    } else {
        result = cls.EditSettings(settings, dialogs);
    }
    return result != 0 ? result : SelectionCheckResult;
}

int32_t SlopeRange(Settings& settings, TerrainDialogs& dialogs) {
    SlopeRangeCls cls;
    BeginToolCommand(settings);
    SetEditedCount(settings, 0);
    cls.settings.Reset();
    cls.settings.SetDefaults(settings.slopeRange.font);
    QV_List<API_Element> objects;
    // Every slope-range object of the project is edited, selected or not.
    if (!CollectAddOnObjects(ElemKind_SlopeRange, API_ObjectID, Leave3D::Yes, objects)) return ErrFindingData;
    if (objects.GetCount() > 0) {
        SetEditedCount(settings, objects.GetCount());
        return cls.Modify(settings, dialogs, objects);
    }
    QV_List<API_Element> terrains;
    if (!ProjectTerrains(terrains)) return ErrFindingData;
    return terrains.GetCount() > 0 ? cls.Create(settings, dialogs, terrains) : cls.EditSettings(settings, dialogs);
}
}  // namespace

void RunContourLineTool(Settings& settings, TerrainDialogs& dialogs) {
    ReportToolResult(ContourLineTool(settings, dialogs));
}

void RunSlopeRange(Settings& settings, TerrainDialogs& dialogs) { ReportToolResult(SlopeRange(settings, dialogs)); }

int32_t RunContourLines(const Settings& settings, const API_Element& terrain, QV_List<CalculationVolume>* volumes) {
    ContourLineCls cls;
    const int32_t result = cls.Regenerate(settings.contour, terrain, volumes);
    ReportToolResult(result);
    return result;
}
