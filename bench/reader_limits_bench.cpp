// The readers at the sizes that used to hang them or fill the memory, each beside GDAL on the same file in the same
// run. All files are made in a temporary folder at start and deleted at the end:
// - 10^6 DXF layers: a DXF of one POINT on each of a million layers (about 50 MB). Ours: the layer pass, the layer
//   choice (all) and the entity pass, as the import runs them; GDAL: its DXF driver reading every feature with its
//   layer name.
// - a 50 MB line: an ESRI ASCII grid of one row of 5 million cells (no line break inside it). Ours: the grid
//   reader as the import runs it, and the options dialog's preview lines; GDAL: its AAIGrid driver reading the band,
//   and its own line reader (CPLReadLine2L) reading the row.
// - a 50 MB line in a point file: two point lines, a line of 5 million numbers (no break inside it), one more
//   point line. Ours: the point-file reader's detection and read, as the import runs them; GDAL: its line reader.
// - a 3 GB file that is no text (sparse: zero bytes that take no disk). Ours: the point-file reader's detection and
//   read, and the DXF reader's layer pass, each refusing it; GDAL: GDALOpenEx asking every driver.
// The run ends with the milliseconds, the ratio to GDAL and the peak memory each read adds (measured once in a
// child process).
#include "PeerRatios.hpp"
#include "dialogs/settings/AscImportDialog.hpp"
#include "fileio/ASCFileCls.hpp"
#include "fileio/DXFFileCls.hpp"
#include "fileio/TextFileCls.hpp"

#include <cpl_conv.h>
#include <cpl_vsi.h>
#include <gdal.h>
#include <ogr_api.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int64_t Layers = 1000000;
constexpr int64_t RowCells = 5000000;  // of 10 bytes each: 50 MB
constexpr uint64_t BinaryBytes = uint64_t(3) << 30;

struct Files {
    std::string dir, dxf, row, line, binary;
    std::string why;
};

Files MakeFiles() {
    Files f;
    GDALAllRegister();
    char tmpl[] = "/tmp/lodravix-limits-bench-XXXXXX";
    if (mkdtemp(tmpl) == nullptr) return f.why = "no temporary folder", f;
    f.dir = tmpl;
    f.dxf = f.dir + "/layers.dxf";
    {
        std::ofstream out(f.dxf, std::ios::binary);
        out << "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1015\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n";
        for (int64_t i = 0; i < Layers; ++i)
            out << "0\nPOINT\n8\nL" << i << "\n10\n"
                << 500000 + i % 1000 << "\n20\n"
                << 6500000 + i / 1000 << "\n30\n"
                << i % 997 << "\n";
        out << "0\nENDSEC\n0\nEOF\n";
    }
    f.row = f.dir + "/row.asc";
    {
        std::ofstream out(f.row, std::ios::binary);
        out << "ncols " << RowCells << "\nnrows 1\nxllcorner 500000\nyllcorner 6500000\ncellsize 2\n"
            << "NODATA_value -9999\n";
        char cell[32];
        for (int64_t c = 0; c < RowCells; ++c) {
            std::snprintf(cell, sizeof cell, "%09.3f ", double(c % 100000) / 7.0);
            out << cell;
        }
        out << "\n";
    }
    f.line = f.dir + "/line.txt";
    {
        std::ofstream out(f.line, std::ios::binary);
        out << "500000.5 6500000.5 12.5\n500001.5 6500001.5 13.5\n";
        char cell[32];
        for (int64_t c = 0; c < RowCells; ++c) {
            std::snprintf(cell, sizeof cell, "%09.3f ", double(c % 100000) / 7.0);
            out << cell;
        }
        out << "\n500002.5 6500002.5 14.5\n";
    }
    f.binary = f.dir + "/binary.dat";
    std::ofstream(f.binary, std::ios::binary).put('\0');
    std::filesystem::resize_file(f.binary, BinaryBytes);
    return f;
}

const Files& TheFiles() {
    static const Files files = MakeFiles();
    return files;
}

size_t OurDxf(const std::string& path) {
    DXFFileCls reader;
    reader.path = QV_String(path.c_str(), Encoding_UTF8);
    bool cancelled = false;
    if (!reader.ScanLayers(cancelled)) return 0;
    for (DXFFileLayer& layer : reader.layers) layer.import = 1;
    if (!reader.ReadChosen(cancelled)) return 0;
    return reader.layers.size();
}

size_t GdalDxf(const std::string& path) {
    GDALDatasetH ds = GDALOpenEx(path.c_str(), GDAL_OF_VECTOR, nullptr, nullptr, nullptr);
    if (ds == nullptr) return 0;
    OGRLayerH layer = GDALDatasetGetLayer(ds, 0);
    const int field = OGR_FD_GetFieldIndex(OGR_L_GetLayerDefn(layer), "Layer");
    size_t named = 0;
    while (OGRFeatureH feature = OGR_L_GetNextFeature(layer)) {
        named += OGR_F_GetFieldAsString(feature, field)[0] != 0;
        OGR_F_Destroy(feature);
    }
    GDALClose(ds);
    return named;
}

size_t OurGrid(const std::string& path) {
    ASCFile::ASCFileCls reader;
    reader.path = QV_String(path.c_str(), Encoding_UTF8);
    if (reader.Detect()) reader.Read();
    reader.CloseReaderFile();
    return reader.points.size();
}

