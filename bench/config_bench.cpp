// Configuration files of many entries beside a plain peer on the same file: std::ifstream with std::getline,
// split at the first ":", the value looked up in a std::vector, changed and written back with std::ofstream.
//
// Both do the same work per iteration: read the shared file whole (undoing the byte halves exchange), look up the
// last key, set "Language_str" and write the file again.
#include "foundation/Config.hpp"

#include "IODriver.hpp"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

void Swap(std::string& bytes) {
    for (char& c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        c = static_cast<char>(static_cast<unsigned char>((b << 4) | (b >> 4)));
    }
}

std::string KeyOf(int64_t i) { return "Key" + std::to_string(100000 + i); }

// A user folder holding a shared file of n entries, "Language_str" among them; removed at the end.
class ConfigFolder {
public:
    explicit ConfigFolder(int64_t n) {
        char pattern[] = "/tmp/lodravix_config_bench_XXXXXX";
        folder_ = mkdtemp(pattern) != nullptr ? pattern : "";
        IODriver::SetUserFolder(folder_);
        std::string text;
        for (int64_t i = 0; i < n; ++i) {
            text += "$" + KeyOf(i) + ": value of entry " + std::to_string(i) + "\r\n";
            if (i == n / 2) text += "$Language_str: ita\r\n";
        }
        Swap(text);
        std::ofstream(Path(), std::ios::binary) << text;
    }
    ~ConfigFolder() {
        ResetConfigCaches();
        IODriver::SetUserFolder("");
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }
    std::string Path() const { return folder_ + "/Brenmaro.cfg"; }

private:
    std::string folder_;
};

void BM_Config(benchmark::State& state) {
    const int64_t n = state.range(0);
    ConfigFolder folder(n);
    const QV_String last(KeyOf(n - 1).c_str());
    bool ok = true;
    for (auto _ : state) {
        ResetConfigCaches();
        QV_String value;
        ok = ok && LoadConfigFile(ConfigSharedFile, false) && GetConfigValue(ConfigSharedFile, last, &value, false);
        ok = ok && SetConfigValue(ConfigSharedFile, QV_String("Language_str"), QV_String("ger"), true);
        benchmark::DoNotOptimize(value);
    }
    if (!ok) state.SkipWithError("the configuration file was not read or written");
    state.counters["entries"] = static_cast<double>(n);
    state.SetComplexityN(n);
}

void BM_Peer(benchmark::State& state) {
    const int64_t n = state.range(0);
    ConfigFolder folder(n);
    const std::string last = KeyOf(n - 1);
    bool ok = true;
    for (auto _ : state) {
        std::ifstream in(folder.Path(), std::ios::binary);
        std::ostringstream raw;
        raw << in.rdbuf();
        std::string text = raw.str();
        Swap(text);
        std::istringstream lines(text);
        std::vector<std::pair<std::string, std::string>> entries;
        std::string line;
        while (std::getline(lines, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            const size_t colon = line.find(':');
            if (line.size() < 2 || line[0] != '$' || colon == std::string::npos) continue;
            entries.emplace_back(line.substr(1, colon - 1), colon + 2 <= line.size() ? line.substr(colon + 2) : "");
        }
        std::string value;
        bool found = false, set = false;
        for (const auto& e : entries)
            if (!found && e.first == last) {
                value = e.second;
                found = true;
            }
        for (auto& e : entries)
            if (!set && e.first == "Language_str") {
                e.second = "ger";
                set = true;
            }
        if (!set) entries.emplace_back("Language_str", "ger");
        std::string out;
        for (const auto& e : entries) out += "$" + e.first + ": " + e.second + "\r\n";
        Swap(out);
        std::ofstream(folder.Path(), std::ios::binary | std::ios::trunc) << out;
        ok = ok && found;
        benchmark::DoNotOptimize(value);
    }
    if (!ok) state.SkipWithError("the peer did not find the last key");
    state.counters["entries"] = static_cast<double>(n);
    state.SetComplexityN(n);
}

void Sizes(benchmark::internal::Benchmark* b) {
    b->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);
}

}  // namespace

BENCHMARK(BM_Config)->Apply(Sizes);
BENCHMARK(BM_Peer)->Apply(Sizes);

BENCHMARK_MAIN();
