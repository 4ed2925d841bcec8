#include "model3d/TerrainCoverage.hpp"

#include "model3d/ElementModels.hpp"
#include "project/AddOnPointRecord.hpp"
#include "ParallelRanges.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace {
bool OnEdgeFrom(const PlanRing& ring, size_t i, double x, double y, double tolerance) {
    const size_t n = ring.points.size();
    const ModelPoint& a = ring.points[i];
    const ModelPoint& b = ring.points[(i + 1) % n];
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length2 = dx * dx + dy * dy;
    const double t = length2 > 0.0 ? std::clamp(((x - a.x) * dx + (y - a.y) * dy) / length2, 0.0, 1.0) : 0.0;
    return std::hypot(a.x + t * dx - x, a.y + t * dy - y) <= tolerance;
}

// A ring's edges by rows of its plan box, so that a point meets only the edges whose heights span its own: an
// outline drawn through the data's border points has thousands of edges, and the terrain millions of points.
class RingRows {
public:
    RingRows(const PlanRing& ring, double pad) : ring_(ring), box_(BoxOf(ring)) {
        const size_t n = ring.points.size();
        rows_ = std::clamp<size_t>(n, 1, 4096);
        y0_ = box_.yMin - pad;
        const double span = box_.yMax + pad - y0_;
        step_ = span > 0.0 && std::isfinite(span) ? span / double(rows_) : 1.0;
        if (!(span > 0.0) || !std::isfinite(span)) rows_ = 1;
        edges_.resize(rows_);
        // Edge k runs from point k to point k + 1.
        for (size_t k = 0; k < n; ++k) {
            const double ya = ring.points[k].y, yb = ring.points[(k + 1) % n].y;
            const size_t from = Row(std::min(ya, yb) - pad), to = Row(std::max(ya, yb) + pad);
            for (size_t r = from; r <= to; ++r) edges_[r].push_back(uint32_t(k));
        }
    }
    // Flips `inside` for each edge a ray from (x, y) towards +x crosses, as InsideRings counts them.
    void Cross(double x, double y, bool* inside) const {
        if (!(y >= box_.yMin && y <= box_.yMax)) return;
        const size_t n = ring_.points.size();
        for (uint32_t k : edges_[Row(y)]) {
            // InsideRings takes a = point i, b = point i - 1: here i = k + 1.
            const ModelPoint& a = ring_.points[(k + 1) % n];
            const ModelPoint& b = ring_.points[k];
            if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) *inside = !*inside;
        }
    }
    bool OnEdge(double x, double y, double tolerance) const {
        const PlanBox near = {x - tolerance, y - tolerance, x + tolerance, y + tolerance};
        if (!box_.Meets(near)) return false;
        for (uint32_t k : edges_[Row(y)])
            if (OnEdgeFrom(ring_, k, x, y, tolerance)) return true;
        return false;
    }

private:
    size_t Row(double y) const {
        const double r = (y - y0_) / step_;
        if (!(r > 0.0)) return 0;
        return r < double(rows_) ? size_t(r) : rows_ - 1;
    }
    const PlanRing& ring_;
    PlanBox box_;
    size_t rows_ = 1;
    double y0_ = 0.0, step_ = 1.0;
    std::vector<std::vector<uint32_t>> edges_;
};

// Whether the rings cover a point: on an edge or inside.
class RingsCover {
public:
    RingsCover(const std::vector<PlanRing>& outline, double tolerance) : tolerance_(tolerance) {
        for (const PlanRing& ring : outline)
            if (!ring.points.empty()) rows_.emplace_back(ring, 2 * tolerance);
    }
    bool operator()(double x, double y) const {
        bool covered = false;
        for (const RingRows& r : rows_) r.Cross(x, y, &covered);
        for (size_t r = 0; r < rows_.size() && !covered; ++r) covered = rows_[r].OnEdge(x, y, tolerance_);
        return covered;
    }

private:
    double tolerance_;
    std::vector<RingRows> rows_;
};

void CountOutside(const std::optional<double>& height, TerrainCoverage* c) {
    ++c->outside;
    if (height && (!c->highestOutside || *height > *c->highestOutside)) c->highestOutside = height;
}
}  // namespace

TerrainCoverage CoverageOf(const std::vector<PlanRing>& outline, const std::vector<MeasuredPoint>& points,
                           double tolerance) {
    TerrainCoverage c;
    const RingsCover covers(outline, tolerance);
    for (const MeasuredPoint& p : points) {
        ++c.points;
        if (!covers(p.x, p.y)) CountOutside(p.height, &c);
    }
    return c;
}

namespace {
// The rings of a mesh or fill against the terrain points of its story in its database.
bool PolygonCoverage(const ProjectCore& project, const API_Guid& guid, API_ElemTypeID type, TerrainCoverage* coverage,
                     std::string* why) {
    const StoredElement* m = project.Find(guid);
    std::vector<PlanRing> outline;
    if (m == nullptr || m->record.header.typeID != type) {
        *why = type == API_MeshID ? "not a mesh" : "not a fill";
        return false;
    }
    if (!ElementRings(*m, 0.0, &outline, why)) return false;
    // The counts take no order: the store is walked as it lies, without a lookup a point, and a point's height
    // is read only when it lies outside.
    // Ranges of the store are counted at once and their counts added: nothing here depends on the order.
    const RingsCover covers(outline, kCoverTolerance);
    const ElementStore& store = project.Model().elements;
    const size_t ranges = RangeCount(store.capacity(), 1 << 16);
    std::vector<TerrainCoverage> counts(ranges);
    ForEachRange(store.capacity(), ranges, [&](size_t r, size_t from, size_t to) {
        TerrainCoverage& c = counts[r];
        store.ForEachReadingAhead(from, to, [&](const API_Guid&, const StoredElement& e) {
            if (e.record.header.typeID != API_HotspotID || e.database != m->database ||
                e.record.header.floorInd != m->record.header.floorInd || !IsAddOnPoint(e))
                return;
            API_Coord pos;
            e.record.CopyBytes(offsetof(API_Element, hotspot.pos), sizeof pos, &pos);
            ++c.points;
            if (covers(pos.x, pos.y)) return;
            std::optional<double> height;
            ReadAddOnPoint(e, &height);
            CountOutside(height, &c);
        });
    });
    TerrainCoverage all;
    for (const TerrainCoverage& c : counts) {
        all.points += c.points;
        all.outside += c.outside;
        if (c.highestOutside && (!all.highestOutside || *c.highestOutside > *all.highestOutside))
            all.highestOutside = c.highestOutside;
    }
    *coverage = all;
    return true;
}
}  // namespace

bool MeshCoverage(const ProjectCore& project, const API_Guid& mesh, TerrainCoverage* coverage, std::string* why) {
    return PolygonCoverage(project, mesh, API_MeshID, coverage, why);
}

bool OutlineCoverage(const ProjectCore& project, const API_Guid& fill, TerrainCoverage* coverage, std::string* why) {
    return PolygonCoverage(project, fill, API_HatchID, coverage, why);
}
