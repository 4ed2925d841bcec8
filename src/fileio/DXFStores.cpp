// The stores of the DXF reader: which vertices, points and constraints the terrain input keeps. Every search
// is either a scan of the list (indexedSearch off) or a look into an index that finds the same items: the
// indexes only narrow the candidates, the tests on them are the scans' own.
#include "fileio/DXFFileCls.hpp"

#include "geometry/PointGrid.hpp"
#include "geometry/SegmentGrid.hpp"

#include <algorithm>
#include <cmath>
#include <queue>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <vector>

namespace {

constexpr double SamePoint = 5e-5;
constexpr double SharedEnd = 1e-7;
constexpr double Parallel = 1e-5;

double PlanDist2(double ax, double ay, double bx, double by) {
    const double dx = bx - ax, dy = by - ay;
    return dx * dx + dy * dy;
}

// The stores' points by cell, read where the lists hold them. A cell is CellRadii search radii wide, so a look
// mostly reads one cell and at most four, and the items of one store lie that radius apart at least (a nearer one
// would have been merged): a cell holds a bounded few items however the points crowd. A look at an empty cell and the
// storing of the new point there read the same slot, so a store costs one wait for memory, and a polyline's vertices
// wait for theirs together (Prefetch).
constexpr double CellRadii = 16.0;
using StorePointGrid = BasicPointGrid<ListPlaces<DXFFilePoint>>;

struct Box {
    double x0, y0, x1, y1;
    bool Meets(const Box& o) const { return !(o.x0 > x1 || o.x1 < x0 || o.y0 > y1 || o.y1 < y0); }
    void Add(const Box& o) {
        x0 = std::min(x0, o.x0), y0 = std::min(y0, o.y0), x1 = std::max(x1, o.x1), y1 = std::max(y1, o.y1);
    }
};

Box BoxOf(const DXFFileConstraint& c) {
    return {std::min(c.sx, c.ex), std::min(c.sy, c.ey), std::max(c.sx, c.ex), std::max(c.sy, c.ey)};
}

// The place of a box on the Z-order curve of the plane, from every bit of its centre's coordinates (their doubles
// mapped to integers in the same order): a key that does not depend on the other boxes, so that runs sorted by it
// are merged rather than sorted again.
struct ZKey {
    uint64_t high, low;
    bool operator<(const ZKey& o) const { return high != o.high ? high < o.high : low < o.low; }
};
uint64_t Ordered(double v) {
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    return (bits >> 63) != 0 ? ~bits : bits | (uint64_t(1) << 63);
}
uint64_t Spread(uint32_t v) {
    uint64_t x = v;
    x = (x | x << 16) & 0x0000FFFF0000FFFFull;
    x = (x | x << 8) & 0x00FF00FF00FF00FFull;
    x = (x | x << 4) & 0x0F0F0F0F0F0F0F0Full;
    x = (x | x << 2) & 0x3333333333333333ull;
    x = (x | x << 1) & 0x5555555555555555ull;
    return x;
}
ZKey KeyOf(const Box& b) {
    const uint64_t x = Ordered(b.x0 * 0.5 + b.x1 * 0.5), y = Ordered(b.y0 * 0.5 + b.y1 * 0.5);
    return {Spread(uint32_t(x >> 32)) << 1 | Spread(uint32_t(y >> 32)), Spread(uint32_t(x)) << 1 | Spread(uint32_t(y))};
}

// Boxes in Z-order packed into a tree once, never changed: runs of Fanout boxes under one node, and so on up to the
// root. A look descends only into nodes its box meets.
class PackedTree {
public:
    struct Item {
        ZKey key;
        Box box;
        int32_t index;
    };
    static constexpr size_t Fanout = 8;

    bool Empty() const { return items_.empty(); }
    std::vector<Item>& Items() { return items_; }
    void Clear() {
        items_.clear();
        levels_.clear();
    }
    // `items` in key order.
    void Build(std::vector<Item>&& items) {
        items_ = std::move(items);
        levels_.clear();
        const size_t n = items_.size();
        if (n == 0) return;
        std::vector<Node> level;
        level.reserve((n + Fanout - 1) / Fanout);
        for (size_t at = 0; at < n; at += Fanout) {
            Node node{items_[at].box, uint32_t(at), uint32_t(std::min(Fanout, n - at))};
            for (size_t k = at + 1; k < at + node.count; ++k) node.box.Add(items_[k].box);
            level.push_back(node);
        }
        levels_.push_back(std::move(level));
        while (levels_.back().size() > 1) {
            const std::vector<Node>& below = levels_.back();
            std::vector<Node> up;
            up.reserve((below.size() + Fanout - 1) / Fanout);
            for (size_t at = 0; at < below.size(); at += Fanout) {
                Node node{below[at].box, uint32_t(at), uint32_t(std::min(Fanout, below.size() - at))};
                for (size_t k = at + 1; k < at + node.count; ++k) node.box.Add(below[k].box);
                up.push_back(node);
            }
            levels_.push_back(std::move(up));
        }
    }
    // `test` on every item whose box meets `b`; true from it stops the look and is answered.
    template <typename F>
    bool Look(const Box& b, F test) const {
        if (levels_.empty()) return false;
        return Descend(levels_.size() - 1, 0, b, test);
    }

private:
    struct Node {
        Box box;
        uint32_t first, count;  // into the level below, or into the items for the leaves
    };
    template <typename F>
    bool Descend(size_t level, size_t node, const Box& b, F& test) const {
        const Node& n = levels_[level][node];
        if (!n.box.Meets(b)) return false;
        for (size_t k = n.first; k < n.first + n.count; ++k) {
            if (level == 0) {
                if (items_[k].box.Meets(b) && test(items_[k].index)) return true;
            } else if (Descend(level - 1, k, b, test)) {
                return true;
            }
        }
        return false;
    }

