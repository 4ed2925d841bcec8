// CreateAscPoints of 10^4 to 10^6 grid points as terrain points in the stand-in host run in-process: one
// hotspot with its point record per point, in one undo step. Beside it, GDAL's in-memory vector driver stores
// the same points as point features with a height field. The time per point should stay flat as the count
// grows (creation, the undo step and the element list linear in time); at the end the run prints microseconds
// per point of each and the ratio.
#include "LatticePoints.hpp"
#include "OgrMemoryPoints.hpp"
#include "StandinHost.hpp"
#include "TimesBySize.hpp"
#include "fileio/ImportedPointPlacement.hpp"
#include "foundation/ACAPI.hpp"

#include <benchmark/benchmark.h>
#include <ogr_api.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <sstream>

namespace {

struct Host {
    std::ostringstream log;
    std::unique_ptr<StandinHost> host;
};

std::unique_ptr<Host> current;

Host* TheHost(std::string* why) {
    if (current) return current.get();
    auto h = std::make_unique<Host>();
    HostSettings settings;
    settings.moduleDir = LODRAVIX_BIN_DIR;
    settings.userFolder = (std::filesystem::temp_directory_path() / "lodravix_import_placement_bench").string();
    std::filesystem::create_directories(settings.userFolder);
    h->host = std::make_unique<StandinHost>(settings, &h->log);
    h->host->UseInProcess({GetExportedFuncAddrs, SetImportedFuncAddrs});
    if (!h->host->Load()) return *why = "the host did not start", nullptr;
    current = std::move(h);
    return current.get();
}

void BM_CreateAscPoints(benchmark::State& state) {
    std::string why;
    Host* h = TheHost(&why);
    if (h == nullptr) return state.SkipWithError(why.c_str());
    ASCFile::ASCFileCls reader;
    reader.options.SetDefaults();
    FillLatticePoints(reader, state.range(0));
    ImportOptionsRec kept;  // what the next import would start from
    for (auto _ : state) {
        if (!CreateAscPoints(reader, kept)) return state.SkipWithError("placement failed");
        state.PauseTiming();
        // The list of what was made, then the undo step taken back for the next round.
        GS::Array<API_Guid> guids;
        ACAPI_Element_GetElemList(API_HotspotID, &guids);
        if (int64_t(guids.GetSize()) != state.range(0)) return state.SkipWithError("hotspots missing");
        h->host->Database().Undo();
        h->log.str(std::string());
        state.ResumeTiming();
    }
    state.counters["points"] = double(state.range(0));
}

// The peer: the same points as features of GDAL's in-memory vector layer with a height field.
void BM_OgrMemoryPoints(benchmark::State& state) {
    OGRRegisterAll();
    ASCFile::ASCFileCls reader;
    FillLatticePoints(reader, state.range(0));
    for (auto _ : state) {
        bool ok = true;
        OGRDataSourceH ds = OgrMemoryPoints(reader.points, ok);
        if (!ok) state.SkipWithError("feature refused");
        benchmark::DoNotOptimize(OGR_L_GetFeatureCount(OGR_DS_GetLayer(ds, 0), TRUE));
        OGR_DS_Destroy(ds);
    }
    state.counters["points"] = double(state.range(0));
}

class RatioReporter : public TimesBySize {
public:
    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\n%10s %16s %16s %10s\n", "points", "placement us/pt", "OGR memory us/pt", "ratio");
        for (auto& [size, seconds] : seconds_) {
            const double ours = seconds["BM_CreateAscPoints"] * 1e6 / double(size);
            const double peer = seconds["BM_OgrMemoryPoints"] * 1e6 / double(size);
            std::printf("%10lld %16.3f %16.3f %10.1f\n", static_cast<long long>(size), ours, peer,
                        peer > 0 ? ours / peer : 0.0);
        }
    }
};

}  // namespace

BENCHMARK(BM_CreateAscPoints)->RangeMultiplier(10)->Range(10000, 1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OgrMemoryPoints)->RangeMultiplier(10)->Range(10000, 1000000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return RunBenchmarks<RatioReporter>(argc, argv, [] {
        if (current) current->host->Release();
        current.reset();
    });
}
