// The SOSI reader (read and scan, then ImportObjects of every type in modes 0 and 2) on about 100,000
// coordinates, beside GDAL's SOSI driver reading every feature of the same file in the same run. At start the
// real height file of the tests (tests/data/sosi/1001_Hoyde.sos) is written as Latin-1, its objects repeated
// with new ids and moved north on every copy. At the end the run prints the milliseconds and the ratios.
#include "TimesBySize.hpp"
#include "sosi/SOSIFileCls.hpp"

#include <gdal.h>
#include <ogr_api.h>

#include <benchmark/benchmark.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

constexpr int Copies = 8;

struct Files {
    std::string dir, sos;
    int64_t coordinates = 0;
    std::string why;
};

std::string Latin1(const std::string& utf8) {
    std::string out;
    for (size_t i = 0; i < utf8.size(); ++i) {
        const uint8_t c = uint8_t(utf8[i]);
        if ((c == 0xC2 || c == 0xC3) && i + 1 < utf8.size())
            out += char(((c & 0x03) << 6) | (uint8_t(utf8[++i]) & 0x3F));
        else
            out += char(c);
    }
    return out;
}

// ":119" -> ":<119 + shift>", keeping signs and parentheses.
std::string ShiftIds(const std::string& line, long shift) {
    std::string out;
    for (size_t i = 0; i < line.size();) {
        if (line[i] == ':' && i + 1 < line.size()) {
            out += ':';
            ++i;
            if (line[i] == '-') out += line[i++];
            size_t end = i;
            while (end < line.size() && std::isdigit(uint8_t(line[end]))) ++end;
            if (end > i) out += std::to_string(std::atol(line.substr(i, end - i).c_str()) + shift);
            i = end;
        } else {
            out += line[i++];
        }
    }
    return out;
}

Files MakeFiles() {
    Files f;
    char tmpl[] = "/tmp/lodravix-sosi-bench-XXXXXX";
    if (mkdtemp(tmpl) == nullptr) return f.why = "no temporary folder", f;
    f.dir = tmpl;
    f.sos = f.dir + "/hoyde8.sos";
    std::ifstream in(LODRAVIX_TEST_DATA_DIR "/sosi/1001_Hoyde.sos", std::ios::binary);
    if (!in) return f.why = "cannot open 1001_Hoyde.sos", f;
    std::vector<std::string> header, body;
    std::string line;
    bool inBody = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind(".SLUTT", 0) == 0) break;
        if (line.size() > 1 && line[0] == '.' && line[1] != '.' && line.rfind(".HODE", 0) != 0) inBody = true;
        (inBody ? body : header).push_back(line);
    }
    std::ostringstream out;
    for (const std::string& h : header) out << h << "\r\n";
    for (int copy = 0; copy < Copies; ++copy) {
        const long shift = copy * 100000L;
        for (const std::string& b : body) {
            if (!b.empty() && (std::isdigit(uint8_t(b[0])) || b[0] == '-')) {
                // North first: move every copy 30 km north.
                const size_t space = b.find(' ');
                const long north = std::atol(b.substr(0, space).c_str()) + copy * 3000000L;
                out << north << (space == std::string::npos ? "" : b.substr(space)) << "\r\n";
                ++f.coordinates;
            } else if (b[0] == '.' && b[1] != '.') {
                const size_t space = b.find(' ');
                out << b.substr(0, space + 1) << std::atol(b.c_str() + space + 1) + shift << ":\r\n";
            } else if (b.rfind("..REF", 0) == 0 || b[0] == ':' || b[0] == '(') {
                out << ShiftIds(b, shift) << "\r\n";
            } else {
                out << b << "\r\n";
            }
        }
    }
    out << ".SLUTT\r\n";
    std::ofstream(f.sos, std::ios::binary) << Latin1(out.str());
    GDALAllRegister();
    if (GDALGetDriverByName("SOSI") == nullptr) f.why = "this GDAL has no SOSI driver";
    return f;
}

const Files& TheFiles() {
    static const Files files = MakeFiles();
    return files;
}

size_t ReadOurs(const std::string& path, int32_t mode) {
    SOSIFileCls reader;
    SOSIFileData file;
    file.path = QV_String(path.c_str(), Encoding_UTF8);
    reader.files.Insert(file);
    if (!reader.ReadSOSIFiles(true)) return 0;
    reader.importMode = mode;
    for (SOSIOType& row : reader.types) row.import = 1;
    reader.ImportObjects();
    size_t n = 0;
    for (const SOSIData& d : reader.data) n += size_t(d.coords.GetCount());
    return n + size_t(reader.data.GetCount());
}

size_t ReadOgr(const std::string& path) {
    GDALDatasetH ds = GDALOpenEx(path.c_str(), GDAL_OF_VECTOR, nullptr, nullptr, nullptr);
    if (ds == nullptr) return 0;
    size_t n = 0;
    double sum = 0;
    for (int l = 0; l < GDALDatasetGetLayerCount(ds); ++l) {
        OGRLayerH layer = GDALDatasetGetLayer(ds, l);
        while (OGRFeatureH feature = OGR_L_GetNextFeature(layer)) {
            if (OGRGeometryH g = OGR_F_GetGeometryRef(feature)) {
                for (int k = 0; k < OGR_G_GetPointCount(g); ++k) sum += OGR_G_GetX(g, k) + OGR_G_GetY(g, k);
                n += size_t(OGR_G_GetPointCount(g));
            }
            ++n;
            OGR_F_Destroy(feature);
        }
    }
    benchmark::DoNotOptimize(sum);
    GDALClose(ds);
    return n;
}

void Run(benchmark::State& state, const std::function<size_t(const std::string&)>& read) {
    const Files& files = TheFiles();
    if (!files.why.empty()) {
        state.SkipWithError(files.why.c_str());
        return;
    }
    size_t n = 0;
    for (auto _ : state) benchmark::DoNotOptimize(n = read(files.sos));
    if (n == 0) state.SkipWithError("nothing was read");
    state.counters["coordinates"] = double(files.coordinates);
}

int64_t Size() { return TheFiles().coordinates; }

void BM_SOSIImportMode0(benchmark::State& s) {
    Run(s, [](const std::string& p) { return ReadOurs(p, 0); });
}
void BM_SOSIImportMode2(benchmark::State& s) {
    Run(s, [](const std::string& p) { return ReadOurs(p, 2); });
}
void BM_OgrSOSI(benchmark::State& s) { Run(s, ReadOgr); }

class RatioReporter : public TimesBySize {
public:
    void Finalize() override {
        ConsoleReporter::Finalize();
        for (auto& [size, seconds] : seconds_) {
            const double theirs = seconds["BM_OgrSOSI"] * 1e3;
            std::printf("\n%lld coordinates: OGR %.2f ms", static_cast<long long>(size), theirs);
            for (const char* ours : {"BM_SOSIImportMode0", "BM_SOSIImportMode2"}) {
                const double ms = seconds[ours] * 1e3;
                if (theirs > 0) std::printf(", %s %.2f ms (ratio %.2f)", ours + 3, ms, ms / theirs);
            }
            std::printf("\n");
        }
    }
};

}  // namespace

BENCHMARK(BM_SOSIImportMode0)->Arg(Size())->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SOSIImportMode2)->Arg(Size())->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OgrSOSI)->Arg(Size())->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return RunBenchmarks<RatioReporter>(argc, argv, [] {
        if (!TheFiles().dir.empty()) {
            std::error_code ec;
            std::filesystem::remove_all(TheFiles().dir, ec);
        }
    });
}
