#include "model3d/MeshQuantities.hpp"

#include "APIInteraction.hpp"
#include "model3d/ExactSum.hpp"
#include "model3d/ModelStore.hpp"
#include "model3d/PlanRings.hpp"
#include "model3d/TerrainColumns.hpp"
#include "project/Guids.hpp"
#include "project/ProjectDatabase.hpp"

#include <CGAL/Exact_predicates_exact_constructions_kernel.h>
#include <CGAL/Polygon_mesh_processing/corefinement.h>
#include <CGAL/Polygon_mesh_processing/orient_polygon_soup.h>
#include <CGAL/Polygon_mesh_processing/orientation.h>
#include <CGAL/Polygon_mesh_processing/polygon_soup_to_polygon_mesh.h>
#include <CGAL/Polygon_mesh_processing/repair_polygon_soup.h>
#include <CGAL/Polygon_mesh_processing/triangulate_faces.h>
#include <CGAL/Surface_mesh.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <exception>
#include <map>
#include <optional>
#include <vector>

namespace {

using Kernel = CGAL::Exact_predicates_exact_constructions_kernel;
using Point = Kernel::Point_3;
using Solid = CGAL::Surface_mesh<Point>;
namespace PMP = CGAL::Polygon_mesh_processing;

// A closed, outward-oriented, triangulated solid from a soup of polygons; false when the soup bounds no volume.
bool SolidFromSoup(std::vector<Point> points, std::vector<std::vector<std::size_t>> polygons, Solid* out) {
    PMP::repair_polygon_soup(points, polygons);
    if (!PMP::orient_polygon_soup(points, polygons)) return false;
    Solid solid;
    PMP::polygon_soup_to_polygon_mesh(points, polygons, solid);
    if (!CGAL::is_closed(solid) || !PMP::triangulate_faces(solid)) return false;
    PMP::orient_to_bound_a_volume(solid);
    *out = std::move(solid);
    return true;
}

bool SolidFromBody(const ModelBody& body, Solid* out) {
    std::vector<Point> points;
    for (const ModelPoint& p : body.vertices) points.emplace_back(p.x, p.y, p.z);
    std::vector<std::vector<std::size_t>> polygons;
    for (int32_t p = 1; p <= int32_t(body.pgons.size()); ++p) {
        std::vector<std::size_t> ring;
        for (int32_t v : body.PolygonVertices(p)) ring.push_back(std::size_t(v - 1));
        if (ring.size() >= 3) polygons.push_back(std::move(ring));
    }
    return SolidFromSoup(std::move(points), std::move(polygons), out);
}

// The body and everything above it up to `top`: its downward-facing triangles, walls up from their free edges,
// and their copies at `top` as the lid.
bool ExtrudedUpward(const Solid& body, double top, Solid* out) {
    std::vector<Point> points;
    std::map<Solid::Vertex_index, std::array<std::size_t, 2>> index;  // bottom and top copy
    auto pointOf = [&](Solid::Vertex_index v) {
        auto it = index.find(v);
        if (it != index.end()) return it->second;
        const Point& p = body.point(v);
        points.push_back(p);
        points.emplace_back(p.x(), p.y(), Kernel::FT(top));
        const std::array<std::size_t, 2> ids = {points.size() - 2, points.size() - 1};
        index.emplace(v, ids);
        return ids;
    };
    std::vector<std::vector<std::size_t>> polygons;
    std::map<std::pair<Solid::Vertex_index, Solid::Vertex_index>, int> edges;
    for (Solid::Face_index f : body.faces()) {
        const Kernel::Vector_3 n = PMP::compute_face_normal(f, body);
        if (!(n.z() < 0)) continue;
        std::vector<Solid::Vertex_index> vs;
        for (Solid::Vertex_index v : CGAL::vertices_around_face(body.halfedge(f), body)) vs.push_back(v);
        std::vector<std::size_t> bottom, lid;
        for (Solid::Vertex_index v : vs) bottom.push_back(pointOf(v)[0]);
        for (auto it = vs.rbegin(); it != vs.rend(); ++it) lid.push_back(pointOf(*it)[1]);
        polygons.push_back(bottom);
        polygons.push_back(lid);
        for (std::size_t i = 0; i < vs.size(); ++i) {
            const Solid::Vertex_index a = vs[i], b = vs[(i + 1) % vs.size()];
            edges[{std::min(a, b), std::max(a, b)}] += 1;
        }
    }
    if (polygons.empty()) return false;
    // Edges of one downward triangle only are the rim the walls stand on.
    for (const auto& e : edges) {
        if (e.second != 1) continue;
        const auto a = pointOf(e.first.first), b = pointOf(e.first.second);
        polygons.push_back({a[0], b[0], b[1], a[1]});
    }
    return SolidFromSoup(std::move(points), std::move(polygons), out);
}

double TopOf(const Solid& a, const Solid& b) {
    double top = -1e300;
    for (const Solid* s : {&a, &b})
        for (Solid::Vertex_index v : s->vertices()) top = std::max(top, CGAL::to_double(s->point(v).z()));
    return top + 10.0;
}

using ET = Kernel::FT::ET;

// The solid's exact volume: the signed volumes of the tetrahedra from the origin to each triangle, summed exactly.
// Coordinates that are doubles (all but the points the booleans made) go into one exact sum of products; the
// others are summed as rationals.
ET ExactVolume(const Solid& solid) {
    struct Vertex {
        bool dyadic = true;
        std::array<double, 3> c{};
        size_t exact = 0;  // where its rational coordinates are, when not dyadic
    };
    std::vector<std::array<ET, 3>> rationals;
    std::vector<Vertex> vertices(solid.number_of_vertices() + solid.number_of_removed_vertices());
    for (Solid::Vertex_index v : solid.vertices()) {
        const Point& p = solid.point(v);
        Vertex& out = vertices[size_t(v)];
        const auto approx = CGAL::approx(p);
        for (int k = 0; k < 3; ++k) out.dyadic = out.dyadic && approx[k].inf() == approx[k].sup();
        if (!out.dyadic) {
            const auto exact = CGAL::exact(p);
            out.exact = rationals.size();
            rationals.push_back({exact[0], exact[1], exact[2]});
            continue;
        }
        for (int k = 0; k < 3; ++k) out.c[size_t(k)] = approx[k].inf();
    }
    ExactSum sum;
    ET rationalSum = 0;
    // det(a, b, c) as the six products of one coordinate of each.
    static const int kTerms[6][3] = {{0, 1, 2}, {1, 2, 0}, {2, 0, 1}, {0, 2, 1}, {1, 0, 2}, {2, 1, 0}};
    for (Solid::Face_index f : solid.faces()) {
        const Solid::Halfedge_index h = solid.halfedge(f);
        const Vertex* t[3] = {&vertices[size_t(solid.target(h))], &vertices[size_t(solid.target(solid.next(h)))],
                              &vertices[size_t(solid.target(solid.prev(h)))]};
        if (t[0]->dyadic && t[1]->dyadic && t[2]->dyadic) {
            for (int k = 0; k < 6; ++k) {
                const double a = t[0]->c[size_t(kTerms[k][0])], b = t[1]->c[size_t(kTerms[k][1])],
                             c = t[2]->c[size_t(kTerms[k][2])];
                if (k < 3)
                    sum.Add(a, b, c);
                else
                    sum.Subtract(a, b, c);
            }
            continue;
        }
        std::array<std::array<ET, 3>, 3> q;
        for (int i = 0; i < 3; ++i)
            for (int k = 0; k < 3; ++k)
                q[size_t(i)][size_t(k)] = t[i]->dyadic ? ET(t[i]->c[size_t(k)]) : rationals[t[i]->exact][size_t(k)];
        for (int k = 0; k < 6; ++k) {
            const ET product = q[0][size_t(kTerms[k][0])] * q[1][size_t(kTerms[k][1])] * q[2][size_t(kTerms[k][2])];
            if (k < 3)
                rationalSum += product;
            else
                rationalSum -= product;
        }
    }
    ET total = sum.Value();
    total += rationalSum;
    total /= 6;
    return total;
}

// An exact volume rounded as the kernel rounds an exact number.
double Rounded(const ET& volume) { return CGAL::to_double(Kernel::FT(volume)); }

bool SameBody(const ModelBody& a, const ModelBody& b) {
    return a.vertices.size() == b.vertices.size() && a.edges == b.edges && a.pgons == b.pgons && a.pedges == b.pedges &&
        (a.vertices.empty() ||
         std::memcmp(a.vertices.data(), b.vertices.data(), a.vertices.size() * sizeof(ModelPoint)) == 0);
}

}  // namespace