    std::vector<Item> items_;
    std::vector<std::vector<Node>> levels_;  // leaves first
};

// The stored constraints by their boxes, searched by box. New ones gather in a short list; when it is full, it is
// sorted and merged with the trees of the sizes below into one tree of the next size (tree i holds Recent x 2^i
// boxes or none), so each box is merged a logarithmic number of times and a look reads a logarithmic number of
// trees. No layout gathers the boxes in one place: long, parallel, crowded or far-off segments are found by their
// boxes alone. It is slower than the grid below on the drawings a grid suits.
class SegmentIndex {
public:
    // `test` answers true to stop the look.
    template <typename F>
    void Candidates(const DXFConstraintList& all, const Box& b, F test) const {
        auto visit = [&](int32_t i) { return test(all[size_t(i)]); };
        for (const PackedTree::Item& item : recent_)
            if (item.box.Meets(b) && visit(item.index)) return;
        for (const PackedTree& tree : trees_)
            if (tree.Look(b, visit)) return;
    }
    void Add(int32_t item, const Box& b) {
        recent_.push_back({KeyOf(b), b, item});
        if (recent_.size() < Recent) return;
        auto byKey = [](const PackedTree::Item& x, const PackedTree::Item& y) { return x.key < y.key; };
        std::vector<PackedTree::Item> gathered;
        gathered.swap(recent_);
        std::sort(gathered.begin(), gathered.end(), byKey);
        size_t i = 0;
        for (; i < trees_.size() && !trees_[i].Empty(); ++i) {
            std::vector<PackedTree::Item>& held = trees_[i].Items();
            merged_.resize(gathered.size() + held.size());
            std::merge(gathered.begin(), gathered.end(), held.begin(), held.end(), merged_.begin(), byKey);
            gathered.swap(merged_);
            trees_[i].Clear();
        }
        if (i == trees_.size()) trees_.emplace_back();
        trees_[i].Build(std::move(gathered));
        recent_.reserve(Recent);
    }

private:
    static constexpr size_t Recent = 64;
    std::vector<PackedTree::Item> recent_;
    std::vector<PackedTree> trees_;
    std::vector<PackedTree::Item> merged_;  // room the merges reuse
};

// Constraints by the cells their boxes cover. The cell size, four times the median span of the first ones stored,
// keeps a segment in one or two cells; until it is known, and for a look over very many cells, every stored one is
// tested. Each look counts the boxes it went through, so that the search can tell when the layout has outgrown the
// grid.
class ConstraintGrid {
public:
    // `test` answers true to stop the look; `work` grows by the boxes looked at.
    template <typename F>
    void Candidates(const DXFConstraintList& all, size_t n, const Box& b, F test, size_t& work) {
        const SegmentBox look = {b.x0, b.y0, b.x1, b.y1};
        if (!grid_ || grid_->Cells(look) > MaxLookCells) {
            for (size_t i = 0; i < n; ++i) {
                ++work;
                if (test(all[i])) return;
            }
            return;
        }
        grid_->Near(
            look, [&](int32_t i) { return test(all[size_t(i)]); }, &work);
    }
    // The first `n` of `all` are stored, the last of them just now.
    void Added(const DXFConstraintList& all, size_t n) {
        if (!grid_) {
            if (n < FirstCount) return;
            std::vector<double> spans;
            for (size_t i = 0; i < n; ++i) {
                const Box b = BoxOf(all[i]);
                spans.push_back(std::max(b.x1 - b.x0, b.y1 - b.y0));
            }
            std::nth_element(spans.begin(), spans.begin() + spans.size() / 2, spans.end());
            const double median = spans[spans.size() / 2];
            grid_.emplace(std::isfinite(median) ? std::max(4.0 * median, 1e-3) : 1.0);
            for (size_t i = 0; i < n; ++i) grid_->Add(int32_t(i), SegmentBoxOf(all[i]));
            return;
        }
        grid_->Add(int32_t(n - 1), SegmentBoxOf(all[n - 1]));
    }

private:
    static constexpr size_t FirstCount = 64;
    static constexpr double MaxLookCells = 4096.0;
    static SegmentBox SegmentBoxOf(const DXFFileConstraint& c) {
        const Box b = BoxOf(c);
        return {b.x0, b.y0, b.x1, b.y1};
    }

