#pragma once
// Shared by the element drawing and the drawings of particular objects (basin tracers).
#include "APIPrimitives.hpp"

#include <cstdint>
#include <string>
#include <vector>

// One primitive with what the callback receives beside it.
struct DrawnPrim {
    API_Primitive prim = {};
    std::vector<API_Coord> coords;   // polyline: entries 0..n-1; polygon: entry 0 unused, 1..n
    std::vector<int32_t> pends;      // polygon: entry 0 is 0
    std::vector<API_PolyArc> parcs;  // polygon
    std::u16string text;             // text
    bool hasText = false;
};
