#include "model3d/ExactSolid.hpp"

#include "model3d/ExactSum.hpp"

#include <CGAL/Polygon_mesh_processing/compute_normal.h>
#include <CGAL/Polygon_mesh_processing/orient_polygon_soup.h>
#include <CGAL/Polygon_mesh_processing/orientation.h>
#include <CGAL/Polygon_mesh_processing/polygon_soup_to_polygon_mesh.h>
#include <CGAL/Polygon_mesh_processing/repair_polygon_soup.h>
#include <CGAL/Polygon_mesh_processing/triangulate_faces.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <map>
#include <optional>
#include <utility>

namespace PMP = CGAL::Polygon_mesh_processing;

namespace {
// A closed, outward-oriented, triangulated solid from a soup of polygons; false when the soup bounds no volume.
bool SolidFromSoup(std::vector<ExactPoint> points, std::vector<std::vector<std::size_t>> polygons, ExactSolid* out) {
    PMP::repair_polygon_soup(points, polygons);
    if (!PMP::orient_polygon_soup(points, polygons)) return false;
    ExactSolid solid;
    PMP::polygon_soup_to_polygon_mesh(points, polygons, solid);
    if (!CGAL::is_closed(solid) || !PMP::triangulate_faces(solid)) return false;
    PMP::orient_to_bound_a_volume(solid);
    *out = std::move(solid);
    return true;
}

// For each point, the first of those it is the same as: points a rounding apart (a body clipped and read back as
// doubles meets itself a few units in the last place off) would leave slivers standing on no area, which no
// solid operation can take.
std::vector<size_t> Welded(const std::vector<ModelPoint>& points) {
    double extent = 1.0;
    for (const ModelPoint& p : points) extent = std::max({extent, std::fabs(p.x), std::fabs(p.y), std::fabs(p.z)});
    const double tolerance = 1e-12 * extent;
    std::vector<size_t> order(points.size()), same(points.size());
    for (size_t i = 0; i < points.size(); ++i) order[i] = same[i] = i;
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return points[a].x < points[b].x; });
    for (size_t k = 0; k < order.size(); ++k) {
        const size_t i = order[k];
        if (same[i] != i) continue;
        for (size_t m = k + 1; m < order.size() && points[order[m]].x - points[i].x <= tolerance; ++m) {
            const size_t j = order[m];
            if (same[j] == j && std::fabs(points[j].y - points[i].y) <= tolerance &&
                std::fabs(points[j].z - points[i].z) <= tolerance)
                same[j] = i;
        }
    }
    return same;
}
}  // namespace

bool SolidFromBody(const ModelBody& body, ExactSolid* out) {
    const std::vector<size_t> same = Welded(body.vertices);
    std::vector<ExactPoint> points;
    points.reserve(body.vertices.size());
    for (size_t i = 0; i < body.vertices.size(); ++i) {
        const ModelPoint& p = body.vertices[same[i]];
        points.emplace_back(p.x, p.y, p.z);
    }
    std::vector<std::vector<std::size_t>> polygons;
    for (int32_t p = 1; p <= int32_t(body.pgons.size()); ++p) {
        std::vector<std::size_t> ring;
        for (int32_t v : body.PolygonVertices(p)) ring.push_back(std::size_t(v - 1));
        if (ring.size() >= 3) polygons.push_back(std::move(ring));
    }
    return SolidFromSoup(std::move(points), std::move(polygons), out);
}

ModelBody BodyFromSolid(const ExactSolid& solid) {
    BodyBuilder b;
    std::vector<int32_t> ids(solid.number_of_vertices() + solid.number_of_removed_vertices(), 0);
    for (ExactSolid::Vertex_index v : solid.vertices()) {
        const ExactPoint& p = solid.point(v);
        ids[size_t(v)] = b.AddVertex({CGAL::to_double(p.x()), CGAL::to_double(p.y()), CGAL::to_double(p.z())});
    }
    for (ExactSolid::Face_index f : solid.faces()) {
        std::vector<int32_t> ring;
        for (ExactSolid::Vertex_index v : CGAL::vertices_around_face(solid.halfedge(f), solid))
            ring.push_back(ids[size_t(v)]);
        b.AddPolygon(ring);
    }
    return b.Finish();
}

bool FacesUp(const ExactSolid& solid, ExactSolid::Face_index f) { return PMP::compute_face_normal(f, solid).z() > 0; }

