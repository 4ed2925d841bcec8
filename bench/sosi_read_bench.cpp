// The SOSI reader (read and scan, then ImportObjects of every type) beside GDAL's SOSI driver reading every
// feature of the same file in the same run.
// - The real height file of the tests (tests/data/sosi/1001_Hoyde.sos) written as Latin-1, its objects repeated
//   with new ids and moved north on every copy (about 100,000 coordinates), in modes 0 and 2.
// - Each filter on generated files of 10^4, 10^5 and 10^6 coordinates: PUNKT objects under the point filter
//   (0.1 m), one SVERM thinned at 0.1 m, one KURVE of points 1 cm apart simplified at 0.1 m, and chained KURVEs
//   of ten points joined in mode 1; and surfaces at the end of the file, each naming a thousand curves of ten
//   points, every curve of a type of its own (the lookups of ids and types by hash). The cost per coordinate
//   should stay flat from the smallest to the largest.
// At the end the run prints the milliseconds, the ratios to GDAL, the cost per coordinate against the smallest
// size, and the peak memory of one read of the largest files beside GDAL's.
#include "PeakMemory.hpp"
#include "TimesBySize.hpp"
#include "sosi/SOSIFileCls.hpp"

#include <gdal.h>
#include <ogr_api.h>

#include <benchmark/benchmark.h>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <mutex>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

constexpr int Copies = 8;

struct Files {
    std::string dir, sos;
    std::string header;  // the real file's head, in Latin-1
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
    for (const std::string& h : header) f.header += Latin1(h) + "\r\n";
    GDALAllRegister();
    if (GDALGetDriverByName("SOSI") == nullptr) f.why = "this GDAL has no SOSI driver";
    return f;
}

const Files& TheFiles() {
    static const Files files = MakeFiles();
    return files;
}

// ---- generated files, one per filter and size ----

// Inside the real file's area, in centimetres.
constexpr long long North0 = 643476500, East0 = 43150900;

enum class Kind { Points, Swarm, Line, Join, Surface };
const char* KindName(Kind k) {
    return k == Kind::Points ? "points"
        : k == Kind::Swarm   ? "swarm"
        : k == Kind::Line    ? "line"
        : k == Kind::Join    ? "join"
                             : "surface";
}

// `n` coordinates as curves of ten points, each of a type of its own, then one surface per thousand curves naming
// them all: every surface takes its curves out of the records read before it.
void GenerateSurfaces(int64_t n, std::string& out) {
    char line[160];
    const int64_t curves = n / 10;
    for (int64_t c = 0; c < curves; ++c) {
        std::snprintf(line, sizeof line, ".KURVE %lld:\r\n..OBJTYPE Grense%lld\r\n..N\xD8\r\n",
                      static_cast<long long>(c + 1), static_cast<long long>(c));
        out += line;
        for (int k = 0; k < 10; ++k) {
            std::snprintf(line, sizeof line, "%lld %lld\r\n", North0 + static_cast<long long>(c * 100),
                          East0 + static_cast<long long>(k * 100));
            out += line;
        }
    }
    for (int64_t first = 0; first < curves; first += 1000) {
        std::snprintf(line, sizeof line, ".FLATE %lld:\r\n..OBJTYPE Omr\xE5\x64\x65\r\n..REF",
                      static_cast<long long>(curves + first + 1));
        out += line;
        for (int64_t c = first; c < std::min(curves, first + 1000); ++c) {
            out += (c - first) % 10 == 0 ? "\r\n:" : " :";
            out += std::to_string(c + 1);
        }
        std::snprintf(line, sizeof line, "\r\n..N\xD8\r\n%lld %lld\r\n", North0 + static_cast<long long>(first * 100),
                      static_cast<long long>(East0));
        out += line;
    }
}

