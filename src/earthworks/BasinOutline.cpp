#include "earthworks/BasinOutline.hpp"

#include "geometry/PolygonTests.hpp"
#include "geometry/ScanlinePolygons.hpp"

#include <cfloat>
#include <cmath>
#include <vector>

namespace Basin {

namespace {

constexpr double kTolerance = 1e-7;
constexpr double kNoDistance = DBL_MAX * (1.0 - DBL_EPSILON / 2);  // one step below the largest double

// Keeps a division finite without letting a tiny denominator flip sign.
double Guard(double d) {
    if (d == 0.0) return 1e-8;
    if (d > 0.0 && d < 1e-4) return 1e-4;
    if (d < 0.0 && d > -1e-4) return -1e-4;
    return d;
}

// The host index range [first, last] (0-based in polyCoords) of each contour, or false when the record's counts
// leave the container's lists.
bool Contours(const QV_Explode& c, int32_t index, std::vector<std::pair<int32_t, int32_t>>& out) {
    out.clear();
    if (index < 0 || index >= c.polygons.GetCount()) return false;
    const QV_Explode_Poly& p = c.polygons[index];
    if (p.prim.nCoords < 0 || p.prim.nSubPolys < 0 || p.firstCoord < 0 || p.firstEnd < 0 ||
        p.firstCoord > c.polyCoords.GetCount() - p.prim.nCoords ||
        p.firstEnd > c.polyEnds.GetCount() - p.prim.nSubPolys)
        return false;
    int32_t begin = 0;
    for (int32_t s = 0; s < p.prim.nSubPolys; ++s) {
        const int32_t end = c.polyEnds[p.firstEnd + s];  // 1-based index of the contour's last point
        if (end <= begin || end > p.prim.nCoords) return false;
        out.emplace_back(p.firstCoord + begin, p.firstCoord + end - 1);
        begin = end;
    }
    return true;
}

// The contour as a straight-edged ring; `roundUp` puts each coordinate on the next multiple of 1e-9 so that
// neighbouring level polygons share their vertices exactly before they are united.
QV_Poly Ring(const QV_Explode& c, std::pair<int32_t, int32_t> range, bool roundUp) {
    QV_List<API_Coord> pts;
    for (int32_t i = range.first; i <= range.second; ++i) {
        API_Coord q = c.polyCoords[i];
        if (roundUp) q = {std::ceil(q.x * 1e9) * 1e-9, std::ceil(q.y * 1e9) * 1e-9};
        pts.Insert(q);
    }
    QV_Poly poly;
    poly.SetFromCoords(pts, true);
    return poly;
}

bool FirstRing(const QV_Explode& c, int32_t index, QV_Poly& ring) {
    std::vector<std::pair<int32_t, int32_t>> contours;
    if (!Contours(c, index, contours) || contours.empty()) return false;
    ring = Ring(c, contours[0], false);
    return ring.IsUsableRing();
}

void AppendRegion(const QV_List<QV_Poly>& region, QV_List<QV_CoordLong>& outline) {
    for (int32_t i = 0; i < region.GetCount(); ++i) region[i].ToCoordLongs(outline, 1);
}

}  // namespace

void KeepPolygonPrimitives(QV_Explode& container) {
    container.hotspots.Clear();
    container.points.Clear();
    container.lines.Clear();
    container.arcs.Clear();
    container.texts.Clear();
    container.polylines.Clear();
    container.plineCoords.Clear();
}

bool PolygonPrimitiveToOutline(int32_t index, const QV_Explode& container, QV_List<QV_CoordLong>& outline) {
    std::vector<std::pair<int32_t, int32_t>> contours;
    if (!Contours(container, index, contours)) return false;
    for (const auto& range : contours)
        for (int32_t i = range.first; i <= range.second; ++i) {
            const API_Coord& q = container.polyCoords[i];
            outline.Insert(QV_CoordLong{q.x, q.y, i == range.second ? QV_CodeContourEnd : QV_CodeVertex1});
        }
    return true;
}

double DistanceToFirstContour(int32_t index, const QV_Explode& container, const API_Coord& point) {
    std::vector<std::pair<int32_t, int32_t>> contours;
    if (!Contours(container, index, contours) || contours.empty()) return kNoDistance;
    std::vector<API_Coord> v;
    for (int32_t i = contours[0].first; i <= contours[0].second; ++i) v.push_back(container.polyCoords[i]);
    if (v.size() > 1 &&
        (std::fabs(v.front().x - v.back().x) >= kTolerance || std::fabs(v.front().y - v.back().y) >= kTolerance))
        v.push_back(v.front());

    double best = kNoDistance;
    for (size_t k = 0; k + 1 < v.size(); ++k) {
        const API_Coord a = v[k];
        const double dx = v[k + 1].x - a.x;
        const double dy = v[k + 1].y - a.y;
        if (std::fabs(dx) < kTolerance && std::fabs(dy) < kTolerance) continue;
        double t = 0.0;
        API_Coord foot{};
        double residual = 0.0;
        if (std::fabs(dy) < 1e-4) {
            t = (point.x - a.x) / Guard(dx);
            foot = {point.x, a.y + t * dy};
        } else {
            const double len2 = dx * dx + dy * dy;
            t = ((point.x - a.x) * dx + (point.y - a.y) * dy) / Guard(len2);
            foot = {a.x + t * dx, a.y + t * dy};
            // A guarded denominator moves the foot off the perpendicular: such a foot is no candidate.
            residual = std::fabs((point.x - foot.x) * dx + (point.y - foot.y) * dy) / std::sqrt(len2);
        }
        if (t < 0.0 || t > 1.0 || residual >= kTolerance) continue;
        const double d = std::hypot(point.x - foot.x, point.y - foot.y);
        if (d < best) best = d;
    }
    return best;
}

bool ChooseOutline(const QV_Explode& container, const API_Coord& point, QV_List<QV_CoordLong>& outline) {
    outline.Clear();
    const int32_t n = container.polygons.GetCount();
    if (n == 1) return PolygonPrimitiveToOutline(0, container, outline) && outline.GetCount() > 0;

    int32_t chosen = -1;
    double best = kNoDistance;
    for (int32_t i = 0; i < n; ++i) {
        const double d = DistanceToFirstContour(i, container, point);
        if (d < best) best = d, chosen = i;
    }
    if (chosen < 0) return false;

    // Polygons that cross or touch the chosen one, and those touching them in turn, are one water body.
    std::vector<QV_Poly> rings(n);
    std::vector<bool> usable(n), inGroup(n, false);
    for (int32_t i = 0; i < n; ++i) usable[i] = FirstRing(container, i, rings[i]);
    std::vector<int32_t> queue{chosen};
    inGroup[chosen] = true;
    for (size_t q = 0; q < queue.size(); ++q) {
        const int32_t taken = queue[q];
        if (!usable[taken]) continue;
        for (int32_t i = 0; i < n; ++i) {
            if (inGroup[i] || !usable[i]) continue;
            if (GetPolygonRelation(rings[taken], rings[i], kTolerance) == 0) {
                inGroup[i] = true;
                queue.push_back(i);
            }
        }
    }

    QV_List<QV_List<QV_Poly>> regions;
    for (int32_t i = 0; i < n; ++i) {
        if (!inGroup[i]) continue;
        std::vector<std::pair<int32_t, int32_t>> contours;
        if (!Contours(container, i, contours)) return outline.Clear(), false;
        QV_List<QV_Poly> current;
        for (const auto& range : contours) current.Insert(Ring(container, range, true));
        for (int32_t r = regions.GetCount() - 1; r >= 0; --r) {
            QV_List<QV_List<QV_Poly>> united;
            if (!ScanlinePolygons(current, ScanlineUnion, regions[r], united)) return outline.Clear(), false;
            if (united.GetCount() == 1) {
                current = united[0];
                regions.Remove(r);
            }
        }
        regions.Insert(current);
    }
    for (int32_t r = 0; r < regions.GetCount(); ++r) AppendRegion(regions[r], outline);
    return outline.GetCount() > 0;
}

bool ChooseUpdatedOutline(const QV_List<QV_CoordLong>& stored, const QV_Explode& container,
                          QV_List<QV_CoordLong>& outline) {
    outline.Clear();
    QV_List<QV_Poly> storedPolys;
    BuildPolyListFromCoordLongs(storedPolys, stored, 1);
    if (storedPolys.GetCount() == 0 || !storedPolys[0].IsUsableRing()) return false;
    for (int32_t i = 0; i < container.polygons.GetCount(); ++i) {
        QV_Poly traced;
        if (!FirstRing(container, i, traced)) continue;
        const int32_t relation = GetPolygonRelation(storedPolys[0], traced, kTolerance);
        if (relation == 0 || relation == 1) return PolygonPrimitiveToOutline(i, container, outline);
    }
    return false;
}

}  // namespace Basin
