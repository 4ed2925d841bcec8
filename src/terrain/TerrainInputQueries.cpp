#include "terrain/TerrainInputQueries.hpp"

#include "elements/ActiveStory.hpp"
#include "elements/AddOnObjects.hpp"
#include "elements/ElemDataRecord.hpp"
#include "elements/FloorPlanDatabase.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/Language.hpp"

#include <cmath>
#include <cstring>

bool PointsCoincide(const API_Coord& a, const API_Coord& b, double tolerance) {
    return std::fabs(a.x - b.x) < tolerance && std::fabs(a.y - b.y) < tolerance;
}

int16_t CurrentStoryIndex() { return ActiveStoryIndex(); }

bool CollectTerrainPoints(QV_List<API_Element>& points) {
    return CollectAddOnObjects(ElemKind_Point, API_HotspotID, 0, points) != 0;
}

bool VisitTerrainPoints(const std::function<bool(const API_Element&)>& visit) {
    return VisitAddOnObjects(ElemKind_Point, API_HotspotID, visit);
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

TerrainPointIndex::TerrainPointIndex(const QV_List<API_Element>& points)
    : points_(points), grid_(4.0 * PointTolerance) {
    for (int32_t i = 0; i < points.GetCount(); ++i) grid_.Add(points[i].hotspot.pos.x, points[i].hotspot.pos.y, i);
}

int32_t TerrainPointIndex::Find(const API_Coord& at, const API_Guid& except) const {
    return grid_.First(at.x, at.y, [&](int32_t i) {
        if (except != APINULLGuid && points_[i].header.guid == except) return false;
        return PointsCoincide(points_[i].hotspot.pos, at);
    });
}

bool GetElementOnPlan(const API_Neig& neig, API_Element& element) {
    std::memset(static_cast<void*>(&element), 0, sizeof element);
    if (neig.guid == APINULLGuid) return false;
    API_WindowInfo window = {};
    if (ACAPI_Database(APIDb_GetCurrentWindowID, &window) != NoError) return false;
    if (window.typeID >= 2 && window.typeID <= 11 && window.typeID != APIWind_DetailID) {
        API_NeigID kind = neig.neigID;
        API_ElemTypeID type = 0;
        if (ACAPI_Goodies(APIAny_NeigIDToElemTypeID, &kind, &type) != NoError) return false;
        element.header.typeID = type;
    }
    element.header.guid = neig.guid;
    return InFloorPlanDatabase([&] { return ACAPI_Element_Get(&element) == NoError; });
}
