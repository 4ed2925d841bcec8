// The main road at growing sizes, in-process through the stand-in host: the window of the real grid that
// examples/main_road.script imports (50 x 50 cells of 600 m), resampled bilinearly to k x k cells over the same
// 30 km square (10^3 to 10^5 points; 10^6 with --main_road_full, which takes minutes), then the script's steps:
// "ASC file import", "Outline", "Terrain" (the mesh and its 3D model), "Contour lines", a road, a level plateau,
// "Volume calculation" and the script's summary (the terrain's coverage and surface, each feature's volumes and what
// the earthworks move together). Each size runs in a child process of its own (a fresh host, the peak reset); a script
// command between the steps notes the time and the peak resident memory so far. --main_road_full also runs the
// whole real grid at the size users have it: warped to 60 m cells, 1.43 million cells of integers, half of them
// no-data (712,305 points); its outline is drawn round the points' box and runs through the points the corridor
// finds, and the road and plateau stand where they stand on the window.
//
// Peers in the same run, on the same grid: GDAL reading it (the import), CGAL's constrained Delaunay
// triangulation of the same points with the outline as its constraints (the mesh), and GDAL's contour generator
// (gdal_contour's API, 10 m levels) on the same grid (the contour lines). The closing table gives each step's
// seconds, microseconds per point, peak memory after it and the ratio to its peer.
#include "HugePageHeap.hpp"
#include "PeakMemory.hpp"
#include "RealGrid.hpp"
#include "ScriptSteps.hpp"
#include "TimesBySize.hpp"
#include "fileio/AscGridHeader.hpp"

#include <CGAL/Constrained_Delaunay_triangulation_2.h>
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <benchmark/benchmark.h>
#include <gdal.h>
#include <gdal_alg.h>
#include <ogr_api.h>

#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

using K = CGAL::Exact_predicates_inexact_constructions_kernel;
using CDT = CGAL::Constrained_Delaunay_triangulation_2<K, CGAL::Default, CGAL::Exact_predicates_tag>;

constexpr double kSide = 30000.0;  // the window's side in metres
constexpr int kSteps = 8;
const char* const kStepNames[kSteps] = {"import", "outline", "mesh",    "contours",
                                        "road",   "plateau", "volumes", "summary"};

constexpr int64_t kRealGrid = -60;  // the benchmark argument that stands for the real grid at 60 m

struct Grid {
    int nx = 0, ny = 0;
    double cell = 0;
    double xll = 0, yll = 0;
    std::vector<double> z;  // row-major, the north row first
    double noData = -32768;
    int64_t points = 0;         // cells with data
    double boxW = 0, boxH = 0;  // the points' box, its south-west corner moved to (0, 0) by the import
    double ox = 0, oy = 0;      // the window's south-west point there: the road and plateau stand on it
    std::string path;           // the grid written as an ASCII grid

    bool Has(int r, int c) const { return z[size_t(r) * size_t(nx) + size_t(c)] != noData; }
};

// The south-west point of examples/data/elev_window.asc (its south-west cell's centre, 300 m inside the corner),
// where the road's coordinates start.
constexpr double kWindowX = 277611.219768329640 + 300.0, kWindowY = 5492423.804358905181 + 300.0;

// The grid's header as the reader reads it from the file written below (xll and yll its corner).
ASCFile::GridHeader HeaderOf(const Grid& g) {
    ASCFile::GridHeader h;
    h.ncols = g.nx;
    h.nrows = g.ny;
    h.xll = g.xll;
    h.yll = g.yll;
    h.cellsize = g.cell;
    return h;
}

// The points' box and the window's place in it; a point of cell (r, c) lies at its centre, where the reader's
// header puts it.
void Place(Grid* g) {
    int cmin = g->nx, cmax = -1, rmin = g->ny, rmax = -1;
    g->points = 0;
    for (int r = 0; r < g->ny; ++r)
        for (int c = 0; c < g->nx; ++c)
            if (g->Has(r, c)) {
                ++g->points;
                cmin = std::min(cmin, c), cmax = std::max(cmax, c), rmin = std::min(rmin, r), rmax = std::max(rmax, r);
            }
    const ASCFile::GridHeader header = HeaderOf(*g);
    const double minX = header.CellX(size_t(cmin)), minY = header.CellY(size_t(rmax));
    g->boxW = g->cell * (cmax - cmin);
    g->boxH = g->cell * (rmax - rmin);
    g->ox = kWindowX - minX;
    g->oy = kWindowY - minY;
}

