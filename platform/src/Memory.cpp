// Host memory services: relocatable handles, plain blocks and the general allocator, with the driver switches
// that make allocations fail on purpose and every handle reallocation move.
#include "GSRoot.hpp"
#include "MemoryDriver.hpp"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

constexpr unsigned char kUninitialisedFill = 0xCD;  // fresh bytes without ALLOCATE_CLEAR
constexpr unsigned char kFreedFill = 0xDD;          // bytes of a released block, until the C runtime reuses it
constexpr uint64_t kHandleMagic = 0x48444C4E4C445658ull;
constexpr uint64_t kPtrMagic = 0x5054524C4C445658ull;
constexpr uint64_t kManagerMagic = 0x4D47524C4C445658ull;
constexpr uint64_t kDeadMagic = 0xDEADDEADDEADDEADull;

// Largest block we agree to allocate; far above anything real, but keeps size arithmetic from overflowing.
constexpr GSSize kMaxBlockSize = GSSize(1) << 40;

std::atomic<int64_t> g_failNext{0};
std::atomic<int64_t> g_allowRemaining{-1};  // -1: no limit armed
std::atomic<uint64_t> g_allocations{0};
std::atomic<uint64_t> g_failures{0};
std::atomic<int64_t> g_liveHandles{0};
std::atomic<int64_t> g_livePtrs{0};
std::atomic<int64_t> g_liveManager{0};
std::atomic<bool> g_alwaysMove{false};
thread_local GSErrCode g_lastError = NoError;

// Decides whether the next allocation may go ahead, following the driver switches.
bool AllocationAllowed() {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    int64_t failNext = g_failNext.load();
    while (failNext > 0) {
        if (g_failNext.compare_exchange_weak(failNext, failNext - 1)) {
            g_failures.fetch_add(1, std::memory_order_relaxed);
            return false;
        }
    }
    int64_t allow = g_allowRemaining.load();
    while (allow >= 0) {
        if (allow == 0) {
            g_failures.fetch_add(1, std::memory_order_relaxed);
            return false;
        }
        if (g_allowRemaining.compare_exchange_weak(allow, allow - 1)) break;
    }
    return true;
}

// Raw storage of `size` bytes (at least one byte, so an empty block still has an address of its own), without
// asking the driver switches: for callers that asked them already.
char* RawBlock(GSSize size, bool clear) {
    char* block = static_cast<char*>(std::malloc(size > 0 ? static_cast<size_t>(size) : 1));
    if (block == nullptr) {
        g_failures.fetch_add(1, std::memory_order_relaxed);
        return nullptr;
    }
    if (size > 0) std::memset(block, clear ? 0 : kUninitialisedFill, static_cast<size_t>(size));
    return block;
}

char* RawAllocate(GSSize size, bool clear) {
    if (size < 0 || size > kMaxBlockSize) return nullptr;
    if (!AllocationAllowed()) return nullptr;
    return RawBlock(size, clear);
}

void RawFree(char* block, GSSize size) {
    if (block == nullptr) return;
    if (size > 0) std::memset(block, kFreedFill, static_cast<size_t>(size));
    std::free(block);
}

// The master record of a handle; the handle is the address of its first member. The block holds `capacity`
// bytes, of which the caller sees `size`: the slack lets a handle grown a little at a time stay in place, as
// a real host's memory manager does, instead of being copied whole on every growth.
struct MasterRecord {
    char* block;
    GSSize size;
    GSSize capacity;
    uint64_t magic;
};
static_assert(offsetof(MasterRecord, block) == 0, "a handle points at the block pointer");

MasterRecord* RecordOf(GSConstHandle handle) {
    if (handle == nullptr) return nullptr;
    auto* record = reinterpret_cast<MasterRecord*>(const_cast<char**>(handle));
    return record->magic == kHandleMagic ? record : nullptr;
}

// Header in front of BMAllocatePtr and MemoryManager blocks; 32 bytes keep the data 16-byte aligned.
struct BlockHeader {
    uint64_t magic;
    GSSize size;
    uint64_t reserved[2];
};
static_assert(sizeof(BlockHeader) == 32, "block header keeps 16-byte alignment");

