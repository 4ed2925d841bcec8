#pragma once
// Segments by the grid cells their boxes cover, to find the segments whose boxes meet a given box without
// testing every pair. A segment that would cover very many cells is kept apart and offered to every query, so a
// few long segments cannot make the grid large.
#include <cstdint>
#include <unordered_map>
#include <vector>

class SegmentGrid {
public:
    // `cell`: the side of a cell, about the length of a typical segment.
    explicit SegmentGrid(double cell);

    void Add(int32_t index, double x1, double y1, double x2, double y2);

    // Every added segment whose box, widened by `margin`, meets the box of (x1, y1)-(x2, y2), each once, in no
    // particular order.
    void Near(double x1, double y1, double x2, double y2, double margin, std::vector<int32_t>& out) const;

    // A cell side for `count` segments of these summed box sides over this extent: the mean segment size, kept
    // large enough that the grid has no more cells than a few per segment.
    static double CellFor(double summedSides, int32_t count, double extent);

private:
    struct Range {
        int64_t x0, y0, x1, y1;
    };
    Range Cells(double x1, double y1, double x2, double y2, double margin) const;
    int64_t Cell(double v) const;
    static uint64_t Key(int64_t cx, int64_t cy) { return uint64_t(cx) * 0x9E3779B97F4A7C15ull ^ uint64_t(cy); }

    double cell_;
    std::unordered_map<uint64_t, std::vector<int32_t>> cells_;
    std::vector<int32_t> wide_;           // segments covering too many cells
    mutable std::vector<uint32_t> seen_;  // by segment index: the query that saw it last
    mutable uint32_t query_ = 0;
};
