#include "terrain/TerrainPasses.hpp"

#include "geometry/PointGrid.hpp"
#include "geometry/PolygonTests.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace {

bool Near(const API_Coord3D& a, double x, double y, double tolerance) {
    return std::fabs(a.x - x) < tolerance && std::fabs(a.y - y) < tolerance;
}

bool OnArc(const QV_Arc& arc, double x, double y) {
    const double r = arc.radiusX;
    if (!(r > 0.0)) return false;
    if (std::fabs(std::hypot(x - arc.center.x, y - arc.center.y) - r) >= 1e-7) return false;
    const double angle = QV_Arc::AngleOfPoint(arc, API_Coord{x, y}, 1e-5);
    const double widen = 1e-7 / r;
    const double lo = std::fmin(arc.startAngle, arc.endAngle) - widen;
    const double hi = std::fmax(arc.startAngle, arc.endAngle) + widen;
    // An arc's angles need not lie in [0, 2 pi): one across the +x axis runs from below 0 or past 2 pi.
    for (double turn : {0.0, -2.0 * M_PI, 2.0 * M_PI})
        if (angle + turn >= lo && angle + turn <= hi) return true;
    return false;
}

}  // namespace

bool OnOutline(const QV_Poly& outline, double x, double y) {
    const int32_t edges = outline.CodeCount();
    for (int32_t i = 0; i < edges; ++i) {
        if (const QV_Arc* arc = outline.EdgeArc(i)) {
            if (OnArc(*arc, x, y)) return true;
            continue;
        }
        const API_Coord& a = outline.vertices[i];
        const API_Coord& b = outline.vertices[outline.EdgeEnd(i)];
        const double ab = std::hypot(b.x - a.x, b.y - a.y);
        if (std::hypot(x - a.x, y - a.y) + std::hypot(x - b.x, y - b.y) - ab < 1e-7) return true;
    }
    return false;
}

bool OnOrInsideOutline(const QV_Poly& outline, double x, double y) {
    if (OnOutline(outline, x, y)) return true;
    int32_t edge = 0;
    return PointInPolygon(outline, x, y, edge, CornerTolerance) == 1;
}

namespace {
bool OnStraightEdge(const API_Coord& a, const API_Coord& b, double x, double y) {
    const double ab = std::hypot(b.x - a.x, b.y - a.y);
    return std::hypot(x - a.x, y - a.y) + std::hypot(x - b.x, y - b.y) - ab < 1e-7;
}
// Wider than both tests' tolerances, so that no edge a test would take is missing from a point's band.
constexpr double BandMargin = 1e-6;
}  // namespace

OutlineTester::OutlineTester(const QV_Poly& outline) : outline_(outline) {
    const int32_t edges = outline.CodeCount();
    const int32_t n = outline.VertexCount();
    if (n == 0) return;
    double yMax = outline.vertices[0].y;
    yMin_ = yMax;
    for (int32_t i = 0; i < n; ++i) {
        yMin_ = std::fmin(yMin_, outline.vertices[i].y);
        yMax = std::fmax(yMax, outline.vertices[i].y);
    }
    yMin_ -= 2.0 * BandMargin;
    yMax += 2.0 * BandMargin;
    const int32_t bands = std::max<int32_t>(1, std::min<int32_t>(std::max(edges, n), 1 << 20));
    bandHeight_ = (yMax - yMin_) / bands;
    if (!(bandHeight_ > 0.0) || !std::isfinite(bandHeight_)) bandHeight_ = 1.0;
    onBands_.assign(size_t(bands), {});
    rayBands_.assign(size_t(bands), {});
    const auto place = [&](std::vector<std::vector<int32_t>>& into, int32_t edge, double y1, double y2) {
        const double lo = std::fmin(y1, y2) - BandMargin, hi = std::fmax(y1, y2) + BandMargin;
        const int64_t b0 = std::max<int64_t>(0, int64_t(std::floor((lo - yMin_) / bandHeight_)));
        const int64_t b1 = std::min<int64_t>(bands - 1, int64_t(std::floor((hi - yMin_) / bandHeight_)));
        for (int64_t b = b0; b <= b1; ++b) into[size_t(b)].push_back(edge);
    };
    for (int32_t i = 0; i < edges; ++i) {
        if (outline.EdgeArc(i) != nullptr) {
            arcs_.push_back(i);
            continue;
        }
        place(onBands_, i, outline.vertices[i].y, outline.vertices[outline.EdgeEnd(i)].y);
    }
    for (int32_t k = 1; k <= n; ++k) place(rayBands_, k, outline.vertices[k - 1].y, outline.vertices[k % n].y);
}

const std::vector<int32_t>& OutlineTester::Band(double y) const {
    if (onBands_.empty()) return none_;
    const double b = std::floor((y - yMin_) / bandHeight_);
    if (!(b >= 0.0) || b >= double(onBands_.size())) return none_;
    return onBands_[size_t(b)];
}

