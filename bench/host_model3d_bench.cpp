// The stand-in host's 3D model of a terrain mesh on 10^3 to 10^6 points made from the real grid of
// examples/data (heights interpolated between its cells onto a finer or coarser jittered lattice), beside CGAL's
// Delaunay triangulation of the same points (plain for building, with its hierarchy for locating, each CGAL's
// fastest way to do that work):
//  - building the mesh's surface (constrained triangulation with the outline, then the grid index) against
//    building the Delaunay triangulation: time per point;
//  - one height sample as the module makes it (a slab with a 0.5 square hole subtracting downwards: the cut of the
//    surface and the solid under it) against locating the point in the Delaunay triangulation and interpolating:
//    time per sample, which should stay flat as the mesh grows; and the same sample the whole way through the
//    host's project as the module drives it (slab created, linked, its mesh's model read through the component
//    reads, unlinked; the slabs deleted at the end), inside one undoable command.
// At the end the run prints the times and the host's ratio to the peer for each size.
#include "APIInteraction.hpp"
#include "model3d/ElementModels.hpp"
#include "model3d/ModelStore.hpp"
#include "project/ProjectDatabase.hpp"

#include <CGAL/Delaunay_triangulation_2.h>
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Triangulation_hierarchy_2.h>
#include <CGAL/Triangulation_hierarchy_vertex_base_2.h>
#include "TimesBySize.hpp"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {
using K = CGAL::Exact_predicates_inexact_constructions_kernel;
using Delaunay = CGAL::Delaunay_triangulation_2<K>;
// Point location through the triangulation's hierarchy: a sample costs log n, not a walk of sqrt n triangles.
using HierarchyTds = CGAL::Triangulation_data_structure_2<
    CGAL::Triangulation_hierarchy_vertex_base_2<CGAL::Triangulation_vertex_base_2<K>>>;
using LocatingDelaunay = CGAL::Triangulation_hierarchy_2<CGAL::Delaunay_triangulation_2<K, HierarchyTds>>;

// The 50 x 50 grid of the example data: heights by row (north first) and column.
struct Grid {
    double x0 = 0, y0 = 0, step = 600.0;  // the south-west cell's centre
    std::vector<double> z;                // row r (from south), column c at r * 50 + c
    bool ok = false;
};

const Grid& RealGrid() {
    static const Grid grid = [] {
        Grid g;
        std::ifstream in(std::string(LODRAVIX_SOURCE_DIR) + "/examples/data/elev_50x50.xyz");
        std::vector<ModelPoint> pts;
        std::string line;
        while (std::getline(in, line)) {
            if (line.empty() || line[0] == '#') continue;
            std::istringstream s(line);
            ModelPoint p;
            if (s >> p.x >> p.y >> p.z) pts.push_back(p);
        }
        if (pts.size() != 2500) return g;
        g.x0 = pts.back().x - 49 * g.step;
        g.y0 = pts.back().y;
        g.z.assign(2500, 0.0);
        for (size_t i = 0; i < pts.size(); ++i) g.z[(49 - i / 50) * 50 + i % 50] = pts[i].z;
        g.ok = true;
        return g;
    }();
    return grid;
}

double GridHeight(const Grid& g, double x, double y) {
    const double u = std::clamp((x - g.x0) / g.step, 0.0, 48.999999),
                 v = std::clamp((y - g.y0) / g.step, 0.0, 48.999999);
    const int c = int(u), r = int(v);
    const double fu = u - c, fv = v - r;
    const auto z = [&](int rr, int cc) { return g.z[size_t(rr * 50 + cc)]; };
    return (z(r, c) * (1 - fu) + z(r, c + 1) * fu) * (1 - fv) + (z(r + 1, c) * (1 - fu) + z(r + 1, c + 1) * fu) * fv;
}

// n points: the border of an m x m lattice over the grid's extent as the outline, its inner nodes jittered.
struct Terrain {
    PlanRing outline;
    std::vector<ModelPoint> inner;
    MeshSurfaceModel surface;
    LocatingDelaunay delaunay;
};