// One link as the volume sees it: what it does and the operator's bodies.
struct LinkStep {
    uint32_t operation = 0;
    std::vector<ModelBody> bodies;
    API_Guid operatorGuid = {};
};

namespace {

bool SameStep(const LinkStep& a, const LinkStep& b) {
    if (a.operation != b.operation || a.bodies.size() != b.bodies.size()) return false;
    for (size_t i = 0; i < a.bodies.size(); ++i)
        if (!SameBody(a.bodies[i], b.bodies[i])) return false;
    return true;
}

// The solid after one link: each of the operator's bodies added, or taken away with all above it. `bodyFault`
// tells a body that is no solid from an operation that cannot be computed.
GSErrCode ApplyStep(const LinkStep& step, Solid* solid, std::string* why, bool* bodyFault) {
    *bodyFault = false;
    for (const ModelBody& b : step.bodies) {
        Solid body;
        if (!SolidFromBody(b, &body)) {
            *why = "a body of " + GuidText(step.operatorGuid) + " is not closed";
            *bodyFault = true;
            return APIERR_GENERAL;
        }
        // The result replaces the solid in place: only the faces the body meets are rebuilt.
        bool ok = false;
        if (step.operation == APISolid_Add) {
            ok = PMP::corefine_and_compute_union(*solid, body, *solid);
        } else {
            Solid above;
            ok = ExtrudedUpward(body, TopOf(*solid, body), &above) &&
                PMP::corefine_and_compute_difference(*solid, above, *solid);
        }
        if (!ok) {
            *why = "the solid operation with " + GuidText(step.operatorGuid) + " cannot be computed";
            return APIERR_GENERAL;
        }
    }
    return NoError;
}

// The solid of a part of a terrain's columns. Its boundary is closed, oriented outward, and meets itself nowhere
// by construction, so it goes into the mesh as it is, its quads cut in two; false if it does not.
bool SolidOfPart(const TerrainColumns::Part& part, Solid* out) {
    Solid solid;
    solid.reserve(Solid::size_type(part.points.size()), Solid::size_type(part.polygons.size() * 5),
                  Solid::size_type(part.polygons.size() * 2));
    for (const ModelPoint& p : part.points) solid.add_vertex(Point(p.x, p.y, p.z));
    const auto v = [](size_t i) { return Solid::Vertex_index(Solid::size_type(i)); };
    for (const std::vector<size_t>& ring : part.polygons) {
        for (size_t k = 1; k + 1 < ring.size(); ++k)
            if (solid.add_face(v(ring[0]), v(ring[k]), v(ring[k + 1])) == Solid::null_face()) return false;
    }
    if (!CGAL::is_closed(solid)) return false;
    *out = std::move(solid);
    return true;
}

// The plan box of each body the steps bring.
std::vector<PlanBox> BodyBoxes(const std::vector<LinkStep>& steps, size_t from) {
    std::vector<PlanBox> boxes;
    for (size_t k = from; k < steps.size(); ++k)
        for (const ModelBody& b : steps[k].bodies)
            if (!b.vertices.empty()) boxes.push_back(BoxOf(b.vertices));
    return boxes;
}

bool Inside(const PlanBox& inner, const PlanBox& outer) {
    return inner.xMin >= outer.xMin && inner.xMax <= outer.xMax && inner.yMin >= outer.yMin && inner.yMax <= outer.yMax;
}

}  // namespace

