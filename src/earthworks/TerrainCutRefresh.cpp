#include "earthworks/TerrainCutRefresh.hpp"

#include "elements/ElemDataRecord.hpp"
#include "elements/FloorPlanDatabase.hpp"
#include "elements/ModelUpdate.hpp"
#include "elements/SolidLinkRemoval.hpp"
#include "elements/UpdatedElements.hpp"
#include "foundation/ACAPI.hpp"

bool RefreshTerrainCutObjects(int32_t kind, int32_t mode, const QV_List<API_Elem_Head>& heads) {
    if (mode != 1 && mode != 2) return true;
    if (mode == 1 && ElementWritten != 0) return true;
    return UnlinkObjectsOfKind(kind, heads);
}

bool UnlinkObjectsOfKind(int32_t kind, const QV_List<API_Elem_Head>& heads) {
    return InFloorPlanDatabase([&] {
        for (const API_Elem_Head& head : heads) {
            API_Element e;
            ElemDescriptor record;
            bool taken = false;
            if (!ReadUpdatedElement(head, APIFilt_IsEditable, kind, e, record, taken)) return false;
            if (!taken) continue;
            if (ACAPI_Element_AttachObserver(e.header.guid) != NoError) return false;
            if (!RemoveTargetSolidLinks(e)) return false;
        }
        return true;
    });
}
