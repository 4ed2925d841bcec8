#include "earthworks/TerrainCutRefresh.hpp"

#include "elements/ElemDataRecord.hpp"
#include "elements/FloorPlanDatabase.hpp"
#include "elements/ModelUpdate.hpp"
#include "elements/SolidLinkRemoval.hpp"
#include "foundation/ACAPI.hpp"

bool RefreshTerrainCutObjects(int32_t kind, int32_t mode, const QV_List<API_Elem_Head>& heads) {
    if (mode != 1 && mode != 2) return true;
    if (mode == 1 && ElementWritten != 0) return true;
    return InFloorPlanDatabase([&] {
        for (const API_Elem_Head& head : heads) {
            if (!ACAPI_Element_Filter(head.guid, 1)) continue;
            API_Element e = {};
            e.header.guid = head.guid;
            if (ACAPI_Element_Get(&e) != NoError) continue;
            ElemDescriptor record;
            if (!ElemUserData_ReadFromElement(record, kind, e.header, false)) continue;
            ACAPI_Element_AttachObserver(e.header.guid);
            if (!RemoveTargetSolidLinks(e)) return false;
        }
        return true;
    });
}
