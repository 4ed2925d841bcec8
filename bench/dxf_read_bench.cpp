// The DXF reader on about 50,000 entities, beside GDAL's DXF driver reading every feature of the same file in the
// same run. At start the real contour lines (tests/data/dxf/contours.dxf) are copied side by side, each copy moved
// east by the drawing's width, and written by GDAL as one DXF. Our read is what the import runs once its dialogs
// are answered (every layer with points and constraints): the layer pass, the entity pass with the stores and the
// final pass; it is timed again without the constraint store, and the layer pass alone, to show their shares.
// GDAL's read does the same work: it opens the file and keeps every feature's geometry (taken from the feature,
// not copied) until the read is over, as our read keeps its lists; asking OGR to skip the attribute fields changes
// nothing measurable, so it reads with its defaults. The run ends with the milliseconds, the ratios to GDAL and the
// peak memory each read adds (measured once in a child process).
#include "PeakMemory.hpp"
#include "TimesBySize.hpp"
#include "fileio/DXFFileCls.hpp"

#include <gdal.h>
#include <ogr_api.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int EntitiesWanted = 50000;

struct Files {
    std::string dir, dxf;
    int64_t entities = 0;
    std::string why;
};

Files MakeFiles() {
    Files f;
    GDALAllRegister();
    char tmpl[] = "/tmp/lodravix-dxf-bench-XXXXXX";
    if (mkdtemp(tmpl) == nullptr) return f.why = "no temporary folder", f;
    f.dir = tmpl;
    f.dxf = f.dir + "/contours_50k.dxf";
    GDALDatasetH src =
        GDALOpenEx(LODRAVIX_TEST_DATA_DIR "/dxf/contours.dxf", GDAL_OF_VECTOR, nullptr, nullptr, nullptr);
    if (src == nullptr) return f.why = "cannot open contours.dxf", f;
    OGRLayerH in = GDALDatasetGetLayer(src, 0);
    OGREnvelope box;
    OGR_L_GetExtent(in, &box, TRUE);
    const double width = box.MaxX - box.MinX + 100.0;
    const int copies = int(EntitiesWanted / std::max<GIntBig>(1, OGR_L_GetFeatureCount(in, TRUE))) + 1;
    GDALDatasetH out = GDALCreate(GDALGetDriverByName("DXF"), f.dxf.c_str(), 0, 0, 0, GDT_Unknown, nullptr);
    if (out == nullptr) return GDALClose(src), f.why = "cannot write the DXF", f;
    OGRLayerH layer = GDALDatasetCreateLayer(out, "entities", nullptr, wkbUnknown, nullptr);
    for (int c = 0; c < copies && f.entities < EntitiesWanted; ++c) {
        OGR_L_ResetReading(in);
        while (OGRFeatureH feature = OGR_L_GetNextFeature(in)) {
            OGRGeometryH g = OGR_G_Clone(OGR_F_GetGeometryRef(feature));
            for (int i = 0, n = OGR_G_GetPointCount(g); i < n; ++i)
                OGR_G_SetPoint(g, i, OGR_G_GetX(g, i) + c * width, OGR_G_GetY(g, i), OGR_G_GetZ(g, i));
            OGRFeatureH copy = OGR_F_Create(OGR_L_GetLayerDefn(layer));
            OGR_F_SetGeometryDirectly(copy, g);
            if (OGR_L_CreateFeature(layer, copy) == OGRERR_NONE) ++f.entities;
            OGR_F_Destroy(copy);
            OGR_F_Destroy(feature);
            if (f.entities >= EntitiesWanted) break;
        }
    }
    GDALClose(out);
    GDALClose(src);
    return f;
}

const Files& TheFiles() {
    static const Files files = MakeFiles();
    return files;
}

// `constraints` off leaves the constraint store out (the layers give points only).
size_t ReadOurs(const std::string& path, bool constraints) {
    DXFFileCls reader;
    reader.path = QV_String(path.c_str(), Encoding_UTF8);
    int32_t error = 0;
    if (!reader.OpenAtEntities(error) || !reader.ReadLayers(error)) return 0;
    // The layer dialog's answer: everything, with constraints.
    for (DXFFileLayer& layer : reader.layers) layer.import = 1, layer.constraint = constraints ? 1 : 0;
    reader.ResetEntities();
    if (!reader.OpenAtEntities(error) || !reader.ReadEntities(error)) return 0;
    reader.CloseReaderFile();
    return reader.vertices.size() + reader.pointEntities.size();
}

