#include "CRuntime.hpp"

#include "RuntimeDriver.hpp"

#include <atomic>

namespace {
// The runtime's linear congruential sequence; only its upper 15 bits are handed out.
std::atomic<uint32_t> RandState{1};
}  // namespace

namespace CRT {

int32_t rand() {
    uint32_t state = RandState.load(std::memory_order_relaxed);
    uint32_t next = 0;
    do {
        next = state * 214013u + 2531011u;
    } while (!RandState.compare_exchange_weak(state, next, std::memory_order_relaxed));
    return int32_t((next >> 16) & 0x7FFFu);
}

}  // namespace CRT

namespace RuntimeDriver {

void SeedRand(uint32_t seed) { RandState.store(seed, std::memory_order_relaxed); }

}  // namespace RuntimeDriver
