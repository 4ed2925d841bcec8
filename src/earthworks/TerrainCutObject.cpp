#include "earthworks/TerrainCutObject.hpp"

#include "elements/WrittenMemo.hpp"
#include "elements/ElemDataRecord.hpp"
#include "elements/ElementHelpers.hpp"
#include "elements/MeshHeightSampling.hpp"
#include "elements/ModelUpdate.hpp"
#include "elements/LeftoverElements.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/GuidText.hpp"
#include "terrain/ContourLineCls.hpp"

#include <cstring>

bool PlaceTerrainCutObject(API_Element& placed, API_ElementMemo& memo, int32_t kind, const API_Element& terrain,
                           const QV_String& terrainId, API_Element& object) {
    if (!CreateFlaggedObject(placed, memo)) return false;
    object = placed;
    ElemDescriptor record;
    GuidToText(record.TerrainGuid, terrain.header.guid);
    record.TerrainId = terrainId;
    // Unobserved, it would not follow a hand edit: it goes too.
    if (HostCallWithElementGuid(placed) == NoError && ElemUserData_WriteRecord(record, kind, placed.header) &&
        LinkElementGuids(terrain, placed))
        return true;
    DeleteLeftoverElement(placed.header.guid);
    std::memset(static_cast<void*>(&object), 0, sizeof object);
    return false;
}
