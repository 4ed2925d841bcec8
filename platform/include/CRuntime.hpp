#pragma once
// The host runtime's C library functions the module calls beyond the standard library's own.
#include <cstdint>

namespace CRT {

// The largest value rand answers.
constexpr int32_t RandMax = 32767;

// The runtime's pseudo-random generator: integers 0 to RandMax. The module never seeds it; the host's driver
// side may (platform/driver/RuntimeDriver.hpp).
int32_t rand();

}  // namespace CRT