char* AllocateWithHeader(GSSize size, bool clear, uint64_t magic) {
    if (size < 0 || size > kMaxBlockSize) return nullptr;
    char* raw = RawAllocate(size + GSSize(sizeof(BlockHeader)), false);
    if (raw == nullptr) return nullptr;
    auto* header = reinterpret_cast<BlockHeader*>(raw);
    header->magic = magic;
    header->size = size;
    header->reserved[0] = header->reserved[1] = 0;
    char* data = raw + sizeof(BlockHeader);
    if (clear && size > 0) std::memset(data, 0, static_cast<size_t>(size));
    return data;
}

BlockHeader* HeaderOf(const void* data, uint64_t magic) {
    if (data == nullptr) return nullptr;
    auto* header =
        reinterpret_cast<BlockHeader*>(const_cast<char*>(static_cast<const char*>(data)) - sizeof(BlockHeader));
    return header->magic == magic ? header : nullptr;
}

bool FreeWithHeader(void* data, uint64_t magic) {
    BlockHeader* header = HeaderOf(data, magic);
    if (header == nullptr) return false;
    const GSSize size = header->size;
    header->magic = kDeadMagic;
    RawFree(reinterpret_cast<char*>(header), size + GSSize(sizeof(BlockHeader)));
    return true;
}

// Capacity for a handle that must move to hold `size` bytes: half as much again as it had (and at least a
// little), so the bytes copied over many small growths stay proportional to the final size.
GSSize GrownCapacity(GSSize capacity, GSSize size) {
    constexpr GSSize kMinCapacity = 64;
    GSSize grown = capacity + capacity / 2;
    if (grown < kMinCapacity) grown = kMinCapacity;
    if (grown > kMaxBlockSize) grown = kMaxBlockSize;
    return grown > size ? grown : size;
}

GSErrCode Fail(GSErrCode code) {
    g_lastError = code;
    return code;
}

}  // namespace

GSHandle BMAllocateHandle(GSSize size, GSFlags flags, GSFlags /*reserved*/) {
    if (size < 0) {
        Fail(ErrParam);
        return nullptr;
    }
    char* block = RawAllocate(size, (flags & ALLOCATE_CLEAR) != 0);
    if (block == nullptr) {
        Fail(ErrMemoryFull);
        return nullptr;
    }
    auto* record = static_cast<MasterRecord*>(std::malloc(sizeof(MasterRecord)));
    if (record == nullptr) {
        RawFree(block, size);
        Fail(ErrMemoryFull);
        return nullptr;
    }
    record->block = block;
    record->size = size;
    record->capacity = size;
    record->magic = kHandleMagic;
    g_liveHandles.fetch_add(1);
    g_lastError = NoError;
    return &record->block;
}

GSHandle BMReallocHandle(GSHandle handle, GSSize newSize, GSFlags flags, GSFlags /*reserved*/) {
    MasterRecord* record = RecordOf(handle);
    if (record == nullptr || newSize < 0) {
        Fail(ErrParam);
        return nullptr;
    }
    if (newSize > kMaxBlockSize) {
        Fail(ErrMemoryFull);
        return nullptr;
    }
    const bool alwaysMove = g_alwaysMove.load(std::memory_order_relaxed);
    const bool move = alwaysMove || newSize > record->capacity;
    // Every growth asks the memory manager for memory, also one the slack serves: callers cannot tell the two
    // apart, so the failure switches reach every growth.
    if ((move || newSize > record->size) && !AllocationAllowed()) {
        Fail(ErrMemoryFull);
        return nullptr;
    }
    const GSSize kept = record->size < newSize ? record->size : newSize;
    if (alwaysMove) {
        // A new block every time, the old one filled as released: a stale pointer into it reads garbage.
        char* block = RawBlock(newSize, false);
        if (block == nullptr) {
            Fail(ErrMemoryFull);
            return nullptr;
        }
        if (kept > 0) std::memcpy(block, record->block, static_cast<size_t>(kept));
        RawFree(record->block, record->capacity);
        record->block = block;
        record->capacity = newSize;
    } else if (move) {
        // The C runtime may extend a large block in place or remap its pages instead of copying them.
        const GSSize capacity = GrownCapacity(record->capacity, newSize);
        char* block = static_cast<char*>(std::realloc(record->block, static_cast<size_t>(capacity)));
        if (block == nullptr) {
            g_failures.fetch_add(1, std::memory_order_relaxed);
            Fail(ErrMemoryFull);
            return nullptr;
        }
        record->block = block;
        record->capacity = capacity;
    } else if (newSize < record->size) {
        // The cut tail reads as released memory, and comes back filled afresh if the handle grows again.
        std::memset(record->block + newSize, kFreedFill, static_cast<size_t>(record->size - newSize));
    }
    if (newSize > kept)
        std::memset(record->block + kept, (flags & ALLOCATE_CLEAR) != 0 ? 0 : kUninitialisedFill,
                    static_cast<size_t>(newSize - kept));
    record->size = newSize;
    g_lastError = NoError;
    return handle;
}

