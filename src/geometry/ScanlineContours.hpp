#pragma once
// What the clipper's steps share: the operations, an input contour as the sweep reads it and the result contours
// grouped as outer contours with their holes.
#include "APICoord.hpp"

#include <cstdint>
#include <vector>

constexpr uint32_t ScanlineDifference = 0;  // subject minus clip
constexpr uint32_t ScanlineIntersection = 1;
constexpr uint32_t ScanlineExclusiveOr = 2;
constexpr uint32_t ScanlineUnion = 3;

namespace Scanline {

// One input contour as the sweep reads it: a ring of vertices (the vertex after the last is the first) and the box
// of the overlap skip test.
struct Contour {
    std::vector<API_Coord> points;
    API_Box box{0.0, 0.0, 0.0, 0.0};
};

// One result contour; hole is the sweep's own label.
struct OutContour {
    std::vector<API_Coord> points;
    bool hole = false;
};

// An outer contour followed by its holes (a group may start with a hole that no outer contour holds).
using Group = std::vector<OutContour>;

// Box of a ring's vertices; all 0 for an empty ring.
API_Box PointsBox(const std::vector<API_Coord>& points);

}  // namespace Scanline
