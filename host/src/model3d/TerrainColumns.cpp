#include "model3d/TerrainColumns.hpp"

#include "model3d/ExactSum.hpp"
#include "model3d/PlanTriangulation.hpp"
#include "ParallelRanges.hpp"

#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>

namespace {
using Plan = CGAL::Exact_predicates_inexact_constructions_kernel;

CGAL::Orientation PlanTurn(const ModelPoint& a, const ModelPoint& b, const ModelPoint& c) {
    return CGAL::orientation(Plan::Point_2(a.x, a.y), Plan::Point_2(b.x, b.y), Plan::Point_2(c.x, c.y));
}

bool SamePlace(const ModelPoint& a, const ModelPoint& b) { return a.x == b.x && a.y == b.y; }

// Plan boxes filed by the cells of a grid over them, so that whether a box meets any of them is asked of the few
// in its cells: a body gives a box per face, thousands along a road, and a terrain millions of triangles.
class BoxCells {
public:
    explicit BoxCells(const std::vector<PlanBox>& boxes) {
        bool any = false;
        for (const PlanBox& b : boxes) {
            // A box with a NaN side meets nothing; one without a finite extent is asked of every box.
            if (!(b.xMin <= b.xMax && b.yMin <= b.yMax)) continue;
            if (!std::isfinite(b.xMin) || !std::isfinite(b.xMax) || !std::isfinite(b.yMin) || !std::isfinite(b.yMax)) {
                unbounded_.push_back(b);
                continue;
            }
            all_ = any ? PlanBox{std::min(all_.xMin, b.xMin), std::min(all_.yMin, b.yMin), std::max(all_.xMax, b.xMax),
                                 std::max(all_.yMax, b.yMax)}
                       : b;
            any = true;
        }
        if (!any) return;
        const size_t finite = boxes.size() - unbounded_.size();
        n_ = std::clamp<size_t>(size_t(2.0 * std::sqrt(double(finite))), 1, 512);
        w_ = (all_.xMax - all_.xMin) / double(n_);
        h_ = (all_.yMax - all_.yMin) / double(n_);
        cells_.resize(n_ * n_);
        covered_.assign(n_ * n_, 0);
        for (const PlanBox& b : boxes) {
            if (!(b.xMin <= b.xMax && b.yMin <= b.yMax) || !std::isfinite(b.xMin) || !std::isfinite(b.xMax) ||
                !std::isfinite(b.yMin) || !std::isfinite(b.yMax))
                continue;
            // A cell strictly between the box's first and last cells lies within it (the cells are monotone), so
            // every box in it meets the box: such cells are only marked, and a body's large faces (a slope's, a
            // lid's) file themselves in their border cells alone.
            const size_t i0 = Cell(b.xMin, all_.xMin, w_), i1 = Cell(b.xMax, all_.xMin, w_);
            const size_t j0 = Cell(b.yMin, all_.yMin, h_), j1 = Cell(b.yMax, all_.yMin, h_);
            for (size_t j = j0; j <= j1; ++j) {
                if (j > j0 && j < j1 && i1 > i0 + 1) {
                    cells_[j * n_ + i0].push_back(b);
                    cells_[j * n_ + i1].push_back(b);
                    std::fill(covered_.begin() + std::ptrdiff_t(j * n_ + i0 + 1),
                              covered_.begin() + std::ptrdiff_t(j * n_ + i1), char(1));
                    continue;
                }
                for (size_t i = i0; i <= i1; ++i) cells_[j * n_ + i].push_back(b);
            }
        }
    }
    bool Meets(const PlanBox& q) const {
        for (const PlanBox& b : unbounded_)
            if (b.Meets(q)) return true;
        if (cells_.empty() || !all_.Meets(q)) return false;
        for (size_t j = Cell(q.yMin, all_.yMin, h_); j <= Cell(q.yMax, all_.yMin, h_); ++j)
            for (size_t i = Cell(q.xMin, all_.xMin, w_); i <= Cell(q.xMax, all_.xMin, w_); ++i) {
                if (covered_[j * n_ + i]) return true;
                for (const PlanBox& b : cells_[j * n_ + i])
                    if (b.Meets(q)) return true;
            }
        return false;
    }

private:
    // The cell of a coordinate, monotone in it: boxes that meet share the cell of a point they share.
    size_t Cell(double c, double origin, double size) const {
        const double k = size > 0.0 ? (c - origin) / size : 0.0;
        if (!(k > 0.0)) return 0;
        return k < double(n_) ? size_t(k) : n_ - 1;
    }
    PlanBox all_ = {0, 0, 0, 0};
    size_t n_ = 0;
    double w_ = 0.0, h_ = 0.0;
    std::vector<std::vector<PlanBox>> cells_;
    std::vector<char> covered_;  // per cell: within some box
    std::vector<PlanBox> unbounded_;
};
}  // namespace

