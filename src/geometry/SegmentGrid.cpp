#include "geometry/SegmentGrid.hpp"

#include <algorithm>

SegmentGrid::SegmentGrid(double cell) : side_(cell > 0.0 && std::isfinite(cell) ? cell : 1.0) {}

size_t SegmentGrid::SlotOf(const Key& k) {
    if (4 * (filled_ + 1) > 3 * slots_.size()) Grow();
    size_t i = Hash(k) & mask_;
    for (; !(slots_[i].key == k); i = (i + 1) & mask_) {
        if (slots_[i].key == NoKey) {
            slots_[i] = {k, -1};
            ++filled_;
            break;
        }
    }
    return i;
}

void SegmentGrid::Grow() {
    std::vector<Slot> old;
    old.swap(slots_);
    const size_t size = old.empty() ? 64 : old.size() * 2;
    slots_.assign(size, Slot{NoKey, -1});
    mask_ = size - 1;
    for (const Slot& s : old) {
        if (s.key == NoKey) continue;
        size_t i = Hash(s.key) & mask_;
        while (!(slots_[i].key == NoKey)) i = (i + 1) & mask_;
        slots_[i] = s;
    }
}

void SegmentGrid::Add(int32_t index, const SegmentBox& box) {
    const bool fresh = pendingFresh_;
    pendingFresh_ = false;
    const double x0 = Cell(box.x0), x1 = Cell(box.x1), y0 = Cell(box.y0), y1 = Cell(box.y1);
    if (!(x1 - x0 < MaxItemCells && y1 - y0 < MaxItemCells)) {
        long_.push_back(index);
        return;
    }
    // The look just made covered these cells: their slots are known.
    if (fresh && x0 >= Cell(pendingBox_.x0) && x1 <= Cell(pendingBox_.x1) && y0 >= Cell(pendingBox_.y0) &&
        y1 <= Cell(pendingBox_.y1)) {
        for (const Pending& p : pending_)
            if (p.i >= x0 && p.i <= x1 && p.j >= y0 && p.j <= y1) Chain(p.slot, box, index);
        return;
    }
    for (double i = x0;; i = CellAfter(i)) {
        for (double j = y0;; j = CellAfter(j)) {
            Chain(SlotOf(Key{CellBits(i), CellBits(j)}), box, index);
            if (!(j < y1)) break;
        }
        if (!(i < x1)) break;
    }
}

double SegmentGrid::CellFor(double summedSides, int32_t count, double extent) {
    if (count <= 0) return 1.0;
    double cell = summedSides / count;
    // No more than about four cells per segment along each side of the extent.
    const double floor = extent / (4.0 * std::sqrt(double(count)) + 1.0);
    if (!(cell >= floor)) cell = floor;
    return cell > 0.0 && std::isfinite(cell) ? cell : 1.0;
}