bool Extruded(const ExactSolid& body, Extrusion direction, double level, ExactSolid* out) {
    const bool upward = direction == Extrusion::Upward;
    std::vector<ExactPoint> points;
    std::map<ExactSolid::Vertex_index, std::array<std::size_t, 2>> index;  // the body's copy and the level's
    auto pointOf = [&](ExactSolid::Vertex_index v) {
        auto it = index.find(v);
        if (it != index.end()) return it->second;
        const ExactPoint& p = body.point(v);
        points.push_back(p);
        points.emplace_back(p.x(), p.y(), ExactKernel::FT(level));
        const std::array<std::size_t, 2> ids = {points.size() - 2, points.size() - 1};
        index.emplace(v, ids);
        return ids;
    };
    std::vector<std::vector<std::size_t>> polygons;
    std::map<std::pair<ExactSolid::Vertex_index, ExactSolid::Vertex_index>, int> edges;
    for (ExactSolid::Face_index f : body.faces()) {
        // Upward, the faces that look down bound what lies above; downward, those that look up.
        const ExactKernel::FT nz = PMP::compute_face_normal(f, body).z();
        if (!(upward ? nz < 0 : nz > 0)) continue;
        std::vector<ExactSolid::Vertex_index> vs;
        for (ExactSolid::Vertex_index v : CGAL::vertices_around_face(body.halfedge(f), body)) vs.push_back(v);
        std::vector<std::size_t> near, far;
        for (ExactSolid::Vertex_index v : vs) near.push_back(pointOf(v)[0]);
        for (auto it = vs.rbegin(); it != vs.rend(); ++it) far.push_back(pointOf(*it)[1]);
        polygons.push_back(near);
        polygons.push_back(far);
        for (std::size_t i = 0; i < vs.size(); ++i) {
            const ExactSolid::Vertex_index a = vs[i], b = vs[(i + 1) % vs.size()];
            edges[{std::min(a, b), std::max(a, b)}] += 1;
        }
    }
    if (polygons.empty()) return false;
    // Edges of one such face only are the rim the walls stand on.
    for (const auto& e : edges) {
        if (e.second != 1) continue;
        const auto a = pointOf(e.first.first), b = pointOf(e.first.second);
        polygons.push_back({a[0], b[0], b[1], a[1]});
    }
    return SolidFromSoup(std::move(points), std::move(polygons), out);
}

void SolidZRange(const ExactSolid& solid, double* zMin, double* zMax) {
    *zMin = 1e300;
    *zMax = -1e300;
    for (ExactSolid::Vertex_index v : solid.vertices()) {
        const auto z = CGAL::approx(solid.point(v).z());
        *zMin = std::min(*zMin, z.inf());
        *zMax = std::max(*zMax, z.sup());
    }
}

using ET = ExactKernel::FT::ET;

