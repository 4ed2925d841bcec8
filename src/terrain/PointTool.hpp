#pragma once
// The terrain-point tool.
#include "APIDefs.hpp"

#include <cstdint>

class PointTool {
public:
    // The points' share of an element event (1 new, 2 copy, 3 change, 4 edit, 5 delete or start-up) for the
    // given element heads; true on success.
    static bool OnElementEvent(int32_t mode, const API_Elem_Head* heads, int32_t headCount);
};
