#include "model3d/LinkedSurfaceBox.hpp"

#include "APIInteraction.hpp"
#include "ParallelRanges.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <utility>
#include <vector>

namespace {
struct Box3 {
    double lo[3] = {0, 0, 0}, hi[3] = {0, 0, 0};
    bool any = false;

    void Add(double x, double y, double z) {
        const double c[3] = {x, y, z};
        for (int k = 0; k < 3; ++k) {
            lo[k] = any ? std::min(lo[k], c[k]) : c[k];
            hi[k] = any ? std::max(hi[k], c[k]) : c[k];
        }
        any = true;
    }
    void Add(const ModelPoint& p) { Add(p.x, p.y, p.z); }
    bool Holds(const ModelPoint& p) const {
        return any && p.x >= lo[0] && p.x <= hi[0] && p.y >= lo[1] && p.y <= hi[1] && p.z >= lo[2] && p.z <= hi[2];
    }
};

bool Finite(const ModelPoint& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

// A grid of n x n cells over a plan box: a point and a box that holds it meet the same cell, as both go through
// Cell.
class PlanCells {
public:
    PlanCells(const Box3& plan, int n) : plan_(plan), n_(n) {}
    size_t Count() const { return size_t(n_) * size_t(n_); }
    size_t At(double x, double y) const { return size_t(Cell(y, 1)) * size_t(n_) + size_t(Cell(x, 0)); }
    template <typename F>
    void Cells(const Box3& box, F&& visit) const {
        const int x0 = Cell(box.lo[0], 0), x1 = Cell(box.hi[0], 0);
        const int y0 = Cell(box.lo[1], 1), y1 = Cell(box.hi[1], 1);
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) visit(size_t(y) * size_t(n_) + size_t(x));
    }
    // The cells Cells visits, as the corners of their rectangle.
    void Span(const Box3& box, int* x0, int* y0, int* x1, int* y1) const {
        *x0 = Cell(box.lo[0], 0), *x1 = Cell(box.hi[0], 0);
        *y0 = Cell(box.lo[1], 1), *y1 = Cell(box.hi[1], 1);
    }
    int Side() const { return n_; }
    const Box3& Plan() const { return plan_; }

private:
    int Cell(double v, int k) const {
        const double span = plan_.hi[k] - plan_.lo[k];
        if (!(span > 0)) return 0;
        return std::clamp(int(std::floor((v - plan_.lo[k]) / span * n_)), 0, n_ - 1);
    }
    Box3 plan_;
    int n_;
};

// The plan box of each polygon of a body; false when its polygons cannot be read.
bool FaceBoxes(const ModelBody& b, std::vector<Box3>* out) {
    for (int32_t p = 1; p <= int32_t(b.pgons.size()); ++p) {
        const auto [first, last] = b.pgons[size_t(p - 1)];
        Box3 box;
        for (int32_t e = first; e <= last; ++e) {
            if (e < 1 || size_t(e) > b.pedges.size()) return false;
            const int32_t edge = std::abs(b.pedges[size_t(e - 1)]);
            if (edge < 1 || size_t(edge) > b.edges.size()) return false;
            for (int32_t v : {b.edges[size_t(edge - 1)].first, b.edges[size_t(edge - 1)].second}) {
                if (v < 1 || size_t(v) > b.vertices.size()) return false;
                box.Add(b.vertices[size_t(v - 1)]);
            }
        }
        if (!box.any) return false;
        out->push_back(box);
    }
    return !out->empty();
}

// The highest and lowest points of a solid's faces over each cell of a grid on its plan box (the lowest of faces
// with a point on its surface: the floor lies below every body): over a plan box, the solid's boundary reaches no
// higher and, but for the floor, no lower than its cells there say.
class FaceRaster {
public:
    FaceRaster(const ModelBody& solid, int32_t surfaceVertices, const Box3& plan) : grid_(plan, 1024) {
        top_.assign(grid_.Count(), -std::numeric_limits<double>::infinity());
        low_.assign(grid_.Count(), std::numeric_limits<double>::infinity());
        // The floor's triangles (no surface point) span much of the plan each, all at one height: their cells are
        // counted per height, each rectangle at its four corners, and the top raised once where any lies.
        constexpr size_t kLevels = 4;
        const size_t side = size_t(grid_.Side()) + 1;
        std::vector<std::pair<double, std::vector<int32_t>>> levels;
        const auto countAt = [&](double z) -> std::vector<int32_t>* {
            for (auto& [level, counts] : levels)
                if (std::memcmp(&level, &z, sizeof z) == 0) return &counts;
            if (levels.size() == kLevels) return nullptr;
            levels.emplace_back(z, std::vector<int32_t>(side * side, 0));
            return &levels.back().second;
        };
        const auto boxOf = [&](size_t p, Box3* box) {
            const auto [first, last] = solid.pgons[p];
            bool surface = false;
            for (int32_t e = first; e <= last; ++e) {
                const auto& edge = solid.edges[size_t(std::abs(solid.pedges[size_t(e - 1)]) - 1)];
                for (int32_t v : {edge.first, edge.second}) {
                    box->Add(solid.vertices[size_t(v - 1)]);
                    surface = surface || v <= surfaceVertices;
                }
            }
            return surface;
        };
        // The surface's polygons in ranges at once, each raising cells of its own, joined in no order (a highest
        // and a lowest); the floor's few after them, on one thread.
        const size_t ranges = RangeCount(solid.pgons.size(), 1 << 16, 4);
        std::vector<std::vector<double>> tops(ranges), lows(ranges);
        std::vector<std::vector<size_t>> floors(ranges);
        ForEachRange(solid.pgons.size(), ranges, [&](size_t r, size_t from, size_t to) {
            std::vector<double>& top = r == 0 ? top_ : tops[r];
            std::vector<double>& low = r == 0 ? low_ : lows[r];
            if (r != 0) {
                top.assign(grid_.Count(), -std::numeric_limits<double>::infinity());
                low.assign(grid_.Count(), std::numeric_limits<double>::infinity());
            }
            for (size_t p = from; p < to; ++p) {
                Box3 box;
                if (!boxOf(p, &box)) {
                    floors[r].push_back(p);
                    continue;
                }
                grid_.Cells(box, [&](size_t c) {
                    top[c] = std::max(top[c], box.hi[2]);
                    low[c] = std::min(low[c], box.lo[2]);
                });
            }
        });
        ForEachRange(grid_.Count(), RangeCount(grid_.Count(), 1 << 16, 4), [&](size_t, size_t from, size_t to) {
            for (size_t r = 1; r < ranges; ++r)
                for (size_t c = from; c < to; ++c) {
                    top_[c] = std::max(top_[c], tops[r][c]);
                    low_[c] = std::min(low_[c], lows[r][c]);
                }
        });
        for (const std::vector<size_t>& floor : floors)
            for (size_t p : floor) {
                Box3 box;
                boxOf(p, &box);
                if (std::vector<int32_t>* counts = countAt(box.hi[2])) {
                    int x0, y0, x1, y1;
                    grid_.Span(box, &x0, &y0, &x1, &y1);
                    if (x0 > x1 || y0 > y1) continue;
                    (*counts)[size_t(y0) * side + size_t(x0)] += 1;
                    (*counts)[size_t(y0) * side + size_t(x1 + 1)] -= 1;
                    (*counts)[size_t(y1 + 1) * side + size_t(x0)] -= 1;
                    (*counts)[size_t(y1 + 1) * side + size_t(x1 + 1)] += 1;
                    continue;
                }
                grid_.Cells(box, [&](size_t c) { top_[c] = std::max(top_[c], box.hi[2]); });
            }
        const size_t n = side - 1;
        for (auto& [level, counts] : levels) {
            // Running sums along rows, then down columns: each cell's count of rectangles over it.
            for (size_t y = 0; y < n; ++y)
                for (size_t x = 1; x < n; ++x) counts[y * side + x] += counts[y * side + x - 1];
            for (size_t y = 1; y < n; ++y)
                for (size_t x = 0; x < n; ++x) counts[y * side + x] += counts[(y - 1) * side + x];
            for (size_t y = 0; y < n; ++y)
                for (size_t x = 0; x < n; ++x)
                    if (counts[y * side + x] != 0) top_[y * n + x] = std::max(top_[y * n + x], level);
        }
    }
    double Top(const Box3& box) const {
        double z = -std::numeric_limits<double>::infinity();
        grid_.Cells(box, [&](size_t c) { z = std::max(z, top_[c]); });
        return z;
    }
    // Infinite where no face lies.
    double Low(const Box3& box) const {
        double z = std::numeric_limits<double>::infinity();
        grid_.Cells(box, [&](size_t c) { z = std::min(z, low_[c]); });
        return z;
    }

private:
    PlanCells grid_;
    std::vector<double> top_, low_;
};

// The faces whose plans cover a closed body's plan: those that look up, or those that look down, whichever have the
// smaller boxes (a strip's surface rather than its floor); every face when their plan areas do not agree (a body not
// oriented one way throughout).
std::vector<Box3> CoveringFaces(const ModelBody& b, const std::vector<Box3>& faces) {
    std::vector<double> area(faces.size(), 0.0);
    double up = 0.0, down = 0.0, upBoxes = 0.0, downBoxes = 0.0;
    for (int32_t p = 1; p <= int32_t(b.pgons.size()); ++p) {
        const std::vector<int32_t> ring = b.PolygonVertices(p);
        double a = 0.0;
        for (size_t i = 0; i < ring.size(); ++i) {
            const ModelPoint& u = b.vertices[size_t(ring[i] - 1)];
            const ModelPoint& w = b.vertices[size_t(ring[(i + 1) % ring.size()] - 1)];
            a += u.x * w.y - w.x * u.y;
        }
        const Box3& f = faces[size_t(p - 1)];
        const double boxArea = (f.hi[0] - f.lo[0]) * (f.hi[1] - f.lo[1]);
        area[size_t(p - 1)] = a;
        (a > 0 ? up : down) += std::abs(a);
        (a > 0 ? upBoxes : downBoxes) += a != 0 ? boxArea : 0.0;
    }
    if (!(std::abs(up - down) <= 1e-9 * (up + down)) || up == 0.0) return faces;
    std::vector<Box3> cover;
    const bool takeUp = upBoxes <= downBoxes;
    for (size_t k = 0; k < faces.size(); ++k)
        if (takeUp ? area[k] > 0 : area[k] < 0) cover.push_back(faces[k]);
    return cover;
}

// Plan boxes on a grid of cells, each cell listing the boxes that meet it: whether a point lies in one of them.
class PlanBoxIndex {
public:
    PlanBoxIndex(const Box3& plan, const std::vector<const std::vector<Box3>*>& lists) : grid_(plan, 512) {
        for (const auto* list : lists) boxes_.insert(boxes_.end(), list->begin(), list->end());
        std::vector<uint32_t> count(grid_.Count() + 1, 0);
        for (const Box3& b : boxes_) grid_.Cells(b, [&](size_t c) { ++count[c + 1]; });
        for (size_t c = 1; c < count.size(); ++c) count[c] += count[c - 1];
        first_ = count;
        at_.resize(count.back());
        for (uint32_t k = 0; k < uint32_t(boxes_.size()); ++k)
            grid_.Cells(boxes_[k], [&](size_t c) { at_[count[c]++] = k; });
    }
    bool Holds(const ModelPoint& p) const {
        const Box3& plan = grid_.Plan();
        if (boxes_.empty() || p.x < plan.lo[0] || p.x > plan.hi[0] || p.y < plan.lo[1] || p.y > plan.hi[1])
            return false;
        const size_t c = grid_.At(p.x, p.y);
        for (uint32_t i = first_[c]; i < first_[c + 1]; ++i) {
            const Box3& b = boxes_[at_[i]];
            if (p.x >= b.lo[0] && p.x <= b.hi[0] && p.y >= b.lo[1] && p.y <= b.hi[1]) return true;
        }
        return false;
    }

private:
    PlanCells grid_;
    std::vector<Box3> boxes_;
    std::vector<uint32_t> first_, at_;
};
}  // namespace

