#include "model3d/RoofBody.hpp"

#include "model3d/PlanTriangulation.hpp"

#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Polygon_2.h>
#include <CGAL/create_straight_skeleton_2.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <exception>
#include <map>
#include <tuple>
#include <utility>

namespace {
using K = CGAL::Exact_predicates_inexact_constructions_kernel;
using Polygon = CGAL::Polygon_2<K>;
using Skeleton = CGAL::Straight_skeleton_2<K>;

// Depth of each ring: how many of the others hold it. Even rings bound the building, odd ones its courtyards.
std::vector<int> Depths(const std::vector<PlanRing>& rings) {
    std::vector<int> depth(rings.size(), 0);
    for (size_t r = 0; r < rings.size(); ++r)
        for (size_t q = 0; q < rings.size(); ++q)
            if (q != r && InsideRings({rings[q]}, rings[r].points[0].x, rings[r].points[0].y)) ++depth[r];
    return depth;
}

Polygon PolygonOf(const PlanRing& ring) {
    Polygon p;
    for (const ModelPoint& q : ring.points) p.push_back(K::Point_2(q.x, q.y));
    return p;
}

// The roof over one outer ring and the courtyards right inside it: one face per side, lifted by the skeleton's
// times. `eaves` holds the body's vertices at the eaves by plan position; nodes are shared through `nodes`.
bool AddRoof(const PlanRing& outer, const std::vector<const PlanRing*>& holes, double eave, double rise,
             const std::map<std::pair<double, double>, int32_t>& eaves,
             std::map<std::tuple<double, double, double>, int32_t>* nodes, BodyBuilder* b, double* ridge,
             std::string* why) {
    const Polygon contour = PolygonOf(outer);
    std::vector<Polygon> yards;
    for (const PlanRing* h : holes) yards.push_back(PolygonOf(*h));
    boost::shared_ptr<Skeleton> skeleton;
    try {
        skeleton = CGAL::create_interior_straight_skeleton_2(contour.vertices_begin(), contour.vertices_end(),
                                                             yards.begin(), yards.end(), K());
    } catch (const std::exception&) {
        skeleton.reset();
    }
    if (!skeleton) {
        *why = "the roof over the outline cannot be built";
        return false;
    }
    for (auto f = skeleton->faces_begin(); f != skeleton->faces_end(); ++f) {
        PlanRing ring;
        std::vector<int32_t> ids;
        const auto h0 = f->halfedge();
        auto h = h0;
        do {
            const auto v = h->vertex();
            const double x = v->point().x(), y = v->point().y();
            int32_t id = 0;
            if (v->is_contour()) {
                const auto it = eaves.find({x, y});
                if (it == eaves.end()) {
                    *why = "the roof's skeleton lost a corner of the outline";
                    return false;
                }
                id = it->second;
            } else {
                const double z = eave + rise * CGAL::to_double(v->time());
                const auto key = std::make_tuple(x, y, z);
                const auto it = nodes->find(key);
                id = it != nodes->end() ? it->second : b->AddVertex({x, y, z});
                if (it == nodes->end()) nodes->emplace(key, id);
                *ridge = std::max(*ridge, z);
            }
            ring.points.push_back({x, y, 0.0});
            ids.push_back(id);
            h = h->next();
        } while (h != h0 && ids.size() <= skeleton->size_of_vertices());
        // Counter-clockwise in plan, so that the triangles face up.
        if (SignedArea(ring) < 0.0) {
            std::reverse(ring.points.begin(), ring.points.end());
            std::reverse(ids.begin(), ids.end());
        }
        std::vector<std::array<int32_t, 3>> triangles;
        if (!TriangulateRegion({ring}, {ids}, &triangles, why)) {
            *why = "the roof over the outline cannot be built (a face " + *why + ")";
            return false;
        }
        for (const auto& t : triangles)
            if (t[0] != t[1] && t[1] != t[2] && t[2] != t[0]) b->AddTriangle(t[0], t[1], t[2]);
    }
    return true;
}
}  // namespace

bool RoofedPrismBody(std::vector<PlanRing> rings, double low, double eave, double rise, ModelBody* out, double* ridge,
                     std::string* why) {
    // Counter-clockwise round the building, clockwise round a courtyard: the inside lies on each side's left.
    const std::vector<int> depth = Depths(rings);
    for (size_t r = 0; r < rings.size(); ++r)
        if ((SignedArea(rings[r]) > 0.0) != (depth[r] % 2 == 0))
            std::reverse(rings[r].points.begin(), rings[r].points.end());
    BodyBuilder b;
    std::vector<std::vector<int32_t>> top, bottom;
    std::map<std::pair<double, double>, int32_t> eaves;
    for (const PlanRing& ring : rings) {
        top.emplace_back();
        for (const ModelPoint& p : ring.points) {
            top.back().push_back(b.AddVertex({p.x, p.y, eave}));
            eaves.emplace(std::make_pair(p.x, p.y), top.back().back());
        }
    }
    for (const PlanRing& ring : rings) {
        bottom.emplace_back();
        for (const ModelPoint& p : ring.points) bottom.back().push_back(b.AddVertex({p.x, p.y, low}));
    }
    std::vector<std::array<int32_t, 3>> floor;
    if (!TriangulateRegion(rings, bottom, &floor, why)) return false;
    for (const auto& t : floor) b.AddTriangle(t[0], t[2], t[1]);
    for (size_t r = 0; r < rings.size(); ++r) {
        const size_t m = top[r].size();
        for (size_t k = 0; k < m; ++k)
            b.AddPolygon({top[r][k], bottom[r][k], bottom[r][(k + 1) % m], top[r][(k + 1) % m]});
    }
    *ridge = eave;
    std::map<std::tuple<double, double, double>, int32_t> nodes;
    for (size_t r = 0; r < rings.size(); ++r) {
        if (depth[r] % 2 != 0) continue;
        std::vector<const PlanRing*> holes;
        for (size_t q = 0; q < rings.size(); ++q)
            if (depth[q] == depth[r] + 1 && InsideRings({rings[r]}, rings[q].points[0].x, rings[q].points[0].y))
                holes.push_back(&rings[q]);
        if (!AddRoof(rings[r], holes, eave, rise, eaves, &nodes, &b, ridge, why)) return false;
    }
    *out = b.Finish();
    return true;
}
