#include "sosi/SOSIPointGrid.hpp"

#include <cmath>

namespace {
// Cells beyond are one cell: far-off or huge values stay correct, only slower.
constexpr double KeyLimit = 1e15;
}  // namespace

SOSIPointGrid::SOSIPointGrid(double cell) : cell_(cell > 0.0 && std::isfinite(cell) ? cell : 1.0) {}

int64_t SOSIPointGrid::CellOf(double v) const {
    const double q = std::floor(v / cell_);
    if (!(q > -KeyLimit)) return int64_t(-KeyLimit);
    if (!(q < KeyLimit)) return int64_t(KeyLimit);
    return int64_t(q);
}

size_t SOSIPointGrid::Find(int64_t cx, int64_t cy) const {
    const size_t mask = slots_.size() - 1;
    uint64_t h = uint64_t(cx) * 0x9E3779B97F4A7C15ull ^ (uint64_t(cy) + 0x632BE59BD9B4E019ull) * 0xC2B2AE3D27D4EB4Full;
    h ^= h >> 29;
    for (size_t i = size_t(h) & mask;; i = (i + 1) & mask)
        if (slots_[i].head < 0 || (slots_[i].cx == cx && slots_[i].cy == cy)) return i;
}

void SOSIPointGrid::Grow() {
    std::vector<Slot> old;
    old.swap(slots_);
    slots_.assign(old.empty() ? 64 : old.size() * 2, Slot{0, 0, -1});
    for (const Slot& s : old)
        if (s.head >= 0) slots_[Find(s.cx, s.cy)] = s;
}

void SOSIPointGrid::Add(double x, double y) {
    if ((cells_ + 1) * 2 > slots_.size()) Grow();
    const int64_t cx = CellOf(x), cy = CellOf(y);
    Slot& slot = slots_[Find(cx, cy)];
    if (slot.head < 0) {
        slot = Slot{cx, cy, -1};
        ++cells_;
    }
    entries_.push_back(Entry{x, y, slot.head, 0});
    slot.head = int32_t(entries_.size() - 1);
    ++live_;
}

bool SOSIPointGrid::AnyWithin(double x, double y, double d) const {
    if (live_ == 0) return false;
    const double d2 = d * d;
    // A margin past the distance, so that the division's rounding never leaves out a cell that holds an answer.
    const double r = std::fabs(d) * (1.0 + 1e-9) + 1e-12 * (std::fabs(x) + std::fabs(y));
    const int64_t x0 = CellOf(x - r), x1 = CellOf(x + r), y0 = CellOf(y - r), y1 = CellOf(y + r);
    for (int64_t cx = x0; cx <= x1; ++cx)
        for (int64_t cy = y0; cy <= y1; ++cy) {
            const Slot& slot = slots_[Find(cx, cy)];
            for (int32_t e = slot.head; e >= 0; e = entries_[size_t(e)].next) {
                const Entry& p = entries_[size_t(e)];
                if (p.removed == 0 && (p.x - x) * (p.x - x) + (p.y - y) * (p.y - y) < d2) return true;
            }
        }
    return false;
}

bool SOSIPointGrid::RemoveAt(double x, double y) {
    if (live_ == 0) return false;
    const Slot& slot = slots_[Find(CellOf(x), CellOf(y))];
    for (int32_t e = slot.head; e >= 0; e = entries_[size_t(e)].next) {
        Entry& p = entries_[size_t(e)];
        if (p.removed == 0 && p.x == x && p.y == y) {
            p.removed = 1;
            --live_;
            return true;
        }
    }
    return false;
}