// `n` coordinates in centimetres. Points and swarm points fall at random on a square that holds about one point
// per 4 square metres, so the 0.1 m filter finds a few; the line walks in 1 cm steps; the joined curves are a
// chain of ten-point curves, each starting where the one before ended.
std::string Generate(Kind kind, int64_t n) {
    std::mt19937_64 random(uint64_t(n) * 31 + uint64_t(kind));
    const int64_t side = int64_t(std::sqrt(double(n) * 4.0) * 100.0);
    std::uniform_int_distribution<int64_t> at(0, side);
    std::string out = TheFiles().header;
    out.reserve(size_t(n) * 40);
    char line[160];
    switch (kind) {
        case Kind::Points:
            for (int64_t i = 0; i < n; ++i) {
                std::snprintf(line, sizeof line,
                              ".PUNKT %lld:\r\n..OBJTYPE Terrengpunkt\r\n..N\xD8H\r\n%lld %lld %lld\r\n",
                              static_cast<long long>(i + 1), North0 + static_cast<long long>(at(random)),
                              East0 + static_cast<long long>(at(random)), static_cast<long long>(10000 + i % 1000));
                out += line;
            }
            break;
        case Kind::Swarm:
            out += ".SVERM 1:\r\n..OBJTYPE Terrengpunkt\r\n..N\xD8H\r\n";
            for (int64_t i = 0; i < n; ++i) {
                std::snprintf(line, sizeof line, "%lld %lld %lld\r\n", North0 + static_cast<long long>(at(random)),
                              East0 + static_cast<long long>(at(random)), static_cast<long long>(10000 + i % 1000));
                out += line;
            }
            break;
        case Kind::Line: {
            out += ".KURVE 1:\r\n..OBJTYPE Terrenglinje\r\n..N\xD8H\r\n";
            int64_t north = 0, east = 0;
            for (int64_t i = 0; i < n; ++i) {
                std::snprintf(line, sizeof line, "%lld %lld %lld\r\n", North0 + static_cast<long long>(north),
                              East0 + static_cast<long long>(east), static_cast<long long>(10000 + i % 1000));
                out += line;
                if (random() % 2 == 0)
                    ++north;
                else
                    ++east;
            }
            break;
        }
        case Kind::Surface: GenerateSurfaces(n, out); break;
        case Kind::Join: {
            int64_t north = 0, east = 0;
            for (int64_t c = 0; c < n / 10; ++c) {
                std::snprintf(line, sizeof line, ".KURVE %lld:\r\n..OBJTYPE H\xF8ydekurve\r\n..N\xD8H\r\n",
                              static_cast<long long>(c + 1));
                out += line;
                for (int k = 0; k < 10; ++k) {
                    if (k > 0) {
                        north += int64_t(random() % 200) + 1;
                        east += int64_t(random() % 200);
                    }
                    std::snprintf(line, sizeof line, "%lld %lld 10000\r\n", North0 + static_cast<long long>(north),
                                  East0 + static_cast<long long>(east));
                    out += line;
                }
            }
            break;
        }
    }
    out += ".SLUTT\r\n";
    return out;
}

std::string GeneratedFile(Kind kind, int64_t n) {
    static std::mutex lock;
    static std::map<std::pair<int, int64_t>, std::string> made;
    const std::lock_guard<std::mutex> hold(lock);
    const auto key = std::make_pair(int(kind), n);
    auto found = made.find(key);
    if (found != made.end()) return found->second;
    const Files& files = TheFiles();
    if (files.dir.empty()) return {};
    const std::string path = files.dir + "/" + KindName(kind) + std::to_string(n) + ".sos";
    std::ofstream(path, std::ios::binary) << Generate(kind, n);
    made[key] = path;
    return path;
}