struct LinkedSurfaceCache::Kept {
    std::weak_ptr<const ModelBody> solid;  // gone with the solid: no other solid takes its place
    int32_t surfaceVertices = 0;
    double plan[6] = {};
    std::unique_ptr<const FaceRaster> raster;
};

LinkedSurfaceCache::LinkedSurfaceCache() = default;
LinkedSurfaceCache::~LinkedSurfaceCache() = default;
void LinkedSurfaceCache::Clear() { kept.reset(); }

namespace {
bool BoxFrom(const ModelBody& solid, int32_t surfaceVertices, const std::vector<LinkStep>& steps, API_Box3D* box,
             const std::shared_ptr<const ModelBody>& held, LinkedSurfaceCache* cache) {
    LinkedSurfaceCache scratch;
    if (cache == nullptr) cache = &scratch;
    if (surfaceVertices <= 0 || size_t(surfaceVertices) > solid.vertices.size() || steps.empty()) return false;
    // Each body's box and its faces' plan boxes (what a cut sweeps or a join adds lies over those); the links must
    // be ones the operations take, or a run would fail them.
    struct Body {
        bool joins = false;
        const ModelBody* model = nullptr;
        Box3 box;
        std::vector<Box3> faces;
        std::vector<Box3> cover;  // faces whose plans cover the body's plan
    };
    std::vector<Body> bodies;
    for (const LinkStep& step : steps) {
        if (step.operation != APISolid_SubtractUpwards && step.operation != APISolid_Add) return false;
        for (const ModelBody& b : step.bodies) {
            Body body;
            body.joins = step.operation == APISolid_Add;
            body.model = &b;
            for (const ModelPoint& p : b.vertices) {
                if (!Finite(p)) return false;
                body.box.Add(p);
            }
            if (!body.box.any || !FaceBoxes(b, &body.faces)) return false;
            body.cover = CoveringFaces(b, body.faces);
            bodies.push_back(std::move(body));
        }
        if (!StepTakeable(step)) return false;
    }
    Box3 bodyPlan;
    for (const Body& b : bodies) bodyPlan.Add(b.box.lo[0], b.box.lo[1], 0), bodyPlan.Add(b.box.hi[0], b.box.hi[1], 0);
    std::vector<const std::vector<Box3>*> covers;
    for (const Body& b : bodies) covers.push_back(&b.cover);
    const PlanBoxIndex index(bodyPlan, covers);
    // The surface's points that stay (over no body's face), and those over one (a run may keep them or not): only
    // those that reach past the box of the others need telling apart.
    Box3 stay, all;
    std::vector<size_t> over;
    for (size_t i = 0; i < size_t(surfaceVertices); ++i) {
        const ModelPoint& p = solid.vertices[i];
        if (!Finite(p)) return false;
        all.Add(p);
        if (stay.Holds(p)) continue;
        if (index.Holds(p))
            over.push_back(i);
        else
            stay.Add(p);
    }
    if (!stay.any) return false;
    for (size_t i : over)
        if (!stay.Holds(solid.vertices[i])) return false;
    // What the links make: a join's points lie over its faces within its box; a cut's where its sweep meets the
    // solid, over its faces, from its bottom up to the highest the solid reaches there (the faces of the solid and
    // of the bodies joined to it). The points made are read back rounded from exact ones: they must stay clear of
    // the box's sides by more than that rounding.
    Box3 plan = all;
    for (const Body& b : bodies)
        if (b.joins) plan.Add(b.box.lo[0], b.box.lo[1], b.box.lo[2]), plan.Add(b.box.hi[0], b.box.hi[1], b.box.hi[2]);
    double margin[3];
    for (int c = 0; c < 3; ++c) margin[c] = 1e-6 * (1.0 + std::abs(stay.lo[c]) + std::abs(stay.hi[c]));
    const auto inside = [&](double lo, double hi, int c) {
        return lo >= stay.lo[c] + margin[c] && hi <= stay.hi[c] - margin[c];
    };
    const auto rasterOf = [&]() -> const FaceRaster& {
        const LinkedSurfaceCache::Kept* k = cache->kept.get();
        const bool same = k != nullptr && held && k->solid.lock() == held && k->surfaceVertices == surfaceVertices &&
            std::equal(plan.lo, plan.lo + 3, k->plan) && std::equal(plan.hi, plan.hi + 3, k->plan + 3);
        if (same) return *k->raster;
        auto kept = std::make_unique<LinkedSurfaceCache::Kept>();
        kept->solid = held;
        kept->surfaceVertices = surfaceVertices;
        std::copy(plan.lo, plan.lo + 3, kept->plan);
        std::copy(plan.hi, plan.hi + 3, kept->plan + 3);
        kept->raster = std::make_unique<const FaceRaster>(solid, surfaceVertices, plan);
        cache->kept = std::move(kept);
        return *cache->kept->raster;
    };
    const FaceRaster& raster = rasterOf();
    double floor = std::numeric_limits<double>::infinity();
    for (size_t i = size_t(surfaceVertices); i < solid.vertices.size(); ++i)
        floor = std::min(floor, solid.vertices[i].z);
    const auto meets = [](const Box3& a, const Box3& b) {
        return a.lo[0] <= b.hi[0] && b.lo[0] <= a.hi[0] && a.lo[1] <= b.hi[1] && b.lo[1] <= a.hi[1];
    };
    // Per body before the one at hand: the lowest its made points reach (a cut's bottom, a join's least made).
    std::vector<double> madeLow(bodies.size(), 0.0);
    for (size_t k = 0; k < bodies.size(); ++k) {
        const Body& b = bodies[k];
        for (const Box3& f : b.faces)
            if (!inside(f.lo[0], f.hi[0], 0) || !inside(f.lo[1], f.hi[1], 1)) return false;
        // The solid's boundary over a plan box before this body: its faces, the cuts' sweeps, the joins' made faces.
        const auto lowOver = [&](const Box3& box) {
            double z = raster.Low(box);
            for (size_t j = 0; j < k; ++j)
                if (meets(bodies[j].box, box)) z = std::min(z, madeLow[j]);
            return z;
        };
        const auto topOver = [&](const Box3& box) {
            double z = raster.Top(box);
            for (size_t j = 0; j < k; ++j)
                if (bodies[j].joins && meets(bodies[j].box, box)) z = std::max(z, bodies[j].box.hi[2]);
            return z;
        };
        if (!b.joins) {
            // A cut's points: where its sweep meets the solid, from its bottom up to the solid's top there.
            madeLow[k] = b.box.lo[2];
            for (const Box3& f : b.cover) {
                const double top = topOver(f);
                if (top < b.box.lo[2]) continue;  // the solid lies below the sweep there
                if (!inside(b.box.lo[2], top, 2)) return false;
            }
            continue;
        }
        // A join's points: its vertices outside the solid, and where its faces cross the solid's boundary. A vertex
        // lies inside when it is below every face there and no cut before swept down to it.
        double low = std::numeric_limits<double>::infinity();
        for (const ModelPoint& v : b.model->vertices) {
            Box3 at;
            at.Add(v);
            bool within = v.z > floor && std::isfinite(raster.Low(at)) && v.z < raster.Low(at);
            for (size_t j = 0; j < k && within; ++j)
                if (!bodies[j].joins)
                    for (const Box3& f : bodies[j].cover)
                        if (meets(f, at) && v.z >= bodies[j].box.lo[2]) within = false;
            if (!within) low = std::min(low, v.z);
        }
        for (const Box3& f : b.faces) {
            const double under = lowOver(f);
            if (f.hi[2] < under) continue;  // wholly inside the solid there
            low = std::min(low, std::max(f.lo[2], under));
        }
        madeLow[k] = low;
        if (std::isfinite(low) && !inside(low, b.box.hi[2], 2)) return false;
    }
    *box = {stay.lo[0], stay.lo[1], stay.lo[2], stay.hi[0], stay.hi[1], stay.hi[2]};
    return true;
}
}  // namespace

bool LinkedSurfaceBox(const ModelBody& solid, int32_t surfaceVertices, const std::vector<LinkStep>& steps,
                      API_Box3D* box) {
    return BoxFrom(solid, surfaceVertices, steps, box, nullptr, nullptr);
}

bool LinkedSurfaceBox(const std::shared_ptr<const ModelBody>& solid, int32_t surfaceVertices,
                      const std::vector<LinkStep>& steps, API_Box3D* box, LinkedSurfaceCache* cache) {
    return solid && BoxFrom(*solid, surfaceVertices, steps, box, solid, cache);
}