std::unique_ptr<Terrain> MakeTerrain(int64_t n) {
    const Grid& g = RealGrid();
    auto t = std::make_unique<Terrain>();
    const int m = int(std::lround(std::sqrt(double(n))));
    const double span = 49 * g.step, h = span / (m - 1);
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> jitter(-0.3 * h, 0.3 * h);
    const auto at = [&](int i, int j, bool border) {
        double x = g.x0 + i * h, y = g.y0 + j * h;
        if (!border) {
            x += jitter(rng);
            y += jitter(rng);
        }
        return ModelPoint{x, y, GridHeight(g, x, y)};
    };
    for (int i = 0; i < m - 1; ++i) t->outline.points.push_back(at(i, 0, true));
    for (int j = 0; j < m - 1; ++j) t->outline.points.push_back(at(m - 1, j, true));
    for (int i = m - 1; i > 0; --i) t->outline.points.push_back(at(i, m - 1, true));
    for (int j = m - 1; j > 0; --j) t->outline.points.push_back(at(0, j, true));
    for (int i = 1; i < m - 1; ++i)
        for (int j = 1; j < m - 1; ++j) t->inner.push_back(at(i, j, false));
    return t;
}

// Each size's terrain with its surface and its Delaunay triangulation, built once.
Terrain& BuiltTerrain(int64_t n) {
    static std::map<int64_t, std::unique_ptr<Terrain>> built;
    std::unique_ptr<Terrain>& t = built[n];
    if (!t) {
        t = MakeTerrain(n);
        std::string why;
        TriangulateMeshSurface({t->outline}, t->inner, {}, &t->surface.surface, &why);
        t->surface.index.reset(new SurfaceIndex(t->surface.surface));
        std::vector<K::Point_2> pts;
        for (const ModelPoint& p : t->outline.points) pts.emplace_back(p.x, p.y);
        for (const ModelPoint& p : t->inner) pts.emplace_back(p.x, p.y);
        t->delaunay.insert(pts.begin(), pts.end());
    }
    return *t;
}

int64_t PointCount(const Terrain& t) { return int64_t(t.outline.points.size() + t.inner.size()); }

void BM_HostSurface(benchmark::State& state) {
    if (!RealGrid().ok) return state.SkipWithError("no examples/data/elev_50x50.xyz");
    std::unique_ptr<Terrain> t = MakeTerrain(state.range(0));
    for (auto _ : state) {
        MeshSurfaceModel m;
        std::string why;
        if (!TriangulateMeshSurface({t->outline}, t->inner, {}, &m.surface, &why)) state.SkipWithError(why.c_str());
        m.index.reset(new SurfaceIndex(m.surface));
        benchmark::DoNotOptimize(m.surface.triangles.data());
    }
    state.counters["points"] = double(PointCount(*t));
}

void BM_CgalDelaunay(benchmark::State& state) {
    if (!RealGrid().ok) return state.SkipWithError("no examples/data/elev_50x50.xyz");
    std::unique_ptr<Terrain> t = MakeTerrain(state.range(0));
    std::vector<K::Point_2> pts;
    for (const ModelPoint& p : t->outline.points) pts.emplace_back(p.x, p.y);
    for (const ModelPoint& p : t->inner) pts.emplace_back(p.x, p.y);
    for (auto _ : state) {
        Delaunay d;
        d.insert(pts.begin(), pts.end());
        benchmark::DoNotOptimize(d.number_of_faces());
    }
    state.counters["points"] = double(pts.size());
}

constexpr int kSamples = 100;

// Sample points well inside the terrain, the same for every size.
std::vector<std::pair<double, double>> SamplePoints() {
    const Grid& g = RealGrid();
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> u(0.05, 0.95);
    std::vector<std::pair<double, double>> p;
    for (int i = 0; i < kSamples; ++i) p.push_back({g.x0 + u(rng) * 49 * g.step, g.y0 + u(rng) * 49 * g.step});
    return p;
}

