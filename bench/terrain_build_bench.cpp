// The terrain build's work on its input, without the host: the corner-and-level-point pass, the break-line pass,
// the break-line end resolution and the mesh memo, on a jittered lattice of 10^3 to 10^5 terrain points inside a
// square outline with 10^2 to 10^4 constraint lines between neighbouring points. Beside it CGAL builds the
// constrained Delaunay triangulation of the same points and constraints, the least a mesh of them costs. At the
// end the run prints milliseconds of each and the ratio module / CGAL (the goal: at most 1.0).
#include "terrain/TerrainMeshCreation.hpp"
#include "terrain/TerrainPasses.hpp"

#include <CGAL/Constrained_Delaunay_triangulation_2.h>
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include "TimesBySize.hpp"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>

namespace {

using K = CGAL::Exact_predicates_inexact_constructions_kernel;
using CDT = CGAL::Constrained_Delaunay_triangulation_2<K, CGAL::Default, CGAL::Exact_predicates_tag>;

struct Site {
    QV_List<API_Coord3D> ring;
    QV_List<API_Coord3D> points;
    QV_List<QV_Segment3D> lines;
};

// k x k points a metre apart, jittered by up to 0.3 m inside the border; one constraint per ten points, each
// between a point and its right neighbour, so that no two constraints cross.
void MakeSite(int64_t count, Site& s) {
    const int k = int(std::lround(std::sqrt(double(count))));
    const double side = k - 1;
    std::mt19937 rng(17);
    std::uniform_real_distribution<double> jitter(-0.3, 0.3), height(90.0, 110.0);
    for (const API_Coord3D& c : {API_Coord3D{0, 0, 0}, API_Coord3D{side, 0, 0}, API_Coord3D{side, side, 0},
                                 API_Coord3D{0, side, 0}, API_Coord3D{0, 0, 0}})
        s.ring.Insert(c);
    std::vector<API_Coord3D> grid(size_t(k) * size_t(k));
    for (int j = 0; j < k; ++j)
        for (int i = 0; i < k; ++i) {
            const bool border = i == 0 || j == 0 || i == k - 1 || j == k - 1;
            API_Coord3D p{double(i), double(j), height(rng)};
            if (!border) {
                p.x += jitter(rng);
                p.y += jitter(rng);
            }
            grid[size_t(j) * size_t(k) + size_t(i)] = p;
            s.points.Insert(p);
        }
    const int64_t lines = std::max<int64_t>(1, count / 10);
    for (int64_t n = 0; n < lines; ++n) {
        const int i = int((n * 7) % (k - 1)), j = int((n * 7) / (k - 1) % k);
        const API_Coord3D& a = grid[size_t(j) * size_t(k) + size_t(i)];
        const API_Coord3D& b = grid[size_t(j) * size_t(k) + size_t(i) + 1];
        s.lines.Insert(QV_Segment3D{{a.x, a.y, 0}, {b.x, b.y, 0}});
    }
}

void FreeMemo(API_ElementMemo& memo) {
    GSHandle handles[] = {
        reinterpret_cast<GSHandle>(memo.coords),       reinterpret_cast<GSHandle>(memo.pends),
        reinterpret_cast<GSHandle>(memo.parcs),        reinterpret_cast<GSHandle>(memo.vertexIDs),
        reinterpret_cast<GSHandle>(memo.meshPolyZ),    reinterpret_cast<GSHandle>(memo.meshLevelCoords),
        reinterpret_cast<GSHandle>(memo.meshLevelEnds)};
    for (GSHandle& h : handles) BMKillHandle(&h);
    std::memset(static_cast<void*>(&memo), 0, sizeof memo);
}

void BM_BuildTerrain(benchmark::State& state) {
    Site s;
    MakeSite(state.range(0), s);
    QV_Poly outline;
    outline.SetFromCoords3D(s.ring, true);
    for (auto _ : state) {
        TerrainRecord r;
        r.boundary = s.ring;
        uint8_t missing = 0;
        if (!CollectTerrainPointsFrom(r, outline, s.points, missing)) return state.SkipWithError("a corner missing");
        CollectBreakLinesFrom(r, outline, s.lines);
        ResolveBreakLineEnds(r);
        API_Element mesh = {};
        API_ElementMemo memo;
        if (!FillTerrainMeshMemo(r, 0, 0, mesh, memo)) return state.SkipWithError("no memo");
        benchmark::DoNotOptimize(mesh.mesh.levelLines.nCoords);
        FreeMemo(memo);
        if (r.breakLines.GetCount() != s.lines.GetCount()) return state.SkipWithError("a constraint was lost");
    }
    state.counters["constraints"] = double(s.lines.GetCount());
}

void BM_CgalConstrainedDelaunay(benchmark::State& state) {
    Site s;
    MakeSite(state.range(0), s);
    std::vector<K::Point_2> points;
    for (int32_t i = 0; i < s.points.GetCount(); ++i) points.emplace_back(s.points[i].x, s.points[i].y);
    std::vector<std::pair<K::Point_2, K::Point_2>> constraints;
    for (int32_t i = 0; i < s.lines.GetCount(); ++i)
        constraints.emplace_back(K::Point_2(s.lines[i].begin.x, s.lines[i].begin.y),
                                 K::Point_2(s.lines[i].end.x, s.lines[i].end.y));
    for (auto _ : state) {
        CDT cdt;
        cdt.insert(points.begin(), points.end());
        cdt.insert_constraints(constraints.begin(), constraints.end());
        benchmark::DoNotOptimize(cdt.number_of_faces());
    }
}

void Sizes(benchmark::internal::Benchmark* b) {
    for (int64_t n : {1000, 10000, 100000}) b->Arg(n);
    b->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_BuildTerrain)->Apply(Sizes);
BENCHMARK(BM_CgalConstrainedDelaunay)->Apply(Sizes);

class RatioReporter : public TimesBySize {
public:
    void Finalize() override {
        TimesBySize::Finalize();
        std::printf("\n%10s %14s %14s %10s\n", "points", "module ms", "CGAL CDT ms", "ratio");
        for (const auto& [size, byName] : seconds_) {
            const auto m = byName.find("BM_BuildTerrain"), c = byName.find("BM_CgalConstrainedDelaunay");
            if (m == byName.end() || c == byName.end()) continue;
            std::printf("%10lld %14.3f %14.3f %10.3f\n", static_cast<long long>(size), m->second * 1e3, c->second * 1e3,
                        m->second / c->second);
        }
    }
};

}  // namespace

int main(int argc, char** argv) { return RunBenchmarks<RatioReporter>(argc, argv); }
