#include "model3d/PlanTriangulation.hpp"

#include <CGAL/Constrained_Delaunay_triangulation_2.h>
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Triangulation_face_base_with_info_2.h>
#include <CGAL/Triangulation_vertex_base_with_info_2.h>

#include <algorithm>
#include <cmath>
#include <deque>
#include <utility>

namespace {
using K = CGAL::Exact_predicates_inexact_constructions_kernel;
struct VertexInfo {
    int32_t id = -1;    // the input point's number; -1 for a point where two constraints cross
    int32_t ring = -1;  // outline ring and place in it (-1 when not an outline point)
    int32_t pos = -1;
};
struct FaceInfo {
    int32_t nesting = -1;
};
using Vb = CGAL::Triangulation_vertex_base_with_info_2<VertexInfo, K>;
using Fbi = CGAL::Triangulation_face_base_with_info_2<FaceInfo, K>;
using Fb = CGAL::Constrained_triangulation_face_base_2<K, Fbi>;
using Tds = CGAL::Triangulation_data_structure_2<Vb, Fb>;
// Exact predicates: crossing constraints are split at their crossing instead of failing.
using CDT = CGAL::Constrained_Delaunay_triangulation_2<K, Tds, CGAL::Exact_predicates_tag>;
using Point = CDT::Point;
using VH = CDT::Vertex_handle;

// Faces get their nesting: 0 outside everything, then one more past each border edge. Odd = inside.
template <typename IsBorder>
void MarkDomains(CDT& cdt, IsBorder&& isBorder) {
    for (CDT::Face_handle f : cdt.all_face_handles()) f->info().nesting = -1;
    std::deque<CDT::Edge> borders;
    const auto flood = [&](CDT::Face_handle start, int32_t nesting) {
        if (start->info().nesting != -1) return;
        std::deque<CDT::Face_handle> queue{start};
        start->info().nesting = nesting;
        while (!queue.empty()) {
            CDT::Face_handle f = queue.front();
            queue.pop_front();
            for (int i = 0; i < 3; ++i) {
                CDT::Face_handle n = f->neighbor(i);
                if (n->info().nesting != -1) continue;
                if (isBorder(CDT::Edge(f, i))) {
                    borders.push_back(CDT::Edge(f, i));
                } else {
                    n->info().nesting = nesting;
                    queue.push_back(n);
                }
            }
        }
    };
    flood(cdt.infinite_face(), 0);
    while (!borders.empty()) {
        const CDT::Edge e = borders.front();
        borders.pop_front();
        flood(e.first->neighbor(e.second), e.first->info().nesting + 1);
    }
}

bool Inside(CDT::Face_handle f) { return f->info().nesting % 2 == 1; }

std::pair<VH, VH> Ends(const CDT& cdt, const CDT::Edge& e) {
    return {e.first->vertex(cdt.cw(e.second)), e.first->vertex(cdt.ccw(e.second))};
}

// A point where constraints cross takes its height between two of its constrained neighbours that lie on
// opposite sides of it; a pair that is not an outline edge pair (a level line) is preferred.
void HeightsAtCrossings(CDT& cdt, std::vector<ModelPoint>* points) {
    std::vector<VH> open;
    for (VH v : cdt.finite_vertex_handles())
        if (v->info().id < 0) open.push_back(v);
    const auto onOutline = [&](VH a, VH b) { return a->info().ring >= 0 && b->info().ring >= 0; };
    for (int round = 0; round < 8 && !open.empty(); ++round) {
        std::vector<VH> left;
        for (VH v : open) {
            std::vector<VH> known;
            CDT::Edge_circulator ec = cdt.incident_edges(v), done = ec;
            do {
                if (!cdt.is_infinite(*ec) && cdt.is_constrained(*ec)) {
                    const auto ends = Ends(cdt, *ec);
                    const VH other = ends.first == v ? ends.second : ends.first;
                    if (other->info().id >= 0) known.push_back(other);
                }
            } while (++ec != done);
            bool found = false;
            double best = 0.0;
            bool bestIsLine = false;
            for (size_t i = 0; i < known.size(); ++i)
                for (size_t j = i + 1; j < known.size(); ++j) {
                    const Point& p = v->point();
                    const Point& a = known[i]->point();
                    const Point& b = known[j]->point();
                    const double da = std::hypot(p.x() - a.x(), p.y() - a.y());
                    const double db = std::hypot(p.x() - b.x(), p.y() - b.y());
                    const double dab = std::hypot(a.x() - b.x(), a.y() - b.y());
                    if (dab <= 0.0 || std::abs(da + db - dab) > 1e-9 * dab) continue;
                    const bool isLine = !onOutline(known[i], known[j]);
                    if (found && bestIsLine && !isLine) continue;
                    const double z = (*points)[size_t(known[i]->info().id)].z * (db / dab) +
                        (*points)[size_t(known[j]->info().id)].z * (da / dab);
                    found = true;
                    best = z;
                    bestIsLine = isLine;
                }
            if (!found) {
                left.push_back(v);
                continue;
            }
            points->push_back({v->point().x(), v->point().y(), best});
            v->info().id = int32_t(points->size() - 1);
        }
        if (left.size() == open.size()) break;
        open.swap(left);
    }
}
}  // namespace