    std::optional<SegmentGrid> grid_;
};

// The crossing search: the grid while it stays cheap, the box index once the grid's looks grow costly (crowded
// segments in few cells, long ones kept apart, far-off or parallel layouts). Both find every stored constraint
// whose box meets the look's, so the answer is the same whichever searched.
class SegmentSearch {
public:
    // The first `n` of `all` are the stored ones.
    template <typename F>
    void Candidates(const DXFConstraintList& all, size_t n, const Box& b, F test) {
        if (switchDue_) {
            // Everything stored so far moves to the box index, which searches from now on.
            for (size_t i = 0; i < n; ++i) index_.Add(int32_t(i), BoxOf(all[i]));
            grid_ = ConstraintGrid();
            switchDue_ = false;
            indexed_ = true;
        }
        if (indexed_) {
            index_.Candidates(all, b, test);
            return;
        }
        grid_.Candidates(all, n, b, test, work_);
        if (++looks_ < Window) return;
        switchDue_ = work_ > Window * MostPerLook;
        looks_ = work_ = 0;
    }
    void Added(const DXFConstraintList& all, size_t n) {
        if (indexed_)
            index_.Add(int32_t(n - 1), BoxOf(all[n - 1]));
        else
            grid_.Added(all, n);
    }

private:
    static constexpr size_t Window = 1024;     // looks between two judgements of the grid
    static constexpr size_t MostPerLook = 64;  // boxes a look may go through on average before the grid gives way
    ConstraintGrid grid_;
    SegmentIndex index_;
    bool indexed_ = false;
    bool switchDue_ = false;
    size_t looks_ = 0, work_ = 0;
};

bool SharesEnd(const DXFFileConstraint& s, const DXFFileConstraint& n) {
    auto same = [](double ax, double ay, double bx, double by) {
        return std::fabs(ax - bx) < SharedEnd && std::fabs(ay - by) < SharedEnd;
    };
    return same(s.sx, s.sy, n.sx, n.sy) || same(s.sx, s.sy, n.ex, n.ey) || same(s.ex, s.ey, n.sx, n.sy) ||
        same(s.ex, s.ey, n.ex, n.ey);
}

// The stored segment S->E against the new one A->B: both parameters in [0, 1].
bool Crosses(const DXFFileConstraint& s, const DXFFileConstraint& n) {
    if (SharesEnd(s, n)) return false;
    const double bax = n.ex - n.sx, bay = n.ey - n.sy;
    const double den = (s.ey - s.sy) * bax - (s.ex - s.sx) * bay;
    if (std::fabs(den) < Parallel) return false;
    const double t = ((n.sy - s.sy) * bax + (s.sx - n.sx) * bay) / den;
    const double u =
        std::fabs(bax) < Parallel ? (s.sy + t * (s.ey - s.sy) - n.sy) / bay : (s.sx + t * (s.ex - s.sx) - n.sx) / bax;
    return t >= 0.0 && t <= 1.0 && u >= 0.0 && u <= 1.0;
}

// The box a look for `c` searches: a touch at the box's very edge is still looked at, since the crossing test's
// rounding moves its meeting point by some units in the last place of the coordinates, far less than this pad. A pad
// growing with the coordinates alone would gather every segment of a far-off survey into one look.
inline Box LookBox(const DXFFileConstraint& c) {
    Box b = BoxOf(c);
    const double magnitude = std::max({std::fabs(b.x0), std::fabs(b.x1), std::fabs(b.y0), std::fabs(b.y1)});
    const double pad = 1e-9 * (1.0 + std::max(b.x1 - b.x0, b.y1 - b.y0)) +
        16.0 * std::numeric_limits<double>::epsilon() * (1.0 + magnitude);
    b.x0 -= pad, b.y0 -= pad, b.x1 += pad, b.y1 += pad;
    return b;
}

// The crossing rule over constraints queued in the order they came, from `first` on: each stays unless it crosses
// one that stayed before it, as storing them one by one decides. With every box known, the crossing pairs are found
// first, in any order, and the rule is then applied to them in order. The boxes go once into one flat grid, each
// cell's items in one run of 12-byte entries, and the pairs of a cell are tested within its run: the search reads
// memory in order, and the constraints of the pairs whose boxes meet all at once. Plan answers false, with
// nothing changed, when the layout does not suit one uniform grid (far-off groups, long or crowded segments, many
// crossings): the caller then stores them one by one.
class QueuedCrossings {
public:
    explicit QueuedCrossings(DXFConstraintList& all) : all_(all) {}

