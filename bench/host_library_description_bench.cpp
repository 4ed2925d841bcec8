// The stand-in host's library-description reader beside std::strtod and std::istringstream on the same text: a
// description whose one param line holds 10^3 to 10^6 values ("3; 1; 4; ..."). The reader also checks every
// value, resolves texts and fills the part; the peers only read the numbers after '='. At the end the run
// prints the time per value of each and the reader's ratio to each peer: it should stay flat as the line grows.
// Then the same for a description of 20,000 to 80,000 sections, beside std::getline reading its lines into a
// std::set of their heads: the reader tells every section from the others, and its ratio stays flat too.
#include "library/LibraryDescription.hpp"

#include "TimesBySize.hpp"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string Description(int64_t values) {
    std::string text =
        "name = LONG_LINE\nguid = {11111111-2222-3333-4444-555555555555}-{00000000-0000-0000-0000-000000000000}\n"
        "type = object\nparam v real[" +
        std::to_string(values) + "] =";
    text.reserve(text.size() + size_t(values) * 3 + 1);
    for (int64_t i = 0; i < values; ++i) {
        text += i == 0 ? " " : "; ";
        text += char('0' + (i * 7 + 3) % 10);
    }
    return text + "\n";
}

// The text after the '=' of the param line.
const char* Values(const std::string& text) { return text.c_str() + text.find('=', text.find("param")) + 1; }

void BM_Reader(benchmark::State& state) {
    const std::string text = Description(state.range(0));
    for (auto _ : state) {
        LibPartDef part;
        std::string error;
        if (!ParseLibraryPart(text, &part, &error)) state.SkipWithError(error.c_str());
        benchmark::DoNotOptimize(part.params.data());
    }
    state.SetComplexityN(state.range(0));
}

void BM_Strtod(benchmark::State& state) {
    const std::string text = Description(state.range(0));
    for (auto _ : state) {
        std::vector<double> numbers;
        const char* p = Values(text);
        for (;;) {
            char* end = nullptr;
            numbers.push_back(std::strtod(p, &end));
            p = end;
            while (*p == ' ') ++p;
            if (*p != ';') break;
            ++p;
        }
        benchmark::DoNotOptimize(numbers.data());
    }
    state.SetComplexityN(state.range(0));
}

void BM_Istringstream(benchmark::State& state) {
    const std::string text = Description(state.range(0));
    for (auto _ : state) {
        std::vector<double> numbers;
        std::istringstream in(Values(text));
        double v = 0.0;
        char separator = 0;
        while (in >> v) {
            numbers.push_back(v);
            if (!(in >> separator)) break;
        }
        benchmark::DoNotOptimize(numbers.data());
    }
    state.SetComplexityN(state.range(0));
}

// A description of `count` binary sections, each of its own type and sub-identifier.
std::string Sections(int64_t count) {
    std::string text =
        "name = MANY_SECTIONS\nguid = {11111111-2222-3333-4444-555555555555}-{00000000-0000-0000-0000-000000000000}\n"
        "type = object\n";
    for (int64_t i = 0; i < count; ++i)
        text += "section S" + std::to_string(100 + i / 60000) + " " + std::to_string(i % 60000 - 30000) + " = hex:00\n";
    return text;
}

void BM_ReaderSections(benchmark::State& state) {
    const std::string text = Sections(state.range(0));
    for (auto _ : state) {
        LibPartDef part;
        std::string error;
        if (!ParseLibraryPart(text, &part, &error)) state.SkipWithError(error.c_str());
        benchmark::DoNotOptimize(part.sections.data());
    }
    state.SetComplexityN(state.range(0));
}

void BM_GetlineSet(benchmark::State& state) {
    const std::string text = Sections(state.range(0));
    for (auto _ : state) {
        std::istringstream in(text);
        std::set<std::string> heads;
        std::string line;
        while (std::getline(in, line)) heads.insert(line.substr(0, line.find('=')));
        benchmark::DoNotOptimize(heads.size());
    }
    state.SetComplexityN(state.range(0));
}

void SectionCounts(benchmark::internal::Benchmark* b) {
    b->RangeMultiplier(2)->Range(20000, 80000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
}

void Sizes(benchmark::internal::Benchmark* b) {
    b->RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
}

// The console report, then a table of nanoseconds per value and ratios for each size.
class RatioReporter : public TimesBySize {
public:
    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\n%10s %14s %14s %14s %12s %12s\n", "values", "reader ns/val", "strtod ns/val", "stream ns/val",
                    "reader/strtod", "reader/stream");
        for (auto& [values, seconds] : seconds_) {
            if (seconds.count("BM_Reader") == 0) continue;
            std::map<std::string, double> times;
            for (const auto& [name, s] : seconds) times[name] = s * 1e9 / double(values);
            const double reader = times["BM_Reader"], strtod = times["BM_Strtod"], stream = times["BM_Istringstream"];
            std::printf("%10lld %14.1f %14.1f %14.1f %12.2f %12.2f\n", static_cast<long long>(values), reader, strtod,
                        stream, strtod > 0 ? reader / strtod : 0.0, stream > 0 ? reader / stream : 0.0);
        }
        std::printf("\n%10s %14s %14s %14s\n", "sections", "reader ns/sec", "getline+set", "reader/peer");
        for (auto& [count, seconds] : seconds_) {
            if (seconds.count("BM_ReaderSections") == 0) continue;
            const double reader = seconds["BM_ReaderSections"] * 1e9 / double(count);
            const double peer = seconds["BM_GetlineSet"] * 1e9 / double(count);
            std::printf("%10lld %14.1f %14.1f %14.2f\n", static_cast<long long>(count), reader, peer,
                        peer > 0 ? reader / peer : 0.0);
        }
    }
};

}  // namespace

BENCHMARK(BM_Reader)->Apply(Sizes);
BENCHMARK(BM_Strtod)->Apply(Sizes);
BENCHMARK(BM_Istringstream)->Apply(Sizes);
BENCHMARK(BM_ReaderSections)->Apply(SectionCounts);
BENCHMARK(BM_GetlineSet)->Apply(SectionCounts);

int main(int argc, char** argv) { return RunBenchmarks<RatioReporter>(argc, argv); }
