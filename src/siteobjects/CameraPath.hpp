#pragma once
// Camera positions along a straight-segmented path in plan: equal spacing measured along the path, so a position
// may fall on a later segment than the one before it, at the carried-over distance.
#include "foundation/QV_List.hpp"

#include "APICoord.hpp"

// The sum of the segments' plan lengths.
double ComputePathLength(const QV_List<API_Coord>& vertices);

// The first vertex, then a point every `distance` along the path, then the last vertex unless the last point lies
// on it (1e-7 in x and y); z 0. Nothing for an empty path or a distance that is not positive.
void ComputePositions(const QV_List<API_Coord>& vertices, double distance, QV_List<API_Coord3D>& positions);
