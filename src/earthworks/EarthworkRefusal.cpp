#include "earthworks/EarthworkRefusal.hpp"

#include "elements/ElemDataRecord.hpp"
#include "elements/KindName.hpp"
#include "foundation/ACAPI.hpp"
#include "elements/MeshHeightSampling.hpp"
#include "foundation/GuidText.hpp"
#include "geometry/PolygonTests.hpp"
#include "geometry/QV_Poly.hpp"

bool HostBuildsBody(const API_Guid& object) {
    API_Elem_Head head = {};
    head.guid = object;
    API_ElemInfo3D info = {};
    return ACAPI_Element_Get3DInfo(head, &info) == NoError;
}

bool RefuseUnbuiltSet(const API_Guid& cut, const API_Guid& fill, const QV_String& name) {
    for (const API_Guid* object : {&cut, &fill})
        if (*object != APINULLGuid && !HostBuildsBody(*object)) return RefuseFault(name, BodyFault::NoBody);
    return true;
}

bool RefuseUnbuiltSetOf(const API_Element& member, int32_t kind) {
    ElemDescriptor record;
    API_Guid cut = member.header.guid, fill = APINULLGuid;
    if (record.FromElement(kind, member.header, false)) {
        StringToGuid(cut, record.CutGuid);
        StringToGuid(fill, record.FillGuid);
    }
    return RefuseUnbuiltSet(cut, fill, ObjectName(member, kind));
}

BodyFault OffTerrainFault(const API_Element& terrain, const std::vector<API_Coord>& points) {
    QV_Poly outline;
    if (!outline.ReadFromElement(terrain.header, 0)) return BodyFault::None;
    for (const API_Coord& p : points) {
        int32_t edge = 0;
        if (PointInPolygon(outline, p.x, p.y, edge, 1e-7) < 0) return BodyFault::OffTerrain;
    }
    return BodyFault::None;
}

BodyFault TerrainLevelFault(const API_Element& terrain, double low, double high) {
    API_Box3D box = {};
    if (!WidenedElementBox(terrain, box)) return BodyFault::None;
    return LevelFault(low, high, box.zMin, box.zMax);
}

bool RefuseFault(const QV_String& name, BodyFault fault) {
    if (fault == BodyFault::None) return true;
    ShowAlert(BodyRefusal(name, fault));
    return false;
}

QV_String EarthworkName(const QV_String& idText, int32_t kind) {
    return idText.HasBuffer() && !idText.IsEmpty() ? idText : KindName(kind);
}