bool ReadGrid(GDALDatasetH ds, Grid* g) {
    double t[6];
    GDALGetGeoTransform(ds, t);
    g->nx = GDALGetRasterXSize(ds);
    g->ny = GDALGetRasterYSize(ds);
    g->cell = t[1];
    g->xll = t[0];
    g->yll = t[3] + t[5] * g->ny;
    g->z.resize(size_t(g->nx) * size_t(g->ny));
    GDALRasterBandH band = GDALGetRasterBand(ds, 1);
    int has = 0;
    const double noData = GDALGetRasterNoDataValue(band, &has);
    if (has) g->noData = noData;
    return GDALRasterIO(band, GF_Read, 0, 0, g->nx, g->ny, g->z.data(), g->nx, g->ny, GDT_Float64, 0, 0) == CE_None;
}

// The source window: 50 x 50 cells of 600 m read through GDAL (no no-data cells).
bool ReadWindow(Grid* g) {
    const std::string path = std::string(LODRAVIX_SOURCE_DIR) + "/examples/data/elev_window.asc";
    GDALDatasetH ds = GDALOpen(path.c_str(), GA_ReadOnly);
    if (ds == nullptr) return false;
    const bool ok = ReadGrid(ds, g);
    GDALClose(ds);
    return ok;
}

// k x k cells over the same square, each value interpolated between the four nearest source cell centres (the
// edge rows and columns held level), rounded to centimetres, as examples/data/elev_window_300m.asc was made.
Grid Resample(const Grid& src, int k, const std::string& folder) {
    Grid g;
    g.nx = g.ny = k;
    g.cell = kSide / k;
    g.xll = src.xll;
    g.yll = src.yll;
    g.z.resize(size_t(k) * size_t(k));
    auto at = [&](int r, int c) { return src.z[size_t(r) * size_t(src.nx) + size_t(c)]; };
    for (int r = 0; r < k; ++r)
        for (int c = 0; c < k; ++c) {
            const double fr = std::clamp((r + 0.5) * g.cell / src.cell - 0.5, 0.0, double(src.ny - 1));
            const double fc = std::clamp((c + 0.5) * g.cell / src.cell - 0.5, 0.0, double(src.nx - 1));
            const int r0 = std::min(int(fr), src.ny - 2), c0 = std::min(int(fc), src.nx - 2);
            const double dr = fr - r0, dc = fc - c0;
            const double v = (at(r0, c0) * (1 - dc) + at(r0, c0 + 1) * dc) * (1 - dr) +
                (at(r0 + 1, c0) * (1 - dc) + at(r0 + 1, c0 + 1) * dc) * dr;
            g.z[size_t(r) * size_t(k) + size_t(c)] = std::round(v * 100.0) / 100.0;
        }
    g.path = folder + "/window_" + std::to_string(k) + ".asc";
    std::ofstream out(g.path, std::ios::binary | std::ios::trunc);
    char line[512];
    out << "ncols " << k << "\nnrows " << k << "\n";
    std::snprintf(line, sizeof line, "xllcorner %.12f\nyllcorner %.12f\ncellsize %.12f\n", g.xll, g.yll, g.cell);
    out << line << "NODATA_value -32768\n";
    for (int r = 0; r < k; ++r) {
        for (int c = 0; c < k; ++c) {
            std::snprintf(line, sizeof line, " %.2f", g.z[size_t(r) * size_t(k) + size_t(c)]);
            out << line;
        }
        out << "\n";
    }
    Place(&g);
    return g;
}

// The real grid warped to `cell` metres, written by GDAL as an ASCII grid.
Grid RealGrid(double cell, const std::string& folder) {
    Grid g;
    const std::string name = "real_" + std::to_string(int(cell));
    GDALDatasetH fine = WarpRealGrid(std::string(LODRAVIX_SOURCE_DIR) + "/tests/data/asc/elev.asc", folder, cell,
                                     (name + ".tif").c_str());
    if (fine == nullptr) return g;
    g.path = folder + "/" + name + ".asc";
    GDALClose(GDALCreateCopy(GDALGetDriverByName("AAIGrid"), g.path.c_str(), fine, FALSE, nullptr, nullptr, nullptr));
    if (!ReadGrid(fine, &g)) g.z.clear();
    GDALClose(fine);
    if (!g.z.empty()) Place(&g);
    return g;
}