size_t OurPreview(const std::string& path) {
    ASCFile::ASCFileCls reader;
    reader.path = QV_String(path.c_str(), Encoding_UTF8);
    if (!reader.Detect()) return 0;
    const size_t lines = ReadAscPreviewLines(reader).size();
    reader.CloseReaderFile();
    return lines;
}

size_t GdalGrid(const std::string& path) {
    GDALDatasetH ds = GDALOpen(path.c_str(), GA_ReadOnly);
    if (ds == nullptr) return 0;
    const int nx = GDALGetRasterXSize(ds), ny = GDALGetRasterYSize(ds);
    std::vector<double> z(size_t(nx) * size_t(ny));
    const CPLErr err =
        GDALRasterIO(GDALGetRasterBand(ds, 1), GF_Read, 0, 0, nx, ny, z.data(), nx, ny, GDT_Float64, 0, 0);
    GDALClose(ds);
    return err == CE_None ? z.size() : 0;
}

// GDAL's line reader over the whole file: the longest line's length.
size_t GdalLines(const std::string& path) {
    VSILFILE* fp = VSIFOpenL(path.c_str(), "rb");
    if (fp == nullptr) return 0;
    size_t longest = 0;
    while (const char* line = CPLReadLine2L(fp, -1, nullptr)) longest = std::max(longest, std::strlen(line));
    VSIFCloseL(fp);
    return longest;
}

size_t OurPointLine(const std::string& path) {
    TextFileCls points;
    points.path = QV_String(path.c_str(), Encoding_UTF8);
    if (points.Detect()) points.Read();
    points.CloseReaderFile();
    return points.pointsRead;
}

size_t OurNotText(const std::string& path) {
    TextFileCls points;
    points.path = QV_String(path.c_str(), Encoding_UTF8);
    if (points.Detect()) points.Read();
    DXFFileCls dxf;
    dxf.path = QV_String(path.c_str(), Encoding_UTF8);
    bool cancelled = false;
    dxf.ScanLayers(cancelled);
    return points.report.Count(ReadIssue::NotText) + dxf.report.Count(ReadIssue::NotText);
}

size_t GdalNotText(const std::string& path) {
    CPLPushErrorHandler(CPLQuietErrorHandler);
    GDALDatasetH ds = GDALOpenEx(path.c_str(), GDAL_OF_RASTER | GDAL_OF_VECTOR, nullptr, nullptr, nullptr);
    CPLPopErrorHandler();
    if (ds != nullptr) GDALClose(ds);
    return ds == nullptr ? 2 : 0;
}

void Run(benchmark::State& state, const std::function<size_t(const Files&)>& read) {
    RunOnFiles(state, TheFiles(), read, "answer");
}

// One read of ours beside GDAL's on the same file.
struct Pair {
    const char* what;
    const char* ours;
    const char* peer;
    int64_t size;
    int iterations;
    std::function<size_t(const Files&)> readOurs, readPeer;
};

const std::vector<Pair>& ReadPairs() {
    static const std::vector<Pair> pairs = {
        {"DXF layers", "BM_OurDxfLayers", "BM_GdalDxfLayers", Layers, 1, [](const Files& f) { return OurDxf(f.dxf); },
         [](const Files& f) { return GdalDxf(f.dxf); }},
        {"50 MB row: grid", "BM_OurLongRowGrid", "BM_GdalLongRowGrid", RowCells, 2,
         [](const Files& f) { return OurGrid(f.row); }, [](const Files& f) { return GdalGrid(f.row); }},
        {"50 MB row: preview", "BM_OurLongRowPreview", "BM_GdalLongRowLines", RowCells, 2,
         [](const Files& f) { return OurPreview(f.row); }, [](const Files& f) { return GdalLines(f.row); }},
        {"50 MB line: points", "BM_OurLongLinePoints", "BM_GdalLongLineLines", RowCells, 2,
         [](const Files& f) { return OurPointLine(f.line); }, [](const Files& f) { return GdalLines(f.line); }},
        {"3 GB not text", "BM_OurNotText", "BM_GdalNotText", int64_t(BinaryBytes), 3,
         [](const Files& f) { return OurNotText(f.binary); }, [](const Files& f) { return GdalNotText(f.binary); }},
    };
    return pairs;
}

class RatioReporter : public PeerRatioReporter {
    std::vector<PeerPair> Pairs() const override {
        const Files& f = TheFiles();
        std::vector<PeerPair> rows;
        if (!f.why.empty()) return rows;
        for (const Pair& p : ReadPairs())
            rows.push_back({p.what, p.ours, p.peer, [&f, read = p.readOurs] { return read(f); },
                            [&f, read = p.readPeer] { return read(f); }});
        return rows;
    }
};

}  // namespace

int main(int argc, char** argv) {
    for (const Pair& p : ReadPairs())
        for (const auto& [name, read] : {std::make_pair(p.ours, p.readOurs), std::make_pair(p.peer, p.readPeer)})
            benchmark::RegisterBenchmark(name, [read = read](benchmark::State& s) { Run(s, read); })
                ->Arg(p.size)
                ->Unit(benchmark::kMillisecond)
                ->Iterations(p.iterations);
    return RunBenchmarks<RatioReporter>(argc, argv, [] {
        if (!TheFiles().dir.empty()) {
            std::error_code ec;
            std::filesystem::remove_all(TheFiles().dir, ec);
        }
    });
}
