#include "terrain/TerrainInputQueries.hpp"

#include "elements/AddOnObjects.hpp"
#include "elements/ElemDataRecord.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/Language.hpp"

#include <cmath>

bool PointsCoincide(const API_Coord& a, const API_Coord& b, double tolerance) {
    return std::fabs(a.x - b.x) < tolerance && std::fabs(a.y - b.y) < tolerance;
}

int16_t CurrentStoryIndex() {
    API_StoryInfo info = {};
    if (ACAPI_Environment(APIEnv_GetStorySettingsID, &info) != NoError) return -32768;
    if (info.data != nullptr) {
        GSHandle h = reinterpret_cast<GSHandle>(info.data);
        BMKillHandle(&h);
    }
    return info.actStory;
}

bool CollectTerrainPoints(QV_List<API_Element>& points) {
    return CollectAddOnObjects(ElemKind_Point, API_HotspotID, 0, points) != 0;
}

bool CollectConstraints(QV_List<API_Element>& constraints) {
    return CollectAddOnObjects(ElemKind_Constraint, API_LineID, 0, constraints) != 0;
}

int32_t FindPointAt(const QV_List<API_Element>& points, const API_Coord& at, const API_Guid& except) {
    for (int32_t i = 0; i < points.GetCount(); ++i) {
        if (except != APINULLGuid && points[i].header.guid == except) continue;
        if (PointsCoincide(points[i].hotspot.pos, at)) return i;
    }
    return -1;
}

bool RunExternalCommand(const std::function<bool()>& body) {
    QV_String undoText;
    GetResString(undoText, UndoTableBase + LanguageIndex, 2);
    const GS::UniString undo(undoText.GetBuffer(), undoText.GetLength());
    bool result = false;
    const GSErrCode err = ACAPI_CallUndoableCommand(undo, [&]() {
        result = body();
        return NoError;
    });
    return err == NoError && result;
}