namespace {
enum PolygonKind : uint8_t { kBad, kTop, kFloor, kSkirt, kTopToTurn, kFloorToTurn };

// c - d when doubles give it exactly (Sterbenz: of one sign and within a factor two of each other, as neighbouring
// heights of a terrain are), else NaN.
double ExactDifference(double c, double d) {
    if (c == d) return 0.0;
    if ((c > 0 && d > 0 && d / 2 <= c && c <= 2 * d) || (c < 0 && d < 0 && d / 2 >= c && c >= 2 * d)) return c - d;
    return std::numeric_limits<double>::quiet_NaN();
}

// The turn of a plan triangle where doubles tell it for certain (the error bound of Shewchuk's first stage), else
// COLLINEAR with `known` false: those are asked of CGAL's exact predicate on one thread.
CGAL::Orientation QuickTurn(const ModelPoint& a, const ModelPoint& b, const ModelPoint& c, bool* known) {
    const double left = (a.x - c.x) * (b.y - c.y), right = (a.y - c.y) * (b.x - c.x);
    const double size = std::fabs(left) + std::fabs(right), det = left - right;
    constexpr double kEpsilon = 1.0 / 9007199254740992.0;  // 2^-53
    constexpr double kBound = (3.0 + 16.0 * kEpsilon) * kEpsilon;
    *known = std::isfinite(size) && size > 1e-280 && std::fabs(det) > kBound * size;
    if (!*known) return CGAL::COLLINEAR;
    return det > 0 ? CGAL::LEFT_TURN : CGAL::RIGHT_TURN;
}
// A solid's polygon sides: the side that runs each edge each way, the polygon of each side, and each vertex's first
// corner. The side of a polygon is the polygon edge from its corner to the next.
class Sides {
public:
    explicit Sides(const ModelBody& b)
        : b_(b), forward_(b.edges.size(), -1), backward_(b.edges.size(), -1), polygonOf_(b.pedges.size(), -1),
          first_(b.vertices.size(), -1) {}
    // False unless each edge is run once each way and joins two of the vertices, and each side lies in one polygon.
    bool Read() {
        const size_t nV = b_.vertices.size(), nE = b_.edges.size(), nS = b_.pedges.size();
        for (size_t p = 0; p < b_.pgons.size(); ++p) {
            const auto& pg = b_.pgons[p];
            if (pg.first < 1 || pg.second < pg.first + 2 || size_t(pg.second) > nS) return false;
            for (int32_t k = pg.first - 1; k < pg.second; ++k) {
                if (polygonOf_[size_t(k)] != -1) return false;
                polygonOf_[size_t(k)] = int32_t(p);
                const int32_t e = b_.pedges[size_t(k)];
                if (e == 0 || size_t(std::abs(e)) > nE) return false;
                int32_t& use = e > 0 ? forward_[size_t(e - 1)] : backward_[size_t(-e - 1)];
                if (use != -1) return false;
                use = k;
            }
        }
        for (size_t k = 0; k < nS; ++k)
            if (polygonOf_[k] == -1) return false;
        for (size_t e = 0; e < nE; ++e) {
            const auto& ed = b_.edges[e];
            if (forward_[e] == -1 || backward_[e] == -1 || ed.first < 1 || size_t(ed.first) > nV || ed.second < 1 ||
                size_t(ed.second) > nV)
                return false;
        }
        for (int32_t k = 0; k < int32_t(nS); ++k) {
            int32_t& f = first_[size_t(Corner(k))];
            if (f == -1) f = k;
        }
        return true;
    }
    // Each vertex's polygons one fan. Going on from a side across its edge to the next side of the polygon there
    // is a permutation of the sides, so the walk from each vertex's first corner comes back to it. The vertex's
    // corners are one fan when that walk stays at the vertex and meets them all; every vertex's are when the walks
    // stay and meet every side.
    bool OneFanEach() const {
        const size_t nV = b_.vertices.size(), nS = b_.pedges.size();
        const size_t ranges = RangeCount(nV, 1 << 16);
        std::vector<size_t> met(ranges, 0);
        ForEachRange(nV, ranges, [&](size_t r, size_t from, size_t to) {
            size_t count = 0;
            for (size_t v = from; v < to && count <= nS; ++v) {
                if (first_[v] == -1) continue;
                int32_t k = first_[v];
                do {
                    k = Next(Across(k));
                    // Past every side: a polygon whose sides do not follow on from each other.
                    count = size_t(Corner(k)) == v ? count + 1 : nS + 1;
                } while (k != first_[v] && count <= nS);
            }
            met[r] = count;
        });
        size_t all = 0;
        for (size_t m : met) all += m;
        return all == nS;
    }
    int32_t Across(int32_t k) const {
        const int32_t e = b_.pedges[size_t(k)];
        return e > 0 ? backward_[size_t(e - 1)] : forward_[size_t(-e - 1)];
    }
    int32_t PolygonOf(int32_t k) const { return polygonOf_[size_t(k)]; }
    int32_t Next(int32_t k) const {
        const auto& pg = b_.pgons[size_t(polygonOf_[size_t(k)])];
        return k + 1 < pg.second ? k + 1 : pg.first - 1;
    }
    // The vertex a side starts at, from 0.
    int32_t Corner(int32_t k) const {
        const int32_t e = b_.pedges[size_t(k)];
        const auto& ed = b_.edges[size_t(std::abs(e) - 1)];
        return (e > 0 ? ed.first : ed.second) - 1;
    }
    // Polygon p's first four corners, and its number of corners.
    int32_t CornersOf(size_t p, std::array<int32_t, 4>* v) const {
        const auto& pg = b_.pgons[p];
        const int32_t n = pg.second - pg.first + 1;
        for (int32_t i = 0; i < n && i < 4; ++i) (*v)[size_t(i)] = Corner(pg.first - 1 + i);
        return n;
    }

private:
    const ModelBody& b_;
    std::vector<int32_t> forward_, backward_, polygonOf_, first_;
};
}  // namespace