// The first pass alone: what the layer dialog is shown.
size_t ReadLayerPass(const std::string& path) {
    DXFFileCls reader;
    reader.path = QV_String(path.c_str(), Encoding_UTF8);
    int32_t error = 0;
    if (!reader.OpenAtEntities(error) || !reader.ReadLayers(error)) return 0;
    reader.CloseReaderFile();
    return reader.layers.size();
}

// Every geometry kept until the end, as the import keeps every line; the count of their points is the answer.
size_t ReadGdal(const std::string& path) {
    GDALDatasetH ds = GDALOpenEx(path.c_str(), GDAL_OF_VECTOR, nullptr, nullptr, nullptr);
    if (ds == nullptr) return 0;
    std::vector<OGRGeometryH> kept;
    size_t points = 0;
    OGRLayerH layer = GDALDatasetGetLayer(ds, 0);
    while (OGRFeatureH feature = OGR_L_GetNextFeature(layer)) {
        if (OGRGeometryH g = OGR_F_StealGeometry(feature)) {
            points += size_t(OGR_G_GetPointCount(g));
            kept.push_back(g);
        }
        OGR_F_Destroy(feature);
    }
    GDALClose(ds);
    for (OGRGeometryH g : kept) OGR_G_DestroyGeometry(g);
    return points;
}

void Run(benchmark::State& state, const std::function<size_t(const std::string&)>& read) {
    const Files& files = TheFiles();
    if (!files.why.empty()) {
        state.SkipWithError(files.why.c_str());
        return;
    }
    size_t points = 0;
    for (auto _ : state) benchmark::DoNotOptimize(points = read(files.dxf));
    state.counters["points"] = double(points);
}

int64_t Size() { return TheFiles().entities; }

void BM_DxfFileRead(benchmark::State& s) {
    Run(s, [](const std::string& path) { return ReadOurs(path, true); });
}
void BM_DxfFileReadPointsOnly(benchmark::State& s) {
    Run(s, [](const std::string& path) { return ReadOurs(path, false); });
}
void BM_DxfLayerPass(benchmark::State& s) { Run(s, ReadLayerPass); }
void BM_GdalDxf(benchmark::State& s) { Run(s, ReadGdal); }

class RatioReporter : public TimesBySize {
public:
    void Finalize() override {
        ConsoleReporter::Finalize();
        if (!TheFiles().why.empty()) return;
        const std::string& path = TheFiles().dxf;
        std::printf("\n%10s %24s %16s %8s %10s\n", "entities", "read", "ms (GDAL ms)", "ratio", "peak MiB");
        for (auto& [size, seconds] : seconds_) {
            const double b = seconds["BM_GdalDxf"] * 1e3;
            const std::pair<const char*, const char*> rows[] = {{"BM_DxfFileRead", "DXF, all stores"},
                                                                {"BM_DxfFileReadPointsOnly", "DXF, no constraints"},
                                                                {"BM_DxfLayerPass", "DXF, layer pass"}};
            for (const auto& [name, what] : rows) {
                const double a = seconds[name] * 1e3;
                const std::string n = name;
                const double peak = PeakMiB([&] {
                    return n == "BM_DxfLayerPass" ? ReadLayerPass(path) : ReadOurs(path, n == "BM_DxfFileRead");
                });
                std::printf("%10lld %24s %7.1f (%6.1f) %8.2f %10.1f\n", static_cast<long long>(size), what, a, b,
                            b > 0 ? a / b : 0.0, peak);
            }
            std::printf("%10lld %24s %16s %8s %10.1f\n", static_cast<long long>(size), "GDAL", "", "",
                        PeakMiB([&] { return ReadGdal(path); }));
            std::printf("raw coordinates: %.1f MiB (x, y, z of every point GDAL reads)\n",
                        double(ReadGdal(path)) * 24.0 / 1048576.0);
        }
    }
};

}  // namespace

BENCHMARK(BM_DxfFileRead)->Arg(Size())->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DxfFileReadPointsOnly)->Arg(Size())->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DxfLayerPass)->Arg(Size())->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GdalDxf)->Arg(Size())->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return RunBenchmarks<RatioReporter>(argc, argv, [] {
        if (!TheFiles().dir.empty()) {
            std::error_code ec;
            std::filesystem::remove_all(TheFiles().dir, ec);
        }
    });
}
