// Tessellating and draping a road edge of n segments beside GEOS densifying the same line to the same point
// count (8 parts per segment), in the same iteration. The draping list work is timed with a plane as the height
// sampler, so the host's model does not hide it. Counters: nanoseconds per segment of both and their ratio.
#include "earthworks/AlignmentGeometry.hpp"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdint>

#ifdef LODRAVIX_HAVE_GEOS
#include <geos_c.h>
#endif

namespace {

using Clock = std::chrono::steady_clock;

// A zigzag of unit segments; with `arcs` every other segment pair is an arc through a bulged middle point.
QV_List<QV_Coord3DLong> ZigZag(int32_t segments, bool arcs, double offset) {
    QV_List<QV_Coord3DLong> edge;
    QV_ReserveItems(edge, segments + 1);
    for (int32_t i = 0; i <= segments; ++i) {
        const bool mid = arcs && i % 2 == 1 && i < segments;
        edge.Insert(QV_Coord3DLong{0.70710678 * i, offset + 0.70710678 * (i % 2) + (mid ? 0.2 : 0.0), 0.0,
                                   mid ? QV_CodeArcMid1 : QV_CodeVertex1});
    }
    return edge;
}

bool PlaneHeights(QV_List<QV_Coord3DLong>& points) {
    for (int32_t i = 0; i < points.GetCount(); ++i) points[i].z = 100.0 + 0.1 * points[i].x + 0.05 * points[i].y;
    return true;
}

#ifdef LODRAVIX_HAVE_GEOS
// The same edge as a GEOS line, its segments densified to 8 parts each.
double GeosDensifySeconds(GEOSContextHandle_t h, const QV_List<QV_Coord3DLong>& edge, size_t& points) {
    GEOSCoordSequence* s = GEOSCoordSeq_create_r(h, unsigned(edge.GetCount()), 2);
    for (int32_t i = 0; i < edge.GetCount(); ++i) GEOSCoordSeq_setXY_r(h, s, unsigned(i), edge[i].x, edge[i].y);
    GEOSGeometry* line = GEOSGeom_createLineString_r(h, s);
    const Clock::time_point start = Clock::now();
    GEOSGeometry* dense = GEOSDensify_r(h, line, 1.0000001 / 8.0);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    points = dense != nullptr ? size_t(GEOSGetNumCoordinates_r(h, dense)) : 0;
    GEOSGeom_destroy_r(h, dense);
    GEOSGeom_destroy_r(h, line);
    return seconds;
}
#endif

void Run(benchmark::State& state, bool drape) {
    const auto n = static_cast<int32_t>(state.range(0));
    // Straight edges only, so GEOS (which has no arcs) densifies the same geometry.
    const QV_List<QV_Coord3DLong> left = ZigZag(n, false, 0.0);
    const QV_List<QV_Coord3DLong> right = ZigZag(n, false, -8.0);
    double ours = 0.0, peer = 0.0;
#ifdef LODRAVIX_HAVE_GEOS
    GEOSContextHandle_t h = GEOS_init_r();
#endif
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        QV_List<API_Coord3D> l3, r3;
        const bool ok = drape ? DrapeEdgeLinesWith(PlaneHeights, left, right, l3, r3)
                              : TessellateEdgeLine(left, l3) && TessellateEdgeLine(right, r3);
        const double mine = std::chrono::duration<double>(Clock::now() - start).count();
        if (!ok || l3.GetCount() != 8 * n + 1) state.SkipWithError("tessellation failed");
        ours += mine;
        state.SetIterationTime(mine);
#ifdef LODRAVIX_HAVE_GEOS
        size_t a = 0, b = 0;
        peer += GeosDensifySeconds(h, left, a) + GeosDensifySeconds(h, right, b);
        if (a != size_t(l3.GetCount()) || b != size_t(r3.GetCount())) state.SkipWithError("point counts differ");
#endif
    }
#ifdef LODRAVIX_HAVE_GEOS
    GEOS_finish_r(h);
#endif
    const double segments = static_cast<double>(state.iterations()) * 2.0 * n;
    state.counters["ours_ns_per_segment"] = 1e9 * ours / segments;
    state.counters["geos_ns_per_segment"] = 1e9 * peer / segments;
    state.counters["ratio_ours_to_geos"] = peer > 0.0 ? ours / peer : 0.0;
    state.SetComplexityN(n);
}

void BM_TessellateEdgesBesideGeosDensify(benchmark::State& state) { Run(state, false); }
void BM_DrapeEdgesBesideGeosDensify(benchmark::State& state) { Run(state, true); }

}  // namespace

BENCHMARK(BM_TessellateEdgesBesideGeosDensify)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oN);
BENCHMARK(BM_DrapeEdgesBesideGeosDensify)
    ->RangeMultiplier(10)
    ->Range(1000, 100000)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oN);

BENCHMARK_MAIN();