bool TriangulateMeshSurface(const std::vector<PlanRing>& outline, const std::vector<ModelPoint>& levelPoints,
                            const std::vector<std::vector<ModelPoint>>& levelLines, Surface* surface,
                            std::string* why) {
    *surface = Surface();
    if (outline.empty() || outline[0].points.size() < 3) {
        *why = "the outline has fewer than three points";
        return false;
    }
    std::vector<ModelPoint> points;  // every input point by number; crossings are added behind
    CDT cdt;
    // Level points in one go (spatially sorted by CGAL); the outline and level lines one by one after, so their
    // vertices can be linked by constraints.
    {
        std::vector<std::pair<Point, VertexInfo>> bulk;
        bulk.reserve(levelPoints.size());
        for (const ModelPoint& p : levelPoints) {
            VertexInfo info;
            info.id = int32_t(points.size());
            points.push_back(p);
            bulk.emplace_back(Point(p.x, p.y), info);
        }
        cdt.insert(bulk.begin(), bulk.end());
    }
    std::vector<std::vector<VH>> ringVertices(outline.size());
    for (size_t r = 0; r < outline.size(); ++r) {
        VH hint;
        for (size_t k = 0; k < outline[r].points.size(); ++k) {
            const ModelPoint& p = outline[r].points[k];
            VH v = cdt.insert(Point(p.x, p.y), hint == VH() ? CDT::Face_handle() : hint->face());
            // An outline point wins over a level point at the same place.
            v->info().id = int32_t(points.size());
            v->info().ring = int32_t(r);
            v->info().pos = int32_t(k);
            points.push_back(p);
            ringVertices[r].push_back(v);
            hint = v;
        }
    }
    for (const std::vector<ModelPoint>& line : levelLines) {
        VH previous;
        for (const ModelPoint& p : line) {
            VH v = cdt.insert(Point(p.x, p.y), previous == VH() ? CDT::Face_handle() : previous->face());
            if (v->info().id < 0) {
                v->info().id = int32_t(points.size());
                points.push_back(p);
            }
            if (previous != VH() && previous != v) cdt.insert_constraint(previous, v);
            previous = v;
        }
    }
    for (const std::vector<VH>& ring : ringVertices)
        for (size_t k = 0; k < ring.size(); ++k)
            if (ring[k] != ring[(k + 1) % ring.size()]) cdt.insert_constraint(ring[k], ring[(k + 1) % ring.size()]);
    HeightsAtCrossings(cdt, &points);

    // An outline edge joins two points that follow each other in a ring, or lies on such a stretch (a level point
    // or a crossing on the outline splits it).
    const auto onOutlineSegment = [&](const Point& m) {
        for (const PlanRing& ring : outline)
            for (size_t k = 0; k < ring.points.size(); ++k) {
                const ModelPoint& a = ring.points[k];
                const ModelPoint& b = ring.points[(k + 1) % ring.points.size()];
                if (m.x() < std::min(a.x, b.x) || m.x() > std::max(a.x, b.x) || m.y() < std::min(a.y, b.y) ||
                    m.y() > std::max(a.y, b.y))
                    continue;
                const double cross = (b.x - a.x) * (m.y() - a.y) - (b.y - a.y) * (m.x() - a.x);
                const double len = std::hypot(b.x - a.x, b.y - a.y);
                if (std::abs(cross) <= 1e-9 * len * std::max(len, 1.0)) return true;
            }
        return false;
    };
    MarkDomains(cdt, [&](const CDT::Edge& e) {
        if (!cdt.is_constrained(e)) return false;
        const auto ends = Ends(cdt, e);
        const VertexInfo& a = ends.first->info();
        const VertexInfo& b = ends.second->info();
        if (a.ring >= 0 && a.ring == b.ring) {
            const int32_t n = int32_t(outline[size_t(a.ring)].points.size());
            const int32_t d = std::abs(a.pos - b.pos);
            if (d == 1 || d == n - 1) return true;
        }
        if (a.ring >= 0 && b.ring >= 0) return false;
        const Point& p = ends.first->point();
        const Point& q = ends.second->point();
        return onOutlineSegment(Point((p.x() + q.x()) / 2, (p.y() + q.y()) / 2));
    });

    // Vertices in the order of the input points (outline, level points and lines as the caller numbers them
    // through `points`), only those that a triangle uses.
    std::vector<int32_t> newIndex(points.size(), -1);
    for (CDT::Face_handle f : cdt.finite_face_handles())
        if (Inside(f))
            for (int i = 0; i < 3; ++i) {
                const int32_t id = f->vertex(i)->info().id;
                if (id < 0) {
                    *why = "a crossing of level lines has no height";
                    return false;
                }
                newIndex[size_t(id)] = 0;
            }
    // Outline points first (they were numbered after the level points), then level points and lines.
    const size_t firstOutline = levelPoints.size();
    size_t outlineCount = 0;
    for (const PlanRing& r : outline) outlineCount += r.points.size();
    std::vector<size_t> order;
    order.reserve(points.size());
    for (size_t i = firstOutline; i < firstOutline + outlineCount; ++i) order.push_back(i);
    for (size_t i = 0; i < firstOutline; ++i) order.push_back(i);
    for (size_t i = firstOutline + outlineCount; i < points.size(); ++i) order.push_back(i);
    for (size_t i : order)
        if (newIndex[i] == 0) {
            newIndex[i] = int32_t(surface->points.size());
            surface->points.push_back(points[i]);
        }
    for (CDT::Face_handle f : cdt.finite_face_handles())
        if (Inside(f))
            surface->triangles.push_back({newIndex[size_t(f->vertex(0)->info().id)],
                                          newIndex[size_t(f->vertex(1)->info().id)],
                                          newIndex[size_t(f->vertex(2)->info().id)]});
    if (surface->triangles.empty()) {
        *why = "the outline encloses no area";
        return false;
    }
    return true;
}

