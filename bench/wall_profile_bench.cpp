// The retaining wall's near face split at the terrain's vertices (merge of close vertices, location on the face's
// segments, split in order along each segment) for 10^3 and 10^4 vertices on a 100-segment path, beside GEOS
// doing the same job in the same iteration: each vertex projected onto the path line (GEOSProject), the ones on
// it ordered by their distance along it, close ones dropped, and the split line built. Counters: microseconds of
// both and their ratio.
#include "earthworks/WallProfile.hpp"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#ifdef LODRAVIX_HAVE_GEOS
#include <geos_c.h>
#endif

namespace {

using Clock = std::chrono::steady_clock;
constexpr int32_t kSegments = 100;

struct Input {
    QV_List<PrimPoly> path;
    QV_List<API_Coord3D> terrain;
};

// A zigzag path of 10-unit segments (8 across, 6 up or down); three in four terrain vertices on it (half of them
// with a twin 0.004 away, as a cut mesh gives top and floor vertices), the rest beside it.
Input MakeInput(int32_t vertices) {
    Input in;
    std::vector<API_Coord> corners;
    for (int32_t i = 0; i <= kSegments; ++i) corners.push_back({8.0 * i, (i % 2) * 6.0});
    for (int32_t i = 0; i < kSegments; ++i) {
        PrimPoly s{};
        s.begin = corners[size_t(i)];
        s.end = corners[size_t(i) + 1];
        s.isLine = 1;
        in.path.Insert(s);
    }
    // Spread along the path in strata, so that only the twins come closer than the merge distance.
    std::mt19937 rng(4947);
    std::uniform_real_distribution<double> jitter(0.05, 0.95), z(90.0, 110.0);
    const int32_t onPath = vertices / 2;
    const double stride = 10.0 * kSegments / onPath;
    int32_t m = 0;  // vertices on the path so far
    for (int32_t k = 0; in.terrain.GetCount() < vertices; ++k) {
        const double along = std::fmod((m + jitter(rng)) * stride, 10.0 * kSegments);
        const size_t i = size_t(along / 10.0);
        const double u = along / 10.0 - double(i);
        const API_Coord& a = corners[i];
        const API_Coord& b = corners[i + 1];
        const double x = a.x + u * (b.x - a.x), y = a.y + u * (b.y - a.y);
        if (k % 4 == 3) {
            in.terrain.Insert({x, y + 1.0, z(rng)});
            continue;
        }
        in.terrain.Insert({x, y, z(rng)});
        ++m;
        if (k % 2 == 0 && in.terrain.GetCount() < vertices) in.terrain.Insert({x + 0.004, y, z(rng)});
    }
    return in;
}

size_t Ours(const Input& in) {
    QV_List<API_Coord3D> points = in.terrain;
    QV_List<PrimPoly> path = in.path;
    QV_List<QV_Coord3DLong> vertices;
    BuildFaceVertices(path, vertices);
    MergeClosePoints(points);
    QV_List<int32_t> index;
    if (AssignPointsToSegments(points, path, index)) SplitPathAtPoints(points, vertices, path, index);
    return size_t(vertices.GetCount());
}

#ifdef LODRAVIX_HAVE_GEOS
size_t Geos(GEOSContextHandle_t h, const Input& in) {
    GEOSCoordSequence* s = GEOSCoordSeq_create_r(h, unsigned(kSegments + 1), 2);
    for (int32_t i = 0; i < kSegments; ++i)
        GEOSCoordSeq_setXY_r(h, s, unsigned(i), in.path[i].begin.x, in.path[i].begin.y);
    GEOSCoordSeq_setXY_r(h, s, unsigned(kSegments), in.path[kSegments - 1].end.x, in.path[kSegments - 1].end.y);
    GEOSGeometry* line = GEOSGeom_createLineString_r(h, s);
    // Distances along the line of the vertices that lie on it, the path's own corners among them.
    std::vector<double> along;
    double length = 0.0;
    for (int32_t i = 0; i < kSegments; ++i) {
        along.push_back(length);
        length += std::hypot(in.path[i].end.x - in.path[i].begin.x, in.path[i].end.y - in.path[i].begin.y);
    }
    along.push_back(length);
    for (const API_Coord3D& p : in.terrain) {
        GEOSGeometry* point = GEOSGeom_createPointFromXY_r(h, p.x, p.y);
        const double d = GEOSProject_r(h, line, point);
        GEOSGeometry* foot = GEOSInterpolate_r(h, line, d);
        double fx = 0.0, fy = 0.0;
        GEOSGeomGetX_r(h, foot, &fx);
        GEOSGeomGetY_r(h, foot, &fy);
        if (std::fabs(fx - p.x) < 1e-7 && std::fabs(fy - p.y) < 1e-7) along.push_back(d);
        GEOSGeom_destroy_r(h, foot);
        GEOSGeom_destroy_r(h, point);
    }
    std::sort(along.begin(), along.end());
    std::vector<double> kept;
    for (double d : along)
        if (kept.empty() || d - kept.back() >= 0.01) kept.push_back(d);
    GEOSCoordSequence* split = GEOSCoordSeq_create_r(h, unsigned(kept.size()), 2);
    for (size_t i = 0; i < kept.size(); ++i) {
        GEOSGeometry* at = GEOSInterpolate_r(h, line, kept[i]);
        double x = 0.0, y = 0.0;
        GEOSGeomGetX_r(h, at, &x);
        GEOSGeomGetY_r(h, at, &y);
        GEOSCoordSeq_setXY_r(h, split, unsigned(i), x, y);
        GEOSGeom_destroy_r(h, at);
    }
    GEOSGeometry* result = GEOSGeom_createLineString_r(h, split);
    const size_t n = size_t(GEOSGetNumCoordinates_r(h, result));
    GEOSGeom_destroy_r(h, result);
    GEOSGeom_destroy_r(h, line);
    return n;
}
#endif

void BM_WallProfileSplitBesideGeosProject(benchmark::State& state) {
    const Input in = MakeInput(int32_t(state.range(0)));
    double ours = 0.0, peer = 0.0;
#ifdef LODRAVIX_HAVE_GEOS
    GEOSContextHandle_t h = GEOS_init_r();
#endif
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        const size_t mine = Ours(in);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        ours += seconds;
        state.SetIterationTime(seconds);
#ifdef LODRAVIX_HAVE_GEOS
        const Clock::time_point geosStart = Clock::now();
        const size_t theirs = Geos(h, in);
        peer += std::chrono::duration<double>(Clock::now() - geosStart).count();
        // Both split the path at the same places.
        if (mine != theirs)
            state.SkipWithError(
                ("the two splits differ: " + std::to_string(mine) + " " + std::to_string(theirs)).c_str());
#else
        benchmark::DoNotOptimize(mine);
#endif
    }
#ifdef LODRAVIX_HAVE_GEOS
    GEOS_finish_r(h);
#endif
    const double n = double(state.iterations());
    state.counters["ours_us"] = 1e6 * ours / n;
    state.counters["geos_us"] = 1e6 * peer / n;
    state.counters["ratio_ours_to_geos"] = peer > 0.0 ? ours / peer : 0.0;
}

}  // namespace

BENCHMARK(BM_WallProfileSplitBesideGeosProject)->Arg(1000)->Arg(10000)->UseManualTime()->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