// The signed volumes of the tetrahedra from the origin to each triangle, summed exactly. Coordinates that are
// doubles (all but the points the booleans made) go into one exact sum of products; the others are summed as
// rationals.
namespace {
// A point's exact coordinates as integers over one common denominator: a face's determinant then takes integer
// products only, and a single rational addition.
struct Homogeneous {
    std::array<mpz_class, 3> c;
    mpz_class d;
};

Homogeneous HomogeneousOf(const std::array<mpq_class, 3>& q) {
    Homogeneous h;
    mpz_lcm(h.d.get_mpz_t(), q[0].get_den_mpz_t(), q[1].get_den_mpz_t());
    mpz_lcm(h.d.get_mpz_t(), h.d.get_mpz_t(), q[2].get_den_mpz_t());
    for (size_t k = 0; k < 3; ++k) {
        mpz_divexact(h.c[k].get_mpz_t(), h.d.get_mpz_t(), q[k].get_den_mpz_t());
        h.c[k] *= q[k].get_num();
    }
    return h;
}

// det(a, b, c) as the six products of one coordinate of each.
constexpr int kTerms[6][3] = {{0, 1, 2}, {1, 2, 0}, {2, 0, 1}, {0, 2, 1}, {1, 0, 2}, {2, 1, 0}};

// A solid's points: their doubles where those are exact (dyadic), else their exact coordinates.
struct VolumeVertex {
    bool dyadic = true;
    std::array<double, 3> c{};  // dyadic: the point
    double magnitude = 0.0;     // at least the largest absolute coordinate
    size_t exact = 0;           // not dyadic: where its exact coordinates are
};

struct VolumeVertices {
    std::vector<VolumeVertex> vertices;
    std::vector<std::array<mpq_class, 3>> exact;
};

VolumeVertices VerticesOf(const ExactSolid& solid) {
    VolumeVertices out;
    out.vertices.resize(solid.number_of_vertices() + solid.number_of_removed_vertices());
    for (ExactSolid::Vertex_index v : solid.vertices()) {
        const ExactPoint& p = solid.point(v);
        VolumeVertex& x = out.vertices[size_t(v)];
        const auto approx = CGAL::approx(p);
        for (int k = 0; k < 3; ++k) {
            x.dyadic = x.dyadic && approx[k].inf() == approx[k].sup();
            x.c[size_t(k)] = approx[k].inf();
            x.magnitude = std::max({x.magnitude, std::abs(approx[k].inf()), std::abs(approx[k].sup())});
        }
        if (x.dyadic) continue;
        const auto e = CGAL::exact(p);
        x.exact = out.exact.size();
        out.exact.push_back({mpq_class(e[0]), mpq_class(e[1]), mpq_class(e[2])});
    }
    return out;
}

// The three corners of a triangle in the order whose determinant is six times its signed tetrahedron's volume.
std::array<size_t, 3> CornersOf(const ExactSolid& solid, ExactSolid::Face_index f) {
    const ExactSolid::Halfedge_index h = solid.halfedge(f);
    return {size_t(solid.target(h)), size_t(solid.target(solid.next(h))), size_t(solid.target(solid.prev(h)))};
}

bool AllDyadic(const VolumeVertices& t, const std::array<size_t, 3>& corner) {
    return t.vertices[corner[0]].dyadic && t.vertices[corner[1]].dyadic && t.vertices[corner[2]].dyadic;
}

// Adds six times the tetrahedron's volume of a triangle with double corners to `sum`.
void AddDyadic(const VolumeVertices& t, const std::array<size_t, 3>& corner, ExactSum* sum) {
    const VolumeVertex* v[3] = {&t.vertices[corner[0]], &t.vertices[corner[1]], &t.vertices[corner[2]]};
    for (int k = 0; k < 6; ++k) {
        const double a = v[0]->c[size_t(kTerms[k][0])], b = v[1]->c[size_t(kTerms[k][1])],
                     c = v[2]->c[size_t(kTerms[k][2])];
        if (k < 3)
            sum->Add(a, b, c);
        else
            sum->Subtract(a, b, c);
    }
}

ET ExactVolumeOf(const ExactSolid& solid, const VolumeVertices& t) {
    // Each corner of a face with a rational corner in homogeneous form, made once.
    std::vector<Homogeneous> homogeneous;
    std::vector<int64_t> homogeneousAt(t.vertices.size(), -1);
    const auto homogeneousOf = [&](size_t v) {
        if (homogeneousAt[v] < 0) {
            const VolumeVertex& x = t.vertices[v];
            homogeneousAt[v] = int64_t(homogeneous.size());
            homogeneous.push_back(HomogeneousOf(
                x.dyadic ? std::array<mpq_class, 3>{mpq_class(x.c[0]), mpq_class(x.c[1]), mpq_class(x.c[2])}
                         : t.exact[x.exact]));
        }
        return size_t(homogeneousAt[v]);
    };
    ExactSum sum;
    // The rational terms are summed pairwise: one running sum's denominator grows with every term.
    std::vector<mpq_class> terms;
    mpz_class det, product;
    mpq_class term;
    for (ExactSolid::Face_index f : solid.faces()) {
        const std::array<size_t, 3> corner = CornersOf(solid, f);
        if (AllDyadic(t, corner)) {
            AddDyadic(t, corner, &sum);
            continue;
        }
        // The pushes may move the table: the three are taken after them.
        const size_t at[3] = {homogeneousOf(corner[0]), homogeneousOf(corner[1]), homogeneousOf(corner[2])};
        const Homogeneous* q[3] = {&homogeneous[at[0]], &homogeneous[at[1]], &homogeneous[at[2]]};
        det = 0;
        for (int k = 0; k < 6; ++k) {
            mpz_mul(product.get_mpz_t(), q[0]->c[size_t(kTerms[k][0])].get_mpz_t(),
                    q[1]->c[size_t(kTerms[k][1])].get_mpz_t());
            if (k < 3)
                mpz_addmul(det.get_mpz_t(), product.get_mpz_t(), q[2]->c[size_t(kTerms[k][2])].get_mpz_t());
            else
                mpz_submul(det.get_mpz_t(), product.get_mpz_t(), q[2]->c[size_t(kTerms[k][2])].get_mpz_t());
        }
        mpz_set(term.get_num_mpz_t(), det.get_mpz_t());
        mpz_mul(term.get_den_mpz_t(), q[0]->d.get_mpz_t(), q[1]->d.get_mpz_t());
        mpz_mul(term.get_den_mpz_t(), term.get_den_mpz_t(), q[2]->d.get_mpz_t());
        term.canonicalize();
        terms.push_back(term);
    }
    for (size_t width = 1; width < terms.size(); width *= 2)
        for (size_t i = 0; i + width < terms.size(); i += 2 * width) terms[i] += terms[i + width];
    mpq_class total = sum.Value() + (terms.empty() ? mpq_class(0) : terms[0]);
    total /= 6;
    return total;
}
}  // namespace

