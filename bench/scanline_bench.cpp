// Scan-beam clipper beside GEOS and the Clipper library on the same input: two overlapping rings of n vertices
// each. The benchmark times ours; in the same run GEOS and Clipper do as many iterations on the same input, and
// the counters give their times per iteration and ours as a ratio of theirs (geos_ratio, clipper_ratio: below 1
// means ours is faster). A peer that needs more than 5 s for one run (Clipper on the combs, GEOS on the stars, at
// the largest size) is timed once per process; repetitions report that time again, so that a run with repetitions
// ends within the hour.
//
// Families:
//   Wavy   - radius R (1 + 0.1 sin 8t) with a random radial jitter of a quarter of the vertex spacing, so the
//            outline is equally rough at every size (a scan line meets few edges);
//   Rough  - the same with a fixed jitter of 0.2% of R, so the outline gets rougher as n grows and scan lines near
//            the top and bottom meet many edges at once;
//   Combs  - two combs of n / 4 teeth each, one from below and one from above, their teeth overlapping by half a
//            tooth; the tips lie at random heights, so nearly every scan line meets every tooth;
//   Stars  - regular stars of n / 2 points about one centre, the second turned by a quarter point (every scan line
//            near the centre meets many edges; each spike crosses its two neighbours of the other star);
//   Spiky  - stars of n vertices at random angles and random radii between 0.15 R and R, about one centre (many
//            edges and crossings in every beam).
#include "geometry/ScanlinePolygons.hpp"

#include <benchmark/benchmark.h>

#ifdef LODRAVIX_HAVE_GEOS
#include <geos_c.h>
#endif
#ifdef LODRAVIX_HAVE_CLIPPER
#include <clipper.hpp>
#endif

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <map>
#include <random>
#include <tuple>
#include <vector>

namespace {

enum Family { Wavy, Rough, Combs, Stars, Spiky };

using Points = std::vector<API_Coord>;

Points Wobbly(Family family, int n, double cx, double cy, uint32_t seed) {
    const double r = 100.0;
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    const double jitter = family == Wavy ? 0.25 * 2.0 * M_PI * r / n : 0.002 * r;
    Points points;
    points.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        const double t = 2.0 * M_PI * i / n;
        const double radius = r * (1.0 + 0.1 * std::sin(8.0 * t + seed)) + jitter * u(rng);
        points.push_back(API_Coord{cx + radius * std::cos(t), cy + radius * std::sin(t)});
    }
    return points;
}

// A comb of n / 4 teeth of width 1 every 2 units on a base 10 deep; upward teeth reach 50 to 100 above the base,
// downward ones (from a base at 110) down to 10 to 60.
Points Comb(int n, bool up, uint32_t seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> u(0.0, 50.0);
    const int teeth = std::max(1, n / 4);
    const double shift = up ? 0.0 : 0.5;
    Points p;
    p.reserve(static_cast<size_t>(4 * teeth + 2));
    for (int i = 0; i < teeth; ++i) {
        const double x0 = 2.0 * i + shift, x1 = x0 + 1.0;
        const double tip = up ? 50.0 + u(rng) : 60.0 - u(rng);
        const double base = up ? 0.0 : 110.0;
        p.push_back(API_Coord{x0, base});
        p.push_back(API_Coord{x0, tip});
        p.push_back(API_Coord{x1, tip});
        p.push_back(API_Coord{x1, base});
    }
    const double back = up ? -10.0 : 120.0;
    p.push_back(API_Coord{p.back().x, back});
    p.push_back(API_Coord{p.front().x, back});
    if (!up) std::reverse(p.begin(), p.end());
    return p;
}

Points Star(int n, double cx, double cy, double turn) {
    Points p;
    p.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        const double t = 2.0 * M_PI * (i + turn) / n;
        const double r = i % 2 == 0 ? 100.0 : 50.0;
        p.push_back(API_Coord{cx + r * std::cos(t), cy + r * std::sin(t)});
    }
    return p;
}

Points SpikyStar(int n, double cx, double cy, uint32_t seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> a(0.0, 2.0 * M_PI), r(15.0, 100.0);
    std::vector<double> angles(static_cast<size_t>(n));
    for (double& t : angles) t = a(rng);
    std::sort(angles.begin(), angles.end());
    Points p;
    p.reserve(static_cast<size_t>(n));
    for (double t : angles) {
        const double radius = r(rng);
        p.push_back(API_Coord{cx + radius * std::cos(t), cy + radius * std::sin(t)});
    }
    return p;
}

