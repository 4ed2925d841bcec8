#pragma once
// A closed body along a path: between a left and a right side, each a top and a bottom polyline of the same
// points in the path's direction. Walls, retaining walls and bridge decks are such bands; their sides stand at a
// mitred offset from a path, so that each side's face along a segment is one plane.
#include "model3d/ModelBody.hpp"

#include <string>
#include <vector>

// Per point of a path in plan (at least two, no two in a row the same): the offset that moves it a unit to the
// left of each segment it ends (the mitre). False with `why` where the path turns back so sharply that the mitre
// would reach past ten times the offset.
bool MitredNormals(const std::vector<ModelPoint>& path, std::vector<ModelPoint>* normals, std::string* why);

// The points of `path` moved `offset` along their mitres and by `dz` in height.
std::vector<ModelPoint> OffsetPath(const std::vector<ModelPoint>& path, const std::vector<ModelPoint>& normals,
                                   double offset, double dz);

// Whether every segment of the polyline still runs forward along the path's segment it offsets (a side folded
// back on itself fails).
bool RunsAlong(const std::vector<ModelPoint>& path, const std::vector<ModelPoint>& side);

// The band's body: top and bottom zipped between the sides by their share of each side's length, the sides'
// faces between top and bottom, and the ends. Left and right are seen along the path; the tops lie above the
// bottoms. Outward-oriented.
ModelBody BandBody(const std::vector<ModelPoint>& leftTop, const std::vector<ModelPoint>& leftBottom,
                   const std::vector<ModelPoint>& rightTop, const std::vector<ModelPoint>& rightBottom);
