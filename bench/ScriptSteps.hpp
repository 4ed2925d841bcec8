#pragma once
// A script of the stand-in host run in-process, in a child process of its own (a fresh host and module, the peak
// reset), with a "bench mark" command between its steps: the first mark starts the clock and takes the resident
// memory as the base; each later one notes the seconds since the mark before, the peak memory so far over the
// base, and how many hotspots and lines the project holds.
#include "PeakMemory.hpp"
#include "StandinHost.hpp"
#include "foundation/ACAPI.hpp"
#include "script/ScriptRunner.hpp"

#include <array>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

constexpr int kMaxScriptSteps = 8;

struct ScriptSteps {
    std::array<double, kMaxScriptSteps> seconds{};
    std::array<double, kMaxScriptSteps> peakMiB{};
    std::array<int64_t, kMaxScriptSteps> hotspots{};
    std::array<int64_t, kMaxScriptSteps> lines{};
    int marks = 0;
    bool passed = false;
};

namespace script_steps {
inline ScriptSteps* Current = nullptr;
inline double BaseKiB = 0;
inline std::chrono::steady_clock::time_point Last;

inline const ScriptLanguage& Language() {
    static const ScriptLanguage language = [] {
        ScriptLanguage l = StandardScriptLanguage();
        l.Add("bench mark", false, [](ScriptContext& r, const ScriptArgs&, std::string*) {
            const auto now = std::chrono::steady_clock::now();
            ScriptSteps& s = *Current;
            if (s.marks == 0) {
                BaseKiB = StatusKiB("VmRSS:");
            } else if (s.marks <= kMaxScriptSteps) {
                const size_t i = size_t(s.marks - 1);
                s.seconds[i] = std::chrono::duration<double>(now - Last).count();
                s.peakMiB[i] = (StatusKiB("VmHWM:") - BaseKiB) / 1024.0;
                const std::map<API_ElemTypeID, int64_t> counts = r.Host().Database().Model().elements.CountByType();
                const auto count = [&](API_ElemTypeID t) { return counts.count(t) != 0 ? counts.at(t) : 0; };
                s.hotspots[i] = count(API_HotspotID);
                s.lines[i] = count(API_LineID);
            }
            ++s.marks;
            Last = std::chrono::steady_clock::now();
            return true;
        });
        return l;
    }();
    return language;
}

class Runner : public ScriptRunner {
public:
    Runner(StandinHost& host, std::ostream& out, const std::string& folder) : ScriptRunner(host, out, Language()) {
        scriptFolder_ = folder;
    }
};
}  // namespace script_steps

// Runs the script in a child process with its data files in `folder`; its log goes to `logName` there as it runs
// (not into memory, where a 10^6-point import's event lines would count as the road's own), kept when it fails;
// `steps` marks after the first are expected.
inline ScriptSteps RunScriptSteps(const std::string& script, const std::string& folder, int steps,
                                  const std::string& logName) {
    return InChildProcess<ScriptSteps>([&](ScriptSteps* out) {
        script_steps::Current = out;
        HostSettings settings;
        settings.moduleDir = LODRAVIX_BIN_DIR;
        settings.moduleFile = std::string(LODRAVIX_BIN_DIR) + "/liblodravix.so";
        settings.userFolder = folder + "/user";
        settings.embeddedLibrary = true;
        std::filesystem::create_directories(settings.userFolder);
        const std::string logPath = folder + "/" + logName;
        std::ofstream log(logPath);
        StandinHost host(settings, &log);
        host.UseInProcess({GetExportedFuncAddrs, SetImportedFuncAddrs});
        script_steps::Runner runner(host, log, folder);
        out->passed = runner.RunText(script, logName) && out->marks == steps + 1;
        log.close();
        if (out->passed) std::filesystem::remove(logPath);
    });
}
