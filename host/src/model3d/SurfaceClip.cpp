#include "model3d/SurfaceClip.hpp"

#include "model3d/PlanTriangulation.hpp"

#include <algorithm>
#include <map>
#include <unordered_map>

Surface SurfaceOutside(const Surface& surface, const SurfaceIndex& index, const std::vector<PlanRing>& footprint,
                       bool* untouched) {
    const size_t nTri = surface.triangles.size();
    // Triangles that the region's border may cross are cut; the others lie wholly in or out of the region.
    // Kept in hash maps, not arrays over the surface: a cut costs what it touches, not the surface's size.
    std::unordered_map<size_t, uint8_t> state;  // 1 whole, 2 cut
    std::vector<size_t> looked;
    const auto look = [&](size_t t, uint8_t s) {
        uint8_t& st = state[t];
        if (st == 0) looked.push_back(t);
        st = std::max(st, s);
    };
    const auto stateOf = [&](size_t t) {
        const auto it = state.find(t);
        return it == state.end() ? uint8_t(0) : it->second;
    };
    for (const PlanRing& ring : footprint)
        for (size_t k = 0; k < ring.points.size(); ++k) {
            const ModelPoint& a = ring.points[k];
            const ModelPoint& c = ring.points[(k + 1) % ring.points.size()];
            index.ForTrianglesAlong(a.x, a.y, c.x, c.y, [&](size_t t) { look(t, 2); });
        }
    // When the outer ring holds the whole surface, only its holes can keep anything.
    const PlanBox all = index.Box();
    bool outerHoldsAll = !footprint.empty();
    if (outerHoldsAll) {
        const PlanRing& ring = footprint[0];
        for (size_t k = 0; k < ring.points.size() && outerHoldsAll; ++k) {
            const ModelPoint& a = ring.points[k];
            const ModelPoint& c = ring.points[(k + 1) % ring.points.size()];
            const PlanBox seg = {std::min(a.x, c.x), std::min(a.y, c.y), std::max(a.x, c.x), std::max(a.y, c.y)};
            if (seg.Meets(all)) outerHoldsAll = false;
        }
        std::vector<PlanRing> only(1, ring);
        for (double x : {all.xMin, all.xMax})
            for (double y : {all.yMin, all.yMax})
                if (!InsideRings(only, x, y)) outerHoldsAll = false;
    }
    if (outerHoldsAll) {
        for (size_t r = 1; r < footprint.size(); ++r)
            index.ForTrianglesNear(BoxOf(footprint[r]), [&](size_t t) { look(t, 1); });
    } else {
        for (size_t t = 0; t < nTri; ++t) look(t, 1);
    }

    Surface out;
    std::unordered_map<int32_t, int32_t> pointIndex;
    const auto keepPoint = [&](int32_t i) {
        const auto found = pointIndex.emplace(i, int32_t(out.points.size()));
        if (found.second) out.points.push_back(surface.points[size_t(i)]);
        return found.first->second;
    };
    std::sort(looked.begin(), looked.end());
    std::vector<size_t> cut;
    for (size_t t : looked) {
        if (stateOf(t) == 2) {
            cut.push_back(t);
            continue;
        }
        const auto& tri = surface.triangles[t];
        const ModelPoint& a = surface.points[size_t(tri[0])];
        const ModelPoint& b = surface.points[size_t(tri[1])];
        const ModelPoint& c = surface.points[size_t(tri[2])];
        if (InsideRings(footprint, (a.x + b.x + c.x) / 3.0, (a.y + b.y + c.y) / 3.0)) continue;
        out.triangles.push_back({keepPoint(tri[0]), keepPoint(tri[1]), keepPoint(tri[2])});
    }
    if (untouched != nullptr) *untouched = cut.empty() && out.triangles.size() == nTri;
    if (cut.empty()) return out;

    // The cut triangles and the region's border, triangulated together: each small triangle lies in one cut
    // triangle, on one side of the border; its corners take the height of that triangle's plane.
    std::vector<std::pair<ModelPoint, ModelPoint>> segments;
    for (size_t t : cut)
        for (int k = 0; k < 3; ++k)
            segments.push_back({surface.points[size_t(surface.triangles[t][size_t(k)])],
                                surface.points[size_t(surface.triangles[t][size_t((k + 1) % 3)])]});
    for (const PlanRing& ring : footprint)
        for (size_t k = 0; k < ring.points.size(); ++k)
            segments.push_back({ring.points[k], ring.points[(k + 1) % ring.points.size()]});
    std::vector<std::array<ModelPoint, 3>> pieces;
    TriangulateSegments(segments, &pieces);
    std::map<std::pair<double, double>, int32_t> cutPoints;
    for (const auto& piece : pieces) {
        const double cx = (piece[0].x + piece[1].x + piece[2].x) / 3.0;
        const double cy = (piece[0].y + piece[1].y + piece[2].y) / 3.0;
        // The cut triangle that holds the piece: the one where the centre lies deepest inside.
        size_t holder = nTri;
        double best = -1e-9;
        index.ForTrianglesNear({cx, cy, cx, cy}, [&](size_t t) {
            if (stateOf(t) != 2) return;
            const auto& tri = surface.triangles[t];
            const ModelPoint& a = surface.points[size_t(tri[0])];
            const ModelPoint& b = surface.points[size_t(tri[1])];
            const ModelPoint& c = surface.points[size_t(tri[2])];
            const double d = (b.y - c.y) * (a.x - c.x) + (c.x - b.x) * (a.y - c.y);
            if (d == 0.0) return;
            const double wa = ((b.y - c.y) * (cx - c.x) + (c.x - b.x) * (cy - c.y)) / d;
            const double wb = ((c.y - a.y) * (cx - c.x) + (a.x - c.x) * (cy - c.y)) / d;
            const double w = std::min({wa, wb, 1.0 - wa - wb});
            if (w > best) {
                best = w;
                holder = t;
            }
        });
        if (holder == nTri || InsideRings(footprint, cx, cy)) continue;
        std::array<int32_t, 3> kept;
        for (size_t k = 0; k < 3; ++k) {
            const ModelPoint& p = piece[k];
            int32_t at = -1;
            for (int32_t v : surface.triangles[holder])
                if (surface.points[size_t(v)].x == p.x && surface.points[size_t(v)].y == p.y) at = keepPoint(v);
            if (at < 0) {
                const auto found = cutPoints.find({p.x, p.y});
                if (found != cutPoints.end()) {
                    at = found->second;
                } else {
                    at = int32_t(out.points.size());
                    out.points.push_back({p.x, p.y, surface.HeightOn(holder, p.x, p.y)});
                    cutPoints[{p.x, p.y}] = at;
                }
            }
            kept[k] = at;
        }
        out.triangles.push_back(kept);
    }
    return out;
}
