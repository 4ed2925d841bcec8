#pragma once
// Driver side of the host memory services: makes allocations fail on purpose and counts live blocks, so
// tests can walk failure paths and check for leaks. Only the host and the tests include this header.
//
// Every allocation counts: BMAllocateHandle, BMReallocHandle (it always allocates a new block),
// BMHandleToHandle, BMAllocatePtr and GS::MemoryManager::Allocate.
#include <cstdint>

namespace MemoryDriver {

// The next `n` allocations succeed; every one after them fails until Reset (n = 0: all fail from now on).
void FailAllocationsAfter(int64_t n);

// The next `n` allocations fail; later ones succeed again.
void FailNextAllocations(int64_t n);

// Back to normal: no allocation fails.
void Reset();

// Allocations attempted and failed (by the switches above or for want of memory) since the process started.
uint64_t AllocationCount();
uint64_t FailedAllocationCount();

// Blocks alive right now, by kind (handles, BMAllocatePtr blocks, GS::MemoryManager blocks).
int64_t LiveHandleCount();
int64_t LivePtrCount();
int64_t LiveManagerBlockCount();

// Sets the switches back on leaving the scope, so a failing test cannot leave them armed.
class ScopedReset {
public:
    ScopedReset() = default;
    ~ScopedReset() { Reset(); }
    ScopedReset(const ScopedReset&) = delete;
    ScopedReset& operator=(const ScopedReset&) = delete;
};

}  // namespace MemoryDriver
