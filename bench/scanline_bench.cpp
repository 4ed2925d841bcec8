// Scan-beam clipper beside GEOS on the same input: two overlapping wavy rings of n vertices each.
//
// Families:
//   Wavy  - radius R (1 + 0.1 sin 8t) with a random radial jitter of a quarter of the vertex spacing, so the outline
//           is equally rough at every size (a scan line meets few edges);
//   Rough - the same with a fixed jitter of 0.2% of R, so the outline gets rougher as n grows and scan lines near
//           the top and bottom meet many edges at once.
#include "geometry/ScanlinePolygons.hpp"

#include <benchmark/benchmark.h>

#ifdef LODRAVIX_HAVE_GEOS
#include <geos_c.h>
#endif

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace {

enum Family { Wavy, Rough };

std::vector<API_Coord> Outline(Family family, int n, double cx, double cy, uint32_t seed) {
    const double r = 100.0;
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    const double jitter = family == Wavy ? 0.25 * 2.0 * M_PI * r / n : 0.002 * r;
    std::vector<API_Coord> points;
    points.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        const double t = 2.0 * M_PI * i / n;
        const double radius = r * (1.0 + 0.1 * std::sin(8.0 * t + seed)) + jitter * u(rng);
        points.push_back(API_Coord{cx + radius * std::cos(t), cy + radius * std::sin(t)});
    }
    return points;
}

QV_List<QV_Poly> ToList(const std::vector<API_Coord>& points) {
    QV_List<API_Coord> list;
    list.SetSize(static_cast<int32_t>(points.size()));
    for (size_t i = 0; i < points.size(); ++i) list[static_cast<int32_t>(i)] = points[i];
    QV_List<QV_Poly> polys;
    polys.SetSize(1);
    polys[0].SetFromCoords(list, true);
    return polys;
}

void BM_Scanline(benchmark::State& state, Family family, uint32_t op) {
    const int n = static_cast<int>(state.range(0));
    const QV_List<QV_Poly> subject = ToList(Outline(family, n, 0.0, 0.0, 1));
    const QV_List<QV_Poly> clip = ToList(Outline(family, n, 30.0, 20.0, 2));
    int64_t outVertices = 0, groups = 0;
    for (auto _ : state) {
        QV_List<QV_List<QV_Poly>> result;
        ScanlinePolygons(subject, op, clip, result);
        groups = result.GetCount();
        outVertices = 0;
        for (int32_t g = 0; g < result.GetCount(); ++g)
            for (int32_t k = 0; k < result[g].GetCount(); ++k) outVertices += result[g][k].vertices.GetCount();
        benchmark::DoNotOptimize(result);
    }
    state.counters["groups"] = static_cast<double>(groups);
    state.counters["out_vertices"] = static_cast<double>(outVertices);
    state.SetComplexityN(n);
}

#ifdef LODRAVIX_HAVE_GEOS
GEOSGeometry* ToGeos(GEOSContextHandle_t h, const std::vector<API_Coord>& points) {
    GEOSCoordSequence* s = GEOSCoordSeq_create_r(h, static_cast<unsigned>(points.size() + 1), 2);
    for (size_t i = 0; i <= points.size(); ++i) {
        const API_Coord& p = points[i % points.size()];
        GEOSCoordSeq_setXY_r(h, s, static_cast<unsigned>(i), p.x, p.y);
    }
    return GEOSGeom_createPolygon_r(h, GEOSGeom_createLinearRing_r(h, s), nullptr, 0);
}

void BM_Geos(benchmark::State& state, Family family, uint32_t op) {
    const int n = static_cast<int>(state.range(0));
    GEOSContextHandle_t h = GEOS_init_r();
    GEOSGeometry* a = ToGeos(h, Outline(family, n, 0.0, 0.0, 1));
    GEOSGeometry* b = ToGeos(h, Outline(family, n, 30.0, 20.0, 2));
    for (auto _ : state) {
        GEOSGeometry* r = op == ScanlineDifference ? GEOSDifference_r(h, a, b)
            : op == ScanlineIntersection           ? GEOSIntersection_r(h, a, b)
            : op == ScanlineExclusiveOr            ? GEOSSymDifference_r(h, a, b)
                                                   : GEOSUnion_r(h, a, b);
        benchmark::DoNotOptimize(r);
        GEOSGeom_destroy_r(h, r);
    }
    GEOSGeom_destroy_r(h, a);
    GEOSGeom_destroy_r(h, b);
    GEOS_finish_r(h);
    state.SetComplexityN(n);
}
#endif

void Sizes(benchmark::internal::Benchmark* b) {
    b->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oNLogN);
}

}  // namespace

BENCHMARK_CAPTURE(BM_Scanline, Wavy_Difference, Wavy, ScanlineDifference)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_Scanline, Wavy_Intersection, Wavy, ScanlineIntersection)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_Scanline, Wavy_ExclusiveOr, Wavy, ScanlineExclusiveOr)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_Scanline, Wavy_Union, Wavy, ScanlineUnion)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_Scanline, Rough_Intersection, Rough, ScanlineIntersection)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_Scanline, Rough_Union, Rough, ScanlineUnion)->Apply(Sizes);
#ifdef LODRAVIX_HAVE_GEOS
BENCHMARK_CAPTURE(BM_Geos, Wavy_Difference, Wavy, ScanlineDifference)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_Geos, Wavy_Intersection, Wavy, ScanlineIntersection)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_Geos, Wavy_ExclusiveOr, Wavy, ScanlineExclusiveOr)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_Geos, Wavy_Union, Wavy, ScanlineUnion)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_Geos, Rough_Intersection, Rough, ScanlineIntersection)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_Geos, Rough_Union, Rough, ScanlineUnion)->Apply(Sizes);
#endif

BENCHMARK_MAIN();
