#pragma once
// The terrain most tool tests stand on: points 40 by 30 apart over 200 by 120, their heights from `plane`.
#include "foundation/ACAPI.hpp"

#include <vector>

inline std::vector<API_Coord3D> GridTerrainPoints(double (*plane)(double, double)) {
    std::vector<API_Coord3D> points;
    for (int i = 0; i <= 5; ++i)
        for (int j = 0; j <= 4; ++j) points.push_back({40.0 * i, 30.0 * j, plane(40.0 * i, 30.0 * j)});
    return points;
}
