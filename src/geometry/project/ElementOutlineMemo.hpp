#pragma once
// The outline memo of a polygon-bearing element, read and checked once: the memo holds the coordinates its
// polygon counts promise. Its handles are released with the object.
#include "foundation/OwnedMemo.hpp"
#include "APIElements.hpp"

#include <cstdint>

class ElementOutlineMemo {
public:
    // False when the element or its memo cannot be read, the element has no polygon, or the memo holds fewer
    // coordinates than the counts say.
    bool Read(const API_Guid& guid);

    const API_Coord* coords = nullptr;  // 1-based, 1..nCoords
    int32_t nCoords = 0;
    int64_t arcCount = 0;  // the arc records the memo really holds, at most the element's count
    int32_t firstEnd = 0;  // the last index of the first contour
    // The arc record starting at vertex i, or null.
    const API_PolyArc* ArcFrom(int32_t i) const;

private:
    OwnedMemo memo_;
};
