#include "geometry/ScanlineContours.hpp"

#include <algorithm>

namespace Scanline {

API_Box PointsBox(const std::vector<API_Coord>& points) {
    if (points.empty()) return API_Box{0.0, 0.0, 0.0, 0.0};
    API_Box b{points[0].x, points[0].y, points[0].x, points[0].y};
    for (const API_Coord& p : points) {
        b.xMin = std::min(b.xMin, p.x);
        b.yMin = std::min(b.yMin, p.y);
        b.xMax = std::max(b.xMax, p.x);
        b.yMax = std::max(b.yMax, p.y);
    }
    return b;
}

}  // namespace Scanline
