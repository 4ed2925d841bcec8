#pragma once
// Points of a list by grid cell, to find the points near a place without looking at every point. A query looks at
// the 3 x 3 cells around the place, so the cell must be larger than twice the tolerance the caller compares with.
// Candidates are visited by list index, lowest first, so the answer is the one a scan of the list would give.
#include <cmath>
#include <cstdint>
#include <unordered_map>
#include <vector>

class PointGrid {
public:
    explicit PointGrid(double cell) : cell_(cell) {}

    // Indexes must be added in rising order.
    void Add(double x, double y, int32_t index) { cells_[Key(Cell(x), Cell(y))].push_back(index); }

    // The lowest index that `accept` takes among the points near (x, y); -1 when none.
    template <typename Accept>
    int32_t First(double x, double y, Accept&& accept) const {
        const int64_t cx = Cell(x), cy = Cell(y);
        int32_t best = -1;
        for (int64_t dx = -1; dx <= 1; ++dx)
            for (int64_t dy = -1; dy <= 1; ++dy) {
                const auto it = cells_.find(Key(cx + dx, cy + dy));
                if (it == cells_.end()) continue;
                for (int32_t i : it->second) {
                    if (best >= 0 && i >= best) break;  // indexes rise within a cell
                    if (accept(i)) best = i;
                }
            }
        return best;
    }

private:
    // Clamped, so that far or non-finite coordinates land in an edge cell instead of overflowing.
    int64_t Cell(double v) const {
        const double c = std::floor(v / cell_);
        if (!(c > -4e18)) return INT64_MIN / 2;
        if (!(c < 4e18)) return INT64_MAX / 2;
        return int64_t(c);
    }
    static uint64_t Key(int64_t cx, int64_t cy) { return uint64_t(cx) * 0x9E3779B97F4A7C15ull ^ uint64_t(cy); }

    double cell_;
    std::unordered_map<uint64_t, std::vector<int32_t>> cells_;
};
