#include "elements/ContourLineLookup.hpp"

#include "elements/AcceptedElements.hpp"
#include "elements/ElemDataRecord.hpp"
#include "elements/FloorPlanDatabase.hpp"
#include "foundation/ACAPI.hpp"

bool HasContourLinesForTerrain(const API_Element& terrain) {
    return InFloorPlanDatabase([&] {
        ElemDescriptor own;
        if (!ElemUserData_Read(own, ElemKind_Terrain, terrain.header) || own.TerrainId.IsEmpty()) return false;
        for (const API_Guid& guid : AcceptedElements(API_ObjectID)) {
            API_Element object;
            if (!ReadElementByGuid(guid, object)) continue;
            API_ElementUserData data = {};
            ElemDescriptor contour;
            const bool read = ACAPI_Element_GetUserData(&object.header, &data) == NoError &&
                ElemUserData_ReadRecord(contour, ElemKind_Contour, data);
            BMKillHandle(&data.dataHdl);
            if (read && contour.ContourText.Compare(own.TerrainId) == 0) return true;
        }
        return false;
    });
}