bool OutlineTester::OnOrInside(double x, double y) const {
    for (int32_t i : arcs_)
        if (OnArc(*outline_.EdgeArc(i), x, y)) return true;
    for (int32_t i : Band(y))
        if (OnStraightEdge(outline_.vertices[i], outline_.vertices[outline_.EdgeEnd(i)], x, y)) return true;
    const int32_t n = outline_.VertexCount();
    if (n == 0 || &Band(y) == &none_) return false;  // beyond the outline's heights: outside
    const std::vector<int32_t>& ray = rayBands_[size_t(&Band(y) - onBands_.data())];
    bool odd = false;
    for (int32_t k : ray) {
        const RayStep step =
            PointInPolygonStep(outline_.vertices[k - 1], outline_.vertices[k % n], x, y, CornerTolerance);
        if (step == RayStep::OnEdge) return false;  // the polygon test answers 0 there: not inside
        if (step == RayStep::Crosses) odd = !odd;
    }
    return odd;
}

bool CollectTerrainPointsFrom(TerrainRecord& record, const QV_Poly& outline, const QV_List<API_Coord3D>& points,
                              uint8_t& cornerMissing) {
    record.levelPoints.Clear();
    cornerMissing = 0;
    const int32_t n = record.boundary.GetCount();
    const int32_t corners = n > 0 ? n - 1 : 0;  // the closing repeat follows corner 0
    std::vector<uint8_t> taken(size_t(n), 0);
    const OutlineTester inside(outline);
    PointGrid grid(1e-4);
    for (int32_t i = 0; i < corners; ++i) grid.Add(record.boundary[i].x, record.boundary[i].y, i);

    for (int32_t k = 0; k < points.GetCount(); ++k) {
        const API_Coord3D& p = points[k];
        bool onCorner = false;
        const int32_t corner = grid.First(p.x, p.y, [&](int32_t i) {
            if (!Near(record.boundary[i], p.x, p.y, CornerTolerance)) return false;
            onCorner = true;
            return taken[size_t(i)] == 0;
        });
        if (corner >= 0) {
            record.boundary[corner].z = p.z;
            taken[size_t(corner)] = 1;
            if (corner == 0 && n > 1) {
                record.boundary[n - 1].z = p.z;
                taken[size_t(n - 1)] = 1;
            }
            continue;
        }
        if (onCorner) continue;  // that corner has its height from an earlier point
        if (inside.OnOrInside(p.x, p.y)) record.levelPoints.Insert(p);
    }
    for (int32_t i = 0; i < corners; ++i)
        if (taken[size_t(i)] == 0) cornerMissing = 1;
    return cornerMissing == 0;
}

void CollectBreakLinesFrom(TerrainRecord& record, const QV_Poly& outline, const QV_List<QV_Segment3D>& lines) {
    record.breakLines.Clear();
    const OutlineTester inside(outline);
    for (int32_t k = 0; k < lines.GetCount(); ++k) {
        QV_Segment3D s = lines[k];
        if (!inside.OnOrInside(s.begin.x, s.begin.y) || !inside.OnOrInside(s.end.x, s.end.y)) continue;
        s.begin.z = s.end.z = MissingHeight;
        record.breakLines.Insert(s);
    }
}

void ResolveBreakLineEnds(TerrainRecord& record) {
    const int32_t points = record.levelPoints.GetCount();
    record.used.Clear();
    for (int32_t i = 0; i < points; ++i) record.used.Insert(false);
    if (record.breakLines.GetCount() == 0) return;

    PointGrid pointGrid(2e-4), boundaryGrid(2e-4);
    for (int32_t i = 0; i < points; ++i) pointGrid.Add(record.levelPoints[i].x, record.levelPoints[i].y, i);
    for (int32_t i = 0; i < record.boundary.GetCount(); ++i)
        boundaryGrid.Add(record.boundary[i].x, record.boundary[i].y, i);

    // Each end: the first level point near it, else the first boundary point; -1 - index marks a boundary match.
    const auto match = [&](API_Coord3D& end, int32_t& levelIndex) {
        levelIndex = pointGrid.First(
            end.x, end.y, [&](int32_t i) { return Near(record.levelPoints[i], end.x, end.y, BreakLineEndTolerance); });
        if (levelIndex >= 0) {
            end = record.levelPoints[levelIndex];
            return true;
        }
        const int32_t b = boundaryGrid.First(
            end.x, end.y, [&](int32_t i) { return Near(record.boundary[i], end.x, end.y, BreakLineEndTolerance); });
        if (b < 0) return false;
        end = record.boundary[b];
        return true;
    };

    const QV_List<QV_Segment3D> lines = record.breakLines;
    record.breakLines.Clear();
    for (int32_t k = 0; k < lines.GetCount(); ++k) {
        QV_Segment3D s = lines[k];
        int32_t a = -1, b = -1;
        if (!match(s.begin, a) || !match(s.end, b)) continue;
        if (a >= 0) record.used[a] = true;
        if (b >= 0) record.used[b] = true;
        record.breakLines.Insert(s);
    }
}
