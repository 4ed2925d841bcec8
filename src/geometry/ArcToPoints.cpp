#include "geometry/ArcToPoints.hpp"

#include "geometry/ArcSegmentation.hpp"

#include <cmath>

namespace {

constexpr double Pi = 3.14159265358979323846;

API_Coord3D At(const QV_Arc& arc, double angle) {
    return API_Coord3D{arc.center.x + arc.radiusX * std::cos(angle), arc.center.y + arc.radiusX * std::sin(angle), 0.0};
}

}  // namespace

void ArcToPointsFixed(const QV_Arc& arc, QV_List<API_Coord3D>& points, int32_t segments) {
    points.Clear();
    QV_List<API_Coord> plan;
    DivideRange(arc, plan, segments);
    for (const API_Coord& c : plan) points.Insert(API_Coord3D{c.x, c.y, 0.0});
}

void ArcToPointsByRadius(const QV_Arc& arc, QV_List<API_Coord3D>& points, int32_t segments, int32_t smallSegments,
                         double smallRadius) {
    points.Clear();
    if (segments <= 0 || smallSegments <= 0 || !(smallRadius > 0.0)) return;
    points.Insert(At(arc, arc.startAngle));
    int32_t n = arc.radiusX > smallRadius ? segments : smallSegments;
    if (n < 3) n = 3;
    const double sweep = arc.endAngle - arc.startAngle;
    // A zero (or not finite) sweep has no step: log2 of 0 would give a step of 0 and no end.
    if (std::isfinite(sweep) && std::fabs(sweep) > 1e-12) {
        const double step = Pi * std::pow(2.0, std::floor(std::log2(std::fabs(sweep) / n / Pi)));
        double start = arc.startAngle;
        while (start < 0.0) start += 2.0 * Pi;
        const double end = start + sweep;
        if (sweep > 0.0) {
            for (double k = std::floor(start / step) + 1.0; k * step < end - 1e-12; k += 1.0)
                points.Insert(At(arc, k * step));
        } else {
            for (double k = std::ceil(start / step) - 1.0; k * step > end + 1e-12; k -= 1.0)
                points.Insert(At(arc, k * step));
        }
    }
    points.Insert(At(arc, arc.endAngle));
}