GSErrCode BMKillHandle(GSHandle* handle) {
    if (handle == nullptr || *handle == nullptr) {
        g_lastError = NoError;
        return NoError;
    }
    MasterRecord* record = RecordOf(*handle);
    if (record == nullptr) return Fail(ErrParam);
    RawFree(record->block, record->capacity);
    record->block = nullptr;
    record->magic = kDeadMagic;
    std::free(record);
    g_liveHandles.fetch_sub(1);
    *handle = nullptr;
    g_lastError = NoError;
    return NoError;
}

GSSize BMGetHandleSize(GSConstHandle handle) {
    MasterRecord* record = RecordOf(handle);
    if (record == nullptr) {
        if (handle != nullptr) Fail(ErrParam);
        return 0;
    }
    g_lastError = NoError;
    return record->size;
}

GSErrCode BMHandleToHandle(GSConstHandle source, GSHandle* destination) {
    if (destination == nullptr) return Fail(ErrParam);
    *destination = nullptr;
    MasterRecord* record = RecordOf(source);
    if (record == nullptr) return Fail(ErrParam);
    GSHandle copy = BMAllocateHandle(record->size, 0, 0);
    if (copy == nullptr) return Fail(ErrMemoryFull);
    if (record->size > 0) std::memcpy(*copy, record->block, static_cast<size_t>(record->size));
    *destination = copy;
    g_lastError = NoError;
    return NoError;
}

GSPtr BMAllocatePtr(GSSize size, GSFlags flags, GSFlags /*reserved*/) {
    if (size < 0) {
        Fail(ErrParam);
        return nullptr;
    }
    char* data = AllocateWithHeader(size, (flags & ALLOCATE_CLEAR) != 0, kPtrMagic);
    if (data == nullptr) {
        Fail(ErrMemoryFull);
        return nullptr;
    }
    g_livePtrs.fetch_add(1);
    g_lastError = NoError;
    return data;
}

GSErrCode BMKillPtr(GSPtr* ptr) {
    if (ptr == nullptr || *ptr == nullptr) {
        g_lastError = NoError;
        return NoError;
    }
    if (!FreeWithHeader(*ptr, kPtrMagic)) return Fail(ErrParam);
    g_livePtrs.fetch_sub(1);
    *ptr = nullptr;
    g_lastError = NoError;
    return NoError;
}

GSSize BMGetPtrSize(GSConstPtr ptr) {
    BlockHeader* header = HeaderOf(ptr, kPtrMagic);
    return header != nullptr ? header->size : 0;
}

GSErrCode BMError() { return g_lastError; }

namespace GS {

void* MemoryManager::Allocate(GSSize size) {
    char* data = AllocateWithHeader(size, false, kManagerMagic);
    if (data == nullptr) {
        Fail(ErrMemoryFull);
        return nullptr;
    }
    g_liveManager.fetch_add(1);
    return data;
}

void MemoryManager::Free(void* block) {
    if (block == nullptr) return;
    if (FreeWithHeader(block, kManagerMagic)) g_liveManager.fetch_sub(1);
}

}  // namespace GS

namespace MemoryDriver {

void FailAllocationsAfter(int64_t n) {
    g_failNext = 0;
    g_allowRemaining = n < 0 ? 0 : n;
}

void FailNextAllocations(int64_t n) {
    g_allowRemaining = -1;
    g_failNext = n < 0 ? 0 : n;
}

void Reset() {
    g_failNext = 0;
    g_allowRemaining = -1;
}

void SetAlwaysMove(bool on) { g_alwaysMove = on; }
bool AlwaysMove() { return g_alwaysMove.load(); }

int64_t HandleCapacity(GSConstHandle handle) {
    const MasterRecord* record = RecordOf(handle);
    return record != nullptr ? record->capacity : 0;
}

uint64_t AllocationCount() { return g_allocations.load(); }
uint64_t FailedAllocationCount() { return g_failures.load(); }
int64_t LiveHandleCount() { return g_liveHandles.load(); }
int64_t LivePtrCount() { return g_livePtrs.load(); }
int64_t LiveManagerBlockCount() { return g_liveManager.load(); }

}  // namespace MemoryDriver
