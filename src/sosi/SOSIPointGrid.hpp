#pragma once
// Plan points by square cells, to ask whether any lies closer than a distance to a given point without looking
// at every one: the SOSI duplicate-point test and the point-swarm thinning. Answers are those of a scan of all
// points (squared plan distance below the squared distance); only the cost differs.
#include <cstddef>
#include <cstdint>
#include <vector>

class SOSIPointGrid {
public:
    // `cell`: the side of a cell; queries up to about this distance look at four cells or nine.
    explicit SOSIPointGrid(double cell);

    void Add(double x, double y);
    // True when a point added (and not removed) lies closer than `d` to (x, y) in plan.
    bool AnyWithin(double x, double y, double d) const;
    // Takes away one point at exactly (x, y); false when there is none.
    bool RemoveAt(double x, double y);
    size_t Count() const { return live_; }

private:
    struct Entry {
        double x, y;
        int32_t next;  // the next entry of the same cell, -1 at the end
        uint8_t removed;
    };
    struct Slot {
        int64_t cx, cy;
        int32_t head;  // -1: the slot is free
    };
    int64_t CellOf(double v) const;
    size_t Find(int64_t cx, int64_t cy) const;  // the slot of the cell, or the free slot where it would go
    void Grow();

    double cell_;
    std::vector<Entry> entries_;
    std::vector<Slot> slots_;
    size_t cells_ = 0;
    size_t live_ = 0;
};