std::string Num(double v) {
    char s[32];
    std::snprintf(s, sizeof s, "%.3f", v);
    return s;
}

// The main road's script on the grid (as examples/main_road.script; the volume results depend on the size and
// are not checked here), with a "bench mark" line after each step.
std::string MainRoadScript(const Grid& g) {
    const double h = g.cell / 2;
    const std::string n = std::to_string(g.points);
    auto at = [&](double x, double y) { return Num(g.ox + x) + "," + Num(g.oy + y); };
    auto click = [&](double x, double y) { return "click " + Num(x) + " " + Num(y) + "\n"; };
    std::ostringstream s;
    s << "language AUT\nlibrary load \"@module/library\"\nload\nexpect loaded\nmenu 32501 1\ndialog 32400 click 2\n"
      << "bench mark\n"
      << "file-dialog " << g.path << "\ndialog 32569 set 20 0\ndialog 32569 set 22 0\ndialog 32575 click 5\n"
      << "expect elements " << n << " hotspot\nbench mark\n"
      << "dialog 32546 click 1\n"
      << click(-h, -h) << click(-h, g.boxH + h) << click(g.boxW + h, g.boxH + h) << click(g.boxW + h, -h)
      << click(-h, -h) << "dialog 32575 click 8\nexpect elements 1 fill\nbench mark\n"
      << "dialog 32547 click 1\ndialog 32575 click 9\nexpect alert \"Terrain has been created!\"\n"
      << "expect elements 1 mesh\nname T mesh\nbench mark\n"
      << "dialog 32549 click 1\ndialog 32575 click 10\nname CL VY_CONTOURLINES\nbench mark\n"
      << "place polyline P \"" << at(3000, 5000) << " " << at(15000, 12000) << " " << at(26000, 24000)
      << "\"\nselect P\ndialog 32400 click 3\n"
      << "dialog 32554 set 8 8\ndialog 32554 click 1\ndialog 32402 click 4\nname ROAD VY_ROAD 3\n"
      << "expect param ROAD operatore \"result\"\nbench mark\n"
      << "place fill H \"" << at(5000, 18000) << " " << at(11000, 18000) << " " << at(11000, 24000) << " "
      << at(5000, 24000) << "\"\nselect H\ndialog 32553 set 8 300\n"
      << "dialog 32553 click 1\ndialog 32402 click 3\nname PCUT VY_PLATEAU 1\nname PFILL VY_PLATEAU 2\n"
      << "name PLAT VY_PLATEAU 3\nexpect param PLAT livello 300\n"
      << "bench mark\n"
      << "dialog 32400 click 5\ndialog 32404 click 1\nname CL VY_CONTOURLINES\nexpect param-cells CL quantita 4\nbench "
         "mark\n"
      << "summary T CL\nbench mark\n"
      << "release\nexpect unloaded\n";
    return s.str();
}

std::string Folder() {
    const std::string folder = (std::filesystem::temp_directory_path() / "lodravix_main_road_bench").string();
    std::filesystem::create_directories(folder);
    return folder;
}

const Grid& GridOf(int64_t count) {
    static std::map<int64_t, Grid> grids;
    auto it = grids.find(count);
    if (it != grids.end()) return it->second;
    Grid g;
    Grid window;
    if (count == kRealGrid)
        g = RealGrid(60.0, Folder());
    else if (ReadWindow(&window))
        g = Resample(window, int(std::lround(std::sqrt(double(count)))), Folder());
    return grids[count] = std::move(g);
}

std::map<int64_t, ScriptSteps> roadFigures;
struct PeerFigures {
    double seconds = 0;
    double peakMiB = -1;
    double result = 0;  // cells read, triangles, contour lines
};
std::map<std::string, std::map<int64_t, PeerFigures>> peerFigures;