// The solids are either whole (the mesh's solid and what each link made of it) or, when the mesh's solid is a
// terrain's columns, only the columns near the links' bodies: the bodies meet no other column, so the volume is
// that of the part plus, exactly, that of the columns left out.
struct MeshVolumes::Chain {
    std::shared_ptr<const ModelBody> base;
    bool partial = false;
    TerrainColumns::Part part;   // partial: the columns the solids hold and the volume of the others
    std::vector<PlanBox> boxes;  // partial: the bodies' boxes the part was chosen for
    std::vector<LinkStep> steps;
    std::vector<Solid> solids;                   // [0] the mesh's own (or its part), [k] after steps[k - 1]
    std::vector<std::optional<double>> volumes;  // of solids[k] (with the columns left out), once asked
};

MeshVolumes::MeshVolumes(Solids solids) : solids_(solids) {}
MeshVolumes::~MeshVolumes() = default;

// A chain from nothing: of the columns near the steps' bodies when the mesh's solid is a terrain's and `whole` is
// not asked, else of the whole solid. False with `why` when the whole solid is no solid; false without when the
// part is none (the whole is asked then).
bool MeshVolumes::StartChain(const std::shared_ptr<const ModelBody>& base, int32_t surfaceVertices,
                             const std::vector<LinkStep>& steps, bool whole, std::string* why) {
    chain_.reset();
    auto chain = std::make_unique<Chain>();
    chain->base = base;
    Solid solid;
    if (whole) {
        if (!SolidFromBody(*base, &solid)) {
            *why = "the mesh's solid is not closed";
            return false;
        }
    } else {
        if (!columns_ || (columns_->Solid() != base && !SameBody(*columns_->Solid(), *base)))
            columns_ = TerrainColumns::Of(base, surfaceVertices);
        chain->boxes = BodyBoxes(steps, 0);
        if (!columns_ || !columns_->PartNear(chain->boxes, TerrainColumns::Floor::Flat, &chain->part)) return false;
        if (!chain->part.points.empty()) {
            if (!SolidOfPart(chain->part, &solid) &&
                (!columns_->PartNear(chain->boxes, TerrainColumns::Floor::Copies, &chain->part) ||
                 !SolidOfPart(chain->part, &solid)))
                return false;
            // Only the solid is needed from here on.
            chain->part.points = {};
            chain->part.polygons = {};
        }
        chain->partial = true;
    }
    chain->solids.push_back(std::move(solid));
    chain->volumes.emplace_back();
    chain_ = std::move(chain);
    return true;
}

