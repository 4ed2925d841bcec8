#pragma once
// Segments by the grid cells their boxes cover, to find the segments whose boxes meet a given box without testing
// every pair: the crossing tests of the readers and of the constraint lines. A segment over many cells is kept apart
// and offered to every look, so a few long segments cannot make the grid large; a look over more cells than the grid
// has filled reads the filled ones instead.
//
// Each cell's segments are chained entries that carry the segment's box; a pair of boxes that meet is offered once,
// in the cell of their overlap's lower corner. The cells live in one open-addressed table. A look makes the cells it
// reads and keeps their slots, so that adding the looked-at segment right after (the usual step when it crosses
// nothing) costs no second probe per cell.
#include "geometry/GridCells.hpp"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

struct SegmentBox {
    double x0, y0, x1, y1;
    bool Meets(const SegmentBox& o) const { return !(o.x0 > x1 || o.x1 < x0 || o.y0 > y1 || o.y1 < y0); }
    static SegmentBox Of(double ax, double ay, double bx, double by) {
        return {ax < bx ? ax : bx, ay < by ? ay : by, ax < bx ? bx : ax, ay < by ? by : ay};
    }
};

class SegmentGrid {
public:
    // `cell`: the side of a cell, about the length of a typical segment.
    explicit SegmentGrid(double cell);

    void Add(int32_t index, const SegmentBox& box);

    // `visit(index)` for every added segment whose box meets `box`, each once, and for every segment kept apart;
    // in no particular order. True from `visit` stops the look, which then answers true. `work`, when given, grows
    // by the boxes looked at.
    template <typename Visit>
    bool Near(const SegmentBox& box, Visit&& visit, size_t* work = nullptr);

    // The cells a look at `box` covers.
    double Cells(const SegmentBox& box) const {
        return (Cell(box.x1) - Cell(box.x0) + 1) * (Cell(box.y1) - Cell(box.y0) + 1);
    }

    // A cell side for `count` segments of these summed box sides over this extent: the mean segment size, kept
    // large enough that the grid has no more cells than a few per segment.
    static double CellFor(double summedSides, int32_t count, double extent);

private:
    static constexpr double MaxItemCells = 32.0;  // along a side, for a segment kept in cells

    struct Key {
        int64_t x, y;
        bool operator==(const Key& o) const { return x == o.x && y == o.y; }
    };
    static constexpr Key NoKey = {INT64_MIN, INT64_MIN};  // the pattern of -0.0, taken as 0.0: never a cell
    struct Slot {
        Key key;
        int32_t head;  // the cell's newest entry, -1 for none
    };
    struct Entry {
        SegmentBox box;
        int32_t item, next;
    };
    struct Pending {
        double i, j;
        size_t slot;
    };

    double Cell(double v) const { return std::floor(v / side_); }
    static size_t Hash(const Key& k) {
        uint64_t h = uint64_t(k.x) * 0x9E3779B97F4A7C15ull ^ uint64_t(k.y);
        h ^= h >> 31;
        h *= 0xBF58476D1CE4E5B9ull;
        return size_t(h ^ (h >> 29));
    }
    // The cell's slot, the cell made (empty) when it is new.
    size_t SlotOf(const Key& k);
    // Room for `more` new cells, so that the slots of the next SlotOf calls stay where they are.
    void ReserveCells(size_t more) {
        while (4 * (filled_ + more) > 3 * slots_.size()) Grow();
    }
    void Grow();
    void Chain(size_t slot, const SegmentBox& box, int32_t index) {
        int32_t& head = slots_[slot].head;
        entries_.push_back({box, index, head});
        head = int32_t(entries_.size() - 1);
    }
    // One cell's entries that meet `box`, those whose overlap with it starts in this cell.
    template <typename Visit>
    bool VisitCell(int32_t head, double i, double j, const SegmentBox& box, Visit& visit, size_t* work) const {
        for (int32_t e = head; e >= 0; e = entries_[size_t(e)].next) {
            const Entry& n = entries_[size_t(e)];
            if (work != nullptr) ++*work;
            if (!n.box.Meets(box)) continue;
            if (Cell(n.box.x0 > box.x0 ? n.box.x0 : box.x0) != i || Cell(n.box.y0 > box.y0 ? n.box.y0 : box.y0) != j)
                continue;
            if (visit(n.item)) return true;
        }
        return false;
    }

    double side_;
    std::vector<Slot> slots_;
    size_t mask_ = 0;
    size_t filled_ = 0;  // cells made
    std::vector<Entry> entries_;
    std::vector<int32_t> long_;     // segments over too many cells
    std::vector<Pending> pending_;  // the cells of the last look, while no segment was added since
    SegmentBox pendingBox_ = {0, 0, 0, 0};
    bool pendingFresh_ = false;
};

template <typename Visit>
bool SegmentGrid::Near(const SegmentBox& box, Visit&& visit, size_t* work) {
    pendingFresh_ = false;
    for (int32_t i : long_) {
        if (work != nullptr) ++*work;
        if (visit(i)) return true;
    }
    if (entries_.empty()) return false;
    const double cells = Cells(box);
    if (!(cells <= double(filled_))) {
        // A look wider than the grid: every filled cell, each pair still in its one cell.
        for (const Slot& s : slots_)
            if (s.head >= 0 && VisitCell(s.head, CellFromBits(s.key.x), CellFromBits(s.key.y), box, visit, work))
                return true;
        return false;
    }
    const double x0 = Cell(box.x0), x1 = Cell(box.x1), y0 = Cell(box.y0), y1 = Cell(box.y1);
    ReserveCells(size_t(cells));
    pending_.clear();
    for (double i = x0;; i = CellAfter(i)) {
        for (double j = y0;; j = CellAfter(j)) {
            const size_t slot = SlotOf(Key{CellBits(i), CellBits(j)});
            pending_.push_back({i, j, slot});
            if (VisitCell(slots_[slot].head, i, j, box, visit, work)) return true;
            if (!(j < y1)) break;
        }
        if (!(i < x1)) break;
    }
    pendingBox_ = box;
    pendingFresh_ = true;
    return false;
}
