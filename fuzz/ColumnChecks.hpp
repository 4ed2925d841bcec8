#pragma once
// The properties every grid and point-file read must have, whatever the bytes: a refused read keeps no point and
// says why; a read's points are finite, the bounds are exactly those of the kept points, and no two kept points
// lie within the filter distance of each other in both x and y.
#include "FuzzSupport.hpp"

#include "fileio/ColumnFileCls.hpp"
#include "fileio/SurveyBounds.hpp"

#include <algorithm>
#include <cmath>
#include <vector>

namespace Fuzz {

// Options that vary with the input, so one corpus reaches the filter's and the swap's paths too.
inline void VaryColumnOptions(ColumnFileCls& reader, size_t size) {
    if (size % 3 == 1) reader.tolerance = 0.0;
    if (size % 3 == 2) reader.tolerance = 0.25;
}

inline void CheckColumnRead(const ColumnFileCls& reader, bool ok) {
    if (!ok) {
        FUZZ_CHECK(reader.points.empty(), "a refused read keeps no point");
        FUZZ_CHECK(reader.report.error != 0, "a refused read says why");
        return;
    }
    FUZZ_CHECK(reader.report.error == 0, "a read that succeeds ends without an error");
    FUZZ_CHECK(reader.pointsKept == reader.points.size(), "the kept count is the points' count");
    if (reader.points.empty()) return;
    double minX = HUGE_VAL, minY = HUGE_VAL, maxX = -HUGE_VAL, maxY = -HUGE_VAL;
    for (const auto& p : reader.points) {
        FUZZ_CHECK(SurveyPoint(p.x, p.y, p.z), "coordinates within the survey bounds");
        minX = std::min(minX, p.x);
        minY = std::min(minY, p.y);
        maxX = std::max(maxX, p.x);
        maxY = std::max(maxY, p.y);
    }
    FUZZ_CHECK(!reader.BoundsEmpty(), "points give bounds");
    FUZZ_CHECK(reader.bounds.xMin <= minX && reader.bounds.yMin <= minY && reader.bounds.xMax >= maxX &&
                   reader.bounds.yMax >= maxY,
               "every kept point lies inside the bounds");
    const double tol = std::fabs(reader.tolerance);
    if (!(tol >= 1e-7)) return;
    // Sorted by x, a point need only be compared with those less than the distance further on.
    std::vector<size_t> order(reader.points.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return reader.points[a].x < reader.points[b].x; });
    for (size_t i = 0; i < order.size(); ++i) {
        const auto& p = reader.points[order[i]];
        for (size_t j = i + 1; j < order.size(); ++j) {
            const auto& q = reader.points[order[j]];
            if (q.x - p.x > tol) break;
            FUZZ_CHECK(!(std::fabs(q.y - p.y) <= tol), "no two kept points within the filter distance");
        }
    }
}

}  // namespace Fuzz
