#pragma once
// Points by square grid cell, to find the points near a place without looking at every point: the readers'
// duplicate tests and thinning, and the lookups of points by place. Every answer is that of a scan of all points
// with the caller's own test; the grid only narrows the candidates.
//
// A cell is floor(coordinate / side), kept as a double, so no coordinate is clamped into a shared cell however far
// off it lies. The cells live in one open-addressed table, each slot the cell's newest point and the cell's hash, the
// points of a cell chained through links kept beside their places: at a million points a node and a list per cell cost more than the
// tests themselves. A slot keeps no key: the cell is worked out again from its newest point's place, which the
// grid reads from `Places` (its own copy, or the caller's list, which then must not move while the grid lives).
#include "geometry/GridCells.hpp"
#include "foundation/PrefetchLine.hpp"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

// Where a grid reads its points' places and keeps the links of its cells' chains (-1 ends a chain).

// The places kept by the grid itself, each beside its link: a look at a point reads one place in memory.
class OwnPlaces {
public:
    void Put(int32_t i, double x, double y) {
        if (size_t(i) >= points_.size()) points_.resize(size_t(i) + 1, Point{0.0, 0.0, -1});
        points_[size_t(i)].x = x, points_[size_t(i)].y = y;
    }
    void Reserve(size_t n) { points_.reserve(n); }
    size_t Size() const { return points_.size(); }
    double X(int32_t i) const { return points_[size_t(i)].x; }
    double Y(int32_t i) const { return points_[size_t(i)].y; }
    int32_t Next(int32_t i) const { return points_[size_t(i)].next; }
    void SetNext(int32_t i, int32_t next) { points_[size_t(i)].next = next; }

private:
    struct Point {
        double x, y;
        int32_t next;
    };
    std::vector<Point> points_;
};

// The places of the caller's list of items with members x and y, read where they are; the links apart.
template <typename Item>
class ListPlaces {
public:
    explicit ListPlaces(const std::vector<Item>& items) : items_(&items) {}
    void Put(int32_t i, double, double) {
        if (size_t(i) >= next_.size()) next_.resize(size_t(i) + 1, -1);
    }
    void Reserve(size_t n) { next_.reserve(n); }
    size_t Size() const { return next_.size(); }
    double X(int32_t i) const { return (*items_)[size_t(i)].x; }
    double Y(int32_t i) const { return (*items_)[size_t(i)].y; }
    int32_t Next(int32_t i) const { return next_[size_t(i)]; }
    void SetNext(int32_t i, int32_t next) { next_[size_t(i)] = next; }

private:
    const std::vector<Item>* items_;
    std::vector<int32_t> next_;
};

template <typename Places>
class BasicPointGrid {
public:
    // `cell`: the side of a cell. A look at the cells around a point (First) finds what lies within half a side.
    template <typename... PlaceArgs>
    explicit BasicPointGrid(double cell, PlaceArgs&&... places)
        : places_(static_cast<PlaceArgs&&>(places)...), side_(cell > 0.0 && std::isfinite(cell) ? cell : 1.0) {}

    // Room for `points` in all without the table growing.
    void Reserve(size_t points) {
        size_t size = 64;
        while (4 * points > 3 * size) size *= 2;
        if (size > slots_.size()) Resize(size);
        places_.Reserve(points);
    }

    // Indexes the point `index` at (x, y); with the caller's list, (x, y) is the item's own place.
    void Add(double x, double y, int32_t index) {
        places_.Put(index, x, y);
        if (4 * (cells_ + 1) > 3 * slots_.size()) Resize(slots_.empty() ? 64 : slots_.size() * 2);
        const Cell c = CellOf(x, y);
        const uint32_t h = Hash(c);
        size_t i = h & mask_;
        for (; slots_[i].head >= 0; i = (i + 1) & mask_)
            if (slots_[i].hash == h && CellOf(slots_[i].head) == c) break;
        if (slots_[i].head < 0) ++cells_;
        places_.SetNext(index, slots_[i].head);  // a cell's chain runs from its newest point down
        slots_[i] = {h, index};
        ++live_;
    }

    // Indexes (x, y) as the point after the last index added.
    void Add(double x, double y) { Add(x, y, int32_t(places_.Size())); }

    // Takes away one point placed exactly at (x, y); false when there is none. Its cell keeps it as a witness of
    // its place, marked gone.
    bool RemoveAt(double x, double y) {
        bool removed = false;
        VisitCell(CellOf(x, y), [&](int32_t i) {
            if (removed || places_.X(i) != x || places_.Y(i) != y) return;
            if (gone_.size() <= size_t(i)) gone_.resize(places_.Size(), 0);
            gone_[size_t(i)] = 1;
            --live_;
            removed = true;
        });
        return removed;
    }

    // The points added and not removed.
    size_t Count() const { return live_; }

    // Starts loading the slot that a look at (x, y) reads first.
    void Prefetch(double x, double y) const {
        if (cells_ != 0) PrefetchLine(&slots_[Hash(CellOf(x, y)) & mask_]);
    }

