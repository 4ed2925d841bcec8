// The grid and point-file readers on about a million points, beside GDAL's AAIGrid and XYZ drivers reading the
// same files in the same run. At start the shared real-valued grid (tests/data/asc/elev_float.asc) is made 8
// times finer with GDAL's warper (bilinear) and written by GDAL as an ASCII grid and as "x y z" text. Our reads
// run as the import runs them after the options dialog's OK with its defaults; GDAL's open the file and read
// its band whole. At the end the run prints the milliseconds, the ratio to GDAL and the peak memory each read
// adds (measured once in a child process).
#include "PeakMemory.hpp"
#include "TimesBySize.hpp"
#include "fileio/ASCFileCls.hpp"
#include "fileio/TextFileCls.hpp"

#include <gdal.h>
#include <gdal_utils.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

struct Files {
    std::string dir, asc, xyz;
    int64_t cells = 0;
    std::string why;
};

Files MakeFiles() {
    Files f;
    GDALAllRegister();
    char tmpl[] = "/tmp/lodravix-import-bench-XXXXXX";
    if (mkdtemp(tmpl) == nullptr) return f.why = "no temporary folder", f;
    f.dir = tmpl;
    GDALDatasetH src = GDALOpen(LODRAVIX_TEST_DATA_DIR "/asc/elev_float.asc", GA_ReadOnly);
    if (src == nullptr) return f.why = "cannot open elev_float.asc", f;
    double gt[6];
    GDALGetGeoTransform(src, gt);
    const std::string res = std::to_string(gt[1] / 8);
    std::vector<std::string> args = {"-of",      "GTiff",      "-tr",   res,          res,    "-r",
                                     "bilinear", "-srcnodata", "-9999", "-dstnodata", "-9999"};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(&a[0]);
    argv.push_back(nullptr);
    GDALWarpAppOptions* options = GDALWarpAppOptionsNew(argv.data(), nullptr);
    const std::string tif = f.dir + "/fine.tif";
    GDALDatasetH fine = GDALWarp(tif.c_str(), nullptr, 1, &src, options, nullptr);
    GDALWarpAppOptionsFree(options);
    GDALClose(src);
    if (fine == nullptr) return f.why = "warp failed", f;
    f.cells = int64_t(GDALGetRasterXSize(fine)) * GDALGetRasterYSize(fine);
    f.asc = f.dir + "/fine.asc";
    f.xyz = f.dir + "/fine.txt";
    char precision[] = "DECIMAL_PRECISION=3";
    char* ascOptions[] = {precision, nullptr};
    GDALClose(GDALCreateCopy(GDALGetDriverByName("AAIGrid"), f.asc.c_str(), fine, FALSE, ascOptions, nullptr, nullptr));
    GDALClose(GDALCreateCopy(GDALGetDriverByName("XYZ"), f.xyz.c_str(), fine, FALSE, nullptr, nullptr, nullptr));
    GDALClose(fine);
    return f;
}

const Files& TheFiles() {
    static const Files files = MakeFiles();
    return files;
}

size_t ReadAsc(const std::string& path) {
    ASCFile::ASCFileCls reader;
    reader.path = QV_String(path.c_str(), Encoding_UTF8);
    bool cancelled = false;
    reader.Read(cancelled);
    return reader.points.size();
}

size_t ReadText(const std::string& path) {
    TextFileCls reader;
    reader.path = QV_String(path.c_str(), Encoding_UTF8);
    bool cancelled = false;
    reader.Read(cancelled);
    return reader.points.size();
}

// GDAL opens the file and reads its band: the heights of every cell and which have data.
size_t ReadGdal(const std::string& path) {
    GDALDatasetH ds = GDALOpen(path.c_str(), GA_ReadOnly);
    if (ds == nullptr) return 0;
    const int nx = GDALGetRasterXSize(ds), ny = GDALGetRasterYSize(ds);
    GDALRasterBandH band = GDALGetRasterBand(ds, 1);
    int has = 0;
    const double nodata = GDALGetRasterNoDataValue(band, &has);
    std::vector<double> z(size_t(nx) * size_t(ny));
    const CPLErr err = GDALRasterIO(band, GF_Read, 0, 0, nx, ny, z.data(), nx, ny, GDT_Float64, 0, 0);
    GDALClose(ds);
    if (err != CE_None) return 0;
    size_t valid = 0;
    for (double v : z) valid += !(has && v == nodata);
    return valid;
}

void Run(benchmark::State& state, const std::function<size_t(const Files&)>& read) {
    const Files& files = TheFiles();
    if (!files.why.empty()) {
        state.SkipWithError(files.why.c_str());
        return;
    }
    size_t points = 0;
    for (auto _ : state) benchmark::DoNotOptimize(points = read(files));
    state.counters["points"] = double(points);
}

int64_t Size() {
    const Files& files = TheFiles();
    return files.cells;
}

void BM_AscFileRead(benchmark::State& s) {
    Run(s, [](const Files& f) { return ReadAsc(f.asc); });
}
void BM_GdalAAIGrid(benchmark::State& s) {
    Run(s, [](const Files& f) { return ReadGdal(f.asc); });
}
void BM_TextFileRead(benchmark::State& s) {
    Run(s, [](const Files& f) { return ReadText(f.xyz); });
}
void BM_GdalXYZ(benchmark::State& s) {
    Run(s, [](const Files& f) { return ReadGdal(f.xyz); });
}

class RatioReporter : public TimesBySize {
public:
    void Finalize() override {
        ConsoleReporter::Finalize();
        const Files& f = TheFiles();
        if (!f.why.empty()) return;
        std::printf("\n%10s %14s %14s %8s %16s %16s\n", "cells", "read", "ms (GDAL ms)", "ratio", "peak MiB",
                    "GDAL peak MiB");
        for (auto& [size, seconds] : seconds_) {
            auto row = [&](const char* what, const char* ours, const char* peer, double oursMiB, double peerMiB) {
                const double a = seconds[ours] * 1e3, b = seconds[peer] * 1e3;
                std::printf("%10lld %14s %6.1f (%5.1f) %8.2f %16.1f %16.1f\n", static_cast<long long>(size), what, a, b,
                            b > 0 ? a / b : 0.0, oursMiB, peerMiB);
            };
            row("ASC grid", "BM_AscFileRead", "BM_GdalAAIGrid", PeakMiB([&] { return ReadAsc(f.asc); }),
                PeakMiB([&] { return ReadGdal(f.asc); }));
            row("XYZ text", "BM_TextFileRead", "BM_GdalXYZ", PeakMiB([&] { return ReadText(f.xyz); }),
                PeakMiB([&] { return ReadGdal(f.xyz); }));
        }
    }
};

}  // namespace

BENCHMARK(BM_AscFileRead)->Arg(Size())->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GdalAAIGrid)->Arg(Size())->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextFileRead)->Arg(Size())->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GdalXYZ)->Arg(Size())->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return RunBenchmarks<RatioReporter>(argc, argv, [] {
        if (!TheFiles().dir.empty()) {
            std::error_code ec;
            std::filesystem::remove_all(TheFiles().dir, ec);
        }
    });
}
