// The stores of the DXF reader: which vertices, points and constraints the terrain input keeps. Every search
// is either a scan of the list (indexedSearch off) or a look into an index that finds the same items: the
// indexes only narrow the candidates, the tests on them are the scans' own.
#include "fileio/DXFFileCls.hpp"

#include <algorithm>
#include <cmath>
#include <queue>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

namespace {

constexpr double SamePoint = 5e-5;
constexpr double SharedEnd = 1e-7;
constexpr double Parallel = 1e-5;

struct Key {
    int64_t x, y;
    bool operator==(const Key& o) const { return x == o.x && y == o.y; }
};
const Key NoKey = {INT64_MIN, INT64_MIN};  // never a cell: that is the pattern of -0.0, taken as 0.0

double PlanDist2(double ax, double ay, double bx, double by) {
    const double dx = bx - ax, dy = by - ay;
    return dx * dx + dy * dy;
}

// The cell of a value: floor(v / size), as a double, so that no coordinate is clamped into a shared cell.
double Cell(double v, double size) { return std::floor(v / size); }
int64_t CellKey(double cell) {
    if (cell == 0.0) cell = 0.0;                 // -0.0 and 0.0 are one cell
    if (std::isnan(cell)) return INT64_MAX;      // never met: coordinates are finite
    int64_t k;
    std::memcpy(&k, &cell, sizeof k);
    return k;
}
// The cell after `cell`; where doubles no longer hold every integer, the next double.
double NextCell(double cell) {
    const double n = cell + 1.0;
    return n != cell ? n : std::nextafter(cell, HUGE_VAL);
}

// Items by the cell of their point. A cell is twice the search radius, so a look reads four cells at most, and the
// items of one store lie that radius apart at least (a nearer one would have been merged): a cell holds a few
// items however the points crowd.
class PointGrid {
public:
    explicit PointGrid(double size) : size_(size) {}
    void Insert(int32_t item, double x, double y) {
        const Key k{CellKey(Cell(x, size_)), CellKey(Cell(y, size_))};
        if (size_t(item) >= next_.size()) {
            next_.resize(size_t(item) + 1, -1);
            cellOf_.resize(size_t(item) + 1, NoKey);
        }
        cellOf_[size_t(item)] = k;
        if (4 * (count_ + 1) > 3 * slots_.size()) Grow();
        const uint64_t h = Hash(k);
        const uint32_t tag = Tag(h);
        size_t i = size_t(h) & mask_;
        for (; slots_[i].head >= 0; i = (i + 1) & mask_)
            if (slots_[i].tag == tag && cellOf_[size_t(slots_[i].head)] == k) break;
        if (slots_[i].head < 0) ++count_;
        next_[size_t(item)] = slots_[i].head;
        slots_[i] = {tag, item};
    }
    // Every item in the cells that the square of half-size `r` around (x, y) touches.
    template <typename F>
    void Near(double x, double y, double r, F visit) const {
        const double x0 = Cell(x - r, size_), x1 = Cell(x + r, size_), y0 = Cell(y - r, size_),
                     y1 = Cell(y + r, size_);
        for (double i = x0;; i = NextCell(i)) {
            for (double j = y0;; j = NextCell(j)) {
                for (int32_t k = Head(Key{CellKey(i), CellKey(j)}); k >= 0; k = next_[size_t(k)]) visit(k);
                if (!(j < y1)) break;
            }
            if (!(i < x1)) break;
        }
    }

private:
    // A slot holds the cell's newest item and a few bits of the cell's hash; the cell itself is that of the item.
    // Eight bytes a slot keep the table small enough to stay in the caches, where the looks of a read spend their
    // time.
    struct Slot {
        uint32_t tag;
        int32_t head;  // -1: empty
    };
    static uint64_t Hash(const Key& k) {
        uint64_t h = uint64_t(k.x) * 0x9E3779B97F4A7C15ull ^ uint64_t(k.y);
        h ^= h >> 31;
        h *= 0xBF58476D1CE4E5B9ull;
        return h ^ (h >> 29);
    }
    static uint32_t Tag(uint64_t h) { return uint32_t(h >> 32); }
    int32_t Head(const Key& k) const {
        if (count_ == 0) return -1;
        const uint64_t h = Hash(k);
        const uint32_t tag = Tag(h);
        for (size_t i = size_t(h) & mask_; slots_[i].head >= 0; i = (i + 1) & mask_)
            if (slots_[i].tag == tag && cellOf_[size_t(slots_[i].head)] == k) return slots_[i].head;
        return -1;
    }
    void Grow() {
        std::vector<Slot> old;
        old.swap(slots_);
        const size_t size = old.empty() ? 1024 : old.size() * 2;
        slots_.assign(size, Slot{0, -1});
        mask_ = size - 1;
        for (const Slot& e : old) {
            if (e.head < 0) continue;
            size_t i = size_t(Hash(cellOf_[size_t(e.head)])) & mask_;
            while (slots_[i].head >= 0) i = (i + 1) & mask_;
            slots_[i] = e;
        }
    }