GSErrCode MeshVolumes::Compute(const ProjectDatabase& db, ModelStore& models, const API_Guid& mesh, bool whole,
                               double* volume, std::string* why) {
    const StoredElement* e = db.Find(mesh);
    if (e == nullptr || e->record.header.typeID != API_MeshID) {
        *why = "no mesh " + GuidText(mesh);
        return APIERR_BADID;
    }
    std::shared_ptr<const Model3D> model = models.ModelOf(mesh, why);
    if (!model) return APIERR_GENERAL;
    if (model->surfaceVertices < 0 || model->bodies.empty()) {
        *volume = 0.0;
        return NoError;
    }
    std::shared_ptr<const ModelBody> base = models.MeshSolidOf(mesh, why);
    if (!base) base = std::make_shared<ModelBody>(model->bodies[0]);
    std::vector<LinkStep> steps;
    for (const StoredSolidLink& l : db.SolidLinks()) {
        if (l.target != mesh || (l.operation != APISolid_Add && l.operation != APISolid_SubtractUpwards)) continue;
        std::shared_ptr<const Model3D> op = models.ModelOf(l.operatorGuid, why);
        if (!op) continue;
        steps.push_back({l.operation, op->bodies, l.operatorGuid});
    }
    // What the latest chain shares with this one: the mesh's solid, then its links one by one. A part of the
    // columns serves the links after those only when it holds every column near their bodies.
    size_t kept = 0;
    if (chain_ && !(whole && chain_->partial) && (chain_->base == base || SameBody(*chain_->base, *base))) {
        chain_->base = base;
        kept = 1;
        while (kept - 1 < steps.size() && kept - 1 < chain_->steps.size() &&
               SameStep(chain_->steps[kept - 1], steps[kept - 1]))
            ++kept;
        if (chain_->partial)
            for (const PlanBox& box : BodyBoxes(steps, kept - 1)) {
                // A part takes a new body when it holds every column near it (an empty part, chosen for no
                // body, takes none).
                bool held = false;
                for (const PlanBox& chosen : chain_->boxes) held = held || Inside(box, chosen);
                held = chain_->solids[0].number_of_faces() != 0 && (held || columns_->Holds(chain_->part, box));
                if (!held) {
                    kept = 0;
                    break;
                }
            }
    }
    if (kept == 0) {
        if (!StartChain(base, model->surfaceVertices, steps, whole, why)) return whole ? APIERR_GENERAL : kRetryWhole;
        kept = 1;
    }
    Chain& chain = *chain_;
    chain.steps.resize(kept - 1);
    chain.solids.resize(kept);
    chain.volumes.resize(kept);
    for (size_t k = kept - 1; k < steps.size(); ++k) {
        // The operations change their operands: the kept solid stays as it is.
        Solid solid = chain.solids.back();
        bool bodyFault = false;
        const GSErrCode err = ApplyStep(steps[k], &solid, why, &bodyFault);
        // A body that is no solid fails the whole alike; an operation on a part is tried again on the whole.
        if (err != NoError) return chain.partial && !bodyFault ? kRetryWhole : err;
        chain.steps.push_back(std::move(steps[k]));
        chain.solids.push_back(std::move(solid));
        chain.volumes.emplace_back();
    }
    if (!chain.volumes.back()) {
        const ET solidVolume = ExactVolume(chain.solids.back());
        chain.volumes.back() = Rounded(chain.partial ? ET(chain.part.restVolume + solidVolume) : solidVolume);
    }
    *volume = *chain.volumes.back();
    partAnswers_ += chain.partial ? 1 : 0;
    return NoError;
}

GSErrCode MeshVolumes::Volume(const ProjectDatabase& db, ModelStore& models, const API_Guid& mesh, double* volume,
                              std::string* why) {
    // Bodies a script gives may intersect themselves; the polyhedron library refuses them by throwing.
    GSErrCode err = kRetryWhole;
    if (solids_ == Solids::NearParts) {
        try {
            err = Compute(db, models, mesh, false, volume, why);
        } catch (const std::exception&) {
            err = kRetryWhole;
        }
    }
    if (err != kRetryWhole) return err;
    why->clear();
    try {
        return Compute(db, models, mesh, true, volume, why);
    } catch (const std::exception& ex) {
        *why = std::string("the solid operations cannot be computed: ") + ex.what();
        return APIERR_GENERAL;
    }
}
