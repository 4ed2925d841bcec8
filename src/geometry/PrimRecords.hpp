#pragma once
// Outline primitive records of the element classes.
#include <cstdint>
#include <type_traits>

#include "APICoord.hpp"

// One segment of an outline chain: a straight segment or a circular arc. For an arc, mid is a point of the arc
// between its ends (its direction follows from where that point lies), centre and radius its circle. A straight
// segment has zeros after isLine.
struct PrimPoly {
    API_Coord begin;
    API_Coord end;
    uint8_t isLine;  // 1 straight, 0 arc
    API_Coord mid;
    API_Coord centre;
    double radius;
};

static_assert(sizeof(PrimPoly) == 80 && std::is_trivially_copyable<PrimPoly>::value, "PrimPoly layout");
