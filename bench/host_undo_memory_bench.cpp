// Memory of the stand-in host's undo: CreateAscPoints of 10^4 to 10^6 grid points as terrain points (one hotspot
// with its point record per point, one undo step, each point observed by the module), then ten small commands of
// the user: moves of single points, each one undo step whose element event goes to the module. An undo step keeps
// what its command changed, so the ten steps should add little: the peak after them stays below twice the
// import's. Beside it, GDAL's in-memory vector driver holds the same points as point features with a height
// field. Each run happens in a child process of its own (a fresh host, the peak reset); at the end the run prints
// the import's peak, the peak after the ten steps and their ratio, the bytes per point of the host and of GDAL,
// and the ratio of those.
#include "PeakMemory.hpp"
#include "LatticePoints.hpp"
#include "OgrMemoryPoints.hpp"
#include "StandinHost.hpp"
#include "TimesBySize.hpp"
#include "fileio/ImportedPointPlacement.hpp"
#include "foundation/ACAPI.hpp"

#include <benchmark/benchmark.h>
#include <ogr_api.h>

#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <sstream>

namespace {

constexpr int kSteps = 10;

// What a child reports: peaks in MiB over its resident memory before the import, seconds, undo states.
struct Figures {
    double importMiB = -1;
    double stepsMiB = -1;
    double importSeconds = 0;
    double stepsSeconds = 0;
    double undoStates = 0;
};

// Runs `work` in a child process after resetting the peak; `work` fills the figures it measured against `base`.
Figures InChild(const std::function<bool(double base, Figures*)>& work) {
    int fds[2];
    Figures out;
    if (pipe(fds) != 0) return out;
    const pid_t child = fork();
    if (child == 0) {
        Figures f;
        malloc_trim(0);
        if (FILE* file = std::fopen("/proc/self/clear_refs", "w")) {
            std::fputs("5", file);
            std::fclose(file);
        }
        const bool ok = work(StatusKiB("VmRSS:"), &f);
        if (!ok) f = Figures();
        if (write(fds[1], &f, sizeof f) != sizeof f) _exit(1);
        _exit(0);
    }
    close(fds[1]);
    if (child < 0 || ::read(fds[0], &out, sizeof out) != ssize_t(sizeof out)) out = Figures();
    close(fds[0]);
    if (child > 0) waitpid(child, nullptr, 0);
    return out;
}

double PeakSince(double baseKiB) { return (StatusKiB("VmHWM:") - baseKiB) / 1024.0; }

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

std::map<int64_t, Figures> hostFigures;
std::map<int64_t, double> peerMiB;

bool ImportThenSteps(int64_t count, double, Figures* f) {
    ASCFile::ASCFileCls reader;
    reader.options.SetDefaults();
    FillLatticePoints(reader, count);
    std::ostringstream log;
    HostSettings settings;
    settings.moduleDir = LODRAVIX_BIN_DIR;
    settings.userFolder = (std::filesystem::temp_directory_path() / "lodravix_undo_memory_bench").string();
    std::filesystem::create_directories(settings.userFolder);
    auto host = std::make_unique<StandinHost>(settings, &log);
    host->UseInProcess({GetExportedFuncAddrs, SetImportedFuncAddrs});
    if (!host->Load()) return false;
    // The points to import and the host are there before the measure starts.
    const double base = StatusKiB("VmRSS:");
    auto start = std::chrono::steady_clock::now();
    ImportOptionsRec kept;  // what the next import would start from
    if (!CreateAscPoints(reader, kept)) return false;
    f->importSeconds = Seconds(start);
    f->importMiB = PeakSince(base);
    GS::Array<API_Guid> guids;
    ACAPI_Element_GetElemList(API_HotspotID, &guids);
    if (int64_t(guids.GetSize()) != count) return false;
    const size_t stepsBefore = host->Database().UndoTexts().size();
    // Ten moves of points spread over the import, each its own undo step with its event to the module.
    start = std::chrono::steady_clock::now();
    for (int k = 0; k < kSteps; ++k) {
        API_ActTranPars drag = {};
        drag.typeID = APIEdit_Drag;
        drag.disp = {1.0 + k, 0.5};
        if (host->Events().UserEdit(guids[uint32_t(count * k / kSteps)], drag) != NoError) return false;
        log.str(std::string());
    }
    f->stepsSeconds = Seconds(start);
    f->stepsMiB = PeakSince(base);
    f->undoStates = double(host->Database().UndoElementStates());
    if (host->Database().UndoTexts().size() < stepsBefore + kSteps) return false;
    host->Release();
    return true;
}

void BM_ImportThenTenSteps(benchmark::State& state) {
    const int64_t count = state.range(0);
    for (auto _ : state) {
        const Figures f = InChild([&](double base, Figures* out) { return ImportThenSteps(count, base, out); });
        if (f.importMiB < 0 || f.stepsMiB < 0) return state.SkipWithError("the import or a step failed");
        hostFigures[count] = f;
        state.SetIterationTime(f.importSeconds + f.stepsSeconds);
    }
    state.counters["points"] = double(count);
}

// The peer: the same points as features of GDAL's in-memory vector layer with a height field.
void BM_OgrMemoryPoints(benchmark::State& state) {
    const int64_t count = state.range(0);
    for (auto _ : state) {
        const Figures f = InChild([&](double, Figures* out) {
            OGRRegisterAll();
            ASCFile::ASCFileCls reader;
            FillLatticePoints(reader, count);
            const double base = StatusKiB("VmRSS:");
            const auto start = std::chrono::steady_clock::now();
            bool ok = true;
            OGRDataSourceH ds = OgrMemoryPoints(reader.points, ok);
            out->importSeconds = Seconds(start);
            out->importMiB = out->stepsMiB = PeakSince(base);
            OGR_DS_Destroy(ds);
            return ok;
        });
        if (f.importMiB < 0) return state.SkipWithError("a feature was refused");
        peerMiB[count] = f.importMiB;
        state.SetIterationTime(f.importSeconds);
    }
    state.counters["points"] = double(count);
}

class MemoryReporter : public TimesBySize {
public:
    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\n%9s %11s %13s %7s %11s %9s %9s %9s %8s\n", "points", "import MiB", "+10 steps MiB", "ratio",
                    "undo states", "host B/pt", "OGR B/pt", "B/pt x", "steps s");
        for (const auto& [count, f] : hostFigures) {
            const double host = f.stepsMiB * 1048576.0 / double(count);
            const double peer = peerMiB.count(count) ? peerMiB[count] * 1048576.0 / double(count) : 0.0;
            std::printf("%9lld %11.1f %13.1f %7.2f %11.0f %9.0f %9.0f %9.1f %8.3f\n", static_cast<long long>(count),
                        f.importMiB, f.stepsMiB, f.importMiB > 0 ? f.stepsMiB / f.importMiB : 0.0, f.undoStates, host,
                        peer, peer > 0 ? host / peer : 0.0, f.stepsSeconds);
        }
    }
};

}  // namespace

BENCHMARK(BM_ImportThenTenSteps)
    ->RangeMultiplier(10)
    ->Range(10000, 1000000)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OgrMemoryPoints)
    ->RangeMultiplier(10)
    ->Range(10000, 1000000)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) { return RunBenchmarks<MemoryReporter>(argc, argv); }
