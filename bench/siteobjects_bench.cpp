// The spot-height grid's pass over a 50 x 50 grid of nodes (MarkerCls::SampleGridHeights: the outline test and one
// terrain query per node) on terrain meshes of about 10^3 and 10^5 triangles, in the stand-in host run
// in-process, beside CGAL locating the same nodes in a Delaunay hierarchy of the mesh's points and interpolating
// in the triangle found. The mesh is a jittered lattice with heights of a rolling surface; the grid covers its
// inside. A query clips only the mesh near its node, so the time per node should stay nearly flat as the mesh
// grows (within 3 times from 10^3 to 10^5 triangles). At the end the run prints microseconds per node of each,
// the module's growth from the smallest mesh, and the ratio to CGAL.
#include "HostMesh.hpp"
#include "siteobjects/Marker.hpp"

#include <CGAL/Delaunay_triangulation_2.h>
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Triangulation_hierarchy_2.h>
#include <CGAL/Triangulation_vertex_base_with_info_2.h>
#include "TimesBySize.hpp"

#include <benchmark/benchmark.h>

#include <cmath>
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

constexpr int kGrid = 50;
constexpr int kNodes = kGrid * kGrid;
constexpr double kSide = 200.0;

double Surface(double x, double y) { return 100.0 + 3.0 * std::sin(x / 17.0) + 2.0 * std::cos(y / 23.0); }

struct MeshInput {
    std::vector<API_Coord3D> ring, levels;
};

// About `triangles` triangles: a k x k lattice over the square, its border the outline, its inside jittered.
void MakeInput(int64_t triangles, MeshInput* in) {
    const int k = int(std::lround(std::sqrt(double(triangles) / 2.0))) + 1;
    const double d = kSide / (k - 1);
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> jitter(-0.3, 0.3);
    const auto at = [&](double x, double y) { return API_Coord3D{x, y, Surface(x, y)}; };
    for (int i = 0; i < k - 1; ++i) in->ring.push_back(at(i * d, 0));
    for (int j = 0; j < k - 1; ++j) in->ring.push_back(at(kSide, j * d));
    for (int i = k - 1; i > 0; --i) in->ring.push_back(at(i * d, kSide));
    for (int j = k - 1; j > 0; --j) in->ring.push_back(at(0, j * d));
    for (int j = 1; j < k - 1; ++j)
        for (int i = 1; i < k - 1; ++i) in->levels.push_back(at((i + jitter(rng)) * d, (j + jitter(rng)) * d));
}

// The grid's nodes: 50 x 50 inside the square, off the lattice's lines.
API_Coord Node(int i, int j) {
    const double step = (kSide - 2.0) / (kGrid - 1);
    return API_Coord{1.0 + i * step + 0.123, 1.0 + j * step + 0.377};
}

// One host at a time (the module's table belongs to the latest); gone before the module's statics are.
using HostMesh = HostWithMesh<MeshInput>;
std::unique_ptr<HostMesh> current;
int64_t currentSize = 0;

HostMesh* MeshOf(int64_t triangles, std::string* why) {
    if (current && currentSize == triangles) return current.get();
    current.reset();
    auto m = std::make_unique<HostMesh>();
    MakeInput(triangles, &m->input);
    if (!m->Start("lodravix_siteobjects_bench", why)) return nullptr;
    current = std::move(m);
    currentSize = triangles;
    return current.get();
}

void BM_SpotHeightGrid(benchmark::State& state) {
    std::string why;
    HostMesh* m = MeshOf(state.range(0), &why);
    if (m == nullptr) return state.SkipWithError(why.c_str());
    MarkerCls cls(QV_String("Arial"));
    cls.element = m->mesh;
    if (!cls.outline.ReadFromElement(m->mesh.header, 0)) return state.SkipWithError("no outline");
    const API_Coord first = Node(0, 0), second = Node(1, 1);
    cls.settings.stepX = second.x - first.x;
    cls.settings.stepY = second.y - first.y;
    cls.grid.x0 = first.x;
    cls.grid.y0 = first.y;
    cls.grid.nx = cls.grid.ny = kGrid;
    for (auto _ : state) {
        bool ok = false;
        ACAPI_CallUndoableCommand(GS::UniString("grid"), [&] {
            ok = cls.SampleGridHeights();
            return NoError;
        });
        if (!ok || cls.gridHeights.GetCount() != kNodes) return state.SkipWithError("the pass failed");
        for (int32_t k = 0; k < kNodes; ++k)
            if (cls.gridHeights[k] == NoSpotHeight) return state.SkipWithError("a node got no height");
        m->log.str(std::string());
        benchmark::DoNotOptimize(cls.gridHeights[0]);
    }
    state.counters["nodes"] = kNodes;
}

void BM_CgalLocate(benchmark::State& state) {
    MeshInput in;
    MakeInput(state.range(0), &in);
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
        for (int j = 0; j < kGrid; ++j)
            for (int i = 0; i < kGrid; ++i) {
                const API_Coord c = Node(i, j);
                const K::Point_2 q(c.x, c.y);
                const Delaunay::Face_handle f = dt.locate(q);
                if (dt.is_infinite(f)) return state.SkipWithError("a node outside the triangulation");
                const K::Point_2 &a = f->vertex(0)->point(), &b = f->vertex(1)->point(), &d = f->vertex(2)->point();
                const double area = CGAL::area(a, b, d);
                const double u = CGAL::area(q, b, d) / area, v = CGAL::area(a, q, d) / area;
                sum += u * f->vertex(0)->info() + v * f->vertex(1)->info() + (1 - u - v) * f->vertex(2)->info();
            }
        benchmark::DoNotOptimize(sum);
    }
    state.counters["nodes"] = kNodes;
}

void Sizes(benchmark::internal::Benchmark* b) { b->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond); }

class RatioReporter : public TimesBySize {
public:
    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\n%10s %14s %14s %14s %10s\n", "triangles", "grid us/node", "growth", "CGAL us/node", "ratio");
        double smallest = 0.0;
        for (auto& [size, seconds] : seconds_) {
            std::map<std::string, double> times;
            for (const auto& [name, s] : seconds) times[name] = s * 1e6 / kNodes;
            const double module = times["BM_SpotHeightGrid"], cgal = times["BM_CgalLocate"];
            if (smallest == 0.0) smallest = module;
            std::printf("%10lld %14.2f %14.2f %14.4f %10.0f\n", static_cast<long long>(size), module,
                        smallest > 0 ? module / smallest : 0.0, cgal, cgal > 0 ? module / cgal : 0.0);
        }
    }
};

}  // namespace

BENCHMARK(BM_SpotHeightGrid)->Apply(Sizes);
BENCHMARK(BM_CgalLocate)->Apply(Sizes);

int main(int argc, char** argv) {
    return RunBenchmarks<RatioReporter>(argc, argv, [] { current.reset(); });
}
