// Host memory services: handle semantics the list and string code rely on, and the failure switch.
#include "GSRoot.hpp"
#include "MemoryDriver.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

namespace memory_test {

class MemoryTest : public ::testing::Test {
protected:
    void TearDown() override {
        MemoryDriver::Reset();
        MemoryDriver::SetAlwaysMove(false);
    }
};

TEST_F(MemoryTest, HandleOfSizeZeroIsValidAndGrows) {
    GSHandle h = BMAllocateHandle(0, ALLOCATE_RELOCATABLE, 0);
    ASSERT_NE(h, nullptr);
    ASSERT_NE(*h, nullptr);
    EXPECT_EQ(BMGetHandleSize(h), 0);
    ASSERT_EQ(BMReallocHandle(h, 5, 0, 0), h);
    EXPECT_EQ(BMGetHandleSize(h), 5);
    EXPECT_EQ(BMKillHandle(&h), NoError);
    EXPECT_EQ(h, nullptr);
}

TEST_F(MemoryTest, ReallocAlwaysMovesAndKeepsTheSmallerSize) {
    MemoryDriver::ScopedAlwaysMove alwaysMove;
    GSHandle h = BMAllocateHandle(8, 0, 0);
    ASSERT_NE(h, nullptr);
    std::memcpy(*h, "abcdefgh", 8);
    for (GSSize newSize : {GSSize(8), GSSize(4), GSSize(12)}) {
        char* before = *h;
        ASSERT_EQ(BMReallocHandle(h, newSize, 0, 0), h);
        EXPECT_NE(*h, before) << "block must move for size " << newSize;
        EXPECT_EQ(BMGetHandleSize(h), newSize);
    }
    // Shrunk to 4, then grown: only the first four bytes survive; the tail is not zeroed without the flag.
    EXPECT_EQ(std::memcmp(*h, "abcd", 4), 0);
    EXPECT_EQ(static_cast<unsigned char>((*h)[4]), 0xCD);
    ASSERT_EQ(BMReallocHandle(h, 20, ALLOCATE_CLEAR, 0), h);
    EXPECT_EQ(std::memcmp(*h, "abcd", 4), 0);
    for (int i = 12; i < 20; ++i) EXPECT_EQ((*h)[i], 0);
    BMKillHandle(&h);
}

// Random resizes against a model of the contents, with and without "always move": the size is the one asked
// for, kept bytes survive, and bytes past the old size read as new ones, never as what the slack held before.
TEST_F(MemoryTest, ResizedHandlesShowExactlyTheirContents) {
    for (const bool alwaysMove : {false, true}) {
        MemoryDriver::SetAlwaysMove(alwaysMove);
        std::mt19937 random(alwaysMove ? 11 : 7);
        std::vector<unsigned char> model;
        GSHandle h = BMAllocateHandle(0, 0, 0);
        ASSERT_NE(h, nullptr);
        for (int step = 0; step < 3000 && !HasFailure(); ++step) {
            const GSSize old = GSSize(model.size());
            const GSSize size = random() % 4 == 0 ? GSSize(random() % 4000) : GSSize(random() % 64);
            const bool clear = random() % 2 == 0;
            const char* before = *h;
            ASSERT_EQ(BMReallocHandle(h, size, clear ? ALLOCATE_CLEAR : 0, 0), h);
            if (alwaysMove) {
                EXPECT_NE(*h, before);
            }
            model.resize(size_t(size), clear ? 0x00 : 0xCD);
            ASSERT_EQ(BMGetHandleSize(h), size);
            ASSERT_TRUE(size == 0 || std::memcmp(*h, model.data(), model.size()) == 0)
                << "step " << step << ": " << old << " -> " << size << (clear ? " cleared" : "");
            for (GSSize i = 0; i < size; i += 1 + GSSize(random() % 7)) {
                model[size_t(i)] = static_cast<unsigned char>(random());
                (*h)[i] = static_cast<char>(model[size_t(i)]);
            }
        }
        BMKillHandle(&h);
    }
}

// Grown a byte at a time, a handle is reserved anew only a logarithmic number of times, and its slack stays
// within half its size: filling it costs time and memory in proportion to its final size.
TEST_F(MemoryTest, SlackGrowsGeometrically) {
    GSHandle h = BMAllocateHandle(0, 0, 0);
    ASSERT_NE(h, nullptr);
    int reservations = 0;
    for (GSSize size = 1; size <= 1000000 && !HasFailure(); ++size) {
        const int64_t before = MemoryDriver::HandleCapacity(h);
        ASSERT_EQ(BMReallocHandle(h, size, 0, 0), h);
        const int64_t capacity = MemoryDriver::HandleCapacity(h);
        reservations += capacity != before;
        EXPECT_GE(capacity, size);
        EXPECT_LE(capacity, size + size / 2 + 64);
    }
    EXPECT_LE(reservations, 30);
    MemoryDriver::ScopedAlwaysMove alwaysMove;
    ASSERT_EQ(BMReallocHandle(h, 10, 0, 0), h);
    EXPECT_EQ(MemoryDriver::HandleCapacity(h), 10);
    BMKillHandle(&h);
}

TEST_F(MemoryTest, FailureSwitchReachesGrowthInPlaceButNotShrinking) {
    GSHandle h = BMAllocateHandle(0, 0, 0);
    ASSERT_EQ(BMReallocHandle(h, 2, 0, 0), h);  // moves, and leaves slack
    std::memcpy(*h, "ok", 2);
    const char* block = *h;
    MemoryDriver::FailNextAllocations(1);
    EXPECT_EQ(BMReallocHandle(h, 3, 0, 0), nullptr);
    EXPECT_EQ(BMError(), ErrMemoryFull);
    EXPECT_EQ(BMGetHandleSize(h), 2);
    EXPECT_EQ(*h, block);
    EXPECT_EQ(BMReallocHandle(h, 3, 0, 0), h);
    EXPECT_EQ(*h, block);
    MemoryDriver::FailAllocationsAfter(0);
    EXPECT_EQ(BMReallocHandle(h, 1, 0, 0), h);
    EXPECT_EQ(BMGetHandleSize(h), 1);
    EXPECT_EQ((*h)[0], 'o');
    BMKillHandle(&h);
}

TEST_F(MemoryTest, KillToleratesNull) {
    GSHandle none = nullptr;
    EXPECT_EQ(BMKillHandle(&none), NoError);
    EXPECT_EQ(BMKillHandle(nullptr), NoError);
    GSPtr p = nullptr;
    EXPECT_EQ(BMKillPtr(&p), NoError);
    EXPECT_EQ(BMKillPtr(nullptr), NoError);
    GS::MemoryManager::Free(nullptr);
    EXPECT_EQ(BMGetHandleSize(nullptr), 0);
}

TEST_F(MemoryTest, HandleToHandleCopiesTheBlock) {
    GSHandle h = BMAllocateHandle(3, 0, 0);
    ASSERT_NE(h, nullptr);
    std::memcpy(*h, "xyz", 3);
    GSHandle copy = nullptr;
    ASSERT_EQ(BMHandleToHandle(h, &copy), NoError);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(*copy, *h);
    EXPECT_EQ(BMGetHandleSize(copy), 3);
    EXPECT_EQ(std::memcmp(*copy, "xyz", 3), 0);
    BMKillHandle(&h);
    BMKillHandle(&copy);
}

TEST_F(MemoryTest, PtrAndManagerBlocks) {
    GSPtr p = BMAllocatePtr(16, ALLOCATE_CLEAR, 0);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(BMGetPtrSize(p), 16);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(p[i], 0);
    EXPECT_EQ(BMKillPtr(&p), NoError);
    EXPECT_EQ(p, nullptr);

    void* block = GS::MemoryManager::Allocate(0);
    ASSERT_NE(block, nullptr);
    GS::MemoryManager::Free(block);
}

TEST_F(MemoryTest, NegativeSizesAreRefused) {
    EXPECT_EQ(BMAllocateHandle(-1, 0, 0), nullptr);
    EXPECT_EQ(BMError(), ErrParam);
    EXPECT_EQ(BMAllocatePtr(-1, 0, 0), nullptr);
    GSHandle h = BMAllocateHandle(2, 0, 0);
    EXPECT_EQ(BMReallocHandle(h, -4, 0, 0), nullptr);
    EXPECT_EQ(BMGetHandleSize(h), 2);
    BMKillHandle(&h);
}

TEST_F(MemoryTest, FailNextAllocationsFailsExactlyThatMany) {
    MemoryDriver::FailNextAllocations(2);
    EXPECT_EQ(BMAllocateHandle(4, 0, 0), nullptr);
    EXPECT_EQ(BMError(), ErrMemoryFull);
    EXPECT_EQ(GS::MemoryManager::Allocate(4), nullptr);
    GSPtr p = BMAllocatePtr(4, 0, 0);
    EXPECT_NE(p, nullptr);
    BMKillPtr(&p);
}

TEST_F(MemoryTest, FailAllocationsAfterLetsSomeThrough) {
    MemoryDriver::FailAllocationsAfter(1);
    GSHandle h = BMAllocateHandle(4, 0, 0);
    ASSERT_NE(h, nullptr);
    std::memcpy(*h, "keep", 4);
    char* before = *h;
    // A failed reallocation leaves the handle and its block as they were.
    EXPECT_EQ(BMReallocHandle(h, 40, 0, 0), nullptr);
    EXPECT_EQ(*h, before);
    EXPECT_EQ(BMGetHandleSize(h), 4);
    EXPECT_EQ(std::memcmp(*h, "keep", 4), 0);
    GSHandle copy = reinterpret_cast<GSHandle>(1);
    EXPECT_EQ(BMHandleToHandle(h, &copy), ErrMemoryFull);
    EXPECT_EQ(copy, nullptr);
    MemoryDriver::Reset();
    EXPECT_EQ(BMReallocHandle(h, 40, 0, 0), h);
    BMKillHandle(&h);
}

TEST_F(MemoryTest, LiveCountsReturnToStart) {
    const int64_t handles = MemoryDriver::LiveHandleCount();
    const int64_t ptrs = MemoryDriver::LivePtrCount();
    const int64_t blocks = MemoryDriver::LiveManagerBlockCount();
    GSHandle h = BMAllocateHandle(1, 0, 0);
    GSPtr p = BMAllocatePtr(1, 0, 0);
    void* m = GS::MemoryManager::Allocate(1);
    EXPECT_EQ(MemoryDriver::LiveHandleCount(), handles + 1);
    EXPECT_EQ(MemoryDriver::LivePtrCount(), ptrs + 1);
    EXPECT_EQ(MemoryDriver::LiveManagerBlockCount(), blocks + 1);
    BMKillHandle(&h);
    BMKillPtr(&p);
    GS::MemoryManager::Free(m);
    EXPECT_EQ(MemoryDriver::LiveHandleCount(), handles);
    EXPECT_EQ(MemoryDriver::LivePtrCount(), ptrs);
    EXPECT_EQ(MemoryDriver::LiveManagerBlockCount(), blocks);
}

}  // namespace memory_test
