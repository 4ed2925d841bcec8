#include "geometry/SegmentGrid.hpp"

#include <algorithm>
#include <cmath>

namespace {
constexpr int64_t MaxCellsPerSegment = 64;
}

SegmentGrid::SegmentGrid(double cell) : cell_(cell > 0.0 && std::isfinite(cell) ? cell : 1.0) {}

int64_t SegmentGrid::Cell(double v) const {
    const double c = std::floor(v / cell_);
    if (!(c > -1e18)) return -1000000000000000000LL;
    if (!(c < 1e18)) return 1000000000000000000LL;
    return int64_t(c);
}

SegmentGrid::Range SegmentGrid::Cells(double x1, double y1, double x2, double y2, double margin) const {
    return {Cell(std::min(x1, x2) - margin), Cell(std::min(y1, y2) - margin), Cell(std::max(x1, x2) + margin),
            Cell(std::max(y1, y2) + margin)};
}

void SegmentGrid::Add(int32_t index, double x1, double y1, double x2, double y2) {
    if (size_t(index) >= seen_.size()) seen_.resize(size_t(index) + 1, 0);
    const Range r = Cells(x1, y1, x2, y2, 0.0);
    const double cells = (double(r.x1) - double(r.x0) + 1.0) * (double(r.y1) - double(r.y0) + 1.0);
    if (cells > double(MaxCellsPerSegment)) {
        wide_.push_back(index);
        return;
    }
    for (int64_t cx = r.x0; cx <= r.x1; ++cx)
        for (int64_t cy = r.y0; cy <= r.y1; ++cy) cells_[Key(cx, cy)].push_back(index);
}

void SegmentGrid::Near(double x1, double y1, double x2, double y2, double margin, std::vector<int32_t>& out) const {
    out.clear();
    if (++query_ == 0) {  // the stamps wrapped: start them again
        std::fill(seen_.begin(), seen_.end(), 0);
        query_ = 1;
    }
    const auto take = [&](int32_t i) {
        if (seen_[size_t(i)] == query_) return;
        seen_[size_t(i)] = query_;
        out.push_back(i);
    };
    for (int32_t i : wide_) take(i);
    const Range r = Cells(x1, y1, x2, y2, margin);
    const double cells = (double(r.x1) - double(r.x0) + 1.0) * (double(r.y1) - double(r.y0) + 1.0);
    if (cells > double(cells_.size())) {
        // A query wider than the grid: look at every filled cell instead of every covered one.
        for (const auto& kv : cells_)
            for (int32_t i : kv.second) take(i);
        return;
    }
    for (int64_t cx = r.x0; cx <= r.x1; ++cx)
        for (int64_t cy = r.y0; cy <= r.y1; ++cy) {
            const auto it = cells_.find(Key(cx, cy));
            if (it == cells_.end()) continue;
            for (int32_t i : it->second) take(i);
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