    bool Plan(size_t first) {
        const size_t n = all_.size();
        if (n >= ItemMask) return false;
        // A cell four median spans wide, as the grid of the one-by-one store takes it.
        std::vector<double> spans;
        const size_t step = std::max<size_t>(1, n / 4096);
        spans.reserve(n / step + 1);
        // The grid's origin and extent need not hold the padded boxes: a cell beyond the edge is the edge's cell.
        Box bounds = BoxOf(PlanOf(0));
        for (size_t i = 0; i < n; ++i) {
            const Box b = BoxOf(PlanOf(i));
            bounds.Add(b);
            if (i % step == 0) spans.push_back(std::max(b.x1 - b.x0, b.y1 - b.y0));
        }
        std::nth_element(spans.begin(), spans.begin() + long(spans.size() / 2), spans.end());
        const double median = spans[spans.size() / 2];
        const double width = bounds.x1 - bounds.x0, height = bounds.y1 - bounds.y0;
        if (!std::isfinite(median) || !std::isfinite(width) || !std::isfinite(height)) return false;
        size_ = std::max(4.0 * median, 1e-3);
        // No more cells than about two per segment: a wider spread makes the cells larger, and the work count
        // below tells whether they grew too crowded.
        const double most = 2.0 * double(n) + 4096.0;
        while ((std::floor(width / size_) + 1) * (std::floor(height / size_) + 1) > most) size_ *= 2.0;
        // Cells counted by a product, which rounds the same way for every item (a cell more or less at an edge is
        // the edge's).
        x0_ = bounds.x0, y0_ = bounds.y0, perCell_ = 1.0 / size_, stepsPerUnit_ = 65535.0 / (3.0 * size_);
        nx_ = size_t(std::floor(width / size_)) + 1;
        ny_ = size_t(std::floor(height / size_)) + 1;

        // Cell counts, then each cell's run ends, then the runs filled from the back, so each holds its items in
        // ascending order. A segment over many cells is kept apart and met against every other.
        ends_.assign(nx_ * ny_ + 1, 0);
        size_t entries = 0;
        for (size_t i = 0; i < n; ++i) {
            const Entry e = EntryOf(i);
            size_t cx0, cx1, cy0, cy1;
            CellsOf(e, cx0, cx1, cy0, cy1);
            if (cx1 - cx0 >= MaxItemCells || cy1 - cy0 >= MaxItemCells) {
                long_.push_back(e.item);
                continue;
            }
            for (size_t cx = cx0; cx <= cx1; ++cx)
                for (size_t cy = cy0; cy <= cy1; ++cy) ++ends_[cx * ny_ + cy];
            entries += (cx1 - cx0 + 1) * (cy1 - cy0 + 1);
        }
        // The pairs the search goes through, against a bounded few per segment.
        double work = double(long_.size()) * double(n);
        for (size_t c = 0; c + 1 < ends_.size(); ++c) work += 0.5 * double(ends_[c]) * double(ends_[c]);
        if (entries > 4 * n + 4096 || work > double(MostPerItem) * double(n)) return false;
        for (size_t c = 1; c < ends_.size(); ++c) ends_[c] += ends_[c - 1];
        ends_.back() = uint32_t(entries);
        runs_.resize(entries);
        size_t nextLong = long_.size();
        for (size_t i = n; i-- > 0;) {
            if (nextLong > 0 && size_t(long_[nextLong - 1]) == i) {
                --nextLong;
                continue;
            }
            const Entry e = EntryOf(i);
            size_t cx0, cx1, cy0, cy1;
            CellsOf(e, cx0, cx1, cy0, cy1);
            for (size_t cx = cx0; cx <= cx1; ++cx)
                for (size_t cy = cy0; cy <= cy1; ++cy) runs_[--ends_[cx * ny_ + cy]] = InCell(e, cx, cy, cx0, cy0);
        }
        return FindCrossings(first);
    }

    // Drops the queued constraints that cross one kept before them; answers how many stay in all.
    size_t Keep(size_t first) {
        // The grid is done with before the marks are made: the read's peak stays the entity pass's.
        std::vector<CellEntry>().swap(runs_);
        std::vector<uint32_t>().swap(ends_);
        const size_t n = all_.size();
        std::sort(crossings_.begin(), crossings_.end(), [](const Pair& p, const Pair& q) {
            return p.later != q.later ? p.later < q.later : p.earlier < q.earlier;
        });
        std::vector<uint8_t> kept(n, 1);
        for (const Pair& p : crossings_)
            if (kept[size_t(p.earlier)] != 0) kept[size_t(p.later)] = 0;
        size_t w = first;
        for (size_t k = first; k < n; ++k)
            if (kept[k] != 0) all_.MoveTo(w++, k);
        return w;
    }

private:
    static constexpr size_t MaxItemCells = 32;
    static constexpr size_t MostPerItem = 64;

    struct Entry {
        Box box;  // padded
        int32_t item;
        bool chained;  // shares an end with the item before
        bool Meets(const Entry& o) const { return box.Meets(o.box); }
    };
    struct Pair {
        int32_t earlier, later;
    };
    // An item in a cell's run: its box in steps of a 16-bit scale over the cell and the cells around it, rounded
    // outwards and held at the scale's ends beyond them (boxes that meet still meet), and whether the item's cells
    // start in this column and this row.
    struct CellEntry {
        int16_t x0, y0, x1, y1;
        uint32_t tagged;  // the item, Chained, StartsX, StartsY
    };
    static constexpr uint32_t ItemMask = (uint32_t(1) << 29) - 1;
    // Consecutive segments of one line share an end and never cross: the later one is marked.
    static constexpr uint32_t Chained = uint32_t(1) << 29;
    static constexpr uint32_t StartsX = uint32_t(1) << 30;
    static constexpr uint32_t StartsY = uint32_t(1) << 31;
    static int16_t Steps(double v, bool up) {
        const double s = up ? std::ceil(v) : std::floor(v);
        return int16_t(s < -32768.0 ? -32768.0 : s > 32767.0 ? 32767.0 : s);
    }
    CellEntry InCell(const Entry& e, size_t cx, size_t cy, size_t cx0, size_t cy0) const {
        const double scale = stepsPerUnit_;
        const double ox = x0_ + (double(cx) - 1.0) * size_, oy = y0_ + (double(cy) - 1.0) * size_;
        auto at = [scale](double v, double origin) { return (v - origin) * scale - 32768.0; };
        return {Steps(at(e.box.x0, ox), false), Steps(at(e.box.y0, oy), false), Steps(at(e.box.x1, ox), true),
                Steps(at(e.box.y1, oy), true),
                uint32_t(e.item) | (e.chained ? Chained : 0) | (cx == cx0 ? StartsX : 0) | (cy == cy0 ? StartsY : 0)};
    }
    // The box as the looks of the one-by-one store pad it, so that every pair it tests shares a cell here.
    DXFFileConstraint PlanOf(size_t i) const {
        DXFFileConstraint c;
        all_.Plan(i, c.sx, c.sy, c.ex, c.ey);
        return c;
    }
    Entry EntryOf(size_t i) const { return {LookBox(PlanOf(i)), int32_t(i), i > 0 && all_.Chained(i)}; }
    size_t CellX(double x) const {
        const double v = std::floor((x - x0_) * perCell_);
        return v >= 0.0 ? size_t(std::min(v, double(nx_ - 1))) : 0;
    }
    size_t CellY(double y) const {
        const double v = std::floor((y - y0_) * perCell_);
        return v >= 0.0 ? size_t(std::min(v, double(ny_ - 1))) : 0;
    }
    void CellsOf(const Entry& e, size_t& cx0, size_t& cx1, size_t& cy0, size_t& cy1) const {
        cx0 = CellX(e.box.x0), cx1 = CellX(e.box.x1), cy0 = CellY(e.box.y0), cy1 = CellY(e.box.y1);
    }

