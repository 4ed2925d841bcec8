// The shapefile readers (main file and table, as the import runs them) on about 100,000 vertices, beside GDAL's
// Shapefile driver and shapelib reading every shape and every value of the same file in the same run. At start
// the real contours of the tests (tests/data/shp/contours.*) are written by GDAL five times over, each copy moved
// east, into one shapefile. At the end the run prints the milliseconds and the ratio to each peer.
#include "PeakMemory.hpp"
#include "TimesBySize.hpp"
#include "fileio/DBFTable.hpp"
#include "fileio/SHPFileData.hpp"

#include <gdal.h>
#include <ogr_api.h>
#ifdef LODRAVIX_HAVE_SHAPELIB
#include <shapefil.h>
#endif

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

namespace {

constexpr int Copies = 5;

struct Files {
    std::string dir, shp;
    int64_t vertices = 0;
    std::string why;
};

Files MakeFiles() {
    Files f;
    GDALAllRegister();
    char tmpl[] = "/tmp/lodravix-shp-bench-XXXXXX";
    if (mkdtemp(tmpl) == nullptr) return f.why = "no temporary folder", f;
    f.dir = tmpl;
    f.shp = f.dir + "/contours5.shp";
    GDALDatasetH src =
        GDALOpenEx(LODRAVIX_TEST_DATA_DIR "/shp/contours.shp", GDAL_OF_VECTOR, nullptr, nullptr, nullptr);
    if (src == nullptr) return f.why = "cannot open contours.shp", f;
    OGRLayerH in = GDALDatasetGetLayer(src, 0);
    GDALDatasetH dst = GDALCreate(GDALGetDriverByName("ESRI Shapefile"), f.shp.c_str(), 0, 0, 0, GDT_Unknown, nullptr);
    if (dst == nullptr) return GDALClose(src), f.why = "cannot create the shapefile", f;
    OGRLayerH out = GDALDatasetCreateLayer(dst, "contours5", OGR_L_GetSpatialRef(in), wkbLineString25D, nullptr);
    OGRFeatureDefnH def = OGR_L_GetLayerDefn(in);
    for (int i = 0; i < OGR_FD_GetFieldCount(def); ++i) OGR_L_CreateField(out, OGR_FD_GetFieldDefn(def, i), TRUE);
    for (int copy = 0; copy < Copies; ++copy) {
        OGR_L_ResetReading(in);
        while (OGRFeatureH feature = OGR_L_GetNextFeature(in)) {
            OGRGeometryH g = OGR_F_GetGeometryRef(feature);
            f.vertices += OGR_G_GetPointCount(g);
            for (int k = 0; k < OGR_G_GetPointCount(g); ++k)
                OGR_G_SetPoint(g, k, OGR_G_GetX(g, k) + copy * 100000.0, OGR_G_GetY(g, k), OGR_G_GetZ(g, k));
            OGRFeatureH copied = OGR_F_Create(OGR_L_GetLayerDefn(out));
            OGR_F_SetFrom(copied, feature, TRUE);
            if (OGR_L_CreateFeature(out, copied) != OGRERR_NONE) f.why = "cannot write the shapefile";
            OGR_F_Destroy(copied);
            OGR_F_Destroy(feature);
        }
    }
    GDALClose(dst);
    GDALClose(src);
    return f;
}

const Files& TheFiles() {
    static const Files files = MakeFiles();
    return files;
}

// As the import reads: the table, then the shapes.
size_t ReadOurs(const std::string& path) {
    SHPFileData data;
    data.path = QV_String(path.c_str(), Encoding_UTF8);
    QV_List<DBFFieldData> fields;
    DBFValueList values;
    ReadReport report;
    if (!ReadDBFFile(TablePathOf(data.path), fields, values, NullReaderProgress(), report) || !data.Read()) return 0;
    size_t n = 0;
    for (const GISPolyZ& s : data.polyLinesZ) n += size_t(s.points.GetCount());
    return n;
}

// Every feature with its vertices and every value as text.
size_t ReadOgr(const std::string& path) {
    GDALDatasetH ds = GDALOpenEx(path.c_str(), GDAL_OF_VECTOR, nullptr, nullptr, nullptr);
    if (ds == nullptr) return 0;
    OGRLayerH layer = GDALDatasetGetLayer(ds, 0);
    const int fields = OGR_FD_GetFieldCount(OGR_L_GetLayerDefn(layer));
    size_t n = 0;
    double sum = 0;
    while (OGRFeatureH feature = OGR_L_GetNextFeature(layer)) {
        OGRGeometryH g = OGR_F_GetGeometryRef(feature);
        for (int k = 0; k < OGR_G_GetPointCount(g); ++k) sum += OGR_G_GetX(g, k) + OGR_G_GetY(g, k) + OGR_G_GetZ(g, k);
        n += size_t(OGR_G_GetPointCount(g));
        for (int i = 0; i < fields; ++i) benchmark::DoNotOptimize(OGR_F_GetFieldAsString(feature, i));
        OGR_F_Destroy(feature);
    }
    benchmark::DoNotOptimize(sum);
    GDALClose(ds);
    return n;
}

#ifdef LODRAVIX_HAVE_SHAPELIB
size_t ReadShapelib(const std::string& path) {
    SHPHandle shp = SHPOpen(path.c_str(), "rb");
    DBFHandle dbf = DBFOpen(path.c_str(), "rb");
    if (shp == nullptr || dbf == nullptr) return 0;
    int count = 0;
    SHPGetInfo(shp, &count, nullptr, nullptr, nullptr);
    const int fields = DBFGetFieldCount(dbf);
    size_t n = 0;
    for (int i = 0; i < count; ++i) {
        SHPObject* o = SHPReadObject(shp, i);
        if (o != nullptr) n += size_t(o->nVertices);
        SHPDestroyObject(o);
        for (int k = 0; k < fields; ++k) benchmark::DoNotOptimize(DBFReadStringAttribute(dbf, i, k));
    }
    SHPClose(shp);
    DBFClose(dbf);
    return n;
}
#endif

void Run(benchmark::State& state, const std::function<size_t(const std::string&)>& read) {
    const Files& files = TheFiles();
    if (!files.why.empty()) {
        state.SkipWithError(files.why.c_str());
        return;
    }
    size_t vertices = 0;
    for (auto _ : state) benchmark::DoNotOptimize(vertices = read(files.shp));
    if (int64_t(vertices) != files.vertices) state.SkipWithError("not every vertex was read");
    state.counters["vertices"] = double(vertices);
}

int64_t Size() { return TheFiles().vertices; }

void BM_ShapefileRead(benchmark::State& s) { Run(s, ReadOurs); }
void BM_OgrShapefile(benchmark::State& s) { Run(s, ReadOgr); }
#ifdef LODRAVIX_HAVE_SHAPELIB
void BM_Shapelib(benchmark::State& s) { Run(s, ReadShapelib); }
#endif

class RatioReporter : public TimesBySize {
public:
    void Finalize() override {
        ConsoleReporter::Finalize();
        for (auto& [size, seconds] : seconds_) {
            const double ours = seconds["BM_ShapefileRead"] * 1e3;
            std::printf("\n%lld vertices: ours %.2f ms", static_cast<long long>(size), ours);
            for (const char* peer : {"BM_OgrShapefile", "BM_Shapelib"}) {
                const double theirs = seconds[peer] * 1e3;
                if (theirs > 0) std::printf(", %s %.2f ms (ratio %.2f)", peer + 3, theirs, ours / theirs);
            }
            std::printf("\n");
        }
        const Files& f = TheFiles();
        if (!f.why.empty()) return;
        // The coordinates as doubles (x, y, z per vertex) against what each read holds at its peak.
        const double raw = double(f.vertices) * 3 * sizeof(double) / (1024.0 * 1024.0);
        std::printf("peak MiB (raw coordinates %.1f): ours %.1f, OGR %.1f", raw,
                    PeakMiB([&] { return ReadOurs(f.shp); }), PeakMiB([&] { return ReadOgr(f.shp); }));
#ifdef LODRAVIX_HAVE_SHAPELIB
        std::printf(", shapelib %.1f", PeakMiB([&] { return ReadShapelib(f.shp); }));
#endif
        std::printf("\n");
    }
};

}  // namespace

BENCHMARK(BM_ShapefileRead)->Arg(Size())->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OgrShapefile)->Arg(Size())->Unit(benchmark::kMillisecond);
#ifdef LODRAVIX_HAVE_SHAPELIB
BENCHMARK(BM_Shapelib)->Arg(Size())->Unit(benchmark::kMillisecond);
#endif

int main(int argc, char** argv) {
    return RunBenchmarks<RatioReporter>(argc, argv, [] {
        if (!TheFiles().dir.empty()) {
            std::error_code ec;
            std::filesystem::remove_all(TheFiles().dir, ec);
        }
    });
}
