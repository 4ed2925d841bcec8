// The segment grid offers every added segment whose box meets the look's box exactly once (and the long ones it
// keeps apart), whatever the cell side, for crowded, long, far-off and degenerate segments, looks that are points
// or wider than the grid, and a segment added right after its own look or later; a stop from the visit ends the look.
#include "geometry/SegmentGrid.hpp"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace segment_grid_test {

TEST(SegmentGridTest, OffersEverySegmentWhoseBoxMeetsTheLookOnce) {
    std::mt19937 rng(54);
    for (const double cell : {0.05, 1.0, 30.0}) {
        for (const double offset : {0.0, -1e9, 3e15}) {
            std::uniform_real_distribution<double> at(-100.0, 100.0), length(0.0, 3.0);
            SegmentGrid grid(cell);
            std::vector<SegmentBox> boxes;
            for (int n = 0; n < 1500; ++n) {
                const double x = offset + at(rng), y = at(rng);
                // Short ones mostly; some long, some points.
                const double reach = n % 50 == 0 ? 150.0 : n % 7 == 0 ? 0.0 : length(rng);
                const SegmentBox look =
                    SegmentBox::Of(x, y, x + reach * (at(rng) / 100.0), y + reach * (at(rng) / 100.0));
                std::vector<int> seen(boxes.size(), 0);
                grid.Near(look, [&](int32_t i) {
                    ++seen[size_t(i)];
                    return false;
                });
                for (size_t i = 0; i < boxes.size(); ++i) {
                    EXPECT_LE(seen[i], 1) << i;
                    if (boxes[i].Meets(look)) {
                        EXPECT_EQ(seen[i], 1) << cell << " " << offset << " " << i;
                    }
                }
                // Added right after its look most times, later the others.
                if (n % 3 != 0) {
                    grid.Add(int32_t(boxes.size()), look);
                    boxes.push_back(look);
                } else {
                    const SegmentBox other =
                        SegmentBox::Of(offset + at(rng), at(rng), offset + at(rng) / 50, at(rng) / 50);
                    grid.Add(int32_t(boxes.size()), other);
                    boxes.push_back(other);
                }
            }
            // A stop ends the look at once.
            int visits = 0;
            EXPECT_TRUE(grid.Near({offset - 1e3, -1e3, offset + 1e3, 1e3}, [&](int32_t) { return ++visits == 3; }));
            EXPECT_EQ(visits, 3);
        }
    }
    // Nothing added, nothing offered.
    SegmentGrid empty(1.0);
    EXPECT_FALSE(empty.Near({0, 0, 1, 1}, [](int32_t) { return true; }));
}

}  // namespace segment_grid_test