    // The pair of items a < b whose padded boxes meet: the one-by-one store tests the later against the earlier.
    // False when the crossings grow too many to keep.
    bool Test(int32_t a, int32_t b) {
        const DXFFileConstraint s = PlanOf(size_t(a)), c = PlanOf(size_t(b));
        if (!BoxOf(s).Meets(LookBox(c)) || !Crosses(s, c)) return true;
        crossings_.push_back({a, b});
        return crossings_.size() <= mostCrossings_;
    }
    // The pairs a cell gathered, their records and then their vertices loaded together rather than one pair after
    // another: the pairs' constraints lie anywhere in memory.
    bool TestGathered() {
        for (const Pair& p : gathered_) all_.Prefetch(size_t(p.earlier)), all_.Prefetch(size_t(p.later));
        for (const Pair& p : gathered_) all_.PrefetchEnds(size_t(p.earlier)), all_.PrefetchEnds(size_t(p.later));
        for (const Pair& p : gathered_)
            if (!Test(p.earlier, p.later)) return false;
        gathered_.clear();
        return true;
    }
    // The pair a < b, whose padded boxes meet, for the test the one-by-one store makes (the later against the
    // earlier), unless the later was stored before the queue or the two are consecutive segments of one line.
    void Gather(int32_t a, int32_t b, size_t first, bool chained) {
        if (size_t(b) < first || (b == a + 1 && chained)) return;
        gathered_.push_back({a, b});
    }

    bool FindCrossings(size_t first) {
        mostCrossings_ = 4 * all_.size() + 4096;
        for (size_t cx = 0; cx < nx_; ++cx) {
            for (size_t cy = 0; cy < ny_; ++cy) {
                const size_t cell = cx * ny_ + cy;
                CellEntry* run = runs_.data() + ends_[cell];
                const size_t count = ends_[cell + 1] - ends_[cell];
                // By the left side of the boxes, so that each item meets only the run up to its right side.
                for (size_t i = 1; i < count; ++i) {
                    const CellEntry e = run[i];
                    size_t j = i;
                    for (; j > 0 && run[j - 1].x0 > e.x0; --j) run[j] = run[j - 1];
                    run[j] = e;
                }
                for (size_t i = 0; i < count; ++i) {
                    const CellEntry& a = run[i];
                    for (size_t j = i + 1; j < count && run[j].x0 <= a.x1; ++j) {
                        const CellEntry& b = run[j];
                        // Without branches: which boxes meet is as good as random to the branch predictor. A pair
                        // is tested once, in the first cell both cover: the cells both cover start in the column
                        // and the row where the later-starting of the two starts.
                        const uint32_t starts = a.tagged | b.tagged;
                        if (!((a.y0 <= b.y1) & (b.y0 <= a.y1) & ((starts & StartsX) != 0) & ((starts & StartsY) != 0)))
                            continue;
                        const int32_t p = int32_t(a.tagged & ItemMask), q = int32_t(b.tagged & ItemMask);
                        const uint32_t later = p < q ? b.tagged : a.tagged;
                        Gather(std::min(p, q), std::max(p, q), first, (later & Chained) != 0);
                    }
                }
                if (!TestGathered()) return false;
            }
        }
        // The long ones against every other (a pair of two long ones once).
        for (int32_t l : long_) {
            const Entry a = EntryOf(size_t(l));
            for (size_t i = 0; i < all_.size(); ++i) {
                const Entry b = EntryOf(i);
                if (b.item == l || !a.Meets(b)) continue;
                if (std::binary_search(long_.begin(), long_.end(), b.item) && b.item < l) continue;
                Gather(std::min(l, b.item), std::max(l, b.item), first, l < b.item ? b.chained : a.chained);
                if (gathered_.size() >= 64 && !TestGathered()) return false;
            }
        }
        return TestGathered();
    }

