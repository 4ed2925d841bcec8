#include "geometry/project/ElementOutlineMemo.hpp"

#include "foundation/ACAPI.hpp"
#include "geometry/PolygonExchange.hpp"

#include <algorithm>

namespace {
template <typename T>
int64_t Entries(T** handle) {
    return handle != nullptr ? BMGetHandleSize(reinterpret_cast<GSConstHandle>(handle)) / int64_t(sizeof(T)) : 0;
}
}  // namespace

bool ElementOutlineMemo::Read(const API_Guid& guid) {
    API_Element element{};
    element.header.guid = guid;
    if (ACAPI_Element_Get(&element) != NoError) return false;
    if (memo_.Read(guid, ElementOutlineMemoMask) != NoError) return false;
    int32_t nArcs = 0, nSubPolys = 0;
    // Only what the memo really holds is read: coordinates 1..nCoords, arcs 0..nArcs-1.
    if (!GetElementPolygonCounts(element, nCoords, nArcs, nSubPolys) || nCoords < 1 ||
        Entries(memo_->coords) < int64_t(nCoords) + 1)
        return false;
    coords = *memo_->coords;
    arcCount = nArcs > 0 ? std::min<int64_t>(nArcs, Entries(memo_->parcs)) : 0;
    firstEnd = Entries(memo_->pends) >= 2 ? (*memo_->pends)[1] : nCoords;
    return true;
}

const API_PolyArc* ElementOutlineMemo::ArcFrom(int32_t i) const {
    for (int64_t k = 0; k < arcCount; ++k)
        if ((*memo_->parcs)[k].begIndex == i) return &(*memo_->parcs)[k];
    return nullptr;
}
