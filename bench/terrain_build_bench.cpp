// The terrain build's work on its input, without the host: the corner-and-level-point pass, the break-line pass,
// the break-line end resolution and the mesh memo, on a jittered lattice of 10^3 to 10^6 terrain points inside a
// square outline with 10^2 to 10^5 constraint lines between neighbouring points. These passes triangulate
// nothing (the host meshes the memo; main_road_bench times that beside CGAL's triangulation), so their peer does
// the same work with GEOS at its best: the outline prepared, every point and both ends of every line tested for
// "covers" against it, each break-line end matched to the first point within the tolerance through an STRtree of
// the points, and the kept points and lines copied out. At the end the run prints milliseconds of each and the
// ratio module / GEOS (the goal: at most 1.0).
#include "terrain/TerrainMeshCreation.hpp"
#include "terrain/TerrainPasses.hpp"

#include "TimesBySize.hpp"

#include <geos_c.h>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

namespace {

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

// The same work in GEOS, its input (the outline, each point and each line end) already in GEOS's form as the
// passes' input is in theirs.
struct GeosSite {
    GEOSContextHandle_t h = GEOS_init_r();
    GEOSGeometry* outline = nullptr;
    std::vector<GEOSGeometry*> points, ends;
    explicit GeosSite(const Site& s) {
        GEOSCoordSequence* ring = GEOSCoordSeq_create_r(h, uint32_t(s.ring.GetCount()), 2);
        for (int32_t i = 0; i < s.ring.GetCount(); ++i)
            GEOSCoordSeq_setXY_r(h, ring, uint32_t(i), s.ring[i].x, s.ring[i].y);
        outline = GEOSGeom_createPolygon_r(h, GEOSGeom_createLinearRing_r(h, ring), nullptr, 0);
        for (int32_t i = 0; i < s.points.GetCount(); ++i)
            points.push_back(GEOSGeom_createPointFromXY_r(h, s.points[i].x, s.points[i].y));
        for (int32_t i = 0; i < s.lines.GetCount(); ++i) {
            ends.push_back(GEOSGeom_createPointFromXY_r(h, s.lines[i].begin.x, s.lines[i].begin.y));
            ends.push_back(GEOSGeom_createPointFromXY_r(h, s.lines[i].end.x, s.lines[i].end.y));
        }
    }
    ~GeosSite() {
        for (GEOSGeometry* g : points) GEOSGeom_destroy_r(h, g);
        for (GEOSGeometry* g : ends) GEOSGeom_destroy_r(h, g);
        GEOSGeom_destroy_r(h, outline);
        GEOS_finish_r(h);
    }
};

void BM_GeosPasses(benchmark::State& state) {
    Site s;
    MakeSite(state.range(0), s);
    GeosSite g(s);
    for (auto _ : state) {
        const GEOSPreparedGeometry* prepared = GEOSPrepare_r(g.h, g.outline);
        std::vector<API_Coord3D> kept;
        GEOSSTRtree* tree = GEOSSTRtree_create_r(g.h, 10);
        for (size_t i = 0; i < g.points.size(); ++i)
            if (GEOSPreparedCovers_r(g.h, prepared, g.points[i]) == 1) {
                kept.push_back(s.points[int32_t(i)]);
                GEOSSTRtree_insert_r(g.h, tree, g.points[i], reinterpret_cast<void*>(kept.size()));
            }
        std::vector<QV_Segment3D> lines;
        for (size_t k = 0; k < g.ends.size(); k += 2) {
            if (GEOSPreparedCovers_r(g.h, prepared, g.ends[k]) != 1 ||
                GEOSPreparedCovers_r(g.h, prepared, g.ends[k + 1]) != 1)
                continue;
            // Each end takes the first kept point within the tolerance.
            QV_Segment3D line = s.lines[int32_t(k / 2)];
            bool matched = true;
            for (API_Coord3D* end : {&line.begin, &line.end}) {
                struct Query {
                    const API_Coord3D* at;
                    const std::vector<API_Coord3D>* kept;
                    size_t first;
                } q{end, &kept, SIZE_MAX};
                GEOSGeometry* box =
                    GEOSGeom_createRectangle_r(g.h, end->x - BreakLineEndTolerance, end->y - BreakLineEndTolerance,
                                               end->x + BreakLineEndTolerance, end->y + BreakLineEndTolerance);
                GEOSSTRtree_query_r(
                    g.h, tree, box,
                    [](void* item, void* data) {
                        Query& q = *static_cast<Query*>(data);
                        const size_t i = reinterpret_cast<size_t>(item) - 1;
                        const API_Coord3D& p = (*q.kept)[i];
                        if (i < q.first && std::fabs(p.x - q.at->x) < BreakLineEndTolerance &&
                            std::fabs(p.y - q.at->y) < BreakLineEndTolerance)
                            q.first = i;
                    },
                    &q);
                GEOSGeom_destroy_r(g.h, box);
                if (q.first == SIZE_MAX)
                    matched = false;
                else
                    *end = kept[q.first];
            }
            if (matched) lines.push_back(line);
        }
        benchmark::DoNotOptimize(lines.data());
        GEOSSTRtree_destroy_r(g.h, tree);
        GEOSPreparedGeom_destroy_r(g.h, prepared);
        if (int64_t(lines.size()) != s.lines.GetCount()) return state.SkipWithError("a constraint was lost");
    }
}

void Sizes(benchmark::internal::Benchmark* b) {
    for (int64_t n : {1000, 10000, 100000, 1000000}) b->Arg(n);
    b->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_BuildTerrain)->Apply(Sizes);
BENCHMARK(BM_GeosPasses)->Apply(Sizes);

class RatioReporter : public TimesBySize {
public:
    void Finalize() override {
        TimesBySize::Finalize();
        std::printf("\n%10s %14s %14s %10s\n", "points", "module ms", "GEOS ms", "ratio");
        for (const auto& [size, byName] : seconds_) {
            const auto m = byName.find("BM_BuildTerrain"), c = byName.find("BM_GeosPasses");
            if (m == byName.end() || c == byName.end()) continue;
            std::printf("%10lld %14.3f %14.3f %10.3f\n", static_cast<long long>(size), m->second * 1e3, c->second * 1e3,
                        m->second / c->second);
        }
    }
};

}  // namespace

int main(int argc, char** argv) { return RunBenchmarks<RatioReporter>(argc, argv); }
