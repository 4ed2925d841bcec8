#include "siteobjects/CameraPath.hpp"

#include <cmath>

double ComputePathLength(const QV_List<API_Coord>& vertices) {
    double length = 0.0;
    for (int32_t i = 0; i + 1 < vertices.GetCount(); ++i)
        length += std::hypot(vertices[i + 1].x - vertices[i].x, vertices[i + 1].y - vertices[i].y);
    return length;
}

void ComputePositions(const QV_List<API_Coord>& vertices, double distance, QV_List<API_Coord3D>& positions) {
    positions.Clear();
    if (vertices.GetCount() == 0 || !(distance > 0.0)) return;
    positions.Insert(API_Coord3D{vertices[0].x, vertices[0].y, 0.0});
    double carried = 0.0;
    for (int32_t i = 0; i + 1 < vertices.GetCount(); ++i) {
        const API_Coord a = vertices[i];
        const API_Coord b = vertices[i + 1];
        double dx = b.x - a.x;
        double dy = b.y - a.y;
        // A near-zero difference is a vertical or horizontal segment.
        if (std::fabs(dx) < 1e-7) dx = 0.0;
        if (std::fabs(dy) < 1e-7) dy = 0.0;
        const double length = std::hypot(b.x - a.x, b.y - a.y);
        const double first = distance - carried;
        if (length < first) {
            carried += length;
            continue;
        }
        const double ux = length > 0.0 ? dx / length : 0.0;
        const double uy = length > 0.0 ? dy / length : 0.0;
        double last = first;
        for (int64_t k = 0;; ++k) {
            const double at = first + double(k) * distance;
            if (at > length) break;
            positions.Insert(API_Coord3D{a.x + ux * at, a.y + uy * at, 0.0});
            last = at;
        }
        carried = length - last;
    }
    const API_Coord end = vertices[vertices.GetCount() - 1];
    const API_Coord3D& tail = positions[positions.GetCount() - 1];
    if (std::fabs(tail.x - end.x) >= 1e-7 || std::fabs(tail.y - end.y) >= 1e-7)
        positions.Insert(API_Coord3D{end.x, end.y, 0.0});
}
