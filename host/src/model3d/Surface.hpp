#pragma once
// A triangulated height field (triangles counter-clockwise in plan) and the grid that finds its triangles near a
// place in plan, so that work on a small part of a large surface costs about the same as on a small surface.
#include "model3d/ModelBody.hpp"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

struct Surface {
    std::vector<ModelPoint> points;
    std::vector<std::array<int32_t, 3>> triangles;  // indexes into points

    bool Empty() const { return triangles.empty(); }
    // The height of the plane of triangle t at (x, y).
    double HeightOn(size_t t, double x, double y) const;
    // The points' lowest and highest z (0, 0 when there are none).
    void ZRange(double* zMin, double* zMax) const;
};

struct PlanBox {
    double xMin, yMin, xMax, yMax;
    bool Meets(const PlanBox& o) const { return xMin <= o.xMax && o.xMin <= xMax && yMin <= o.yMax && o.yMin <= yMax; }
};

class SurfaceIndex {
public:
    explicit SurfaceIndex(const Surface& surface);
    // The plan box of the surface's triangles.
    const PlanBox& Box() const { return box_; }
    // Each triangle whose box meets `box`, once per call (in no particular order).
    template <typename F>
    void ForTrianglesNear(const PlanBox& box, F&& visit) const;
    // Each triangle listed in a cell that the segment passes (it may not touch the segment itself).
    template <typename F>
    void ForTrianglesAlong(double x0, double y0, double x1, double y1, F&& visit) const;

private:
    int32_t CellX(double x) const;
    int32_t CellY(double y) const;
    template <typename F>
    void VisitCell(int32_t cx, int32_t cy, F& visit) const;

    const Surface& surface_;
    PlanBox box_ = {0, 0, 0, 0};
    double cell_ = 1.0;
    int32_t nx_ = 0, ny_ = 0;
    std::vector<int32_t> cellStart_;  // triangles of cell c: cellTriangles_[cellStart_[c] .. cellStart_[c + 1])
    std::vector<int32_t> cellTriangles_;
    mutable std::vector<uint32_t> seen_;  // per triangle: the call that visited it last
    mutable uint32_t call_ = 0;
};

// The cell of a place (floor, kept inside the grid); inline, as building the index asks it for every triangle.
inline int32_t SurfaceIndex::CellX(double x) const {
    const double v = (x - box_.xMin) / cell_;
    return v >= double(nx_ - 1) ? nx_ - 1 : v >= 0.0 ? int32_t(v) : 0;
}
inline int32_t SurfaceIndex::CellY(double y) const {
    const double v = (y - box_.yMin) / cell_;
    return v >= double(ny_ - 1) ? ny_ - 1 : v >= 0.0 ? int32_t(v) : 0;
}

template <typename F>
void SurfaceIndex::VisitCell(int32_t cx, int32_t cy, F& visit) const {
    const size_t c = size_t(cy) * size_t(nx_) + size_t(cx);
    for (int32_t k = cellStart_[c]; k < cellStart_[c + 1]; ++k) {
        const int32_t t = cellTriangles_[size_t(k)];
        if (seen_[size_t(t)] == call_) continue;
        seen_[size_t(t)] = call_;
        visit(size_t(t));
    }
}

template <typename F>
void SurfaceIndex::ForTrianglesNear(const PlanBox& box, F&& visit) const {
    if (nx_ == 0 || !box.Meets(box_)) return;
    ++call_;
    const int32_t x0 = CellX(box.xMin), x1 = CellX(box.xMax), y0 = CellY(box.yMin), y1 = CellY(box.yMax);
    for (int32_t cy = y0; cy <= y1; ++cy)
        for (int32_t cx = x0; cx <= x1; ++cx) VisitCell(cx, cy, visit);
}

template <typename F>
void SurfaceIndex::ForTrianglesAlong(double x0, double y0, double x1, double y1, F&& visit) const {
    const PlanBox segBox = {std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1)};
    if (nx_ == 0 || !segBox.Meets(box_)) return;
    ++call_;
    // Walk the cells of the segment's box row by row, keeping only the columns the segment crosses in that row
    // (widened by a cell, so that rounding never loses one).
    const int32_t cy0 = CellY(segBox.yMin), cy1 = CellY(segBox.yMax);
    for (int32_t cy = cy0; cy <= cy1; ++cy) {
        double xa = segBox.xMin, xb = segBox.xMax;
        if (y1 != y0) {
            const double ya = std::max(segBox.yMin, box_.yMin + cy * cell_);
            const double yb = std::min(segBox.yMax, box_.yMin + (cy + 1) * cell_);
            const double ta = (ya - y0) / (y1 - y0), tb = (yb - y0) / (y1 - y0);
            xa = std::min(x0 + ta * (x1 - x0), x0 + tb * (x1 - x0));
            xb = std::max(x0 + ta * (x1 - x0), x0 + tb * (x1 - x0));
        }
        const int32_t cxa = std::max(CellX(xa) - 1, 0), cxb = std::min(CellX(xb) + 1, nx_ - 1);
        for (int32_t cx = cxa; cx <= cxb; ++cx) VisitCell(cx, cy, visit);
    }
}
