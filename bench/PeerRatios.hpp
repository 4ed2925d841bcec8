#pragma once
// The closing table of a reader benchmark: for every size and every pair of runs (our read and the peer's on the
// same input) that both ran at that size, the milliseconds, the ratio and the peak memory each read adds (measured
// once in a child process).
#include "PeakMemory.hpp"
#include "TimesBySize.hpp"

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

// One row: our benchmark and the peer's by name, and one read of each for its peak memory.
struct PeerPair {
    std::string what, ours, peer;
    std::function<size_t()> readOurs, readPeer;
};

class PeerRatioReporter : public TimesBySize {
public:
    void Finalize() override {
        ConsoleReporter::Finalize();
        const std::vector<PeerPair> pairs = Pairs();
        if (pairs.empty()) return;
        std::printf("\n%12s %22s %16s %8s %10s %14s\n", "size", "read", "ms (GDAL ms)", "ratio", "peak MiB",
                    "GDAL peak MiB");
        for (auto& [size, seconds] : seconds_)
            for (const PeerPair& p : pairs) {
                if (!seconds.count(p.ours) || !seconds.count(p.peer)) continue;
                const double a = seconds[p.ours] * 1e3, b = seconds[p.peer] * 1e3;
                std::printf("%12lld %22s %7.1f (%6.1f) %8.2f %10.1f %14.1f\n", static_cast<long long>(size),
                            p.what.c_str(), a, b, b > 0 ? a / b : 0.0, PeakMiB(p.readOurs), PeakMiB(p.readPeer));
            }
    }

protected:
    // The pairs to print; none when the inputs could not be made.
    virtual std::vector<PeerPair> Pairs() const = 0;
};
