// SampleMeshHeights of 1,000 plan points on terrain meshes of 10^3 to 10^6 points, in the stand-in host run
// in-process, beside CGAL locating the same points in a Delaunay hierarchy of the same mesh points and
// interpolating in the triangle found. The mesh points come from a window of a real elevation grid
// (tests/data/asc/elev_window.asc): a jittered lattice over the window with heights interpolated between the
// grid's cell centres. Every sampled point costs a slab, a link, a clipped model, its vertices, an unlink, and
// its share of one deletion; the time per point should stay nearly flat as the mesh grows. A call of one point
// shows what a call costs besides its points (the mesh's box among it). At the end the run prints microseconds
// per point of each, the cost of a one-point call, what each further point adds, and the ratio to CGAL.
#include "../tests/support/AscGrid.hpp"
#include "HostMesh.hpp"
#include "elements/MeshHeightSampling.hpp"

#include <CGAL/Delaunay_triangulation_2.h>
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Triangulation_hierarchy_2.h>
#include <CGAL/Triangulation_vertex_base_with_info_2.h>
#include "TimesBySize.hpp"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <sstream>

namespace {

using K = CGAL::Exact_predicates_inexact_constructions_kernel;
using Vb = CGAL::Triangulation_vertex_base_with_info_2<double, K>;
using Hvb = CGAL::Triangulation_hierarchy_vertex_base_2<Vb>;
using Tds = CGAL::Triangulation_data_structure_2<Hvb>;
using Delaunay = CGAL::Triangulation_hierarchy_2<CGAL::Delaunay_triangulation_2<K, Tds>>;

constexpr int kSamples = 1000;

struct MeshInput {
    std::vector<API_Coord3D> ring, levels;
    std::vector<API_Coord> samples;
};

// A k x k lattice over the grid's cell centres: the border is the outline, the inside (jittered by up to 0.3 of
// its spacing) the level points; heights between the grid's cells.
bool MakeInput(int64_t points, MeshInput* in, std::string* why) {
    AscGrid grid;
    if (!ReadAscGrid(LODRAVIX_TEST_DATA_DIR "/asc/elev_window.asc", grid, why)) return false;
    const int k = int(std::lround(std::sqrt(double(points))));
    const double x0 = grid.X(0), x1 = grid.X(grid.ncols - 1), y0 = grid.Y(grid.nrows - 1), y1 = grid.Y(0);
    const double dx = (x1 - x0) / (k - 1), dy = (y1 - y0) / (k - 1);
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> jitter(-0.3, 0.3);
    const auto at = [&](double x, double y) { return API_Coord3D{x, y, grid.Bilinear(x, y)}; };
    for (int i = 0; i < k - 1; ++i) in->ring.push_back(at(x0 + i * dx, y0));
    for (int j = 0; j < k - 1; ++j) in->ring.push_back(at(x1, y0 + j * dy));
    for (int i = k - 1; i > 0; --i) in->ring.push_back(at(x0 + i * dx, y1));
    for (int j = k - 1; j > 0; --j) in->ring.push_back(at(x0, y0 + j * dy));
    for (int j = 1; j < k - 1; ++j)
        for (int i = 1; i < k - 1; ++i)
            in->levels.push_back(at(x0 + (i + jitter(rng)) * dx, y0 + (j + jitter(rng)) * dy));
    std::uniform_real_distribution<double> ux(x0 + 1.0, x1 - 1.0), uy(y0 + 1.0, y1 - 1.0);
    for (int s = 0; s < kSamples; ++s) in->samples.push_back({ux(rng), uy(rng)});
    return true;
}

// One host at a time (the module's table belongs to the latest); gone before the module's statics are.
using HostMesh = HostWithMesh<MeshInput>;
std::unique_ptr<HostMesh> current;
int64_t currentPoints = 0;

HostMesh* MeshOf(int64_t points, std::string* why) {
    if (current && currentPoints == points) return current.get();
    current.reset();
    auto m = std::make_unique<HostMesh>();
    if (!MakeInput(points, &m->input, why)) return nullptr;
    if (!m->Start("lodravix_mesh_sampling_bench", why)) return nullptr;
    current = std::move(m);
    currentPoints = points;
    return current.get();
}

// Samples the first `count` points in one call.
void Sample(benchmark::State& state, int count) {
    std::string why;
    HostMesh* m = MeshOf(state.range(0), &why);
    if (m == nullptr) return state.SkipWithError(why.c_str());
    for (auto _ : state) {
        QV_List<QV_Coord3DLong> points;
        for (int i = 0; i < count; ++i)
            points.Insert(QV_Coord3DLong{m->input.samples[size_t(i)].x, m->input.samples[size_t(i)].y, 0.0, 0});
        bool ok = false;
        ACAPI_CallUndoableCommand(GS::UniString("sample"), [&] {
            MeshBody body;
            double zMin = 0.0, zMax = 0.0;
            ok = SampleMeshHeights(body, m->mesh, points, zMin, zMax);
            return NoError;
        });
        if (!ok) return state.SkipWithError("sampling failed");
        m->log.str(std::string());
        benchmark::DoNotOptimize(points[0].z);
    }
    state.counters["points"] = count;
}

void BM_SampleMeshHeights(benchmark::State& state) { Sample(state, kSamples); }
// One point per call: what a call costs besides its points (the mesh's box, the slab defaults, the command).
void BM_SampleOnePoint(benchmark::State& state) { Sample(state, 1); }

void BM_CgalLocate(benchmark::State& state) {
    MeshInput in;
    std::string why;
    if (!MakeInput(state.range(0), &in, &why)) return state.SkipWithError(why.c_str());
    Delaunay dt;
    Delaunay::Face_handle hint;
    for (const auto* list : {&in.ring, &in.levels})
        for (const API_Coord3D& p : *list) {
            const Delaunay::Vertex_handle v = dt.insert(K::Point_2(p.x, p.y), hint);
            v->info() = p.z;
            hint = v->face();
        }
    for (auto _ : state) {
        double sum = 0.0;
        for (const API_Coord& c : in.samples) {
            const K::Point_2 q(c.x, c.y);
            const Delaunay::Face_handle f = dt.locate(q);
            if (dt.is_infinite(f)) return state.SkipWithError("a point outside the triangulation");
            const K::Point_2 &a = f->vertex(0)->point(), &b = f->vertex(1)->point(), &d = f->vertex(2)->point();
            const double area = CGAL::area(a, b, d);
            const double u = CGAL::area(q, b, d) / area, v = CGAL::area(a, q, d) / area;
            sum += u * f->vertex(0)->info() + v * f->vertex(1)->info() + (1 - u - v) * f->vertex(2)->info();
        }
        benchmark::DoNotOptimize(sum);
    }
    state.counters["points"] = kSamples;
}

void Sizes(benchmark::internal::Benchmark* b) {
    b->RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMillisecond);
}

