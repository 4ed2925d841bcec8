#include "elements/ContourLineLookup.hpp"

#include "elements/AcceptedElements.hpp"
#include "elements/ElemDataRecord.hpp"
#include "elements/FloorPlanDatabase.hpp"
#include "foundation/ACAPI.hpp"

int32_t LookUpContourLinesForTerrain(const API_Element& terrain) {
    int32_t found = -1;
    InFloorPlanDatabase([&] {
        ElemDescriptor own;
        const RecordRead read = ElemUserData_ReadChecked(own, ElemKind_Terrain, terrain.header);
        if (read != RecordRead::Found || own.TerrainId.IsEmpty()) {
            found = read == RecordRead::Failed ? -1 : 0;
            return true;
        }
        bool matched = false;
        const bool seen = VisitListedElements(API_ObjectID, [&](API_Element& object) {
            ElemDescriptor contour;
            const RecordRead kind = ElemUserData_ReadChecked(contour, ElemKind_Contour, object.header);
            matched = kind == RecordRead::Found && contour.ContourText.Compare(own.TerrainId) == 0;
            return kind != RecordRead::Failed && !matched;
        });
        found = matched ? 1 : seen ? 0 : -1;
        return true;
    });
    return found;
}

bool HasContourLinesForTerrain(const API_Element& terrain) { return LookUpContourLinesForTerrain(terrain) > 0; }
