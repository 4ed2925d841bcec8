#pragma once
// Basic types and memory services of the host runtime (GSRoot).
//
// Relocatable handles: a GSHandle points at a master pointer that the runtime owns; *handle is the block.
// The block may move whenever the handle is reallocated, so code must re-read *handle after every
// BMReallocHandle and never keep a raw pointer into the block across it. Handles keep hidden slack and grow
// in place while it lasts, so filling a handle a little at a time costs time in proportion to its final
// size; the memory driver can make every reallocation move the block instead, so a stale pointer shows up
// at once.
//
// Every allocation can be made to fail through the memory driver (platform/driver/MemoryDriver.hpp), so
// failure paths can be tested.
#include <cstddef>
#include <cstdint>

typedef int8_t Int8;
typedef uint8_t UInt8;
typedef int16_t Int16;
typedef uint16_t UInt16;
typedef int32_t Int32;
typedef uint32_t UInt32;
typedef int64_t Int64;
typedef uint64_t UInt64;

typedef int32_t GSErrCode;
typedef char* GSPtr;
typedef const char* GSConstPtr;
typedef char** GSHandle;
typedef const char* const* GSConstHandle;
typedef int64_t GSSize;
typedef uint32_t GSFlags;

namespace GS {
typedef char16_t UniChar;
}

// Error codes of the memory services.
constexpr GSErrCode NoError = 0;
constexpr GSErrCode ErrParam = -50;        // bad argument (negative size, not a handle of this runtime)
constexpr GSErrCode ErrMemoryFull = -108;  // the allocation failed

// Allocation flags. ALLOCATE_CLEAR zeroes the new block (and the grown tail on reallocation); without it
// new bytes are filled with a 0xCD pattern so reads of uninitialised memory are visible. ALLOCATE_RELOCATABLE
// is accepted for compatibility: every handle block may move here.
constexpr GSFlags ALLOCATE_CLEAR = 0x0001;
constexpr GSFlags ALLOCATE_RELOCATABLE = 0x0002;

// Allocates a handle whose block holds `size` bytes. A size of 0 gives a valid handle with an empty block.
// Returns nullptr on failure (negative size or out of memory).
GSHandle BMAllocateHandle(GSSize size, GSFlags flags, GSFlags reserved);

// Resizes the block of `handle` to `newSize` bytes, in place or into a new block at a new address; the
// contents are kept up to the smaller of the two sizes, and bytes past the old size read as new ones (zero
// with ALLOCATE_CLEAR, the 0xCD pattern without), never as earlier contents. Returns `handle` itself (the
// master pointer does not move) on success. On failure returns nullptr and leaves the handle and its old
// block untouched and valid.
GSHandle BMReallocHandle(GSHandle handle, GSSize newSize, GSFlags flags, GSFlags reserved);

// Frees the handle and its block and sets *handle to nullptr. A null `handle` or a null *handle is fine.
GSErrCode BMKillHandle(GSHandle* handle);

// Size of the handle's block in bytes, as last asked for (its slack is not counted); 0 for a null handle.
GSSize BMGetHandleSize(GSConstHandle handle);

// Copies `source` into a new handle stored in *destination (nullptr on failure).
GSErrCode BMHandleToHandle(GSConstHandle source, GSHandle* destination);

// Non-relocatable blocks. A size of 0 gives a valid pointer to an empty block. nullptr on failure.
GSPtr BMAllocatePtr(GSSize size, GSFlags flags, GSFlags reserved);
// Frees the block and sets *ptr to nullptr; null tolerated.
GSErrCode BMKillPtr(GSPtr* ptr);
// Size of a block from BMAllocatePtr; 0 for nullptr.
GSSize BMGetPtrSize(GSConstPtr ptr);

// Error of the last memory call of this thread (NoError after a success).
GSErrCode BMError();

namespace GS {
// The general-purpose allocator of the runtime (string buffers and the like).
class MemoryManager {
public:
    // nullptr on failure; a size of 0 gives a valid, empty block.
    static void* Allocate(GSSize size);
    // Null tolerated.
    static void Free(void* block);
};
}  // namespace GS
