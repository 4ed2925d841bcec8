// The grid and point-file readers on survey files at full size, beside GDAL's AAIGrid and XYZ drivers reading the
// same files in the same run. At start the shared real grid (tests/data/asc/elev.asc: 32-bit integer heights,
// no-data -32768, 600 m cells) is made finer with GDAL's warper (bilinear), keeping its integers and no-data:
// at 60 m it is the real grid at full size (1,000 x 1,430 = 1.43 million cells, half of them no-data), written
// by GDAL as an ASCII grid; at 50 m (2.06 million cells) it is written by GDAL as "x y z" text whose no-data
// lines are dropped, as in a point file of the survey (about a million points). Our reads run as the import
// runs them after the options dialog's OK with its defaults; GDAL's open the file and read its band whole. At
// the end the run prints the milliseconds, the ratio to GDAL and the peak memory each read adds (measured once
// in a child process).
#include "PeerRatios.hpp"
#include "RealGrid.hpp"
#include "fileio/ASCFileCls.hpp"
#include "fileio/TextFileCls.hpp"

#include <gdal.h>
#include <gdal_utils.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

struct Files {
    std::string dir, asc, xyz;
    int64_t cells = 0;   // of the grid
    int64_t points = 0;  // lines of the point file
    std::string why;
};

GDALDatasetH Finer(const std::string& dir, double cell, const char* name) {
    return WarpRealGrid(LODRAVIX_TEST_DATA_DIR "/asc/elev.asc", dir, cell, name);
}

Files MakeFiles() {
    Files f;
    GDALAllRegister();
    char tmpl[] = "/tmp/lodravix-import-bench-XXXXXX";
    if (mkdtemp(tmpl) == nullptr) return f.why = "no temporary folder", f;
    f.dir = tmpl;
    GDALDatasetH grid = Finer(f.dir, 60.0, "grid60.tif");
    if (grid == nullptr) return f.why = "cannot warp elev.asc", f;
    f.cells = int64_t(GDALGetRasterXSize(grid)) * GDALGetRasterYSize(grid);
    f.asc = f.dir + "/grid60.asc";
    GDALClose(GDALCreateCopy(GDALGetDriverByName("AAIGrid"), f.asc.c_str(), grid, FALSE, nullptr, nullptr, nullptr));
    GDALClose(grid);

    GDALDatasetH dense = Finer(f.dir, 50.0, "grid50.tif");
    if (dense == nullptr) return f.why = "cannot warp elev.asc", f;
    const std::string all = f.dir + "/all50.xyz";
    GDALClose(GDALCreateCopy(GDALGetDriverByName("XYZ"), all.c_str(), dense, FALSE, nullptr, nullptr, nullptr));
    GDALClose(dense);
    // A point file holds the points there are: the no-data lines go.
    f.xyz = f.dir + "/points50.txt";
    std::ifstream in(all);
    std::ofstream out(f.xyz, std::ios::binary);
    for (std::string line; std::getline(in, line);)
        if (line.size() < 7 || line.compare(line.size() - 7, 7, " -32768") != 0) {
            out << line << '\n';
            ++f.points;
        }
    std::filesystem::remove(all);
    return f;
}

const Files& TheFiles() {
    static const Files files = MakeFiles();
    return files;
}

size_t ReadAsc(const std::string& path) {
    ASCFile::ASCFileCls reader;
    reader.path = QV_String(path.c_str(), Encoding_UTF8);
    if (reader.Detect()) reader.Read();
    return reader.points.size();
}

size_t ReadText(const std::string& path) {
    TextFileCls reader;
    reader.path = QV_String(path.c_str(), Encoding_UTF8);
    if (reader.Detect()) reader.Read();
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
    RunOnFiles(state, TheFiles(), read, "points");
}

int64_t GridSize() { return TheFiles().cells; }
int64_t PointSize() { return TheFiles().points; }

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

class RatioReporter : public PeerRatioReporter {
    std::vector<PeerPair> Pairs() const override {
        const Files& f = TheFiles();
        if (!f.why.empty()) return {};
        return {{"ASC grid", "BM_AscFileRead", "BM_GdalAAIGrid", [&f] { return ReadAsc(f.asc); },
                 [&f] { return ReadGdal(f.asc); }},
                {"XYZ text", "BM_TextFileRead", "BM_GdalXYZ", [&f] { return ReadText(f.xyz); },
                 [&f] { return ReadGdal(f.xyz); }}};
    }
};

}  // namespace

BENCHMARK(BM_AscFileRead)->Arg(GridSize())->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GdalAAIGrid)->Arg(GridSize())->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextFileRead)->Arg(PointSize())->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GdalXYZ)->Arg(PointSize())->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return RunBenchmarks<RatioReporter>(argc, argv, [] {
        if (!TheFiles().dir.empty()) {
            std::error_code ec;
            std::filesystem::remove_all(TheFiles().dir, ec);
        }
    });
}