void BM_MainRoad(benchmark::State& state) {
    const Grid& g = GridOf(state.range(0));
    if (g.z.empty()) return state.SkipWithError("the window cannot be read");
    const std::string script = MainRoadScript(g);
    for (auto _ : state) {
        const ScriptSteps f = RunScriptSteps(script, Folder(), kSteps, "main_road.log");
        if (!f.passed)
            return state.SkipWithError("the main road failed (its log: main_road.log in the temporary folder)");
        roadFigures[g.points] = f;
        double total = 0;
        for (int s = 0; s < kSteps; ++s) total += f.seconds[size_t(s)];
        state.SetIterationTime(total);
    }
    state.counters["points"] = double(g.points);
}

// Runs a peer once in a child (its time and peak), kept under `name`.
template <class Work>
void RunPeer(benchmark::State& state, const char* name, const Work& work) {
    const Grid& g = GridOf(state.range(0));
    if (g.z.empty()) return state.SkipWithError("the window cannot be read");
    for (auto _ : state) {
        const PeerFigures f = InChildProcess<PeerFigures>([&](PeerFigures* out) {
            const double base = StatusKiB("VmRSS:");
            const auto start = std::chrono::steady_clock::now();
            out->result = work(g);
            out->seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            out->peakMiB = (StatusKiB("VmHWM:") - base) / 1024.0;
        });
        if (f.peakMiB < 0 || f.result <= 0) return state.SkipWithError("the peer failed");
        peerFigures[name][g.points] = f;
        state.SetIterationTime(f.seconds);
    }
}

// GDAL reads the grid file and lists its points with data, as the import reads them.
double GdalRead(const Grid& g) {
    GDALDatasetH ds = GDALOpen(g.path.c_str(), GA_ReadOnly);
    if (ds == nullptr) return 0;
    double t[6];
    GDALGetGeoTransform(ds, t);
    const int w = GDALGetRasterXSize(ds), h = GDALGetRasterYSize(ds);
    GDALRasterBandH band = GDALGetRasterBand(ds, 1);
    int hasNoData = 0;
    const double noData = GDALGetRasterNoDataValue(band, &hasNoData);
    std::vector<double> row(size_t(w), 0.0);
    std::vector<std::array<double, 3>> points;
    points.reserve(size_t(w) * size_t(h));
    for (int r = 0; r < h; ++r) {
        if (GDALRasterIO(band, GF_Read, 0, r, w, 1, row.data(), w, 1, GDT_Float64, 0, 0) != CE_None) break;
        for (int c = 0; c < w; ++c)
            if (!hasNoData || row[size_t(c)] != noData)
                points.push_back({t[0] + t[1] * c, t[3] + t[5] * r, row[size_t(c)]});
    }
    GDALClose(ds);
    return double(points.size());
}

// CGAL's constrained Delaunay triangulation of the grid's points with data (at the import's cell positions) with
// the four edges round the grid as constraints.
double CgalMesh(const Grid& g) {
    std::vector<K::Point_2> points;
    points.reserve(size_t(g.points));
    for (int r = 0; r < g.ny; ++r)
        for (int c = 0; c < g.nx; ++c)
            if (g.Has(r, c)) points.emplace_back(c * g.cell, (g.ny - 1 - r) * g.cell);
    const double h = g.cell / 2;
    const double x0 = -h, y0 = -h, x1 = g.cell * (g.nx - 1) + h, y1 = g.cell * (g.ny - 1) + h;
    const K::Point_2 ring[4] = {{x0, y0}, {x0, y1}, {x1, y1}, {x1, y0}};
    CDT cdt;
    cdt.insert(points.begin(), points.end());
    for (int i = 0; i < 4; ++i) cdt.insert_constraint(ring[i], ring[(i + 1) % 4]);
    return double(cdt.number_of_faces());
}

