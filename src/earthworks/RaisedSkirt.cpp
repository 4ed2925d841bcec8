#include "earthworks/RaisedSkirt.hpp"

#include "elements/AddOnObjects.hpp"
#include "elements/BaseLP.hpp"
#include "elements/ElemDataRecord.hpp"
#include "elements/LayerHelpers.hpp"
#include "elements/TerrainDraping.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/GuidText.hpp"

#include <cstring>

namespace {
// The kinds that carry their terrain's skirt value, in the order the model update visits them.
const int32_t kSkirtKinds[] = {ElemKind_Plateau,      ElemKind_SlopedPlateau, ElemKind_Road,
                               ElemKind_ColouredArea, ElemKind_RetainingWall, ElemKind_Sidewalk};

// The terrain the object's record names (none for an object without a record of its kind); false when the host
// cannot tell, which fails the pass rather than leave the object with the old skirt.
bool LinkedTerrain(const ElemEntry& entry, API_Guid& terrain) {
    terrain = APINULLGuid;
    API_ElementUserData data = {};
    if (ACAPI_Element_GetUserData(&entry.element.header, &data) != NoError) return false;
    ElemDescriptor record;
    if (ElemUserData_ReadRecord(record, entry.kind, data) && !record.TerrainGuid.IsEmpty())
        StringToGuid(terrain, record.TerrainGuid);
    BMKillHandle(&data.dataHdl);
    return true;
}

// The skirt value of `mesh` into each of `objects` linked to it, each read afresh.
bool WriteSkirtOfMesh(const QV_List<ElemEntry>& objects, const API_Element& mesh) {
    for (const ElemEntry& entry : objects) {
        API_Guid terrain = APINULLGuid;
        if (!LinkedTerrain(entry, terrain)) return false;
        if (!(terrain == mesh.header.guid)) continue;
        API_Element object;
        std::memset(static_cast<void*>(&object), 0, sizeof object);
        object.header.guid = entry.element.header.guid;
        if (ACAPI_Element_Get(&object) != NoError) return false;
        BaseIDLP view(entry.kind);
        if (!BaseIDLP::WriteSkirt(view, object, mesh, false, true)) return false;
    }
    return true;
}
}  // namespace

bool RaiseTerrainSkirt(BaseCls& owner, double level) {
    const double skirt = owner.element.mesh.skirtLevel;
    if (!RaiseNegativeLevel(owner, level)) return false;
    if (owner.element.mesh.skirtLevel == skirt) return true;
    QV_List<ElemEntry> objects;
    if (!CollectAddOnObjectsOfKinds(kSkirtKinds, sizeof kSkirtKinds / sizeof kSkirtKinds[0], API_ObjectID, Leave3D::Yes,
                                    objects))
        return false;
    if (objects.GetCount() == 0) return true;
    QV_List<API_Element> elements;
    for (const ElemEntry& entry : objects) elements.Insert(entry.element);
    QV_List<LayerState> states;
    SaveAndOpenLayers(VY_Operators, elements, states, true);
    const bool ok = WriteSkirtOfMesh(objects, owner.element);
    RestoreLayerStates(VY_Operators, states);
    return ok;
}