std::unique_ptr<TerrainColumns> TerrainColumns::Of(std::shared_ptr<const ModelBody> solid, int32_t surfaceVertices) {
    const ModelBody& b = *solid;
    const size_t nV = b.vertices.size(), nS = b.pedges.size(), nP = b.pgons.size();
    const int32_t sv = surfaceVertices;
    if (sv <= 0 || size_t(sv) >= nV || nP == 0 || nS > size_t(INT32_MAX)) return nullptr;
    for (const ModelPoint& p : b.vertices)
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return nullptr;
    // The floor: every vertex after the surface's, at one height.
    auto columns = std::unique_ptr<TerrainColumns>(new TerrainColumns());
    columns->floorZ_ = b.vertices[size_t(sv)].z;
    for (size_t v = size_t(sv); v < nV; ++v)
        if (b.vertices[v].z != columns->floorZ_) return nullptr;
    Sides sides(b);
    if (!sides.Read() || !sides.OneFanEach()) return nullptr;
    // The polygons: top triangles counter-clockwise in plan, floor triangles clockwise, skirt quads; nothing else.
    const auto cornersOf = [&](size_t p, std::array<int32_t, 4>* v) { return sides.CornersOf(p, v); };
    std::vector<uint8_t> kind(nP, kBad);
    const size_t ranges = RangeCount(nP, 1 << 16);
    std::vector<size_t> tops(ranges, 0);
    ForEachRange(nP, ranges, [&](size_t r, size_t from, size_t to) {
        size_t count = 0;
        for (size_t p = from; p < to; ++p) {
            std::array<int32_t, 4> v = {0, 0, 0, 0};
            const int32_t n = cornersOf(p, &v);
            const auto onTop = [&](int32_t i) { return v[size_t(i)] < sv; };
            const ModelPoint &a = b.vertices[size_t(v[0])], &c = b.vertices[size_t(v[1])],
                             &d = b.vertices[size_t(v[2])];
            bool known = false;
            if (n == 3 && onTop(0) && onTop(1) && onTop(2)) {
                const CGAL::Orientation turn = QuickTurn(a, c, d, &known);
                if ((known && turn != CGAL::LEFT_TURN) || !(a.z > columns->floorZ_) || !(c.z > columns->floorZ_) ||
                    !(d.z > columns->floorZ_))
                    continue;
                kind[p] = known ? kTop : kTopToTurn;
                ++count;
            } else if (n == 3 && !onTop(0) && !onTop(1) && !onTop(2)) {
                const CGAL::Orientation turn = QuickTurn(a, c, d, &known);
                if (!known || turn == CGAL::RIGHT_TURN) kind[p] = known ? kFloor : kFloorToTurn;
            } else if (n == 4 && onTop(0) && !onTop(1) && !onTop(2) && onTop(3)) {
                const ModelPoint& e = b.vertices[size_t(v[3])];
                if (SamePlace(a, c) && SamePlace(e, d) && !SamePlace(a, e) && a.z > columns->floorZ_ &&
                    e.z > columns->floorZ_)
                    kind[p] = kSkirt;
            }
        }
        tops[r] = count;
    });
    // What doubles could not tell, exactly; then each range's top triangles from its first number on.
    std::vector<size_t> topFrom(ranges + 1, 0);
    for (size_t r = 0; r < ranges; ++r) topFrom[r + 1] = topFrom[r] + tops[r];
    for (size_t p = 0; p < nP; ++p) {
        if (kind[p] == kBad) return nullptr;
        if (kind[p] != kTopToTurn && kind[p] != kFloorToTurn) continue;
        std::array<int32_t, 4> v = {0, 0, 0, 0};
        cornersOf(p, &v);
        const CGAL::Orientation turn =
            PlanTurn(b.vertices[size_t(v[0])], b.vertices[size_t(v[1])], b.vertices[size_t(v[2])]);
        if (turn != (kind[p] == kTopToTurn ? CGAL::LEFT_TURN : CGAL::RIGHT_TURN)) return nullptr;
        kind[p] = kind[p] == kTopToTurn ? kTop : kFloor;
    }
    if (topFrom[ranges] == 0) return nullptr;
    std::vector<int32_t> topOf(nP, -1), polygonOfTop(topFrom[ranges], -1);
    columns->triangles_.resize(topFrom[ranges]);
    columns->across_.resize(topFrom[ranges]);
    ForEachRange(nP, ranges, [&](size_t r, size_t from, size_t to) {
        size_t t = topFrom[r];
        for (size_t p = from; p < to; ++p) {
            if (kind[p] != kTop) continue;
            std::array<int32_t, 4> v = {0, 0, 0, 0};
            cornersOf(p, &v);
            topOf[p] = int32_t(t);
            polygonOfTop[t] = int32_t(p);
            columns->triangles_[t++] = {v[0], v[1], v[2]};
        }
    });
    ForEachRange(polygonOfTop.size(), ranges, [&](size_t, size_t from, size_t to) {
        for (size_t t = from; t < to; ++t) {
            const size_t p = size_t(polygonOfTop[t]);
            for (int32_t i = 0; i < 3; ++i) {
                const int32_t other = sides.Across(b.pgons[p].first - 1 + i);
                columns->across_[t][size_t(i)] = topOf[size_t(sides.PolygonOf(other))];
            }
        }
    });
    columns->solid_ = std::move(solid);
    return columns;
}

