// The DXF stores on the layouts that gather a uniform grid into one cell, at 10^4, 10^5 and 10^6 LINE entities on
// one layer with constraints, beside GDAL's DXF driver reading every feature of the same file in the same run:
//   crowded   start points within 1 m (short segments on a lattice filling a 1 m square),
//   parallel  long parallel segments (1 km, 5 cm apart, stacked),
//   far-off   a lattice of short segments beyond 1e15 (x and y from 2e15).
// Our read is what the import runs once its dialogs are answered: the layer pass, the entity pass with every store,
// the final pass. The table gives the milliseconds, the microseconds per entity, the ratio to GDAL and how the cost
// per entity grows from the smallest size (flat is 1).
#include "OgrPointCount.hpp"
#include "TimesBySize.hpp"
#include "fileio/DXFFileCls.hpp"

#include <gdal.h>
#include <ogr_api.h>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <utility>

namespace {

constexpr int64_t Sizes[] = {10000, 100000, 1000000};
const char* const Layouts[] = {"crowded", "parallel", "far-off"};

std::string& Folder() {
    static std::string dir;
    if (dir.empty()) {
        char tmpl[] = "/tmp/lodravix-dxf-layouts-XXXXXX";
        if (mkdtemp(tmpl) != nullptr) dir = tmpl;
    }
    return dir;
}

void WriteLine(std::FILE* out, double x1, double y1, double x2, double y2) {
    std::fprintf(out, "0\nLINE\n8\nL\n10\n%.17g\n20\n%.17g\n30\n0\n11\n%.17g\n21\n%.17g\n31\n0\n", x1, y1, x2, y2);
}

// The file of `layout` with `n` entities, written once.
std::string FileOf(int layout, int64_t n) {
    static std::map<std::pair<int, int64_t>, std::string> made;
    const auto key = std::make_pair(layout, n);
    if (made.count(key) != 0) return made[key];
    const std::string path = Folder() + "/" + Layouts[layout] + "_" + std::to_string(n) + ".dxf";
    std::FILE* out = std::fopen(path.c_str(), "w");
    if (out == nullptr) return made[key] = std::string();
    std::fputs("0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1015\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n", out);
    const int64_t side = int64_t(std::ceil(std::sqrt(double(n))));
    for (int64_t i = 0; i < n; ++i) {
        const double a = double(i % side), b = double(i / side);
        switch (layout) {
            case 0: {
                const double cell = 1.0 / double(side);
                WriteLine(out, a * cell, b * cell, (a + 0.4) * cell, (b + 0.1) * cell);
                break;
            }
            case 1: WriteLine(out, 0.0, double(i) * 0.05, 1000.0, double(i) * 0.05 + 0.01); break;
            default: WriteLine(out, 2e15 + a * 4.0, 2e15 + b * 4.0, 2e15 + a * 4.0 + 2.0, 2e15 + b * 4.0 + 1.0);
        }
    }
    std::fputs("0\nENDSEC\n0\nEOF\n", out);
    std::fclose(out);
    return made[key] = path;
}

size_t ReadOurs(const std::string& path) {
    DXFFileCls reader;
    reader.path = QV_String(path.c_str(), Encoding_UTF8);
    int32_t error = 0;
    if (!reader.OpenAtEntities(error) || !reader.ReadLayers(error)) return 0;
    // The layer dialog's answer: everything, with constraints; lines as short as the crowded ones are kept.
    for (DXFFileLayer& layer : reader.layers) layer.import = 1, layer.constraint = 1;
    reader.constraintFilter = 1e-5;
    reader.ResetEntities();
    if (!reader.OpenAtEntities(error) || !reader.ReadEntities(error)) return 0;
    reader.CloseReaderFile();
    return reader.vertices.size() + reader.constraints.size();
}

size_t ReadGdal(const std::string& path) { return OgrPointCount(path); }

template <size_t (*Read)(const std::string&)>
void Run(benchmark::State& state) {
    GDALAllRegister();
    const std::string path = FileOf(int(state.range(0)), state.range(1));
    if (path.empty()) {
        state.SkipWithError("cannot write the DXF");
        return;
    }
    size_t kept = 0;
    for (auto _ : state) benchmark::DoNotOptimize(kept = Read(path));
    state.counters["kept"] = double(kept);
}

void BM_DxfLayout(benchmark::State& s) { Run<ReadOurs>(s); }
void BM_GdalLayout(benchmark::State& s) { Run<ReadGdal>(s); }

void Args(benchmark::internal::Benchmark* b) {
    for (int layout = 0; layout < 3; ++layout)
        for (int64_t n : Sizes) b->Args({layout, n});
    b->Iterations(1)->Unit(benchmark::kMillisecond);
}

// Times by "layout/size" (the reporter of the other benchmarks keys by one argument).
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
            const std::string name = run.benchmark_name();
            const size_t a = name.find('/'), b = name.find('/', a + 1);
            if (a == std::string::npos || b == std::string::npos) continue;
            const int layout = std::atoi(name.c_str() + a + 1);
            const int64_t n = std::atoll(name.c_str() + b + 1);
            seconds_[{layout, n}][name.substr(0, a)] = run.real_accumulated_time / double(run.iterations);
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\n%9s %9s %10s %10s %11s %11s %8s %10s\n", "layout", "entities", "ours ms", "GDAL ms", "ours us/e",
                    "GDAL us/e", "ratio", "growth");
        for (int layout = 0; layout < 3; ++layout) {
            double first = 0.0;
            for (int64_t n : Sizes) {
                auto found = seconds_.find({layout, n});
                if (found == seconds_.end()) continue;
                const double ours = found->second["BM_DxfLayout"], gdal = found->second["BM_GdalLayout"];
                const double perEntity = ours / double(n);
                if (first == 0.0) first = perEntity;
                std::printf("%9s %9lld %10.1f %10.1f %11.3f %11.3f %8.2f %10.2f\n", Layouts[layout],
                            static_cast<long long>(n), ours * 1e3, gdal * 1e3, perEntity * 1e6, gdal / double(n) * 1e6,
                            gdal > 0 ? ours / gdal : 0.0, perEntity / first);
            }
        }
    }

private:
    std::map<std::pair<int, int64_t>, std::map<std::string, double>> seconds_;
};

}  // namespace

BENCHMARK(BM_DxfLayout)->Apply(Args);
BENCHMARK(BM_GdalLayout)->Apply(Args);

int main(int argc, char** argv) {
    return RunBenchmarks<RatioReporter>(argc, argv, [] {
        std::error_code ec;
        if (!Folder().empty()) std::filesystem::remove_all(Folder(), ec);
    });
}
