#pragma once
// Driver side of the runtime's C library stand-in. Host and tests only.
#include <cstdint>

namespace RuntimeDriver {

// Restarts CRT::rand's sequence from `seed` (the sequence at start is that of seed 1).
void SeedRand(uint32_t seed);

// Restarts GS::Guid::Generate's sequence from `seed`: the same seed gives the same GUIDs in the same order. Until
// the first call the sequence is seeded from the system's entropy.
void SeedGuids(uint64_t seed);

}  // namespace RuntimeDriver
