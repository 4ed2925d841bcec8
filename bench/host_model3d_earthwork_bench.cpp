// The volume of a terrain mesh cut and filled by a plateau (a box that subtracts upwards, 300 to 600, and one
// that joins, 175 to 300, over a 6 x 6 km square of a 30 km terrain, as in the main road), 10^3 to 10^5 points
// (10^6 with --earthwork_full): the stand-in host's volume from its surface (the solid under it, the columns near
// the boxes taken apart, the two solid operations on them, the exact volume; the solid itself built beforehand,
// as the peer's is) against CGAL's corefinement of the same solids alone (the whole terrain's solid, already a
// surface mesh, the box's upward extrusion taken away, the fill box joined, the volume). The closing table gives each one's seconds, the ratio and the peak memory
// each adds, measured in a child process of its own.
#include "APIInteraction.hpp"
#include "PeakMemory.hpp"
#include "TimesBySize.hpp"
#include "model3d/ElementModels.hpp"
#include "model3d/ExactSolid.hpp"
#include "assembly/HostProject.hpp"

#include <CGAL/Polygon_mesh_processing/corefinement.h>
#include <CGAL/Polygon_mesh_processing/measure.h>
#include <CGAL/Polygon_mesh_processing/polygon_mesh_to_polygon_soup.h>
#include <benchmark/benchmark.h>

#include <ctime>
#include <cmath>
#include <cstdio>
#include <malloc.h>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr double kSide = 30000.0;

// Jittered lattice points over the square with a terrain of hills between 150 and 450.
std::vector<API_Coord3D> TerrainPoints(int64_t count) {
    const int n = std::max(2, int(std::lround(std::sqrt(double(count)))));
    const double step = kSide / (n - 1);
    std::mt19937 rng(17);
    std::uniform_real_distribution<double> jitter(-0.3 * step, 0.3 * step);
    std::vector<API_Coord3D> points;
    points.reserve(size_t(n) * size_t(n));
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            const bool edge = i == 0 || j == 0 || i == n - 1 || j == n - 1;
            const double x = i * step + (edge ? 0.0 : jitter(rng)), y = j * step + (edge ? 0.0 : jitter(rng));
            points.push_back({x, y, 300.0 + 150.0 * std::sin(x / 3100.0) * std::cos(y / 4300.0)});
        }
    return points;
}

// A slab over the plateau's square from `bottom` to `top`.
API_Guid PlateauSlab(ProjectDatabase& db, double bottom, double top) {
    API_Element e = {};
    e.header.typeID = API_SlabID;
    db.GetDefaults(&e, nullptr);
    e.slab.level = top;
    e.slab.thickness = top - bottom;
    StoredMemo memo;
    memo.coords =
        std::vector<API_Coord>{{0, 0}, {5000, 18000}, {11000, 18000}, {11000, 24000}, {5000, 24000}, {5000, 18000}};
    memo.pends = std::vector<int32_t>{0, 5};
    e.slab.poly.nCoords = 5;
    e.slab.poly.nSubPolys = 1;
    db.PlaceElement(&e, memo, "", "Place Slab");
    return e.header.guid;
}

// A project with the terrain, its surface built, and the plateau's two slabs linked to it.
struct Scene {
    std::unique_ptr<HostProject> project = std::make_unique<HostProject>();
    API_Guid mesh = {}, cut = {}, fill = {};
    explicit Scene(int64_t count) {
        ProjectDatabase& db = project->database;
        db.PlaceMeshFromPoints(TerrainPoints(count), 1, "T", &mesh);
        API_Box3D box;
        project->models.Bounds(mesh, &box);
        cut = PlateauSlab(db, 300.0, 600.0);
        fill = PlateauSlab(db, 175.0, 300.0);
        db.RunUndoableCommand("Link", [&] {
            const GSErrCode err = db.CreateSolidLink(mesh, cut, APISolid_SubtractUpwards, 1);
            return err != NoError ? err : db.CreateSolidLink(mesh, fill, APISolid_Add, 1);
        });
        // The solid under the surface is built, as the peer's is.
        std::string why;
        project->models.MeshSolidOf(mesh, &why);
    }
    double HostVolume() {
        double v = 0.0;
        std::string why;
        project->volumes.Volume(project->database, project->models, mesh, &v, &why);
        return v;
    }
};

// The same solids for CGAL alone: the terrain's (as the host builds it, floor included) and the two boxes.
struct PeerSolids {
    ExactSolid terrain, above, fill;
    explicit PeerSolids(Scene& scene) {
        std::string why;
        std::shared_ptr<const ModelBody> base = scene.project->models.MeshSolidOf(scene.mesh, &why);
        SolidFromBody(*base, &terrain);
        ExactSolid cut;
        SolidFromBody(scene.project->models.ModelOf(scene.cut, &why)->bodies[0], &cut);
        Extruded(cut, Extrusion::Upward, 1000.0, &above);
        SolidFromBody(scene.project->models.ModelOf(scene.fill, &why)->bodies[0], &fill);
    }
    double Volume() {
        namespace PMP = CGAL::Polygon_mesh_processing;
        PMP::corefine_and_compute_difference(terrain, above, terrain);
        PMP::corefine_and_compute_union(terrain, fill, terrain);
        return CGAL::to_double(PMP::volume(terrain));
    }
};