PlanBox TerrainColumns::BoxOf(size_t t) const {
    const ModelPoint &a = Point(triangles_[t][0]), &b = Point(triangles_[t][1]), &c = Point(triangles_[t][2]);
    return {std::min({a.x, b.x, c.x}), std::min({a.y, b.y, c.y}), std::max({a.x, b.x, c.x}), std::max({a.y, b.y, c.y})};
}

bool TerrainColumns::HeldNear(const std::vector<PlanBox>& boxes, std::vector<char>* out) const {
    const size_t nT = triangles_.size();
    std::vector<char> held(nT, 0);
    const BoxCells cells(boxes);
    const size_t ranges = RangeCount(nT, 1 << 16);
    std::vector<char> anyIn(ranges, 0);
    ForEachRange(nT, ranges, [&](size_t r, size_t from, size_t to) {
        for (size_t t = from; t < to; ++t)
            if (cells.Meets(BoxOf(t))) {
                held[t] = 1;
                anyIn[r] = 1;
            }
    });
    if (std::count(anyIn.begin(), anyIn.end(), 1) == 0 && !boxes.empty()) return false;
    // Where the part's border passes a corner twice the part would touch itself there: it takes every column round
    // that corner, until no corner is passed twice.
    std::vector<uint8_t> passes(solid_->vertices.size(), 0);
    for (;;) {
        std::fill(passes.begin(), passes.end(), uint8_t(0));
        bool pinched = false;
        for (size_t t = 0; t < nT; ++t) {
            if (!held[t]) continue;
            for (size_t k = 0; k < 3; ++k) {
                const int32_t n = across_[t][k];
                if (n >= 0 && held[size_t(n)]) continue;
                uint8_t& p = passes[size_t(triangles_[t][k])];
                p = uint8_t(std::min(p + 1, 2));
                pinched = pinched || p == 2;
            }
        }
        if (!pinched) break;
        for (size_t t = 0; t < nT; ++t)
            if (!held[t] &&
                (passes[size_t(triangles_[t][0])] == 2 || passes[size_t(triangles_[t][1])] == 2 ||
                 passes[size_t(triangles_[t][2])] == 2))
                held[t] = 1;
    }
    *out = std::move(held);
    return true;
}

