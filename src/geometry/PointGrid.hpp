#pragma once
// Points of a list by grid cell, to find the points near a place without looking at every point. A query looks at
// the 3 x 3 cells around the place, so the cell must be larger than twice the tolerance the caller compares with.
// The answer is the lowest index the caller accepts, the one a scan of the list would give.
//
// The cells are small next to the spacing of survey points, so most hold one point: they live in one open-addressed
// table with the points chained through one array, not in a node and a list of their own each, which at a million
// points cost more than the tests themselves.
#include <cmath>
#include <cstdint>
#include <vector>

class PointGrid {
public:
    explicit PointGrid(double cell) : cell_(cell) {}

    // Indexes must be added in rising order.
    void Add(double x, double y, int32_t index) {
        if ((used_ + 1) * 2 > slots_.size()) Grow();
        const uint64_t key = Key(Cell(x), Cell(y));
        Slot& slot = slots_[Probe(key)];
        if (slot.head < 0) {
            slot.key = key;
            ++used_;
        }
        if (next_.size() <= size_t(index)) next_.resize(size_t(index) + 1, -1);
        next_[size_t(index)] = slot.head;  // a cell's chain runs from its highest index down
        slot.head = index;
    }

    // The lowest index that `accept` takes among the points near (x, y); -1 when none. `accept` sees every
    // candidate below the answer (all of them when there is none).
    template <typename Accept>
    int32_t First(double x, double y, Accept&& accept) const {
        if (slots_.empty()) return -1;
        const int64_t cx = Cell(x), cy = Cell(y);
        int32_t best = -1;
        for (int64_t dx = -1; dx <= 1; ++dx)
            for (int64_t dy = -1; dy <= 1; ++dy) {
                const Slot& slot = slots_[Probe(Key(cx + dx, cy + dy))];
                for (int32_t i = slot.head; i >= 0; i = next_[size_t(i)])
                    if ((best < 0 || i < best) && accept(i)) best = i;
            }
        return best;
    }

private:
    struct Slot {
        uint64_t key = 0;
        int32_t head = -1;  // -1: an empty slot
    };

    // Clamped, so that far or non-finite coordinates land in an edge cell instead of overflowing.
    int64_t Cell(double v) const {
        const double c = std::floor(v / cell_);
        if (!(c > -4e18)) return INT64_MIN / 2;
        if (!(c < 4e18)) return INT64_MAX / 2;
        return int64_t(c);
    }
    static uint64_t Key(int64_t cx, int64_t cy) { return uint64_t(cx) * 0x9E3779B97F4A7C15ull ^ uint64_t(cy); }

    // The slot holding `key`, or the empty one where it would go.
    size_t Probe(uint64_t key) const {
        const size_t mask = slots_.size() - 1;
        size_t at = size_t((key ^ (key >> 29)) * 0xBF58476D1CE4E5B9ull >> 20) & mask;
        while (slots_[at].head >= 0 && slots_[at].key != key) at = (at + 1) & mask;
        return at;
    }

    void Grow() {
        std::vector<Slot> old;
        old.swap(slots_);
        slots_.assign(old.empty() ? 64 : old.size() * 2, Slot());
        for (const Slot& s : old)
            if (s.head >= 0) slots_[Probe(s.key)] = s;
    }

    double cell_;
    std::vector<Slot> slots_;
    size_t used_ = 0;
    std::vector<int32_t> next_;
};
