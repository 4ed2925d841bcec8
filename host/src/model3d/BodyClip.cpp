#include "model3d/BodyClip.hpp"

#include "model3d/PlanTriangulation.hpp"

#include <CGAL/Exact_predicates_exact_constructions_kernel.h>
#include <CGAL/Polygon_mesh_processing/corefinement.h>
#include <CGAL/Polygon_mesh_processing/orient_polygon_soup.h>
#include <CGAL/Polygon_mesh_processing/orientation.h>
#include <CGAL/Polygon_mesh_processing/polygon_soup_to_polygon_mesh.h>
#include <CGAL/Polygon_mesh_processing/repair_polygon_soup.h>
#include <CGAL/Polygon_mesh_processing/triangulate_faces.h>
#include <CGAL/Surface_mesh.h>

#include <algorithm>
#include <exception>
#include <iterator>

namespace {
using Kernel = CGAL::Exact_predicates_exact_constructions_kernel;
using Point = Kernel::Point_3;
using Solid = CGAL::Surface_mesh<Point>;
namespace PMP = CGAL::Polygon_mesh_processing;

// Through a repaired, oriented soup: a body's polygons may run either way round.
bool SolidOf(const ModelBody& body, Solid* out) {
    std::vector<Point> points(body.vertices.size());
    std::transform(body.vertices.begin(), body.vertices.end(), points.begin(),
                   [](const ModelPoint& p) { return Point(p.x, p.y, p.z); });
    std::vector<std::vector<std::size_t>> soup(body.pgons.size());
    for (size_t f = 0; f < soup.size(); ++f) {
        const std::vector<int32_t> ring = body.PolygonVertices(int32_t(f + 1));
        std::transform(ring.begin(), ring.end(), std::back_inserter(soup[f]), [](int32_t v) { return size_t(v - 1); });
    }
    soup.erase(std::remove_if(soup.begin(), soup.end(), [](const auto& r) { return r.size() < 3; }), soup.end());
    PMP::repair_polygon_soup(points, soup);
    const bool oriented = PMP::orient_polygon_soup(points, soup);
    if (oriented) PMP::polygon_soup_to_polygon_mesh(points, soup, *out);
    if (!oriented || !CGAL::is_closed(*out) || !PMP::triangulate_faces(*out)) return false;
    PMP::orient_to_bound_a_volume(*out);
    return true;
}

bool PrismOf(const std::vector<PlanRing>& rings, double zLow, double zHigh, ModelBody* out, std::string* why) {
    std::vector<PlanRing> plan = rings;
    for (size_t r = 0; r < plan.size(); ++r)
        if ((SignedArea(plan[r]) > 0.0) != (r == 0)) std::reverse(plan[r].points.begin(), plan[r].points.end());
    BodyBuilder b;
    std::vector<std::vector<int32_t>> top, bottom;
    for (const PlanRing& ring : plan) {
        top.emplace_back();
        for (const ModelPoint& p : ring.points) top.back().push_back(b.AddVertex({p.x, p.y, zHigh}));
    }
    for (const PlanRing& ring : plan) {
        bottom.emplace_back();
        for (const ModelPoint& p : ring.points) bottom.back().push_back(b.AddVertex({p.x, p.y, zLow}));
    }
    std::vector<std::array<int32_t, 3>> faces;
    if (!TriangulateRegion(plan, top, &faces, why)) return false;
    const int32_t shift = bottom[0][0] - top[0][0];
    for (const auto& t : faces) {
        b.AddTriangle(t[0], t[1], t[2]);
        b.AddTriangle(t[0] + shift, t[2] + shift, t[1] + shift);
    }
    for (size_t r = 0; r < plan.size(); ++r) {
        const size_t m = top[r].size();
        for (size_t k = 0; k < m; ++k)
            b.AddPolygon({top[r][k], bottom[r][k], bottom[r][(k + 1) % m], top[r][(k + 1) % m]});
    }
    *out = b.Finish();
    return true;
}
}  // namespace

namespace {
// The body inside (`inside`) or outside the prism, as a new body.
bool WithPrism(const ModelBody& body, const std::vector<PlanRing>& rings, double zLow, double zHigh, bool inside,
               ModelBody* out, std::string* why) {
    ModelBody prismBody;
    if (rings.empty() || !(zLow < zHigh) || !PrismOf(rings, zLow, zHigh, &prismBody, why)) {
        if (why->empty()) *why = "the terrain's outline bounds no prism";
        return false;
    }
    try {
        Solid solid, prism, part;
        if (!SolidOf(body, &solid) || !SolidOf(prismBody, &prism)) {
            *why = "the body is not closed";
            return false;
        }
        if (!(inside ? PMP::corefine_and_compute_intersection(solid, prism, part)
                     : PMP::corefine_and_compute_difference(solid, prism, part))) {
            *why = "the body cannot be cut at the terrain's outline";
            return false;
        }
        BodyBuilder b;
        std::vector<int32_t> ids(part.number_of_vertices() + part.number_of_removed_vertices(), 0);
        for (Solid::Vertex_index v : part.vertices()) {
            const Point& p = part.point(v);
            ids[size_t(v)] = b.AddVertex({CGAL::to_double(p.x()), CGAL::to_double(p.y()), CGAL::to_double(p.z())});
        }
        for (Solid::Face_index f : part.faces()) {
            std::vector<int32_t> ring;
            for (Solid::Vertex_index v : CGAL::vertices_around_face(part.halfedge(f), part))
                ring.push_back(ids[size_t(v)]);
            b.AddPolygon(ring);
        }
        *out = b.Finish();
    } catch (const std::exception& ex) {
        *why = std::string("the body cannot be cut at the terrain's outline: ") + ex.what();
        return false;
    }
    return true;
}
}  // namespace

bool ClipBodyToPrism(const ModelBody& body, const std::vector<PlanRing>& rings, double zLow, double zHigh,
                     ModelBody* out, std::string* why) {
    return WithPrism(body, rings, zLow, zHigh, true, out, why);
}

bool CutPrismOut(const ModelBody& body, const PlanRing& ring, ModelBody* out, std::string* why) {
    if (body.vertices.empty()) {
        *out = body;
        return true;
    }
    double low = body.vertices[0].z, high = low;
    for (const ModelPoint& p : body.vertices) low = std::min(low, p.z), high = std::max(high, p.z);
    return WithPrism(body, {ring}, low - 1.0, high + 1.0, false, out, why);
}