bool TerrainColumns::Boundary(const std::vector<char>& held, char keep, bool innerWalls, Floor floor, Part* out) const {
    // The columns' boundary: their top triangles, walls under their border, and the floor: the region inside the
    // walls' feet triangulated, or a copy of each top triangle.
    const size_t nT = triangles_.size();
    const auto kept = [&](int32_t t) { return t >= 0 && (held[size_t(t)] != 0) == (keep != 0); };
    out->points.clear();
    out->polygons.clear();
    out->from.clear();
    const size_t nV = solid_->vertices.size();
    std::vector<int32_t> topId(nV, -1), floorId(nV, -1);
    const auto top = [&](int32_t v) {
        if (topId[size_t(v)] < 0) {
            topId[size_t(v)] = int32_t(out->points.size());
            out->points.push_back(Point(v));
            out->from.push_back(v);
        }
        return size_t(topId[size_t(v)]);
    };
    const auto under = [&](int32_t v) {
        if (floorId[size_t(v)] < 0) {
            floorId[size_t(v)] = int32_t(out->points.size());
            out->points.push_back({Point(v).x, Point(v).y, floorZ_});
            out->from.push_back(-1 - v);
        }
        return size_t(floorId[size_t(v)]);
    };
    std::vector<int32_t> borderNext(floor == Floor::Flat ? nV : 0, -1);  // the border side leaving a vertex
    std::vector<int32_t> borderStarts;
    for (size_t t = 0; t < nT; ++t) {
        if (!kept(int32_t(t))) continue;
        const std::array<int32_t, 3>& tri = triangles_[t];
        out->polygons.push_back({top(tri[0]), top(tri[1]), top(tri[2])});
        if (floor == Floor::Copies) out->polygons.push_back({under(tri[2]), under(tri[1]), under(tri[0])});
        for (size_t k = 0; k < 3; ++k) {
            const int32_t n = across_[t][k];
            if (kept(n)) continue;
            const int32_t a = tri[k], b = tri[(k + 1) % 3];
            if (n < 0 || innerWalls) out->polygons.push_back({top(a), under(a), under(b), top(b)});
            if (floor == Floor::Flat) {
                borderNext[size_t(a)] = b;
                borderStarts.push_back(a);
            }
        }
    }
    if (floor == Floor::Flat && !borderStarts.empty()) {
        std::vector<PlanRing> rings;
        std::vector<std::vector<int32_t>> ids;
        for (int32_t start : borderStarts) {
            if (borderNext[size_t(start)] < 0) continue;
            PlanRing ring;
            std::vector<int32_t> ringIds;
            for (int32_t v = start; borderNext[size_t(v)] >= 0;) {
                ring.points.push_back(out->points[under(v)]);
                ringIds.push_back(int32_t(under(v)));
                const int32_t next = borderNext[size_t(v)];
                borderNext[size_t(v)] = -1;
                v = next;
            }
            rings.push_back(std::move(ring));
            ids.push_back(std::move(ringIds));
        }
        std::vector<std::array<int32_t, 3>> triangles;
        std::string why;
        if (!TriangulateRegion(rings, ids, &triangles, &why)) return false;
        for (const auto& t : triangles) out->polygons.push_back({size_t(t[0]), size_t(t[2]), size_t(t[1])});
    }
    return true;
}

