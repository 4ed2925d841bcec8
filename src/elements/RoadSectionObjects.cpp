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

bool IsRoadSectionObject(const API_Element& element, int32_t libIndex) {
    if (element.header.typeID != API_ObjectID || element.object.libInd != libIndex || !IsLibPartUsable(libIndex))
        return false;
    OwnedMemo memo;
    int16_t flag = 0;
    bool ok = memo.Read(element.header.guid, AttachMemoMask) == NoError && memo->params != nullptr;
    if (ok) {
        RoadLP view(ElemKind_Road);
        view.Attach(reinterpret_cast<GSHandle>(memo->params), true);
        ok = view.GetSetShort(RoadParam::Section, flag, LPMode_Get);
        view.Detach();
    }
    return ok && flag != 0;
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
