#pragma once
// The solid of a platform with its side slopes, as an earthwork's cut or fill takes it: the platform over a
// closed outline, and slopes that rise (cut) or fall (fill) outward from every side by `rise` per metre of plan
// distance, mitred at the corners. The slopes of a concave outline meet along its exterior straight skeleton
// (CGAL), so every slope is one plane per side. The body reaches `reach` metres of mitred distance out, where a lid
// parallel to the platform closes it: above the slopes for a cut, below them for a fill.
#include "model3d/ModelBody.hpp"

#include <string>
#include <vector>

// The platform: the plan outline (z is not read) on the plane z = level + gx (x - x0) + gy (y - y0).
struct PlatformPlane {
    std::vector<ModelPoint> outline;
    double level = 0.0, x0 = 0.0, y0 = 0.0, gx = 0.0, gy = 0.0;
    double At(double x, double y) const { return level + gx * (x - x0) + gy * (y - y0); }
};

// False with `why` for an outline that is no simple polygon of three points or more, or slopes that cannot be
// built.
bool BuildPlatformBody(const PlatformPlane& platform, double rise, bool cut, double reach, ModelBody* body,
                       std::string* why);