    // Every point in the cells that the square of half-side `r` around (x, y) touches.
    template <typename Visit>
    void Near(double x, double y, double r, Visit visit) const {
        if (cells_ == 0) return;
        VisitRange(Coordinate(x - r), Coordinate(x + r), Coordinate(y - r), Coordinate(y + r), visit);
    }

    // The lowest index that `accept` takes among the points of the 3 x 3 cells around (x, y); -1 when none.
    // `accept` sees every candidate below the answer (all of them when there is none).
    template <typename Accept>
    int32_t First(double x, double y, Accept&& accept) const {
        int32_t best = -1;
        if (cells_ == 0) return best;
        const double cx = Coordinate(x), cy = Coordinate(y);
        VisitRange(CellBefore(cx), CellAfter(cx), CellBefore(cy), CellAfter(cy), [&](int32_t i) {
            if ((best < 0 || i < best) && accept(i)) best = i;
        });
        return best;
    }

    // True when a point lies closer than `d` to (x, y) in plan (squared distance below the squared `d`).
    bool AnyWithin(double x, double y, double d) const {
        if (live_ == 0) return false;
        const double d2 = d * d;
        // A margin past the distance, so that the division's rounding never leaves out a cell that holds an answer.
        const double r = std::fabs(d) * (1.0 + 1e-9) + 1e-12 * (std::fabs(x) + std::fabs(y));
        bool found = false;
        Near(x, y, r, [&](int32_t i) {
            const double dx = places_.X(i) - x, dy = places_.Y(i) - y;
            found = found || dx * dx + dy * dy < d2;
        });
        return found;
    }

private:
    struct Cell {
        int64_t x, y;
        bool operator==(const Cell& o) const { return x == o.x && y == o.y; }
    };
    // A slot holds the cell's newest point and the cell's hash, which places it again when the table grows.
    struct Slot {
        uint32_t hash;
        int32_t head;  // -1: empty
    };

    double Coordinate(double v) const { return std::floor(v / side_); }
    Cell CellOf(double x, double y) const { return {CellBits(Coordinate(x)), CellBits(Coordinate(y))}; }
    Cell CellOf(int32_t i) const { return CellOf(places_.X(i), places_.Y(i)); }
    static uint32_t Hash(const Cell& c) {
        uint64_t h = uint64_t(c.x) * 0x9E3779B97F4A7C15ull ^ uint64_t(c.y);
        h ^= h >> 31;
        h *= 0xBF58476D1CE4E5B9ull;
        return uint32_t(h ^ (h >> 29));
    }
    int32_t Head(const Cell& c) const {
        const uint32_t h = Hash(c);
        for (size_t i = h & mask_; slots_[i].head >= 0; i = (i + 1) & mask_)
            if (slots_[i].hash == h && CellOf(slots_[i].head) == c) return slots_[i].head;
        return -1;
    }
    bool Gone(int32_t k) const { return size_t(k) < gone_.size() && gone_[size_t(k)] != 0; }
    template <typename Visit>
    void VisitCell(const Cell& c, Visit&& visit) const {
        if (cells_ == 0) return;
        for (int32_t k = Head(c); k >= 0; k = places_.Next(k))
            if (!Gone(k)) visit(k);
    }
    // The cells x0..x1 by y0..y1; a range of more cells than the table holds (or none that can be counted) reads
    // every filled cell instead, so that no look costs more than a scan.
    template <typename Visit>
    void VisitRange(double x0, double x1, double y0, double y1, Visit&& visit) const {
        const double span = (x1 - x0 + 1.0) * (y1 - y0 + 1.0);
        if (!(span <= double(cells_))) {
            for (const Slot& s : slots_)
                if (s.head >= 0)
                    for (int32_t k = s.head; k >= 0; k = places_.Next(k))
                        if (!Gone(k)) visit(k);
            return;
        }
        for (double i = x0;; i = CellAfter(i)) {
            for (double j = y0;; j = CellAfter(j)) {
                VisitCell(Cell{CellBits(i), CellBits(j)}, visit);
                if (!(j < y1)) break;
            }
            if (!(i < x1)) break;
        }
    }
    void Resize(size_t size) {
        std::vector<Slot> old;
        old.swap(slots_);
        slots_.assign(size, Slot{0, -1});
        mask_ = size - 1;
        for (const Slot& e : old) {
            if (e.head < 0) continue;
            size_t i = e.hash & mask_;
            while (slots_[i].head >= 0) i = (i + 1) & mask_;
            slots_[i] = e;
        }
    }

    Places places_;
    double side_;
    std::vector<Slot> slots_;
    size_t mask_ = 0;
    size_t cells_ = 0;
    size_t live_ = 0;
    std::vector<uint8_t> gone_;  // by index, 1 once removed; shorter than the indexes while nothing after was
};

// A grid over places of its own.
using PointGrid = BasicPointGrid<OwnPlaces>;