void BM_HostSample(benchmark::State& state) {
    if (!RealGrid().ok) return state.SkipWithError("no examples/data/elev_50x50.xyz");
    Terrain& t = BuiltTerrain(state.range(0));
    const std::vector<std::pair<double, double>> samples = SamplePoints();
    const PlanBox box = t.surface.index->Box();
    for (auto _ : state) {
        for (const auto& s : samples) {
            const double x = s.first, y = s.second;
            // The module's cutting slab: a rectangle 200 beyond the mesh with the sample square as its hole.
            std::vector<PlanRing> footprint(2);
            footprint[0].points = {{box.xMin - 200, box.yMin - 200, 0},
                                   {box.xMin - 200, box.yMax + 200, 0},
                                   {box.xMax + 200, box.yMax + 200, 0},
                                   {box.xMax + 200, box.yMin - 200, 0}};
            footprint[1].points = {{x, y, 0}, {x + 0.5, y, 0}, {x + 0.5, y - 0.5, 0}, {x, y - 0.5, 0}};
            const Surface cut = SurfaceOutside(t.surface.surface, *t.surface.index, footprint);
            ModelBody body;
            std::string why;
            if (!BuildSolidBody(cut, 0.0, &body, &why)) state.SkipWithError(why.c_str());
            benchmark::DoNotOptimize(body.vertices.data());
        }
    }
    state.counters["points"] = double(PointCount(t));
}

// A project holding the terrain as a mesh, and its 3D model, per size.
struct TerrainProject {
    ProjectDatabase db;
    ModelStore models{db};
    API_Guid mesh = {};
};

TerrainProject& BuiltProject(int64_t n) {
    static std::map<int64_t, std::unique_ptr<TerrainProject>> built;
    std::unique_ptr<TerrainProject>& p = built[n];
    if (!p) {
        p = std::make_unique<TerrainProject>();
        Terrain& t = BuiltTerrain(n);
        std::vector<API_Coord3D> points;
        for (const ModelPoint& q : t.outline.points) points.push_back({q.x, q.y, q.z});
        for (const ModelPoint& q : t.inner) points.push_back({q.x, q.y, q.z});
        p->db.PlaceMeshFromPoints(points, 1, "T", &p->mesh);
        API_ElemInfo3D info;
        std::string why;
        p->models.Get3DInfo(p->mesh, &info, &why);  // the surface is built before the samples
    }
    return *p;
}

void BM_HostSampleInProject(benchmark::State& state) {
    if (!RealGrid().ok) return state.SkipWithError("no examples/data/elev_50x50.xyz");
    TerrainProject& p = BuiltProject(state.range(0));
    const std::vector<std::pair<double, double>> samples = SamplePoints();
    API_Box3D box = {};
    p.models.Bounds(p.mesh, &box);
    for (auto _ : state) {
        GSErrCode failed = NoError;
        p.db.RunUndoableCommand("Sample", [&]() {
            std::vector<API_Guid> slabs;
            for (const auto& s : samples) {
                const double x = s.first, y = s.second;
                API_Element e = {};
                e.header.typeID = API_SlabID;
                p.db.GetDefaults(&e, nullptr);
                e.slab.level = box.zMax + 101.0;
                e.slab.thickness = box.zMax - box.zMin + 102.0;
                e.slab.poly = {10, 2, 0, 0};
                API_ElementMemo memo = {};
                const API_Coord c[11] = {{0, 0},
                                         {box.xMin - 200, box.yMin - 200},
                                         {box.xMin - 200, box.yMax + 200},
                                         {box.xMax + 200, box.yMax + 200},
                                         {box.xMax + 200, box.yMin - 200},
                                         {box.xMin - 200, box.yMin - 200},
                                         {x, y},
                                         {x + 0.5, y},
                                         {x + 0.5, y - 0.5},
                                         {x, y - 0.5},
                                         {x, y}};
                memo.coords = reinterpret_cast<API_Coord**>(BMAllocateHandle(sizeof c, 0, 0));
                std::memcpy(*memo.coords, c, sizeof c);
                memo.pends = reinterpret_cast<int32_t**>(BMAllocateHandle(3 * sizeof(int32_t), 0, 0));
                (*memo.pends)[0] = 0;
                (*memo.pends)[1] = 5;
                (*memo.pends)[2] = 10;
                GSErrCode err = p.db.CreateElement(&e, &memo);
                BMKillHandle(reinterpret_cast<GSHandle*>(&memo.coords));
                BMKillHandle(reinterpret_cast<GSHandle*>(&memo.pends));
                if (err == NoError) slabs.push_back(e.header.guid);
                if (err == NoError) err = p.db.CreateSolidLink(p.mesh, e.header.guid, APISolid_SubtractDownwards, 1);
                API_ElemInfo3D info = {};
                std::string why;
                if (err == NoError) err = p.models.Get3DInfo(p.mesh, &info, &why);
                for (int32_t b = info.firstBody; err == NoError && b <= info.lastBody; ++b) {
                    API_Component3D comp = {};
                    comp.header = {API_BodyID, b};
                    err = p.models.GetComponent(&comp, &why);
                    const int32_t n = comp.body.vertexCount;
                    for (int32_t v = 1; err == NoError && v <= n; ++v) {
                        comp.header = {API_VertID, v};
                        err = p.models.GetComponent(&comp, &why);
                        benchmark::DoNotOptimize(comp.vert.z);
                    }
                }
                if (err == NoError) err = p.db.RemoveSolidLink(p.mesh, e.header.guid);
                if (err != NoError) failed = err;
            }
            p.db.DeleteElements(slabs.data(), uint32_t(slabs.size()));
            return NoError;
        });
        if (failed != NoError) state.SkipWithError("a sample failed");
        // The command's undo step keeps a copy of the project: drop it.
        state.PauseTiming();
        p.db.Undo();
        state.ResumeTiming();
    }
    state.counters["points"] = double(PointCount(BuiltTerrain(state.range(0))));
}