void Input(Family family, int n, Points& a, Points& b) {
    switch (family) {
        case Combs:
            a = Comb(n, true, 1);
            b = Comb(n, false, 2);
            break;
        case Stars:
            a = Star(n, 0.0, 0.0, 0.0);
            b = Star(n, 0.0, 0.0, 0.25);
            break;
        case Spiky:
            a = SpikyStar(n, 0.0, 0.0, 1);
            b = SpikyStar(n, 0.0, 0.0, 2);
            break;
        default: a = Wobbly(family, n, 0.0, 0.0, 1); b = Wobbly(family, n, 30.0, 20.0, 2);
    }
}

QV_List<QV_Poly> ToList(const Points& points) {
    QV_List<API_Coord> list;
    list.SetSize(static_cast<int32_t>(points.size()));
    for (size_t i = 0; i < points.size(); ++i) list[static_cast<int32_t>(i)] = points[i];
    QV_List<QV_Poly> polys;
    polys.SetSize(1);
    polys[0].SetFromCoords(list, true);
    return polys;
}

// Seconds per run of f: run once, then again while the runs add up to less than a fifth of a second (at most as
// often as ours ran), so that a slow peer on a large input runs once.
template <typename F>
double Timed(benchmark::IterationCount iterations, F&& f) {
    const auto start = std::chrono::steady_clock::now();
    benchmark::IterationCount runs = 0;
    double seconds = 0.0;
    do {
        f();
        ++runs;
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    } while (runs < iterations && seconds < 0.2);
    return seconds / static_cast<double>(runs);
}

#ifdef LODRAVIX_HAVE_GEOS
GEOSGeometry* ToGeos(GEOSContextHandle_t h, const Points& points) {
    GEOSCoordSequence* s = GEOSCoordSeq_create_r(h, static_cast<unsigned>(points.size() + 1), 2);
    for (size_t i = 0; i <= points.size(); ++i) {
        const API_Coord& p = points[i % points.size()];
        GEOSCoordSeq_setXY_r(h, s, static_cast<unsigned>(i), p.x, p.y);
    }
    return GEOSGeom_createPolygon_r(h, GEOSGeom_createLinearRing_r(h, s), nullptr, 0);
}

// GEOS wants valid polygons: a self-crossing ring (the spiky stars) is first made valid, outside the timing.
GEOSGeometry* ValidGeos(GEOSContextHandle_t h, const Points& points) {
    GEOSGeometry* g = ToGeos(h, points);
    if (GEOSisValid_r(h, g) == 1) return g;
    GEOSGeometry* valid = GEOSMakeValid_r(h, g);
    GEOSGeom_destroy_r(h, g);
    return valid;
}

double GeosSeconds(const Points& a, const Points& b, uint32_t op, benchmark::IterationCount iterations) {
    GEOSContextHandle_t h = GEOS_init_r();
    GEOSGeometry* ga = ValidGeos(h, a);
    GEOSGeometry* gb = ValidGeos(h, b);
    const double seconds = Timed(iterations, [&] {
        GEOSGeometry* r = op == ScanlineDifference ? GEOSDifference_r(h, ga, gb)
            : op == ScanlineIntersection           ? GEOSIntersection_r(h, ga, gb)
            : op == ScanlineExclusiveOr            ? GEOSSymDifference_r(h, ga, gb)
                                                   : GEOSUnion_r(h, ga, gb);
        benchmark::DoNotOptimize(r);
        GEOSGeom_destroy_r(h, r);
    });
    GEOSGeom_destroy_r(h, ga);
    GEOSGeom_destroy_r(h, gb);
    GEOS_finish_r(h);
    return seconds;
}
#endif

#ifdef LODRAVIX_HAVE_CLIPPER
// Clipper works on integers: coordinates scaled by 1e6 (a micrometre at metre units).
ClipperLib::Paths ToClipper(const Points& points) {
    ClipperLib::Path path;
    path.reserve(points.size());
    for (const API_Coord& p : points)
        path.emplace_back(static_cast<ClipperLib::cInt>(std::llround(p.x * 1e6)),
                          static_cast<ClipperLib::cInt>(std::llround(p.y * 1e6)));
    return ClipperLib::Paths{path};
}