    DXFConstraintList& all_;
    double size_ = 1.0, perCell_ = 1.0, stepsPerUnit_ = 1.0, x0_ = 0.0, y0_ = 0.0;
    size_t nx_ = 1, ny_ = 1;
    std::vector<uint32_t> ends_;  // per cell, the start of its run once filled; one more for the end
    std::vector<CellEntry> runs_;
    std::vector<int32_t> long_;  // kept out of the runs, in ascending order
    std::vector<Pair> crossings_;
    std::vector<Pair> gathered_;
    size_t mostCrossings_ = 0;
};

}  // namespace

class DXFStoreIndex {
public:
    DXFStoreIndex(double pointTolerance, const std::vector<DXFFilePoint>& vertices,
                  const std::vector<DXFFilePoint>& points)
        : vertexGrid(CellRadii * SamePoint, ListPlaces<DXFFilePoint>(vertices)),
          pointGrid(CellRadii * std::fabs(pointTolerance), ListPlaces<DXFFilePoint>(points)) {}
    StorePointGrid vertexGrid;
    StorePointGrid pointGrid;  // used only for a finite tolerance other than 0
};

class DXFSegmentIndex {
public:
    SegmentSearch search;
    size_t held = 0;  // the constraints in the search, from the first
};

// Here, where the grids are complete types.
DXFFileCls::DXFFileCls()
    : constraintPen(0), constraintLineType(0), constraintFilter(0.1), unitFactor(1000.0), metric(1), grouping(0),
      groupCounter(0), indexedSearch(true), utf8Text(false) {
    ResetEntities();
}

DXFFileCls::~DXFFileCls() { CloseReaderFile(); }

void DXFFileCls::ResetEntities() {
    pointEntities.clear();
    vertices.clear();
    constraints.clear();
    pointsRead = pointsKept = 0;
    groupParent_.clear();
    mixedHeight_.clear();
    ReleaseIndexes();
    report = ReadReport();
    crossingDropped = 0;
}

void DXFFileCls::NoteMixedHeight(int32_t vertex, double z, ReadIssue issue) {
    if (vertices[size_t(vertex)].z == z) return;
    if (mixedHeight_.size() < vertices.size()) mixedHeight_.resize(vertices.size(), 0);
    const uint8_t bit = issue == ReadIssue::MixedHeights ? 1 : 2;
    if ((mixedHeight_[size_t(vertex)] & bit) != 0) return;
    mixedHeight_[size_t(vertex)] |= bit;
    report.Note(issue);
}

void DXFFileCls::ReleaseIndexes() {
    index_.reset();
    segments_.reset();
}

bool DXFFileCls::PointGridUsable() const {
    const double radius = std::fabs(tolerance);
    return indexedSearch && radius > 0.0 && std::isfinite(radius);
}

void DXFFileCls::EnsureIndex() {
    if (index_) return;
    // Built over what the lists hold, so that it may be dropped between reads and made again.
    index_.reset(new DXFStoreIndex(tolerance, vertices, pointEntities));
    // The read's vertices are at most what the chosen layers hold (fewer once merged and thinned).
    index_->vertexGrid.Reserve(std::max<size_t>(vertices.size(), std::min<uint64_t>(expectedVertices_, INT32_MAX)));
    for (size_t i = 0; i < vertices.size(); ++i) index_->vertexGrid.Add(vertices[i].x, vertices[i].y, int32_t(i));
    if (PointGridUsable())
        for (size_t i = 0; i < pointEntities.size(); ++i)
            index_->pointGrid.Add(pointEntities[i].x, pointEntities[i].y, int32_t(i));
}

int32_t DXFFileCls::FindGroup(int32_t group) const {
    if (group <= 0 || size_t(group) >= groupParent_.size()) return group;
    int32_t root = group;
    while (groupParent_[size_t(root)] != root) root = groupParent_[size_t(root)];
    return root;
}

void DXFFileCls::RelabelGroup(int32_t from, int32_t to) {
    if (from == to) return;
    if (!indexedSearch) {
        for (DXFFilePoint& v : vertices)
            if (v.group == from) v.group = to;
        for (size_t i = 0; i < constraints.size(); ++i)
            if (constraints.Group(i) == from) constraints.SetGroup(i, to);
        return;
    }
    // Everything labelled `from` is labelled `to` from now on: one link instead of a walk over the lists.
    const size_t need = size_t(std::max(from, to)) + 1;
    while (groupParent_.size() < need) groupParent_.push_back(int32_t(groupParent_.size()));
    groupParent_[size_t(from)] = to;
}

void DXFFileCls::ResolveGroups() {
    if (groupParent_.empty()) return;
    // Path halving keeps long chains of merges cheap.
    auto root = [this](int32_t g) {
        if (g <= 0 || size_t(g) >= groupParent_.size()) return g;
        while (groupParent_[size_t(g)] != g) {
            groupParent_[size_t(g)] = groupParent_[size_t(groupParent_[size_t(g)])];
            g = groupParent_[size_t(g)];
        }
        return g;
    };
    for (DXFFilePoint& v : vertices) v.group = root(v.group);
    for (size_t i = 0; i < constraints.size(); ++i) constraints.SetGroup(i, root(constraints.Group(i)));
    groupParent_.clear();
}