bool TriangulateRegion(const std::vector<PlanRing>& rings, const std::vector<std::vector<int32_t>>& ids,
                       std::vector<std::array<int32_t, 3>>* triangles, std::string* why) {
    triangles->clear();
    CDT cdt;
    for (size_t r = 0; r < rings.size(); ++r) {
        std::vector<VH> vs;
        for (size_t k = 0; k < rings[r].points.size(); ++k) {
            const ModelPoint& p = rings[r].points[k];
            VH v = cdt.insert(Point(p.x, p.y), vs.empty() ? CDT::Face_handle() : vs.back()->face());
            if (v->info().id < 0) v->info().id = ids[r][k];
            vs.push_back(v);
        }
        for (size_t k = 0; k < vs.size(); ++k)
            if (vs[k] != vs[(k + 1) % vs.size()]) cdt.insert_constraint(vs[k], vs[(k + 1) % vs.size()]);
    }
    for (VH v : cdt.finite_vertex_handles())
        if (v->info().id < 0) {
            *why = "the outline crosses itself";
            return false;
        }
    // No rings, or rings on one line: no region to mark, and no triangle.
    if (cdt.dimension() < 2) return true;
    MarkDomains(cdt, [&](const CDT::Edge& e) { return cdt.is_constrained(e); });
    for (CDT::Face_handle f : cdt.finite_face_handles())
        if (Inside(f))
            triangles->push_back({f->vertex(0)->info().id, f->vertex(1)->info().id, f->vertex(2)->info().id});
    return true;
}

void TriangulateSegments(const std::vector<std::pair<ModelPoint, ModelPoint>>& segments,
                         std::vector<std::array<ModelPoint, 3>>* triangles) {
    triangles->clear();
    CDT cdt;
    for (const auto& s : segments) {
        const Point a(s.first.x, s.first.y), b(s.second.x, s.second.y);
        if (a != b) cdt.insert_constraint(a, b);
    }
    for (CDT::Face_handle f : cdt.finite_face_handles()) {
        std::array<ModelPoint, 3> t;
        for (int i = 0; i < 3; ++i) t[size_t(i)] = {f->vertex(i)->point().x(), f->vertex(i)->point().y(), 0.0};
        triangles->push_back(t);
    }
}
