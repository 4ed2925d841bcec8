#pragma once
// The solid of a platform with its side slopes, as an earthwork's cut or fill takes it: the platform over a closed
// outline, and beside every side the plane that holds the side and rises (a cut) or falls (a fill) outward at the
// slope's angle on its steepest line (model3d/SideSlopes.hpp), mitred at the corners; where the slopes of a concave
// outline run into each other the lower (a cut's) or the higher (a fill's) holds. The slopes reach on to a given
// height, where a lid (a cut) or a floor (a fill) closes the body.
#include "model3d/ModelBody.hpp"
#include "model3d/SideSlopes.hpp"

#include <string>
#include <vector>

// The platform: the plan outline (z is not read) on the plane z = level + gx (x - x0) + gy (y - y0).
struct PlatformPlane {
    std::vector<ModelPoint> outline;
    double level = 0.0, x0 = 0.0, y0 = 0.0, gx = 0.0, gy = 0.0;
    double At(double x, double y) const { return level + gx * (x - x0) + gy * (y - y0); }
};

// `tangent`: of the slopes' angle; `reach`: the height the slopes reach on to, or with `ground` a metre past the
// ground each covers; `obstacles`: open polylines in plan that stop the slopes. False with `why` for an outline that
// is no simple polygon of three points or more, or slopes that cannot be built.
bool BuildPlatformBody(const PlatformPlane& platform, double tangent, bool cut, double reach,
                       const GroundExtreme& ground, const std::vector<std::vector<ModelPoint>>& obstacles,
                       ModelBody* body, std::string* why);
