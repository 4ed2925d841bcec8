#include "model3d/PlatformBody.hpp"

#include "model3d/PlanTriangulation.hpp"

#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Polygon_2.h>
#include <CGAL/create_straight_skeleton_2.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <exception>
#include <map>
#include <utility>

namespace {
using K = CGAL::Exact_predicates_inexact_constructions_kernel;
using Polygon = CGAL::Polygon_2<K>;
using Skeleton = CGAL::Straight_skeleton_2<K>;

// Vertices by their exact coordinates, so that a point two faces compute alike is one vertex.
class Vertices {
public:
    explicit Vertices(BodyBuilder* b) : b_(b) {}
    int32_t Of(const ModelPoint& p) {
        const auto key = std::make_tuple(p.x, p.y, p.z);
        auto it = ids_.find(key);
        if (it != ids_.end()) return it->second;
        const int32_t id = b_->AddVertex(p);
        ids_.emplace(key, id);
        return id;
    }

private:
    BodyBuilder* b_;
    std::map<std::tuple<double, double, double>, int32_t> ids_;
};

// A point of a slope face: plan position and mitred distance from the outline.
struct RoofPoint {
    double x, y, t;
    int32_t key;  // the skeleton vertex, or a crossing of two
};

struct Roof {
    const PlatformPlane* platform;
    double rise;  // signed: positive rising outward
    double reach;
    Vertices* vertices;
    std::map<std::pair<int32_t, int32_t>, int32_t> crossings;  // skeleton edge -> body vertex at the reach
    std::vector<std::vector<int32_t>> polygons;

    int32_t Vertex(double x, double y, double t) {
        return vertices->Of({x, y, platform->At(x, y) + rise * std::min(t, reach)});
    }
    // Where the side a-b crosses the reach, computed from its lower key so that both faces get the same point.
    int32_t Crossing(const RoofPoint& a0, const RoofPoint& b0) {
        const bool swap = a0.key > b0.key;
        const RoofPoint& a = swap ? b0 : a0;
        const RoofPoint& b = swap ? a0 : b0;
        const auto key = std::make_pair(a.key, b.key);
        auto it = crossings.find(key);
        if (it != crossings.end()) return it->second;
        const double s = (reach - a.t) / (b.t - a.t);
        const int32_t id = Vertex(a.x + (b.x - a.x) * s, a.y + (b.y - a.y) * s, reach);
        crossings.emplace(key, id);
        return id;
    }
    // The part of a triangle within the reach.
    void AddClipped(const std::array<RoofPoint, 3>& tri) {
        std::vector<int32_t> ring;
        for (size_t i = 0; i < 3; ++i) {
            const RoofPoint& a = tri[i];
            const RoofPoint& b = tri[(i + 1) % 3];
            const bool aIn = a.t <= reach, bIn = b.t <= reach;
            if (aIn) ring.push_back(Vertex(a.x, a.y, a.t));
            if (aIn != bIn) ring.push_back(Crossing(a, b));
        }
        ring.erase(std::unique(ring.begin(), ring.end()), ring.end());
        while (ring.size() > 1 && ring.front() == ring.back()) ring.pop_back();
        if (ring.size() >= 3) polygons.push_back(std::move(ring));
    }
};

// The lid: the sides that only one polygon runs, run the other way, chained into rings.
std::vector<std::vector<int32_t>> Lids(const std::vector<std::vector<int32_t>>& polygons) {
    std::map<std::pair<int32_t, int32_t>, int> sides;
    for (const auto& ring : polygons)
        for (size_t i = 0; i < ring.size(); ++i) sides[{ring[i], ring[(i + 1) % ring.size()]}] += 1;
    std::multimap<int32_t, int32_t> next;
    for (const auto& s : sides)
        if (sides.count({s.first.second, s.first.first}) == 0) next.emplace(s.first.second, s.first.first);
    std::vector<std::vector<int32_t>> lids;
    while (!next.empty()) {
        std::vector<int32_t> ring = {next.begin()->first};
        auto it = next.begin();
        while (it != next.end()) {
            const int32_t to = it->second;
            next.erase(it);
            if (to == ring.front()) break;
            ring.push_back(to);
            it = next.find(to);
        }
        if (ring.size() >= 3) lids.push_back(std::move(ring));
    }
    return lids;
}
}  // namespace

