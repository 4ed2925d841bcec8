#pragma once
// Driver side of the host memory services: makes allocations fail on purpose, makes every handle
// reallocation move, and counts live blocks, so tests can walk failure paths, catch stale pointers into a
// handle and check for leaks. Only the host and the tests include this header.
//
// Every request for memory counts as an allocation: BMAllocateHandle, a BMReallocHandle that grows the handle
// (whether its slack serves it in place or not) or moves it, BMHandleToHandle, BMAllocatePtr and
// GS::MemoryManager::Allocate. A reallocation that shrinks a handle in place asks for nothing and cannot fail.
#include <cstdint>

namespace MemoryDriver {

// The next `n` allocations succeed; every one after them fails until Reset (n = 0: all fail from now on).
void FailAllocationsAfter(int64_t n);

// The next `n` allocations fail; later ones succeed again.
void FailNextAllocations(int64_t n);

// Back to normal: no allocation fails.
void Reset();

// Off by default: a handle grows and shrinks in place while its hidden slack allows, and moves only when it
// outgrows it. On: every BMReallocHandle moves the block to a new address (also when shrinking or keeping the
// size) and gives it no slack, so code that keeps a pointer into a block across a reallocation fails at once.
// Reset leaves this switch as it is.
void SetAlwaysMove(bool on);
bool AlwaysMove();

// Bytes reserved behind a handle: its size plus the hidden slack (0 for a null handle or no handle).
int64_t HandleCapacity(const char* const* handle);

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

// Turns "always move" on for the scope and restores the previous setting on leaving it.
class ScopedAlwaysMove {
public:
    ScopedAlwaysMove() : previous_(AlwaysMove()) { SetAlwaysMove(true); }
    ~ScopedAlwaysMove() { SetAlwaysMove(previous_); }
    ScopedAlwaysMove(const ScopedAlwaysMove&) = delete;
    ScopedAlwaysMove& operator=(const ScopedAlwaysMove&) = delete;

private:
    bool previous_;
};

}  // namespace MemoryDriver
