#include "model3d/PlanStrips.hpp"

#include "model3d/PlanRings.hpp"

#include <algorithm>
#include <cmath>

namespace {
constexpr size_t kMostStrips = 64;
}

void StripBoxes(const std::vector<ModelPoint>& ring, std::vector<PlanBox>* out) {
    const size_t n = ring.size();
    if (n == 0) return;
    for (const ModelPoint& p : ring)
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) {
            // Not cut into strips: the one box says what a NaN or an infinite coordinate reaches.
            out->push_back(BoxOf(ring));
            return;
        }
    PlanBox all = {ring[0].x, ring[0].y, ring[0].x, ring[0].y};
    double area2 = 0.0, perimeter = 0.0, far = 0.0;
    for (size_t i = 0; i < n; ++i) {
        const ModelPoint &p = ring[i], &q = ring[(i + 1) % n];
        all = {std::min(all.xMin, p.x), std::min(all.yMin, p.y), std::max(all.xMax, p.x), std::max(all.yMax, p.y)};
        area2 += (p.x - ring[0].x) * (q.y - ring[0].y) - (q.x - ring[0].x) * (p.y - ring[0].y);
        perimeter += std::hypot(q.x - p.x, q.y - p.y);
        far = std::max({far, std::fabs(p.x), std::fabs(p.y)});
    }
    // Interpolated ends are off by a few units in the last place of the coordinates.
    const double margin = 1e-9 * (far + 1.0);
    const auto grown = [&](PlanBox b) {
        return PlanBox{b.xMin - margin, b.yMin - margin, b.xMax + margin, b.yMax + margin};
    };
    // Strips about as wide as the face is (twice its area over its perimeter; a thin face's width), at most so many.
    const bool alongX = all.xMax - all.xMin >= all.yMax - all.yMin;
    const double lo = alongX ? all.xMin : all.yMin, hi = alongX ? all.xMax : all.yMax;
    const double width = perimeter > 0.0 ? std::fabs(area2) / perimeter : 0.0;
    const double length = hi - lo;
    size_t strips = 1;
    if (length > 0.0 && std::isfinite(length))
        strips = width > 0.0 ? size_t(std::clamp(std::ceil(length / width), 1.0, double(kMostStrips))) : kMostStrips;
    if (strips == 1) {
        out->push_back(grown(all));
        return;
    }
    const auto along = [&](const ModelPoint& p) { return alongX ? p.x : p.y; };
    const auto across = [&](const ModelPoint& p) { return alongX ? p.y : p.x; };
    for (size_t s = 0; s < strips; ++s) {
        const double s0 = s == 0 ? lo : lo + length * double(s) / double(strips);
        const double s1 = s + 1 == strips ? hi : lo + length * double(s + 1) / double(strips);
        // The polygon's extent across the strip is that of its sides within it.
        double cMin = INFINITY, cMax = -INFINITY;
        const auto take = [&](double c) {
            cMin = std::min(cMin, c);
            cMax = std::max(cMax, c);
        };
        for (size_t i = 0; i < n; ++i) {
            const ModelPoint &p = ring[i], &q = ring[(i + 1) % n];
            const double a0 = along(p), a1 = along(q);
            if (std::max(a0, a1) < s0 || std::min(a0, a1) > s1) continue;
            if (a0 >= s0 && a0 <= s1) take(across(p));
            if (a1 >= s0 && a1 <= s1) take(across(q));
            if (a0 == a1) continue;
            for (double cut : {s0, s1})
                if (std::min(a0, a1) < cut && cut < std::max(a0, a1))
                    take(across(p) + (cut - a0) / (a1 - a0) * (across(q) - across(p)));
        }
        if (!(cMin <= cMax)) continue;
        out->push_back(grown(alongX ? PlanBox{s0, cMin, s1, cMax} : PlanBox{cMin, s0, cMax, s1}));
    }
}