bool BuildPlatformBody(const PlatformPlane& platform, double rise, bool cut, double reach, ModelBody* body,
                       std::string* why) {
    Polygon polygon;
    for (const ModelPoint& p : platform.outline) {
        const K::Point_2 q(p.x, p.y);
        if (polygon.is_empty() || (q != polygon.container().back() && q != polygon.container().front()))
            polygon.push_back(q);
    }
    if (polygon.size() < 3 || !polygon.is_simple() || polygon.area() == 0) {
        *why = "the outline is no simple polygon";
        return false;
    }
    if (polygon.orientation() != CGAL::COUNTERCLOCKWISE) polygon.reverse_orientation();
    if (!(reach > 0.0) || !std::isfinite(reach)) {
        *why = "the slopes reach nowhere";
        return false;
    }
    std::map<std::pair<double, double>, size_t> corners;
    for (size_t i = 0; i < polygon.size(); ++i) corners[{polygon[int(i)].x(), polygon[int(i)].y()}] = i;
    boost::shared_ptr<Skeleton> skeleton;
    try {
        skeleton = CGAL::create_exterior_straight_skeleton_2(reach * 1.05 + 1.0, polygon, K());
    } catch (const std::exception&) {
        skeleton.reset();
    }
    if (!skeleton) {
        *why = "the slopes of the outline cannot be built";
        return false;
    }
    BodyBuilder b;
    Vertices vertices(&b);
    Roof roof{&platform, cut ? rise : -rise, reach, &vertices, {}, {}};
    // The platform first: its corners are the outline's.
    std::vector<int32_t> base;
    for (size_t i = 0; i < polygon.size(); ++i)
        base.push_back(roof.Vertex(polygon[int(i)].x(), polygon[int(i)].y(), 0));
    for (auto f = skeleton->faces_begin(); f != skeleton->faces_end(); ++f) {
        const auto h0 = f->halfedge();
        const auto a = h0->opposite()->vertex()->point(), c = h0->vertex()->point();
        // Faces of the frame round the outline have no slope of the platform.
        if (corners.count({a.x(), a.y()}) == 0 || corners.count({c.x(), c.y()}) == 0) continue;
        PlanRing ring;
        std::vector<RoofPoint> points;
        auto h = h0;
        do {
            const auto v = h->vertex();
            const double t = v->is_contour() ? 0.0 : CGAL::to_double(v->time());
            points.push_back({v->point().x(), v->point().y(), t, int32_t(v->id())});
            ring.points.push_back({v->point().x(), v->point().y(), 0.0});
            h = h->next();
        } while (h != h0 && points.size() <= skeleton->size_of_vertices());
        std::vector<int32_t> ids(points.size());
        for (size_t k = 0; k < ids.size(); ++k) ids[k] = int32_t(k);
        if (SignedArea(ring) < 0) {
            std::reverse(ring.points.begin(), ring.points.end());
            std::reverse(points.begin(), points.end());
        }
        std::vector<std::array<int32_t, 3>> triangles;
        if (!TriangulateRegion({ring}, {ids}, &triangles, why)) return false;
        for (const auto& t : triangles) {
            // Counter-clockwise in plan: the top of a fill; a cut's slopes are its underside.
            std::array<RoofPoint, 3> tri = {points[size_t(t[0])], points[size_t(t[1])], points[size_t(t[2])]};
            if (cut) std::swap(tri[1], tri[2]);
            roof.AddClipped(tri);
        }
    }
    std::vector<std::vector<int32_t>> polygons = std::move(roof.polygons);
    if (cut) std::reverse(base.begin(), base.end());
    polygons.push_back(base);
    for (const std::vector<int32_t>& lid : Lids(polygons)) polygons.push_back(lid);
    for (const std::vector<int32_t>& ring : polygons) b.AddPolygon(ring);
    *body = b.Finish();
    return true;
}