double ClipperSeconds(const Points& a, const Points& b, uint32_t op, benchmark::IterationCount iterations) {
    const ClipperLib::Paths pa = ToClipper(a), pb = ToClipper(b);
    const ClipperLib::ClipType type = op == ScanlineDifference ? ClipperLib::ctDifference
        : op == ScanlineIntersection                           ? ClipperLib::ctIntersection
        : op == ScanlineExclusiveOr                            ? ClipperLib::ctXor
                                                               : ClipperLib::ctUnion;
    return Timed(iterations, [&] {
        ClipperLib::Clipper c;
        c.AddPaths(pa, ClipperLib::ptSubject, true);
        c.AddPaths(pb, ClipperLib::ptClip, true);
        ClipperLib::Paths solution;
        c.Execute(type, solution, ClipperLib::pftEvenOdd, ClipperLib::pftEvenOdd);
        benchmark::DoNotOptimize(solution);
    });
}
#endif

// A peer's seconds per run on one input: measured, or the time of a slow run measured before in this process.
template <typename F>
double PeerSeconds(int peer, Family family, uint32_t op, int n, F&& measure) {
    static std::map<std::tuple<int, int, uint32_t, int>, double> slow;
    const auto key = std::make_tuple(peer, static_cast<int>(family), op, n);
    const auto found = slow.find(key);
    if (found != slow.end()) return found->second;
    const double seconds = measure();
    if (seconds > 5.0) slow[key] = seconds;
    return seconds;
}

void BM_Scanline(benchmark::State& state, Family family, uint32_t op) {
    const int n = static_cast<int>(state.range(0));
    Points a, b;
    Input(family, n, a, b);
    const QV_List<QV_Poly> subject = ToList(a);
    const QV_List<QV_Poly> clip = ToList(b);
    int64_t outVertices = 0, groups = 0;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        QV_List<QV_List<QV_Poly>> result;
        ScanlinePolygons(subject, op, clip, result);
        groups = result.GetCount();
        outVertices = 0;
        for (int32_t g = 0; g < result.GetCount(); ++g)
            for (int32_t k = 0; k < result[g].GetCount(); ++k) outVertices += result[g][k].vertices.GetCount();
        benchmark::DoNotOptimize(result);
    }
    const double ours = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() /
        static_cast<double>(std::max<benchmark::IterationCount>(1, state.iterations()));
    state.counters["groups"] = static_cast<double>(groups);
    state.counters["out_vertices"] = static_cast<double>(outVertices);
    const benchmark::IterationCount peerRuns = state.iterations();
#ifdef LODRAVIX_HAVE_GEOS
    const double geos = PeerSeconds(0, family, op, n, [&] { return GeosSeconds(a, b, op, peerRuns); });
    state.counters["geos_ms"] = 1e3 * geos;
    state.counters["geos_ratio"] = ours / geos;
#endif
#ifdef LODRAVIX_HAVE_CLIPPER
    const double clipper = PeerSeconds(1, family, op, n, [&] { return ClipperSeconds(a, b, op, peerRuns); });
    state.counters["clipper_ms"] = 1e3 * clipper;
    state.counters["clipper_ratio"] = ours / clipper;
#endif
    state.SetComplexityN(n);
}

void Sizes(benchmark::internal::Benchmark* b) {
    b->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
}

}  // namespace

BENCHMARK_CAPTURE(BM_Scanline, Wavy_Difference, Wavy, ScanlineDifference)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_Scanline, Wavy_Intersection, Wavy, ScanlineIntersection)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_Scanline, Wavy_ExclusiveOr, Wavy, ScanlineExclusiveOr)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_Scanline, Wavy_Union, Wavy, ScanlineUnion)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_Scanline, Rough_Intersection, Rough, ScanlineIntersection)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_Scanline, Rough_Union, Rough, ScanlineUnion)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_Scanline, Combs_Intersection, Combs, ScanlineIntersection)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_Scanline, Combs_Union, Combs, ScanlineUnion)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_Scanline, Stars_Union, Stars, ScanlineUnion)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_Scanline, Spiky_Intersection, Spiky, ScanlineIntersection)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_Scanline, Spiky_Union, Spiky, ScanlineUnion)->Apply(Sizes);

BENCHMARK_MAIN();
