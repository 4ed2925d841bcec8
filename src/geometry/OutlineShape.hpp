#pragma once
// Whether an outline can bound a body: a ring of at least three places, with an area, that does not cross itself.
#include "APICoord.hpp"

#include <vector>

enum class OutlineShape {
    Simple,
    TooFewPoints,   // fewer than three distinct places
    Flat,           // its places lie on one line: no area
    CrossesItself,  // two of its sides cross or touch, or a side runs back along the one before it
};

// The shape of the ring `points` (closed; a last point repeating the first, and points repeating the one before,
// count once). Places closer than a millionth of the ring's size count as one.
OutlineShape ClassifyOutline(const std::vector<API_Coord>& points);