// The console report, then microseconds per sampled point of each and their ratio, by mesh size.
class RatioReporter : public TimesBySize {
public:
    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\n%10s %16s %16s %18s %14s %10s\n", "mesh pts", "sampling us/pt", "one call ms",
                    "next points us/pt", "CGAL us/pt", "ratio");
        for (auto& [size, seconds] : seconds_) {
            std::map<std::string, double> times;
            for (const auto& [name, s] : seconds) times[name] = s * 1e6 / kSamples;
            const double module = times["BM_SampleMeshHeights"], cgal = times["BM_CgalLocate"];
            // A call of one point, and what each point after the first adds to a call of kSamples.
            const double call = times["BM_SampleOnePoint"] * kSamples;
            const double next = (module * kSamples - call) / (kSamples - 1);
            std::printf("%10lld %16.2f %16.3f %18.2f %14.4f %10.0f\n", static_cast<long long>(size), module,
                        call / 1000.0, next, cgal, cgal > 0 ? module / cgal : 0.0);
        }
    }
};

}  // namespace

BENCHMARK(BM_SampleMeshHeights)->Apply(Sizes);
BENCHMARK(BM_SampleOnePoint)->Apply(Sizes);
BENCHMARK(BM_CgalLocate)->Apply(Sizes);

int main(int argc, char** argv) {
    return RunBenchmarks<RatioReporter>(argc, argv, [] { current.reset(); });
}