void BM_CgalLocate(benchmark::State& state) {
    if (!RealGrid().ok) return state.SkipWithError("no examples/data/elev_50x50.xyz");
    Terrain& t = BuiltTerrain(state.range(0));
    const std::vector<std::pair<double, double>> samples = SamplePoints();
    for (auto _ : state) {
        for (const auto& s : samples) {
            LocatingDelaunay::Face_handle f = t.delaunay.locate(K::Point_2(s.first, s.second));
            benchmark::DoNotOptimize(f);
        }
    }
    state.counters["points"] = double(PointCount(t));
}

void Sizes(benchmark::internal::Benchmark* b) {
    b->RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMillisecond);
}

// The console report, then a table of the times per point (building) and per sample, with the ratios.
class RatioReporter : public TimesBySize {
public:
    void Noted(int64_t size, const Run& run) override {
        const auto points = run.counters.find("points");
        if (points != run.counters.end()) points_[size] = double(points->second);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\n%9s %12s %12s %8s %14s %14s %8s %16s\n", "points", "host ns/pt", "cgal ns/pt", "ratio",
                    "host us/sample", "cgal us/sample", "ratio", "project us/sample");
        for (auto& [size, t] : seconds_) {
            const double n = points_[size];
            const double build = t["BM_HostSurface"] * 1e9 / n, peer = t["BM_CgalDelaunay"] * 1e9 / n;
            const double sample = t["BM_HostSample"] * 1e6 / kSamples, locate = t["BM_CgalLocate"] * 1e6 / kSamples;
            const double project = t["BM_HostSampleInProject"] * 1e6 / kSamples;
            std::printf("%9.0f %12.1f %12.1f %8.2f %14.2f %14.3f %8.1f %16.2f\n", n, build, peer,
                        peer > 0 ? build / peer : 0.0, sample, locate, locate > 0 ? sample / locate : 0.0, project);
        }
    }

private:
    std::map<int64_t, double> points_;
};

}  // namespace

BENCHMARK(BM_HostSurface)->Apply(Sizes);
BENCHMARK(BM_CgalDelaunay)->Apply(Sizes);
BENCHMARK(BM_HostSample)->Apply(Sizes);
BENCHMARK(BM_CgalLocate)->Apply(Sizes);
BENCHMARK(BM_HostSampleInProject)->Apply(Sizes);

int main(int argc, char** argv) { return RunBenchmarks<RatioReporter>(argc, argv); }
