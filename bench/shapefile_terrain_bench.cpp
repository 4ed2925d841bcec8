// The shapefile terrain import at growing sizes, in-process through the stand-in host, as
// examples/shapefile_terrain.script runs it: "SHAPE file import" as terrain input, a node distance of 50 m with
// contours, so every kept vertex becomes a terrain point and each segment a constraint line, crossing ones dropped.
// The input is the real contours of the examples (tests/data/shp/contours.shp: 753 lines of GDAL's gdal_contour, 19,992 vertices)
// written by GDAL into one shapefile, copied side by side (each copy moved east) until it holds about the size's
// number of segments: 10^3, 10^4, one copy, ten copies (the "ten times that data"); 10^6 with
// --shapefile_terrain_full. Beside it GDAL's Shapefile driver reads every vertex and field of the same file. At the
// end the run prints the seconds, the points and lines made, microseconds per line, the peak memory and the ratio
// to GDAL's read.
#include "PeakMemory.hpp"
#include "ScriptSteps.hpp"
#include "TimesBySize.hpp"

#include <benchmark/benchmark.h>
#include <gdal.h>
#include <ogr_api.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

namespace {

std::string Folder() {
    const std::string folder = (std::filesystem::temp_directory_path() / "lodravix_shapefile_terrain_bench").string();
    std::filesystem::create_directories(folder);
    return folder;
}

// The contours copied into data_<segments>.shp until it holds at least `segments` segments; its path ("" when
// GDAL cannot read or write).
std::string MakeShapefile(int64_t segments) {
    const std::string path = Folder() + "/data_" + std::to_string(segments) + ".shp";
    if (std::filesystem::exists(path)) return path;
    GDALDatasetH src = GDALOpenEx((std::string(LODRAVIX_SOURCE_DIR) + "/tests/data/shp/contours.shp").c_str(),
                                  GDAL_OF_VECTOR, nullptr, nullptr, nullptr);
    if (src == nullptr) return "";
    OGRLayerH in = GDALDatasetGetLayer(src, 0);
    OGREnvelope box;
    OGR_L_GetExtent(in, &box, TRUE);
    GDALDatasetH dst = GDALCreate(GDALGetDriverByName("ESRI Shapefile"), path.c_str(), 0, 0, 0, GDT_Unknown, nullptr);
    if (dst == nullptr) return GDALClose(src), "";
    OGRLayerH out = GDALDatasetCreateLayer(dst, "data", nullptr, wkbLineString25D, nullptr);
    OGRFeatureDefnH defn = OGR_L_GetLayerDefn(in);
    for (int f = 0; f < OGR_FD_GetFieldCount(defn); ++f) OGR_L_CreateField(out, OGR_FD_GetFieldDefn(defn, f), TRUE);
    int64_t made = 0;
    for (int copy = 0; made < segments; ++copy) {
        const double dx = copy * (box.MaxX - box.MinX + 1000.0);
        OGR_L_ResetReading(in);
        for (OGRFeatureH f; made < segments && (f = OGR_L_GetNextFeature(in)) != nullptr;) {
            OGRFeatureH g = OGR_F_Create(OGR_L_GetLayerDefn(out));
            OGR_F_SetFrom(g, f, TRUE);
            OGRGeometryH geometry = OGR_F_GetGeometryRef(g);
            for (int i = 0; i < OGR_G_GetPointCount(geometry); ++i)
                OGR_G_SetPoint(geometry, i, OGR_G_GetX(geometry, i) + dx, OGR_G_GetY(geometry, i),
                               OGR_G_GetZ(geometry, i));
            made += std::max(0, OGR_G_GetPointCount(geometry) - 1);
            if (OGR_L_CreateFeature(out, g) != OGRERR_NONE) made = segments;
            OGR_F_Destroy(g);
            OGR_F_Destroy(f);
        }
    }
    GDALClose(dst);
    GDALClose(src);
    return path;
}

// The import's part of examples/shapefile_terrain.script, with the clock around it.
std::string ImportScript(const std::string& shp) {
    return "library load \"@module/library\"\nload\nexpect loaded\nmenu 32501 1\ndialog 32400 click 2\n"
           "dialog 32530 click 4\nfile-dialog " +
        shp +
        "\ndialog 32572 set 7 50\ndialog 32572 set 8 1\ndialog 32572/3/1 set 16 0\ndialog 32572/3/1 set 19 0\n"
        "dialog 32572 click 1\nbench mark\ndialog 32401 click 3\nbench mark\nexpect undo-steps 1\n"
        "expect alerts 0\nrelease\nexpect unloaded\n";
}

std::map<int64_t, ScriptSteps> importFigures;
struct PeerFigures {
    double seconds = 0;
    double peakMiB = -1;
    double vertices = 0;
};
std::map<int64_t, PeerFigures> gdalFigures;

void BM_ShapefileTerrainImport(benchmark::State& state) {
    const std::string shp = MakeShapefile(state.range(0));
    if (shp.empty()) return state.SkipWithError("the shapefile cannot be made");
    for (auto _ : state) {
        const ScriptSteps f = RunScriptSteps(ImportScript(shp), Folder(), 1, "import.log");
        if (!f.passed) return state.SkipWithError("the import failed (its log: import.log in the temporary folder)");
        importFigures[state.range(0)] = f;
        state.SetIterationTime(f.seconds[0]);
    }
}

// GDAL reads every shape's vertices and every field of the same file.
void BM_OgrShapefile(benchmark::State& state) {
    const std::string shp = MakeShapefile(state.range(0));
    if (shp.empty()) return state.SkipWithError("the shapefile cannot be made");
    for (auto _ : state) {
        const PeerFigures f = InChildProcess<PeerFigures>([&](PeerFigures* out) {
            const double base = StatusKiB("VmRSS:");
            const auto start = std::chrono::steady_clock::now();
            GDALDatasetH ds = GDALOpenEx(shp.c_str(), GDAL_OF_VECTOR, nullptr, nullptr, nullptr);
            if (ds == nullptr) return;
            OGRLayerH layer = GDALDatasetGetLayer(ds, 0);
            double sum = 0;
            for (OGRFeatureH f; (f = OGR_L_GetNextFeature(layer)) != nullptr; OGR_F_Destroy(f)) {
                for (int i = 0; i < OGR_F_GetFieldCount(f); ++i) sum += OGR_F_GetFieldAsDouble(f, i);
                OGRGeometryH g = OGR_F_GetGeometryRef(f);
                for (int i = 0; i < OGR_G_GetPointCount(g); ++i) sum += OGR_G_GetZ(g, i);
                out->vertices += OGR_G_GetPointCount(g);
            }
            benchmark::DoNotOptimize(sum);
            GDALClose(ds);
            out->seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            out->peakMiB = (StatusKiB("VmHWM:") - base) / 1024.0;
        });
        if (f.vertices <= 0) return state.SkipWithError("GDAL cannot read the shapefile");
        gdalFigures[state.range(0)] = f;
        state.SetIterationTime(f.seconds);
    }
}

class ImportReporter : public TimesBySize {
public:
    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\n%9s %9s %9s %10s %10s %10s %10s %10s %8s\n", "segments", "points", "lines", "import s",
                    "us/line", "peak MiB", "GDAL s", "GDAL MiB", "ratio");
        for (const auto& [size, f] : importFigures) {
            const PeerFigures* g = gdalFigures.count(size) ? &gdalFigures[size] : nullptr;
            std::printf("%9lld %9lld %9lld %10.3f %10.2f %10.1f", static_cast<long long>(size),
                        static_cast<long long>(f.hotspots[0]), static_cast<long long>(f.lines[0]), f.seconds[0],
                        f.seconds[0] * 1e6 / double(std::max<int64_t>(1, f.lines[0])), f.peakMiB[0]);
            if (g != nullptr)
                std::printf(" %10.3f %10.1f %8.1f\n", g->seconds, g->peakMiB, f.seconds[0] / g->seconds);
            else
                std::printf("\n");
        }
    }
};

}  // namespace

int main(int argc, char** argv) {
    // --shapefile_terrain_full adds 10^6 segments (minutes).
    const bool full = TakeFlag(argc, argv, "--shapefile_terrain_full");
    GDALAllRegister();
    for (auto* b : {benchmark::RegisterBenchmark("BM_ShapefileTerrainImport", BM_ShapefileTerrainImport),
                    benchmark::RegisterBenchmark("BM_OgrShapefile", BM_OgrShapefile)}) {
        // 10^3 and 10^4 segments, one copy of the contours (19,239 segments) and ten.
        for (int64_t n : {1000, 10000, 19239, 192390}) b->Arg(n);
        if (full) b->Arg(1000000);
        b->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
    }
    return RunBenchmarks<ImportReporter>(argc, argv);
}
