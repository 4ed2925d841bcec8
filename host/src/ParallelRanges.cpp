#include "ParallelRanges.hpp"

#include <sched.h>

#include <algorithm>
#include <exception>
#include <thread>
#include <vector>

size_t UsableCores() {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) == 0) return size_t(std::max(CPU_COUNT(&set), 1));
    return std::max<size_t>(std::thread::hardware_concurrency(), 1);
}

size_t RangeCount(size_t n, size_t least, size_t most) {
    const size_t byLength = least > 0 ? n / least : n;
    return std::clamp<size_t>(std::min({UsableCores(), byLength, most}), 1, std::max<size_t>(most, 1));
}

void ForEachRange(size_t n, size_t ranges, const std::function<void(size_t, size_t, size_t)>& work) {
    ranges = std::clamp<size_t>(ranges, 1, std::max<size_t>(n, 1));
    const auto from = [&](size_t r) { return n / ranges * r + std::min(r, n % ranges); };
    std::vector<std::exception_ptr> failed(ranges);
    const auto run = [&](size_t r) {
        try {
            work(r, from(r), from(r + 1));
        } catch (...) {
            failed[r] = std::current_exception();
        }
    };
    std::vector<std::thread> others;
    others.reserve(ranges - 1);
    try {
        for (size_t r = 1; r < ranges; ++r) others.emplace_back(run, r);
    } catch (...) {
        // No thread to be had: the ranges not started run here.
        for (size_t r = others.size() + 1; r < ranges; ++r) run(r);
    }
    run(0);
    for (std::thread& t : others) t.join();
    for (const std::exception_ptr& e : failed)
        if (e) std::rethrow_exception(e);
}