int32_t DXFFileCls::FindVertex(double x, double y) const {
    auto near = [&](const DXFFilePoint& v) { return std::fabs(v.x - x) < SamePoint && std::fabs(v.y - y) < SamePoint; };
    if (!indexedSearch || !index_) {
        for (size_t i = 0; i < vertices.size(); ++i)
            if (near(vertices[i])) return int32_t(i);
        return -1;
    }
    int32_t first = -1;
    index_->vertexGrid.Near(x, y, SamePoint, [&](int32_t k) {
        if ((first < 0 || k < first) && near(vertices[size_t(k)])) first = k;
    });
    return first;
}

void DXFFileCls::AddVertexPoint(DXFFilePoint& p, bool& added) { StoreVertex(p, added); }

int32_t DXFFileCls::StoreVertex(DXFFilePoint& p, bool& added) {
    if (indexedSearch) EnsureIndex();
    const int32_t found = FindVertex(p.x, p.y);
    if (found >= 0) {
        NoteMixedHeight(found, p.z, ReadIssue::MixedHeights);
        DXFFilePoint& stored = vertices[size_t(found)];
        p.x = stored.x, p.y = stored.y, p.z = stored.z;
        added = false;
        if (grouping != 0 && p.group > 0) {
            // An ungrouped point joins the new group alone; it does not pull every other ungrouped item along.
            const int32_t old = FindGroup(stored.group);
            if (old <= 0)
                stored.group = p.group;
            else
                RelabelGroup(old, FindGroup(p.group));
        }
        return found;
    }
    vertices.push_back(p);
    const int32_t index = int32_t(vertices.size() - 1);
    if (indexedSearch) index_->vertexGrid.Add(p.x, p.y, index);
    ExtendBounds(p.x, p.y);
    ++pointsKept;
    added = true;
    return index;
}

bool DXFFileCls::StorePoint(const DXFFilePoint& p) {
    const double t2 = tolerance * tolerance;
    auto near = [&](const DXFFilePoint& q) {
        const double dx = q.x - p.x, dy = q.y - p.y;
        return dx * dx + dy * dy < t2;
    };
    // No point lies within a tolerance of 0 (or of no number): nothing to search, whatever the points.
    bool found = false;
    if (PointGridUsable()) {
        EnsureIndex();
        index_->pointGrid.Near(p.x, p.y, std::fabs(tolerance),
                               [&](int32_t k) { found = found || near(pointEntities[size_t(k)]); });
    } else if (t2 > 0.0) {
        for (const DXFFilePoint& q : pointEntities)
            if (near(q)) {
                found = true;
                break;
            }
    }
    if (found) return false;
    pointEntities.push_back(p);
    if (PointGridUsable()) index_->pointGrid.Add(p.x, p.y, int32_t(pointEntities.size() - 1));
    return true;
}

bool DXFFileCls::CrossesStored(const DXFFileConstraint& c, size_t stored) {
    if (!indexedSearch) {
        for (size_t i = 0; i < stored; ++i)
            if (Crosses(constraints[i], c)) return true;
        return false;
    }
    if (!segments_) segments_.reset(new DXFSegmentIndex);
    // The search catches up with what was stored without it (by a queued read, or before it was dropped).
    for (; segments_->held < stored; ++segments_->held) segments_->search.Added(constraints, segments_->held + 1);
    bool crossing = false;
    segments_->search.Candidates(constraints, stored, LookBox(c),
                                 [&](const DXFFileConstraint& s) { return crossing = Crosses(s, c); });
    return crossing;
}

void DXFFileCls::AddConstraint(const DXFFileConstraint& c, bool& added) {
    added = true;
    if (queueConstraints_) {
        // Decided when the entity pass ends (KeepUncrossedConstraints).
        constraints.push_back(c);
        return;
    }
    if (CrossesStored(c, constraints.size())) {
        added = false;
        ++crossingDropped;
        return;
    }
    constraints.push_back(c);
    ExtendBounds(c.sx, c.sy);
    ExtendBounds(c.ex, c.ey);
}

void DXFFileCls::AddConstraintBetween(int32_t start, int32_t end, int32_t layer, int32_t group) {
    if (!queueConstraints_) {
        DXFFileConstraint c;
        const DXFFilePoint &s = vertices[size_t(start)], &e = vertices[size_t(end)];
        c.sx = s.x, c.sy = s.y, c.sz = s.z, c.ex = e.x, c.ey = e.y, c.ez = e.z;
        if (CrossesStored(c, constraints.size())) {
            ++crossingDropped;
            return;
        }
        ExtendBounds(c.sx, c.sy);
        ExtendBounds(c.ex, c.ey);
    }
    constraints.PushBetween(start, end, layer, group);
}

void DXFFileCls::KeepUncrossedConstraints(size_t first) {
    if (first >= constraints.size()) return;
    size_t kept = first;
    QueuedCrossings queued(constraints);
    if (queued.Plan(first)) {
        kept = queued.Keep(first);
    } else {
        // One by one, in place: the stored ones gather at the front.
        for (size_t k = first; k < constraints.size(); ++k) {
            if (CrossesStored(constraints[k], kept)) continue;
            constraints.MoveTo(kept++, k);
        }
    }
    crossingDropped += uint32_t(std::min<size_t>(constraints.size() - kept, UINT32_MAX - crossingDropped));
    constraints.resize(kept);
    for (size_t i = first; i < kept; ++i) {
        ExtendBounds(constraints[i].sx, constraints[i].sy);
        ExtendBounds(constraints[i].ex, constraints[i].ey);
    }
}

