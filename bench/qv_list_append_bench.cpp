// Filling a QV_List by single appends beside std::vector::push_back on the same points, in the same iteration.
// The list grows its handle by one element per Insert, so its cost per element stays flat only while the host's
// handles grow in place with slack; the counters give nanoseconds per element for both and their ratio.
#include "foundation/QV_List.hpp"

#include "APICoord.hpp"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

API_Coord Point(int32_t i) { return API_Coord{0.5 * i, -0.25 * i}; }

void BM_AppendQVListBesideVector(benchmark::State& state) {
    const auto n = static_cast<int32_t>(state.range(0));
    double listSeconds = 0.0;
    double vectorSeconds = 0.0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        {
            QV_List<API_Coord> list;
            for (int32_t i = 0; i < n; ++i)
                if (!list.Insert(Point(i), -1)) state.SkipWithError("QV_List::Insert failed");
            benchmark::DoNotOptimize(list[n - 1]);
        }
        const Clock::time_point listDone = Clock::now();
        {
            std::vector<API_Coord> vector;
            for (int32_t i = 0; i < n; ++i) vector.push_back(Point(i));
            benchmark::DoNotOptimize(vector.back());
        }
        const Clock::time_point vectorDone = Clock::now();
        const double list = std::chrono::duration<double>(listDone - start).count();
        listSeconds += list;
        vectorSeconds += std::chrono::duration<double>(vectorDone - listDone).count();
        state.SetIterationTime(list);
    }
    const double elements = static_cast<double>(state.iterations()) * n;
    state.counters["list_ns_per_element"] = 1e9 * listSeconds / elements;
    state.counters["vector_ns_per_element"] = 1e9 * vectorSeconds / elements;
    state.counters["ratio_list_to_vector"] = vectorSeconds > 0.0 ? listSeconds / vectorSeconds : 0.0;
    state.SetComplexityN(n);
}

}  // namespace

BENCHMARK(BM_AppendQVListBesideVector)
    ->RangeMultiplier(10)
    ->Range(1000, 1000000)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oN);

BENCHMARK_MAIN();
