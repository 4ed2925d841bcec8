#include "elements/RoadSectionObjects.hpp"

#include "elements/ElemDataRecord.hpp"
#include "elements/FloorPlanDatabase.hpp"
#include "elements/LibPartViews.hpp"
#include "elements/ParamIndexes.hpp"
#include "foundation/ACAPI.hpp"
#include "foundation/OwnedMemo.hpp"

#include <cstring>

bool IsLibPartUsable(int32_t libIndex) {
    if (libIndex <= 0) return false;
    API_LibPart part;
    std::memset(&part, 0, sizeof part);
    part.index = libIndex;
    return ACAPI_LibPart_Get(&part) == NoError && part.missingDef == 0;
}

bool ReadIsRoadSectionObject(const API_Element& element, int32_t libIndex, bool& isSection) {
    isSection = false;
    if (element.header.typeID != API_ObjectID || element.object.libInd != libIndex || libIndex <= 0) return true;
    API_LibPart part;
    std::memset(&part, 0, sizeof part);
    part.index = libIndex;
    if (ACAPI_LibPart_Get(&part) != NoError) return false;
    if (part.missingDef != 0) return true;
    OwnedMemo memo;
    if (memo.Read(element.header.guid, AttachMemoMask) != NoError) return false;
    if (memo->params == nullptr) return true;
    RoadLP view(ElemKind_Road);
    view.Attach(reinterpret_cast<GSHandle>(memo->params), true);
    int16_t flag = 0;
    isSection = view.GetSetShort(RoadParam::Section, flag, LPMode_Get) && flag != 0;
    view.Detach();
    return true;
}

bool IsRoadSectionObject(const API_Element& element, int32_t libIndex) {
    bool isSection = false;
    return ReadIsRoadSectionObject(element, libIndex, isSection) && isSection;
}

bool RoadLP::ReadObject(const API_Element& element, int32_t libIndex) {
    return InFloorPlanDatabase([&] { return IsRoadSectionObject(element, libIndex); });
}

int32_t RoadLP::ReadSection(GS::Array<API_Guid>& guids, int32_t libIndex) {
    if (guids.IsEmpty()) return 1;
    GS::Array<API_Guid> kept;
    // Nothing can be told a section when the plan cannot be reached.
    InFloorPlanDatabase([&] {
        for (const API_Guid& guid : guids) {
            API_Element element = {};
            element.header.guid = guid;
            if (ACAPI_Element_Get(&element) == NoError && IsRoadSectionObject(element, libIndex)) kept.Push(guid);
        }
        return true;
    });
    guids = kept;
    return 0;
}