// Each run times `work` alone on a fresh scene and its peer's solids (made untimed; `prepare` untimed too).
template <class Prepare, class Work>
void TimedRuns(benchmark::State& state, bool peerSolids, const Prepare& prepare, const Work& work) {
    for (auto _ : state) {
        state.PauseTiming();
        auto scene = std::make_unique<Scene>(state.range(0));
        auto peer = peerSolids ? std::make_unique<PeerSolids>(*scene) : nullptr;
        prepare(*scene, peer.get());
        state.ResumeTiming();
        work(*scene, peer.get());
        state.PauseTiming();
        peer.reset();
        scene.reset();
        state.ResumeTiming();
    }
}

void Nothing(Scene&, PeerSolids*) {}

void BM_HostVolume(benchmark::State& state) {
    TimedRuns(state, false, Nothing, [](Scene& s, PeerSolids*) { benchmark::DoNotOptimize(s.HostVolume()); });
}

void BM_CgalCorefinement(benchmark::State& state) {
    TimedRuns(state, true, Nothing, [](Scene&, PeerSolids* p) { benchmark::DoNotOptimize(p->Volume()); });
}

// The model's one body read back after the volume: the columns left out stitched to the computed part.
void BM_HostModelBody(benchmark::State& state) {
    TimedRuns(
        state, false, [](Scene& s, PeerSolids*) { s.HostVolume(); },
        [](Scene& s, PeerSolids*) {
            std::string why;
            benchmark::DoNotOptimize(s.project->models.ModelOf(s.mesh, &why));
        });
}

// CGAL's result read out as points and polygons.
void BM_CgalSoup(benchmark::State& state) {
    TimedRuns(
        state, true, [](Scene&, PeerSolids* p) { p->Volume(); },
        [](Scene&, PeerSolids* p) {
            std::vector<ExactPoint> points;
            std::vector<std::vector<std::size_t>> polygons;
            CGAL::Polygon_mesh_processing::polygon_mesh_to_polygon_soup(p->terrain, points, polygons);
            std::vector<ModelPoint> doubles;
            doubles.reserve(points.size());
            for (const ExactPoint& q : points)
                doubles.push_back({CGAL::to_double(q.x()), CGAL::to_double(q.y()), CGAL::to_double(q.z())});
            benchmark::DoNotOptimize(doubles.data());
        });
}

struct Figures {
    double cpuSeconds, mib, volume;
};

// Forgets the peak so far: what follows measures its own.
void ResetPeak() {
    if (FILE* f = std::fopen("/proc/self/clear_refs", "w")) {
        std::fputs("5", f);
        std::fclose(f);
    }
}

class Reporter : public TimesBySize {
public:
    ~Reporter() override {
        std::printf("\n%10s %10s %10s %8s %10s %10s %8s %10s %10s %8s %14s\n", "points", "host s", "CGAL s", "ratio",
                    "host cpu", "CGAL cpu", "ratio", "host MiB", "CGAL MiB", "body", "volumes agree");
        for (const auto& [size, runs] : seconds_) {
            // CPU time, peak memory and the answer, each side once in a child of its own from the same scene (the
            // machine's other work makes wall times wander): the host's volume, or the peer's solids made and
            // operated on.
            const auto measure = [&](bool host) {
                return InChildProcess<Figures>([&](Figures* f) {
                    Scene scene(size);
                    malloc_trim(0);
                    ResetPeak();
                    const double before = StatusKiB("VmRSS:");
                    const std::clock_t start = std::clock();
                    double v = 0.0;
                    if (host) {
                        v = scene.HostVolume();
                    } else {
                        PeerSolids peer(scene);
                        v = peer.Volume();
                    }
                    f->cpuSeconds = double(std::clock() - start) / CLOCKS_PER_SEC;
                    f->mib = (StatusKiB("VmHWM:") - before) / 1024.0;
                    f->volume = v;
                });
            };
            const Figures h = measure(true), p = measure(false);
            const auto at = [&](const char* name) {
                const auto it = runs.find(name);
                return it == runs.end() ? 0.0 : it->second;
            };
            const double hs = at("BM_HostVolume"), ps = at("BM_CgalCorefinement");
            const double hb = at("BM_HostModelBody"), pb = at("BM_CgalSoup");
            std::printf("%10lld %10.4f %10.4f %8.3f %10.4f %10.4f %8.3f %10.1f %10.1f %8.3f %14.3g\n",
                        static_cast<long long>(size), hs, ps, ps > 0 ? hs / ps : 0.0, h.cpuSeconds, p.cpuSeconds,
                        p.cpuSeconds > 0 ? h.cpuSeconds / p.cpuSeconds : 0.0, h.mib, p.mib, pb > 0 ? hb / pb : 0.0,
                        std::abs(h.volume - p.volume) / std::max(1.0, std::abs(p.volume)));
        }
        std::printf("(s: wall per run; cpu: one run in a child; body: the host's body read back against CGAL's "
                    "result read out, as a ratio)\n");
    }
};

}  // namespace

int main(int argc, char** argv) {
    const bool full = TakeFlag(argc, argv, "--earthwork_full");
    std::vector<int64_t> sizes = {1000, 10000, 100000};
    if (full) sizes.push_back(1000000);
    for (int64_t n : sizes)
        for (const auto& [name, fn] : std::vector<std::pair<const char*, void (*)(benchmark::State&)>>{
                 {"BM_HostVolume", BM_HostVolume},
                 {"BM_CgalCorefinement", BM_CgalCorefinement},
                 {"BM_HostModelBody", BM_HostModelBody},
                 {"BM_CgalSoup", BM_CgalSoup}})
            benchmark::RegisterBenchmark(name, fn)
                ->Arg(n)
                ->Unit(benchmark::kMillisecond)
                ->Iterations(n > 10000 ? 1 : 3);
    return RunBenchmarks<Reporter>(argc, argv);
}