// GDAL's contour generator on the grid, 10 m levels, into an in-memory layer.
double GdalContours(const Grid& g) {
    GDALDatasetH ds = GDALOpen(g.path.c_str(), GA_ReadOnly);
    if (ds == nullptr) return 0;
    GDALDatasetH out = GDALCreate(GDALGetDriverByName("Memory"), "contours", 0, 0, 0, GDT_Unknown, nullptr);
    OGRLayerH layer = GDALDatasetCreateLayer(out, "contours", nullptr, wkbLineString25D, nullptr);
    OGRFieldDefnH id = OGR_Fld_Create("ID", OFTInteger), elev = OGR_Fld_Create("elev", OFTReal);
    OGR_L_CreateField(layer, id, TRUE);
    OGR_L_CreateField(layer, elev, TRUE);
    OGR_Fld_Destroy(id);
    OGR_Fld_Destroy(elev);
    GDALRasterBandH band = GDALGetRasterBand(ds, 1);
    int hasNoData = 0;
    const double noData = GDALGetRasterNoDataValue(band, &hasNoData);
    const CPLErr err =
        GDALContourGenerate(band, 10.0, 0.0, 0, nullptr, hasNoData, noData, layer, 0, 1, nullptr, nullptr);
    const double lines = err == CE_None ? double(OGR_L_GetFeatureCount(layer, TRUE)) : 0.0;
    GDALClose(out);
    GDALClose(ds);
    return lines;
}

void BM_GdalRead(benchmark::State& state) { RunPeer(state, "GDAL read", GdalRead); }
void BM_CgalConstrainedDelaunay(benchmark::State& state) { RunPeer(state, "CGAL CDT", CgalMesh); }
void BM_GdalContour(benchmark::State& state) { RunPeer(state, "gdal_contour", GdalContours); }

class RoadReporter : public TimesBySize {
public:
    void Finalize() override {
        ConsoleReporter::Finalize();
        const char* peerOf[kSteps] = {"GDAL read", nullptr, "CGAL CDT", "gdal_contour", nullptr, nullptr, nullptr};
        std::printf("\n%9s %-9s %10s %10s %10s %-13s %10s %9s %9s\n", "points", "step", "seconds", "us/point",
                    "peak MiB", "peer", "peer s", "peer MiB", "ratio");
        for (const auto& [count, f] : roadFigures) {
            double total = 0;
            for (int s = 0; s < kSteps; ++s) {
                total += f.seconds[size_t(s)];
                const PeerFigures* p = nullptr;
                if (peerOf[s] != nullptr && peerFigures[peerOf[s]].count(count)) p = &peerFigures[peerOf[s]][count];
                std::printf("%9lld %-9s %10.3f %10.2f %10.1f %-13s", static_cast<long long>(count), kStepNames[s],
                            f.seconds[size_t(s)], f.seconds[size_t(s)] * 1e6 / double(count), f.peakMiB[size_t(s)],
                            p != nullptr ? peerOf[s] : "-");
                if (p != nullptr)
                    std::printf(" %10.3f %9.1f %9.1f\n", p->seconds, p->peakMiB, f.seconds[size_t(s)] / p->seconds);
                else
                    std::printf("\n");
            }
            std::printf("%9lld %-9s %10.3f %10.2f %10.1f\n", static_cast<long long>(count), "total", total,
                        total * 1e6 / double(count), f.peakMiB[kSteps - 1]);
        }
    }
};

void Sizes(benchmark::internal::Benchmark* b) {
    for (int64_t n : {1024, 10000, 100489}) b->Arg(n);
    b->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
}

void FullSize(benchmark::internal::Benchmark* b) {
    b->Arg(1000000)->Arg(kRealGrid)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
}

}  // namespace

int main(int argc, char** argv) {
    // The host's heap as standin-host has it; the peers, run in children of this process, on the same pages.
    RunWithHugePageHeap(argv);
    // --main_road_full adds the 10^6-point runs and the real grid at 60 m (minutes).
    const bool full = TakeFlag(argc, argv, "--main_road_full");
    GDALAllRegister();
    for (auto* b : {benchmark::RegisterBenchmark("BM_MainRoad", BM_MainRoad),
                    benchmark::RegisterBenchmark("BM_GdalRead", BM_GdalRead),
                    benchmark::RegisterBenchmark("BM_CgalConstrainedDelaunay", BM_CgalConstrainedDelaunay),
                    benchmark::RegisterBenchmark("BM_GdalContour", BM_GdalContour)}) {
        b->Apply(Sizes);
        if (full) b->Apply(FullSize);
    }
    return RunBenchmarks<RoadReporter>(argc, argv);
}