    double size_;
    std::vector<Slot> slots_;
    size_t mask_ = 0;
    size_t count_ = 0;
    std::vector<int32_t> next_;
    std::vector<Key> cellOf_;  // the cell of each item
};

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

// Boxes packed into a tree once, never changed: sorted into vertical slices by x, each slice by y, runs of Fanout
// boxes under one node, and so on up to the root. A look descends only into nodes its box meets.
class PackedTree {
public:
    struct Item {
        Box box;
        int32_t index;
    };
    static constexpr size_t Fanout = 8;

    bool Empty() const { return items_.empty(); }
    size_t Size() const { return items_.size(); }
    std::vector<Item>& Items() { return items_; }

    void Build(std::vector<Item>&& items) {
        items_ = std::move(items);
        levels_.clear();
        const size_t n = items_.size();
        if (n == 0) return;
        auto cx = [](const Item& a) { return a.box.x0 + (a.box.x1 - a.box.x0) * 0.5; };
        auto cy = [](const Item& a) { return a.box.y0 + (a.box.y1 - a.box.y0) * 0.5; };
        std::sort(items_.begin(), items_.end(), [&](const Item& a, const Item& b) { return cx(a) < cx(b); });
        const size_t leaves = (n + Fanout - 1) / Fanout;
        const size_t slices = size_t(std::ceil(std::sqrt(double(leaves))));
        const size_t perSlice = slices * Fanout;
        for (size_t at = 0; at < n; at += perSlice)
            std::sort(items_.begin() + ptrdiff_t(at), items_.begin() + ptrdiff_t(std::min(n, at + perSlice)),
                      [&](const Item& a, const Item& b) { return cy(a) < cy(b); });
        std::vector<Node> level;
        for (size_t at = 0; at < n; at += Fanout) {
            Node node{items_[at].box, uint32_t(at), uint32_t(std::min(Fanout, n - at))};
            for (size_t k = at + 1; k < at + node.count; ++k) node.box.Add(items_[k].box);
            level.push_back(node);
        }
        levels_.push_back(std::move(level));
        while (levels_.back().size() > 1) {
            const std::vector<Node>& below = levels_.back();
            std::vector<Node> up;
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
// packed with the trees of the sizes below into one tree of the next size (tree i holds Recent x 2^i boxes or
// none), so each box is packed a logarithmic number of times and a look reads a logarithmic number of trees. No
// layout gathers the boxes in one place: long, parallel, crowded or far-off segments are found by their boxes.
class SegmentIndex {
public:
    // `test` answers true to stop the look.
    template <typename F>
    void Candidates(const std::vector<DXFFileConstraint>& all, const Box& b, F test) const {
        auto visit = [&](int32_t i) { return test(all[size_t(i)]); };
        for (const PackedTree::Item& item : recent_)
            if (item.box.Meets(b) && visit(item.index)) return;
        for (const PackedTree& tree : trees_)
            if (tree.Look(b, visit)) return;
    }
    void Added(const std::vector<DXFFileConstraint>& all) {
        const int32_t item = int32_t(all.size() - 1);
        recent_.push_back({BoxOf(all[size_t(item)]), item});
        if (recent_.size() < Recent) return;
        std::vector<PackedTree::Item> gathered;
        gathered.swap(recent_);
        size_t i = 0;
        for (; i < trees_.size() && !trees_[i].Empty(); ++i) {
            std::vector<PackedTree::Item>& held = trees_[i].Items();
            gathered.insert(gathered.end(), held.begin(), held.end());
            trees_[i].Build({});
        }
        if (i == trees_.size()) trees_.emplace_back();
        trees_[i].Build(std::move(gathered));
    }

private:
    static constexpr size_t Recent = 64;
    std::vector<PackedTree::Item> recent_;
    std::vector<PackedTree> trees_;
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

}  // namespace

class DXFStoreIndex {
public:
    explicit DXFStoreIndex(double pointTolerance) : vertexGrid(2.0 * SamePoint), pointGrid(2.0 * pointTolerance) {}
    PointGrid vertexGrid;
    PointGrid pointGrid;  // used only for a tolerance above 0
    SegmentIndex segments;
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
    index_.reset();
    report = ReadReport();
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
        for (DXFFileConstraint& c : constraints)
            if (c.group == from) c.group = to;
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
    for (DXFFileConstraint& c : constraints) c.group = root(c.group);
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

void DXFFileCls::AddVertexPoint(DXFFilePoint& p, bool& added) {
    if (indexedSearch && !index_) index_.reset(new DXFStoreIndex(tolerance));
    const int32_t found = FindVertex(p.x, p.y);
    if (found >= 0) {
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
        return;
    }
    vertices.push_back(p);
    if (indexedSearch) index_->vertexGrid.Insert(int32_t(vertices.size() - 1), p.x, p.y);
    ExtendBounds(p.x, p.y);
    ++pointsKept;
    added = true;
}

bool DXFFileCls::DuplicatePoint(double x, double y) {
    const double t2 = tolerance * tolerance;
    auto near = [&](const DXFFilePoint& q) {
        const double dx = q.x - x, dy = q.y - y;
        return dx * dx + dy * dy < t2;
    };
    const bool gridUsable = indexedSearch && tolerance > 0.0 && std::isfinite(tolerance);
    if (!gridUsable) {
        for (const DXFFilePoint& q : pointEntities)
            if (near(q)) return true;
        return false;
    }
    if (!index_) index_.reset(new DXFStoreIndex(tolerance));
    bool found = false;
    index_->pointGrid.Near(x, y, tolerance, [&](int32_t k) { found = found || near(pointEntities[size_t(k)]); });
    // The caller appends the point when it is new: it goes into the grid under the index it will have.
    if (!found) index_->pointGrid.Insert(int32_t(pointEntities.size()), x, y);
    return found;
}

void DXFFileCls::AddConstraint(const DXFFileConstraint& c, bool& added) {
    bool crossing = false;
    if (!indexedSearch) {
        for (const DXFFileConstraint& s : constraints)
            if (Crosses(s, c)) {
                crossing = true;
                break;
            }
    } else {
        if (!index_) index_.reset(new DXFStoreIndex(tolerance));
        Box b = BoxOf(c);
        // A touch at the box's very edge is still looked at: the crossing test's rounding moves its meeting point
        // by some units in the last place of the coordinates, far less than this pad. A pad growing with the
        // coordinates alone would gather every segment of a far-off survey into one look.
        const double magnitude = std::max({std::fabs(b.x0), std::fabs(b.x1), std::fabs(b.y0), std::fabs(b.y1)});
        const double pad = 1e-9 * (1.0 + std::max(b.x1 - b.x0, b.y1 - b.y0)) +
            16.0 * std::numeric_limits<double>::epsilon() * (1.0 + magnitude);
        b.x0 -= pad, b.y0 -= pad, b.x1 += pad, b.y1 += pad;
        index_->segments.Candidates(constraints, b,
                                    [&](const DXFFileConstraint& s) { return crossing = Crosses(s, c); });
    }
    added = !crossing;
    if (crossing) return;
    constraints.push_back(c);
    if (indexedSearch) index_->segments.Added(constraints);
    ExtendBounds(c.sx, c.sy);
    ExtendBounds(c.ex, c.ey);
}

void DXFFileCls::SimplifyPolyline(std::vector<DXFVertex>& list, bool closed, bool& collapsed) const {
    collapsed = false;
    const double d2 = constraintFilter * constraintFilter;
    const size_t n = list.size();
    if (n >= 3) {
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
    for (size_t i = 0; i < stored; ++i) {
        DXFFilePoint p;
        p.x = list[i].x, p.y = list[i].y, p.z = list[i].z, p.layer = layer, p.group = group;
        AddVertexPoint(p, added);
        list[i] = {p.x, p.y, p.z};
    }
    // The closing copy ends on the stored first vertex, so that the ring closes on the point placed there.
    if (closed) list.back() = list.front();
    if (!makeConstraints) return;
    for (size_t i = 0; i + 1 < list.size(); ++i) {
        DXFFileConstraint c;
        c.sx = list[i].x, c.sy = list[i].y, c.sz = list[i].z;
        c.ex = list[i + 1].x, c.ey = list[i + 1].y, c.ez = list[i + 1].z;
        c.layer = layer, c.group = group;
        AddConstraint(c, added);
    }
}

void DXFFileCls::DropCoveredPoints() {
    // The vertex grid exists whenever a vertex was stored through it.
    for (DXFFilePoint& p : pointEntities) {
        if (p.group == -1) continue;
        if (FindVertex(p.x, p.y) >= 0) {
            p.group = -1;
            if (pointsKept > 0) --pointsKept;
        }
    }
}