bool TerrainColumns::PartNear(const std::vector<PlanBox>& boxes, Floor floor, Part* out) const {
    std::vector<char> held;
    if (!HeldNear(boxes, &held)) return false;
    if (!Boundary(held, 1, true, floor, out) && !Boundary(held, 1, true, Floor::Copies, out)) return false;
    // The columns left out, range by range, summed exactly.
    const size_t nT = triangles_.size();
    const size_t ranges = RangeCount(nT, 1 << 16);
    std::vector<ExactSum> sums(ranges);
    ForEachRange(nT, ranges, [&](size_t r, size_t from, size_t to) { AddRestVolume(held, from, to, &sums[r]); });
    ExactSum rest;
    for (const ExactSum& sum : sums) rest += sum;
    out->restVolume = rest.Value() / 6;
    out->held = std::move(held);
    return true;
}

// Six times the columns' volume: each triangle's twice plan area, the sum over its sides of (xa yb - xb ya), times
// its three heights over the floor. A side between two columns left out takes both triangles' terms at once, in
// which only the heights of the corners off the side remain.
void TerrainColumns::AddRestVolume(const std::vector<char>& held, size_t from, size_t to, ExactSum* sum) const {
    ExactSum& rest = *sum;
    for (size_t t = from; t < to; ++t) {
        if (held[t]) continue;
        const std::array<int32_t, 3>& tri = triangles_[t];
        for (size_t k = 0; k < 3; ++k) {
            const ModelPoint &a = Point(tri[k]), &b = Point(tri[(k + 1) % 3]), &c = Point(tri[(k + 2) % 3]);
            const int32_t n = across_[t][k];
            if (n >= 0 && !held[size_t(n)]) {
                if (size_t(n) < t) continue;
                const std::array<int32_t, 3>& other = triangles_[size_t(n)];
                int32_t d = other[0];
                for (int32_t v : other)
                    if (v != tri[k] && v != tri[(k + 1) % 3]) d = v;
                const double dz = ExactDifference(c.z, Point(d).z);
                if (dz == dz) {
                    rest.Add(a.x, b.y, dz);
                    rest.Subtract(b.x, a.y, dz);
                    continue;
                }
                rest.Add(a.x, b.y, c.z);
                rest.Subtract(b.x, a.y, c.z);
                rest.Subtract(a.x, b.y, Point(d).z);
                rest.Add(b.x, a.y, Point(d).z);
                continue;
            }
            for (const ModelPoint* h : {&a, &b, &c}) {
                rest.Add(a.x, b.y, h->z);
                rest.Subtract(b.x, a.y, h->z);
            }
            rest.Subtract(a.x, b.y, floorZ_, 3);
            rest.Add(b.x, a.y, floorZ_, 3);
        }
    }
}

bool TerrainColumns::Holds(const Part& part, const std::vector<PlanBox>& boxes) const {
    const BoxCells cells(boxes);
    const size_t ranges = RangeCount(triangles_.size(), 1 << 16);
    std::vector<char> missed(ranges, 0);
    ForEachRange(triangles_.size(), ranges, [&](size_t r, size_t from, size_t to) {
        for (size_t t = from; t < to && !missed[r]; ++t)
            if (!part.held[t] && cells.Meets(BoxOf(t))) missed[r] = 1;
    });
    return std::count(missed.begin(), missed.end(), 1) == 0;
}

int64_t TerrainColumns::RestTop(const std::vector<char>& held, std::vector<char>* used) const {
    used->assign(solid_->vertices.size(), 0);
    int64_t count = 0;
    for (size_t t = 0; t < triangles_.size(); ++t) {
        if (held[t] != 0) continue;
        ++count;
        for (int32_t v : triangles_[t]) (*used)[size_t(v)] = 1;
    }
    return count;
}

std::vector<char> TerrainColumns::Corners(const std::vector<char>& held) const {
    std::vector<char> corner(solid_->vertices.size(), 0);
    for (size_t t = 0; t < triangles_.size(); ++t)
        if (held[t] != 0)
            for (int32_t v : triangles_[t]) corner[size_t(v)] = 1;
    return corner;
}

std::vector<std::pair<int32_t, int32_t>> TerrainColumns::InnerSides(const std::vector<char>& held) const {
    std::vector<std::pair<int32_t, int32_t>> sides;
    for (size_t t = 0; t < triangles_.size(); ++t) {
        if (held[t] == 0) continue;
        for (size_t k = 0; k < 3; ++k) {
            const int32_t n = across_[t][k];
            if (n < 0 || held[size_t(n)] != 0) continue;
            const int32_t a = triangles_[t][k], b = triangles_[t][(k + 1) % 3];
            sides.push_back({std::min(a, b), std::max(a, b)});
        }
    }
    return sides;
}