size_t ReadOurs(const std::string& path, int32_t mode, double filter = -1.0) {
    SOSIFileCls reader;
    SOSIFileData file;
    file.path = QV_String(path.c_str(), Encoding_UTF8);
    reader.scan.files.Insert(file);
    const MiscSettings misc;
    if (!reader.ReadSOSIFiles(misc)) return 0;
    reader.importMode = mode;
    for (SOSIOType& row : reader.scan.types) row.import = 1;
    if (filter >= 0.0) reader.tolerance = reader.assembly.lineFilterDistance = filter;
    reader.ImportObjects();
    size_t n = 0;
    for (const SOSIData& d : reader.assembly.data) n += size_t(d.coords.GetCount());
    return n + size_t(reader.assembly.data.GetCount());
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

void RunGenerated(benchmark::State& state, Kind kind, bool ours) {
    if (!TheFiles().why.empty()) {
        state.SkipWithError(TheFiles().why.c_str());
        return;
    }
    const std::string path = GeneratedFile(kind, state.range(0));
    const int32_t mode = kind == Kind::Join ? 1 : 0;
    size_t n = 0;
    for (auto _ : state) benchmark::DoNotOptimize(n = ours ? ReadOurs(path, mode, 0.1) : ReadOgr(path));
    if (n == 0) state.SkipWithError("nothing was read");
}

// GDAL's driver refuses a group of more coordinates than its limit (under 10^4) and crashes on one of 10^5: the
// single swarm and the single line run without it. It takes a surface's curves in time that grows with the square
// of their number (11 s for 10^5 coordinates): the surfaces run with it up to that size.
bool GdalOpens(Kind kind) { return kind == Kind::Points || kind == Kind::Join || kind == Kind::Surface; }
int64_t GdalLargest(Kind kind) { return kind == Kind::Surface ? 100000 : 1000000; }

#define SOSI_FILTER_BENCH(Name, KindValue)                                                                             \
    void BM_SOSI##Name(benchmark::State& s) { RunGenerated(s, KindValue, true); }                                      \
    void BM_Ogr##Name(benchmark::State& s) { RunGenerated(s, KindValue, false); }                                      \
    BENCHMARK(BM_SOSI##Name)->RangeMultiplier(10)->Range(10000, 1000000)->Unit(benchmark::kMillisecond);               \
    const bool ogr##Name = GdalOpens(KindValue) &&                                                                     \
        benchmark::RegisterBenchmark("BM_Ogr" #Name, BM_Ogr##Name)                                                     \
                ->RangeMultiplier(10)                                                                                  \
                ->Range(10000, GdalLargest(KindValue))                                                                 \
                ->Unit(benchmark::kMillisecond) != nullptr;
SOSI_FILTER_BENCH(Points, Kind::Points)
SOSI_FILTER_BENCH(Swarm, Kind::Swarm)
SOSI_FILTER_BENCH(Line, Kind::Line)
SOSI_FILTER_BENCH(Join, Kind::Join)
SOSI_FILTER_BENCH(Surface, Kind::Surface)

class RatioReporter : public TimesBySize {
public:
    // CPU seconds too: on a shared machine the wall clock counts the waits for a core.
    void ReportRuns(const std::vector<Run>& runs) override {
        TimesBySize::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
            const std::string name = run.benchmark_name();
            const size_t slash = name.find('/');
            if (slash != std::string::npos)
                cpu_[std::atoll(name.c_str() + slash + 1)][name.substr(0, slash)] =
                    run.cpu_accumulated_time / double(run.iterations);
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        for (auto& [size, seconds] : seconds_) {
            if (seconds.count("BM_OgrSOSI") == 0) continue;
            const double theirs = seconds["BM_OgrSOSI"] * 1e3;
            std::printf("\nheight file, %lld coordinates: OGR %.2f ms", static_cast<long long>(size), theirs);
            for (const char* ours : {"BM_SOSIImportMode0", "BM_SOSIImportMode2"}) {
                const double ms = seconds[ours] * 1e3;
                if (theirs > 0) std::printf(", %s %.2f ms (ratio %.2f)", ours + 3, ms, ms / theirs);
            }
            std::printf("\n");
        }
        std::printf("\nCPU time (no OGR for the single swarm and line: GDAL's driver refuses or crashes on a group"
                    " that large; none for 10^6 coordinates of surfaces, which it takes in quadratic time)\nfilter   "
                    "coordinates   ours ms   OGR ms   ratio   ours us/coord   vs 10^4   OGR us/coord\n");
        for (const char* name : {"Points", "Swarm", "Line", "Join", "Surface"}) {
            const std::string ours = std::string("BM_SOSI") + name, theirs = std::string("BM_Ogr") + name;
            double first = 0.0;
            for (auto& [size, seconds] : cpu_) {
                if (seconds.count(ours) == 0) continue;
                const double ms = seconds[ours] * 1e3, ogr = seconds.count(theirs) ? seconds[theirs] * 1e3 : 0.0;
                const double perPoint = ms * 1e3 / double(size);
                if (first == 0.0) first = perPoint;
                std::printf("%-8s %11lld %9.1f %8.1f %7.2f %15.3f %9.2f %14.3f\n", name, static_cast<long long>(size),
                            ms, ogr, ogr > 0 ? ms / ogr : 0.0, perPoint, perPoint / first, ogr * 1e3 / double(size));
            }
        }
        // Peak memory of one read of the largest generated files, ours beside GDAL's.
        if (!TheFiles().why.empty()) return;
        std::printf("\npeak memory of one read of 10^6 coordinates (MiB): filter, ours, OGR, ratio\n");
        for (Kind kind : {Kind::Points, Kind::Swarm, Kind::Line, Kind::Join, Kind::Surface}) {
            const std::string path = GeneratedFile(kind, 1000000);
            const int32_t mode = kind == Kind::Join ? 1 : 0;
            const double ours = PeakMiB([&] { return ReadOurs(path, mode, 0.1); });
            const double ogr =
                GdalOpens(kind) && GdalLargest(kind) >= 1000000 ? PeakMiB([&] { return ReadOgr(path); }) : 0.0;
            std::printf("%-8s %9.1f %9.1f %7.2f\n", KindName(kind), ours, ogr, ogr > 0 ? ours / ogr : 0.0);
        }
    }

private:
    std::map<int64_t, std::map<std::string, double>> cpu_;
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
