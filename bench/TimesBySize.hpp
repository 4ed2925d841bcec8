#pragma once
// A console reporter that also keeps the seconds per iteration of every run by its size argument and benchmark
// name ("BM_Name/size"), so a benchmark can print its table of ratios against its peer when all runs are done.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

class TimesBySize : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
            const std::string name = run.benchmark_name();
            const size_t slash = name.find('/');
            if (slash == std::string::npos) continue;
            const int64_t size = std::atoll(name.c_str() + slash + 1);
            seconds_[size][name.substr(0, slash)] = run.real_accumulated_time / double(run.iterations);
            Noted(size, run);
        }
    }

protected:
    // What a benchmark keeps of a run besides its time (its counters).
    virtual void Noted(int64_t, const Run&) {}
    std::map<int64_t, std::map<std::string, double>> seconds_;  // size -> name -> seconds per iteration
};

// True when `flag` is among the arguments, which then no longer hold it (Google Benchmark refuses flags it does
// not know).
inline bool TakeFlag(int& argc, char** argv, const char* flag) {
    bool found = false;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], flag) == 0)
            found = true;
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
    return found;
}

// Times `read` on the files a benchmark made (skipped with their `why` when they could not be made) and keeps its
// answer as the counter `counter`.
template <class Files, class Read>
void RunOnFiles(benchmark::State& state, const Files& files, const Read& read, const char* counter) {
    if (!files.why.empty()) {
        state.SkipWithError(files.why.c_str());
        return;
    }
    size_t answer = 0;
    for (auto _ : state) benchmark::DoNotOptimize(answer = read(files));
    state.counters[counter] = double(answer);
}

// A benchmark program's main: runs the benchmarks through `Reporter` (its ratio table printed when they are
// done), then `release` frees what the runs kept (a host, temporary files).
template <class Reporter>
int RunBenchmarks(int argc, char** argv, const std::function<void()>& release = nullptr) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    Reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    if (release) release();
    benchmark::Shutdown();
    return 0;
}