ET ExactVolume(const ExactSolid& solid) { return ExactVolumeOf(solid, VerticesOf(solid)); }

VolumeBounds VolumeBoundsOf(const ExactSolid& solid) {
    const VolumeVertices t = VerticesOf(solid);
    // The faces with a rational corner are summed in fixed point, each coordinate taken down to a multiple of
    // 2^-kBits: a product of three such is off by at most 7 u M^2 (u = 2^-kBits, M >= 1 bounding the corners'
    // coordinates), a determinant by 42 u M^2.
    constexpr int kBits = 160;
    ExactSum sum;
    std::vector<std::array<mpz_class, 3>> fixed(t.vertices.size());
    std::vector<char> hasFixed(t.vertices.size(), 0);
    mpz_class fixedSum, product, scaled;
    double squares = 0.0;
    bool anyRational = false;
    for (ExactSolid::Face_index f : solid.faces()) {
        const std::array<size_t, 3> corner = CornersOf(solid, f);
        if (AllDyadic(t, corner)) {
            AddDyadic(t, corner, &sum);
            continue;
        }
        anyRational = true;
        double m = 1.0;
        for (size_t v : corner) {
            const VolumeVertex& x = t.vertices[v];
            m = std::max(m, x.magnitude + 1.0);
            if (hasFixed[v]) continue;
            hasFixed[v] = 1;
            for (size_t k = 0; k < 3; ++k) {
                const mpq_class q = x.dyadic ? mpq_class(x.c[k]) : t.exact[x.exact][k];
                mpz_mul_2exp(scaled.get_mpz_t(), q.get_num_mpz_t(), kBits);
                mpz_fdiv_q(fixed[v][k].get_mpz_t(), scaled.get_mpz_t(), q.get_den_mpz_t());
            }
        }
        squares += m * m;
        for (int k = 0; k < 6; ++k) {
            mpz_mul(product.get_mpz_t(), fixed[corner[0]][size_t(kTerms[k][0])].get_mpz_t(),
                    fixed[corner[1]][size_t(kTerms[k][1])].get_mpz_t());
            if (k < 3)
                mpz_addmul(fixedSum.get_mpz_t(), product.get_mpz_t(),
                           fixed[corner[2]][size_t(kTerms[k][2])].get_mpz_t());
            else
                mpz_submul(fixedSum.get_mpz_t(), product.get_mpz_t(),
                           fixed[corner[2]][size_t(kTerms[k][2])].get_mpz_t());
        }
    }
    VolumeBounds out;
    const mpq_class dyadic = sum.Value();
    if (!anyRational) {
        out.low = out.high = dyadic / 6;
        return out;
    }
    // The error bound, rounded up generously (a margin of half above 42 covers the double sums' own rounding).
    const double bound = 64.0 * squares;
    if (!std::isfinite(bound)) {
        out.low = out.high = ExactVolumeOf(solid, t);
        return out;
    }
    mpq_class middle;
    mpq_set_z(middle.get_mpq_t(), fixedSum.get_mpz_t());
    mpq_div_2exp(middle.get_mpq_t(), middle.get_mpq_t(), mp_bitcnt_t(3 * kBits));
    mpq_class error(bound);
    mpq_div_2exp(error.get_mpq_t(), error.get_mpq_t(), mp_bitcnt_t(kBits));
    out.low = (dyadic + middle - error) / 6;
    out.high = (dyadic + middle + error) / 6;
    return out;
}

std::optional<double> SharedRounding(const ET& low, const ET& high) {
    const double a = RoundedVolume(low), b = RoundedVolume(high);
    if (a == b) return a;
    return std::nullopt;
}

double RoundedWithin(const ExactSolid& solid, const ET& rest, VolumeBounds* bounds) {
    if (const std::optional<double> v = SharedRounding(bounds->low, bounds->high)) return *v;
    const ET exact = ExactVolume(solid) + rest;
    *bounds = VolumeBounds{exact, exact};
    return RoundedVolume(exact);
}

double RoundedVolumeOf(const ExactSolid& solid, const ET& rest) {
    VolumeBounds b = VolumeBoundsOf(solid);
    b.low += rest;
    b.high += rest;
    return RoundedWithin(solid, rest, &b);
}

double RoundedVolume(const ET& volume) { return CGAL::to_double(ExactKernel::FT(volume)); }
