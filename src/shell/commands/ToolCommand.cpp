#include "shell/commands/ToolCommand.hpp"

#include "elements/AddOnObjects.hpp"
#include "elements/ElemDataRecord.hpp"
#include "elements/KindObjects.hpp"
#include "elements/RoadSectionObjects.hpp"
#include "foundation/Alert.hpp"
#include "foundation/Language.hpp"
#include "foundation/SelectionHelpers.hpp"

int32_t SelectionCheckResult = 0;

void BeginToolCommand(Settings& settings) {
    SelectionCheckResult = 0;
    settings.firstCount = 0;
    settings.editedCount = 0;
}

void SetEditedCount(Settings& settings, int32_t count) { settings.editedCount = count; }

bool PickToModify(Settings& settings, int32_t kind, bool resultsOnly, QV_List<API_Element>& picked) {
    if (!PickObjects(kind, picked)) return false;
    if (kind == ElemKind_Road) {
        // Road sections are objects of the road's part but are edited by their own tool.
        QV_List<API_Element> roads;
        // An object the host would not tell apart may be a section: the pick fails rather than edit it as a road.
        for (const API_Element& e : picked) {
            bool section = false;
            if (!ReadIsRoadSectionObject(e, e.object.libInd, section)) return false;
            if (!section && !roads.Insert(e)) return false;
        }
        picked = roads;
    }
    if (picked.GetCount() == 0) return true;
    if (resultsOnly && !SelectResultObjects(picked, kind)) return false;
    SetEditedCount(settings, picked.GetCount());
    return true;
}

bool PickObjects(int32_t kind, QV_List<API_Element>& out) {
    return PickElements(kind, API_ObjectID, false, Leave3D::Yes, out, true);
}

bool ProjectTerrains(QV_List<API_Element>& out) {
    return CollectAddOnObjects(ElemKind_Terrain, API_MeshID, Leave3D::Yes, out);
}

bool SelectedOfType(API_ElemTypeID type, QV_List<API_Element>& out) {
    return CollectSelection(out, true, type, false, Leave3D::Yes);
}

bool RequireFloorPlan() { return EnsureFloorPlanWindow(false); }

void ReportToolResult(int32_t code) {
    if (code != 0) ShowErrorMessage(code, AlertKind::Error);
}
