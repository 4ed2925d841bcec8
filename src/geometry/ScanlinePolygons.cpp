#include "geometry/ScanlinePolygons.hpp"

#include "geometry/ScanlineSweep.hpp"

#include <algorithm>
#include <climits>
#include <cmath>
#include <new>
#include <stdexcept>

namespace Scanline {

bool Clip(const std::vector<Contour>& subject, uint32_t operation, const std::vector<Contour>& clip,
          std::vector<Group>& groups) {
    groups.clear();
    if (operation > ScanlineUnion) return false;
    for (const std::vector<Contour>* list : {&subject, &clip})
        for (const Contour& c : *list)
            for (const API_Coord& p : c.points)
                if (!std::isfinite(p.x) || !std::isfinite(p.y)) return false;
    bool ok = true;
    try {
        Sweep(subject, operation, clip, groups);
    } catch (const std::bad_alloc&) {
        groups.clear();
        ok = false;
    } catch (const std::length_error&) {
        groups.clear();
        ok = false;
    }
    ReleaseSweepWorkspace();
    return ok;
}

}  // namespace Scanline

namespace {

void ToContours(const QV_List<QV_Poly>& polys, std::vector<Scanline::Contour>& contours) {
    contours.resize(static_cast<size_t>(polys.GetCount()));
    for (int32_t i = 0; i < polys.GetCount(); ++i) {
        const QV_Poly& poly = polys[i];
        Scanline::Contour& c = contours[static_cast<size_t>(i)];
        const int32_t n = poly.vertices.GetCount();
        c.points.reserve(static_cast<size_t>(n) + 1);
        for (int32_t k = 0; k < n; ++k) c.points.push_back(poly.vertices[k]);
        if (poly.IsUsableRing()) c.points.push_back(poly.vertices[0]);
        c.box = Scanline::PointsBox(c.points);  // the sweep reads the vertices only
    }
}

// Fills poly as a closed straight-edged ring of the points, every one of them a vertex (a result ring never
// repeats its first point); false when memory ran out on the way.
bool ToPoly(const std::vector<API_Coord>& points, QV_Poly& poly) {
    const int32_t n = static_cast<int32_t>(points.size());
    poly.Clear();
    if (!poly.vertices.SetSize(n) || !poly.codes.SetSize(n)) return false;
    for (int32_t k = 0; k < n; ++k) {
        poly.vertices[k] = points[static_cast<size_t>(k)];
        poly.codes[k] = -1;
    }
    poly.UpdateClockwise();
    return true;
}

}  // namespace

bool ScanlinePolygons(const QV_List<QV_Poly>& subject, uint32_t operation, const QV_List<QV_Poly>& clip,
                      QV_List<QV_List<QV_Poly>>& result) {
    result.Clear();
    std::vector<Scanline::Group> groups;
    try {
        std::vector<Scanline::Contour> subjectContours, clipContours;
        ToContours(subject, subjectContours);
        ToContours(clip, clipContours);
        if (!Scanline::Clip(subjectContours, operation, clipContours, groups)) return false;
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
    if (groups.size() > static_cast<size_t>(INT32_MAX)) return false;

    // Every list is sized once and filled in place: the handles move on each growth.
    bool ok = result.SetSize(static_cast<int32_t>(groups.size()));
    for (size_t g = 0; ok && g < groups.size(); ++g) {
        QV_List<QV_Poly>& group = result[static_cast<int32_t>(g)];
        ok = group.SetSize(static_cast<int32_t>(groups[g].size()));
        for (size_t k = 0; ok && k < groups[g].size(); ++k)
            ok = ToPoly(groups[g][k].points, group[static_cast<int32_t>(k)]);
    }
    if (!ok) result.Clear();
    return ok;
}
