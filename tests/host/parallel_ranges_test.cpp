// Ranges cut a loop's items so that each is met exactly once, however many ranges are asked, and a range that
// throws is reported after every range has ended.
#include "ParallelRanges.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

namespace parallel_ranges_test {

TEST(ParallelRangesTest, EveryItemIsMetOnceInRangesThatFollowOnInOrder) {
    for (size_t n : {size_t(0), size_t(1), size_t(7), size_t(64), size_t(1000), size_t(100003)})
        for (size_t ranges : {size_t(0), size_t(1), size_t(2), size_t(3), size_t(8), size_t(200)}) {
            std::vector<int> met(n, 0);
            std::vector<std::pair<size_t, size_t>> spans(std::max<size_t>(ranges, 1), {1, 0});
            ForEachRange(n, ranges, [&](size_t r, size_t from, size_t to) {
                spans[r] = {from, to};
                for (size_t i = from; i < to; ++i) ++met[i];
            });
            for (size_t i = 0; i < n; ++i) ASSERT_EQ(met[i], 1) << n << " items, " << ranges << " ranges: " << i;
            // The ranges that ran follow on from 0 to n, none empty unless there are no items.
            size_t at = 0;
            for (const auto& [from, to] : spans) {
                if (from > to) continue;
                EXPECT_EQ(from, at);
                EXPECT_TRUE(to > from || n == 0);
                at = to;
            }
            EXPECT_EQ(at, n);
        }
    EXPECT_GE(UsableCores(), 1u);
    EXPECT_EQ(RangeCount(10, 1 << 16), 1u);
    EXPECT_LE(RangeCount(size_t(1) << 30, 1 << 16, 4), 4u);
}

TEST(ParallelRangesTest, AFailingRangeIsThrownAfterAllHaveEnded) {
    std::atomic<size_t> done{0};
    EXPECT_THROW(ForEachRange(4000, 4,
                              [&](size_t r, size_t from, size_t to) {
                                  if (r == 1) throw std::runtime_error("range 1");
                                  done += to - from;
                              }),
                 std::runtime_error);
    EXPECT_EQ(done.load(), 3000u);
}

}  // namespace parallel_ranges_test