void DXFFileCls::SimplifyPolyline(std::vector<DXFVertex>& list, bool closed, bool& collapsed) const {
    collapsed = false;
    const double d2 = constraintFilter * constraintFilter;
    const size_t n = list.size();
    // Most lines have no pair closer than the filter: one pass tells.
    bool close = false;
    for (size_t i = 0; i + 1 < n && !close; ++i)
        close = PlanDist2(list[i].x, list[i].y, list[i + 1].x, list[i + 1].y) < d2;
    if (n >= 3 && close) {
        // The closest pair first (the earlier one on ties), its first vertex removed, until none is closer than
        // the filter: a heap over the pairs with a linked list of the vertices left.
        std::vector<int32_t> prev(n), next(n);
        std::vector<uint8_t> alive(n, 1);
        for (size_t i = 0; i < n; ++i) prev[i] = int32_t(i) - 1, next[i] = i + 1 < n ? int32_t(i + 1) : -1;
        struct Entry {
            double d2;
            int32_t a, b;
            bool operator>(const Entry& o) const { return d2 != o.d2 ? d2 > o.d2 : a > o.a; }
        };
        std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> heap;
        auto dist = [&](int32_t a, int32_t b) {
            return PlanDist2(list[size_t(a)].x, list[size_t(a)].y, list[size_t(b)].x, list[size_t(b)].y);
        };
        for (size_t i = 0; i + 1 < n; ++i) heap.push({dist(int32_t(i), int32_t(i + 1)), int32_t(i), int32_t(i + 1)});
        size_t left = n;
        while (left >= 3 && !heap.empty()) {
            const Entry e = heap.top();
            heap.pop();
            if (!alive[size_t(e.a)] || !alive[size_t(e.b)] || next[size_t(e.a)] != e.b) continue;
            if (!(e.d2 < d2)) break;
            const int32_t gone = closed && e.a == 0 ? e.b : e.a;
            const int32_t p = prev[size_t(gone)], q = next[size_t(gone)];
            alive[size_t(gone)] = 0;
            if (p >= 0) next[size_t(p)] = q;
            if (q >= 0) prev[size_t(q)] = p;
            if (p >= 0 && q >= 0) heap.push({dist(p, q), p, q});
            --left;
        }
        if (left != n) {
            size_t w = 0;
            for (size_t i = 0; i < n; ++i)
                if (alive[i]) list[w++] = list[i];
            list.resize(w);
        }
    }
    if (!closed) {
        collapsed = list.size() == 1;
    } else if (list.size() == 2 && PlanDist2(list[0].x, list[0].y, list[1].x, list[1].y) < d2) {
        list.pop_back();
        collapsed = true;
    }
}

void DXFFileCls::AddPolyline(std::vector<DXFVertex>& list, int32_t layer, bool closed, bool makeConstraints) {
    if (list.empty()) return;
    if (closed) list.push_back(list.front());
    pointsRead += uint32_t(list.size());
    bool collapsed = false;
    SimplifyPolyline(list, closed, collapsed);
    bool added = false;
    if (collapsed) {
        DXFFilePoint p;
        p.x = list[0].x, p.y = list[0].y, p.z = list[0].z, p.layer = layer;
        AddVertexPoint(p, added);
        return;
    }
    const int32_t group = grouping != 0 ? ++groupCounter : 0;
    const size_t stored = closed ? list.size() - 1 : list.size();
    // The slots of the vertices a little ahead are loaded while one is stored: all of a long line's at once would
    // overrun what the core can wait for, and the first would be gone again before their turn.
    constexpr size_t Ahead = 16;
    if (indexedSearch) {
        EnsureIndex();
        for (size_t i = 0; i < std::min(stored, Ahead); ++i) index_->vertexGrid.Prefetch(list[i].x, list[i].y);
    }
    // The stored vertex of each, which the constraints run between.
    std::vector<int32_t>& at = polylineVertices_;
    at.resize(list.size());
    for (size_t i = 0; i < stored; ++i) {
        if (indexedSearch && i + Ahead < stored) index_->vertexGrid.Prefetch(list[i + Ahead].x, list[i + Ahead].y);
        DXFFilePoint p;
        p.x = list[i].x, p.y = list[i].y, p.z = list[i].z, p.layer = layer, p.group = group;
        at[i] = StoreVertex(p, added);
        list[i] = {p.x, p.y, p.z};
    }
    // The closing copy ends on the stored first vertex, so that the ring closes on the point placed there.
    if (closed) at.back() = at.front(), list.back() = list.front();
    if (!makeConstraints) return;
    for (size_t i = 0; i + 1 < list.size(); ++i) AddConstraintBetween(at[i], at[i + 1], layer, group);
}

void DXFFileCls::DropCoveredPoints() {
    // The vertex grid exists whenever a vertex was stored through it.
    for (DXFFilePoint& p : pointEntities) {
        if (p.group == -1) continue;
        const int32_t vertex = FindVertex(p.x, p.y);
        if (vertex >= 0) {
            NoteMixedHeight(vertex, p.z, ReadIssue::SpotHeightOnLine);
            p.group = -1;
            if (pointsKept > 0) --pointsKept;
        }
    }
}
