#include "model3d/EarthworkChain.hpp"

#include "APIInteraction.hpp"
#include "model3d/BodyShape.hpp"
#include "model3d/ExactSolid.hpp"
#include "model3d/PlanRings.hpp"
#include "model3d/PlanStrips.hpp"
#include "model3d/SolidBooleans.hpp"
#include "model3d/TerrainColumns.hpp"
#include "project/Guids.hpp"

#include <CGAL/Polygon_mesh_processing/compute_normal.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <exception>
#include <map>
#include <optional>
#include <set>

namespace PMP = CGAL::Polygon_mesh_processing;

namespace {
using ET = ExactKernel::FT::ET;

bool SameBodies(const std::vector<ModelBody>& a, const std::vector<ModelBody>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (!SameBody(a[i], b[i])) return false;
    return true;
}

bool SameStep(const LinkStep& a, const LinkStep& b) {
    return a.operation == b.operation && SameBodies(a.bodies, b.bodies) && SameBodies(a.clips, b.clips);
}

// The shapes of a step's bodies and clips after its operation, with their counts; false when a body has none.
bool StepShape(const LinkStep& step, std::vector<double>* out) {
    out->assign({double(step.operation), double(step.bodies.size()), double(step.clips.size())});
    std::vector<double> shape;
    for (const std::vector<ModelBody>* list : {&step.bodies, &step.clips})
        for (const ModelBody& b : *list) {
            if (!ShapeOf(b, &shape)) return false;
            out->push_back(double(shape.size()));
            out->insert(out->end(), shape.begin(), shape.end());
        }
    return true;
}

bool SameShape(const LinkStep& a, const LinkStep& b) {
    if (SameStep(a, b)) return true;
    std::vector<double> sa, sb;
    return a.operation == b.operation && StepShape(a, &sa) && StepShape(b, &sb) && sa == sb;
}

// The level past both solids' extent that an extrusion reaches, above or below.
double LevelPast(const ExactSolid& a, const ExactSolid& b, Extrusion direction) {
    double aMin, aMax, bMin, bMax;
    SolidZRange(a, &aMin, &aMax);
    SolidZRange(b, &bMin, &bMax);
    return direction == Extrusion::Upward ? std::max(aMax, bMax) + 10.0 : std::min(aMin, bMin) - 10.0;
}

// The solid after one link: each of the operator's bodies added, or taken away with all above or below it.
// `bodyFault` tells a body that is no solid from an operation that cannot be computed.
GSErrCode ApplyStep(const LinkStep& step, ExactSolid* solid, std::string* why, bool* bodyFault) {
    *bodyFault = false;
    const auto notClosed = [&] {
        *why = "a body of " + GuidText(step.operatorGuid) + " is not closed";
        *bodyFault = true;
        return APIERR_GENERAL;
    };
    const auto crossing = [&] {
        *why = "a body of " + GuidText(step.operatorGuid) + " crosses itself";
        *bodyFault = true;
        return APIERR_GENERAL;
    };
    for (const ModelBody& b : step.bodies) {
        ExactSolid body;
        if (!SolidFromBody(b, &body)) return notClosed();
        // The operations take only solids whose boundary meets itself nowhere; others would corrupt the result.
        if (SelfIntersects(body)) return crossing();
        // The result replaces the solid in place: only the faces the body meets are rebuilt.
        bool ok = true;
        if (step.operation == APISolid_Add) {
            for (const ModelBody& c : step.clips) {
                ExactSolid clip, below;
                if (!SolidFromBody(c, &clip)) return notClosed();
                if (Extruded(clip, Extrusion::Downward, LevelPast(body, clip, Extrusion::Downward), &below)) {
                    if (SelfIntersects(below)) return crossing();
                    ok = ok && Combine(body, below, SolidOperation::Difference, body);
                }
            }
            ok = ok && Combine(*solid, body, SolidOperation::Union, *solid);
        } else {
            const Extrusion direction =
                step.operation == APISolid_SubtractUpwards ? Extrusion::Upward : Extrusion::Downward;
            ExactSolid swept;
            ok = Extruded(body, direction, LevelPast(*solid, body, direction), &swept);
            // A body that overhangs itself sweeps a boundary that crosses itself.
            if (ok && SelfIntersects(swept)) return crossing();
            ok = ok && Combine(*solid, swept, SolidOperation::Difference, *solid);
        }
        if (!ok) {
            *why = "the solid operation with " + GuidText(step.operatorGuid) + " cannot be computed";
            return APIERR_GENERAL;
        }
    }
    return NoError;
}

}  // namespace

bool StepTakeable(const LinkStep& step) {
    for (const ModelBody& b : step.bodies) {
        ExactSolid body;
        if (!SolidFromBody(b, &body) || SelfIntersects(body)) return false;
        if (step.operation == APISolid_Add) {
            for (const ModelBody& c : step.clips) {
                ExactSolid clip, below;
                if (!SolidFromBody(c, &clip)) return false;
                if (Extruded(clip, Extrusion::Downward, LevelPast(body, clip, Extrusion::Downward), &below) &&
                    SelfIntersects(below))
                    return false;
            }
        } else {
            const Extrusion direction =
                step.operation == APISolid_SubtractUpwards ? Extrusion::Upward : Extrusion::Downward;
            ExactSolid swept;
            if (!Extruded(body, direction, LevelPast(body, body, direction), &swept) || SelfIntersects(swept))
                return false;
        }
    }
    return true;
}

namespace {
// The solid of a part of a terrain's columns. Its boundary is closed, oriented outward, and meets itself nowhere
// by construction, so it goes into the mesh as it is, its quads cut in two; false if it does not.
bool SolidOfPart(const TerrainColumns::Part& part, ExactSolid* out) {
    ExactSolid solid;
    solid.reserve(ExactSolid::size_type(part.points.size()), ExactSolid::size_type(part.polygons.size() * 5),
                  ExactSolid::size_type(part.polygons.size() * 2));
    for (const ModelPoint& p : part.points) solid.add_vertex(ExactPoint(p.x, p.y, p.z));
    const auto v = [](size_t i) { return ExactSolid::Vertex_index(ExactSolid::size_type(i)); };
    for (const std::vector<size_t>& ring : part.polygons) {
        for (size_t k = 1; k + 1 < ring.size(); ++k)
            if (solid.add_face(v(ring[0]), v(ring[k]), v(ring[k + 1])) == ExactSolid::null_face()) return false;
    }
    if (!CGAL::is_closed(solid)) return false;
    *out = std::move(solid);
    return true;
}

// The plan box of each face of each body the steps bring (of the whole body when its faces cannot be read): what
// a body or its extrusion takes lies over its faces, and a road's body over one box would take most of a terrain.
std::vector<PlanBox> BodyBoxes(const std::vector<LinkStep>& steps, size_t from) {
    std::vector<PlanBox> boxes;
    for (size_t k = from; k < steps.size(); ++k)
        for (const ModelBody& b : steps[k].bodies) {
            if (b.vertices.empty()) continue;
            const size_t first = boxes.size();
            bool read = !b.pgons.empty();
            std::vector<ModelPoint> ring;
            for (const auto& pg : b.pgons) {
                if (!read) break;
                ring.clear();
                for (int32_t e = pg.first; e <= pg.second && read; ++e) {
                    read = e >= 1 && size_t(e) <= b.pedges.size();
                    const int32_t edge = read ? b.pedges[size_t(e - 1)] : 0;
                    read = read && edge != 0 && size_t(std::abs(edge)) <= b.edges.size();
                    if (!read) break;
                    const auto& ends = b.edges[size_t(std::abs(edge) - 1)];
                    const int32_t v = edge > 0 ? ends.first : ends.second;
                    read = v >= 1 && size_t(v) <= b.vertices.size();
                    if (read) ring.push_back(b.vertices[size_t(v - 1)]);
                }
                read = read && !ring.empty();
                if (read) StripBoxes(ring, &boxes);
            }
            if (!read) {
                boxes.resize(first);
                boxes.push_back(BoxOf(b.vertices));
            }
        }
    return boxes;
}

using PointKey = std::array<double, 3>;

// A point of a solid as a double triple, and whether the doubles are its exact coordinates.
bool AsDoubles(const ExactPoint& p, PointKey* out) {
    const auto approx = CGAL::approx(p);
    bool exact = true;
    for (int k = 0; k < 3; ++k) {
        exact = exact && approx[k].inf() == approx[k].sup();
        (*out)[size_t(k)] = CGAL::to_double(approx[k]);
    }
    return exact;
}
}  // namespace

// The solids are either whole (the base and what each link made of it) or, when the base is a terrain's columns,
// only the columns near the links' bodies: the bodies meet no other column, so the volume is that of the part
// plus, exactly, that of the columns left out.
struct EarthworkChain::Chain {
    std::shared_ptr<const ModelBody> base;
    double floorZ = -1e300;  // the base's floor: what lies there and looks no way up is no surface
    bool partial = false;
    TerrainColumns::Part part;  // partial: the columns the solids hold and the volume of the others
    std::vector<LinkStep> steps;
    std::vector<ExactSolid> solids;  // [0] the base (or its part), [k] after steps[k - 1]
    // Of solids[k] with the columns left out, once asked: its bounds and its rounded volume.
    struct Measure {
        std::optional<VolumeBounds> bounds;
        std::optional<double> rounded;
    };
    std::vector<Measure> volumes;
};

EarthworkChain::EarthworkChain() = default;
EarthworkChain::~EarthworkChain() = default;

bool EarthworkChain::Start(const std::shared_ptr<const ModelBody>& base, int32_t surfaceVertices,
                           const std::vector<LinkStep>& steps, bool whole, std::string* why) {
    chain_.reset();
    auto chain = std::make_unique<Chain>();
    chain->base = base;
    for (size_t v = size_t(std::max(surfaceVertices, 0)); v < base->vertices.size(); ++v)
        chain->floorZ =
            v == size_t(surfaceVertices) ? base->vertices[v].z : std::min(chain->floorZ, base->vertices[v].z);
    ExactSolid solid;
    if (whole) {
        if (!SolidFromBody(*base, &solid)) {
            *why = "the mesh's solid is not closed";
            return false;
        }
    } else {
        if (!columns_ || (columns_->Solid() != base && !SameBody(*columns_->Solid(), *base)))
            columns_ = TerrainColumns::Of(base, surfaceVertices);
        const std::vector<PlanBox> boxes = BodyBoxes(steps, 0);
        if (!columns_ || !columns_->PartNear(boxes, TerrainColumns::Floor::Flat, &chain->part)) return false;
        if (!chain->part.points.empty()) {
            if (!SolidOfPart(chain->part, &solid) &&
                (!columns_->PartNear(boxes, TerrainColumns::Floor::Copies, &chain->part) ||
                 !SolidOfPart(chain->part, &solid)))
                return false;
            // Only the solid and the columns' flags are needed from here on.
            chain->part.points = {};
            chain->part.polygons = {};
            chain->part.from = {};
        }
        chain->partial = true;
    }
    chain->solids.push_back(std::move(solid));
    chain->volumes.emplace_back();
    chain_ = std::move(chain);
    body_.reset();
    volumesAside_.clear();
    return true;
}

GSErrCode EarthworkChain::Compute(const std::shared_ptr<const ModelBody>& base, int32_t surfaceVertices,
                                  std::vector<LinkStep> steps, bool whole, std::string* why) {
    // What the latest chain shares with this one: the base, then its links one by one. A part of the columns
    // serves the links after those only when it holds every column near their bodies.
    size_t kept = 0;
    if (chain_ && !(whole && chain_->partial) && (chain_->base == base || SameBody(*chain_->base, *base))) {
        chain_->base = base;
        kept = 1;
        while (kept - 1 < steps.size() && kept - 1 < chain_->steps.size() &&
               SameStep(chain_->steps[kept - 1], steps[kept - 1]))
            ++kept;
        if (chain_->partial) {
            // A part takes new bodies when it holds every column near them (an empty part, chosen for no body,
            // takes none).
            const std::vector<PlanBox> boxes = BodyBoxes(steps, kept - 1);
            if (!boxes.empty() && (chain_->solids[0].number_of_faces() == 0 || !columns_->Holds(chain_->part, boxes)))
                kept = 0;
        }
    }
    if (kept == 0) {
        if (!Start(base, surfaceVertices, steps, whole, why)) return whole ? APIERR_GENERAL : kRetryWhole;
        kept = 1;
    }
    Chain& chain = *chain_;
    // The body read back last belongs to these steps only.
    if (kept - 1 != chain.steps.size() || kept - 1 != steps.size()) body_.reset();
    chain.steps.resize(kept - 1);
    chain.solids.resize(kept);
    chain.volumes.resize(kept);
    for (size_t k = kept - 1; k < steps.size(); ++k) {
        // The operations change their operands: the kept solid stays as it is.
        ExactSolid solid = chain.solids.back();
        bool bodyFault = false;
        const GSErrCode err = ApplyStep(steps[k], &solid, why, &bodyFault);
        // A body that is no solid fails the whole alike; an operation on a part is tried again on the whole.
        if (err != NoError) return chain.partial && !bodyFault ? kRetryWhole : err;
        chain.steps.push_back(std::move(steps[k]));
        chain.solids.push_back(std::move(solid));
        chain.volumes.emplace_back();
    }
    return NoError;
}

GSErrCode EarthworkChain::Run(const std::shared_ptr<const ModelBody>& base, int32_t surfaceVertices,
                              std::vector<LinkStep> steps, bool whole, std::string* why) {
    // Bodies may intersect themselves; the polyhedron library refuses them by throwing.
    GSErrCode err = kRetryWhole;
    if (!whole) {
        try {
            err = Compute(base, surfaceVertices, steps, false, why);
        } catch (const std::exception&) {
            chain_.reset();
            err = kRetryWhole;
        }
    }
    if (err != kRetryWhole) return err;
    why->clear();
    try {
        return Compute(base, surfaceVertices, std::move(steps), true, why);
    } catch (const std::exception& ex) {
        chain_.reset();
        *why = std::string("the solid operations cannot be computed: ") + ex.what();
        return APIERR_GENERAL;
    }
}

bool EarthworkChain::Partial() const { return chain_ && chain_->partial; }

const ModelBody* EarthworkChain::Base() const { return chain_ ? chain_->base.get() : nullptr; }

double EarthworkChain::Volume() { return chain_ ? VolumeAt(chain_->solids.size() - 1) : 0.0; }

bool EarthworkChain::SurfaceCounts(int64_t* points, int64_t* triangles) const {
    if (!chain_) return false;
    const Chain& chain = *chain_;
    const ExactSolid& solid = chain.solids.back();
    *points = *triangles = 0;
    // The columns left out keep their top; the part's points round its border are theirs.
    std::set<PointKey> shared;
    std::vector<char> restUsed;
    if (chain.partial) {
        *triangles += columns_->RestTop(chain.part.held, &restUsed);
        const std::vector<char> corner = columns_->Corners(chain.part.held);
        const ModelBody& base = *columns_->Solid();
        for (size_t v = 0; v < restUsed.size(); ++v) {
            if (restUsed[v] == 0) continue;
            ++*points;
            if (corner[v] != 0) shared.insert(PointKey{base.vertices[v].x, base.vertices[v].y, base.vertices[v].z});
        }
    }
    // As the body read back numbers them: the part's own points on the surface (above the floor, or on a face that
    // looks up), and its triangles of such points but the walls where it meets the columns left out.
    const size_t nV = solid.number_of_vertices() + solid.number_of_removed_vertices();
    std::vector<char> onSurface(nV, 0), sharedPoint(nV, 0);
    for (ExactSolid::Vertex_index v : solid.vertices()) {
        PointKey key;
        const bool exact = AsDoubles(solid.point(v), &key);
        sharedPoint[size_t(v)] = exact && shared.count(key) != 0 ? 1 : 0;
        onSurface[size_t(v)] = key[2] > chain.floorZ ? 1 : 0;
    }
    std::vector<ExactSolid::Face_index> candidates;
    for (ExactSolid::Face_index f : solid.faces()) {
        const ExactKernel::FT nz = PMP::compute_face_normal(f, solid).z();
        if (nz > 0)
            for (ExactSolid::Vertex_index v : CGAL::vertices_around_face(solid.halfedge(f), solid))
                onSurface[size_t(v)] = 1;
        candidates.push_back(f);
    }
    for (ExactSolid::Vertex_index v : solid.vertices())
        if (onSurface[size_t(v)] != 0 && sharedPoint[size_t(v)] == 0) ++*points;
    for (ExactSolid::Face_index f : candidates) {
        size_t corners = 0, sharedCorners = 0;
        bool surface = true;
        for (ExactSolid::Vertex_index v : CGAL::vertices_around_face(solid.halfedge(f), solid)) {
            ++corners;
            surface = surface && onSurface[size_t(v)] != 0;
            sharedCorners += sharedPoint[size_t(v)];
        }
        if (corners != 3 || !surface) continue;
        // A vertical face whose corners all lie round the border is a wall between the part and the columns left
        // out, which the body read back leaves out.
        if (chain.partial && sharedCorners == corners && PMP::compute_face_normal(f, solid).z() == 0) continue;
        ++*triangles;
    }
    return true;
}

void EarthworkChain::TopFaces(std::vector<std::array<ModelPoint, 3>>* faces) const {
    faces->clear();
    std::vector<std::vector<ModelPoint>> rings;
    TopRings(&rings);
    for (const std::vector<ModelPoint>& ring : rings)
        for (size_t k = 1; k + 1 < ring.size(); ++k) faces->push_back({ring[0], ring[k], ring[k + 1]});
}

void EarthworkChain::TopRings(std::vector<std::vector<ModelPoint>>* rings) const {
    rings->clear();
    if (!chain_) return;
    const auto less = [](const ModelPoint& a, const ModelPoint& b) {
        return a.x != b.x ? a.x < b.x : a.y != b.y ? a.y < b.y : a.z < b.z;
    };
    const ExactSolid& solid = chain_->solids.back();
    for (ExactSolid::Face_index f : solid.faces()) {
        if (!FacesUp(solid, f)) continue;
        std::vector<ModelPoint> ring;
        for (ExactSolid::Vertex_index v : CGAL::vertices_around_face(solid.halfedge(f), solid)) {
            const ExactPoint& p = solid.point(v);
            ring.push_back({CGAL::to_double(p.x()), CGAL::to_double(p.y()), CGAL::to_double(p.z())});
        }
        std::rotate(ring.begin(), std::min_element(ring.begin(), ring.end(), less), ring.end());
        rings->push_back(std::move(ring));
    }
    std::sort(rings->begin(), rings->end(), [&](const std::vector<ModelPoint>& a, const std::vector<ModelPoint>& b) {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), less);
    });
}

const VolumeBounds& EarthworkChain::BoundsAt(size_t k) {
    Chain& chain = *chain_;
    Chain::Measure& m = chain.volumes[k];
    if (!m.bounds) {
        VolumeBounds b = VolumeBoundsOf(chain.solids[k]);
        if (chain.partial) {
            b.low += chain.part.restVolume;
            b.high += chain.part.restVolume;
        }
        m.bounds = std::move(b);
    }
    return *m.bounds;
}

double EarthworkChain::VolumeAt(size_t k) {
    Chain& chain = *chain_;
    Chain::Measure& m = chain.volumes[k];
    if (!m.rounded) {
        BoundsAt(k);
        m.rounded = RoundedWithin(chain.solids[k], chain.partial ? chain.part.restVolume : ET(0), &*m.bounds);
    }
    return *m.rounded;
}

namespace {
// What a link takes or adds, as solids: each body added, or each body with all above or below it to `level`
// (the clips left out: they only take from what is added).
bool RegionsOf(const LinkStep& step, double below, double above, std::vector<ExactSolid>* out) {
    for (const ModelBody& b : step.bodies) {
        ExactSolid body;
        if (!SolidFromBody(b, &body)) return false;
        if (step.operation == APISolid_Add) {
            out->push_back(std::move(body));
            continue;
        }
        const bool upward = step.operation == APISolid_SubtractUpwards;
        ExactSolid swept;
        if (!Extruded(body, upward ? Extrusion::Upward : Extrusion::Downward, upward ? above : below, &swept))
            return false;
        out->push_back(std::move(swept));
    }
    return true;
}

// Whether every region of `a` meets every region of `b` in no volume (a shared face or edge at most).
bool RegionsApart(const std::vector<ExactSolid>& a, const std::vector<ExactSolid>& b) {
    for (const ExactSolid& x : a)
        for (const ExactSolid& y : b) {
            // The operation refines its operands.
            ExactSolid p = x, q = y, meet;
            if (!Combine(p, q, SolidOperation::Intersection, meet)) return false;
            if (meet.number_of_faces() != 0 && ExactVolume(meet) != 0) return false;
        }
    return true;
}
}  // namespace

bool EarthworkChain::VolumeWithoutKeptStep(const std::vector<LinkStep>& steps, size_t k, double* volume) {
    Chain& chain = *chain_;
    // The steps are the kept ones up to m but k.
    const size_t m = steps.size() + 1;
    if (k >= steps.size() || m > chain.steps.size()) return false;
    for (size_t i = k; i < steps.size(); ++i)
        if (!SameShape(chain.steps[i + 1], steps[i])) return false;
    // The sweeps reach past the base and every body of the links involved.
    double below = 0.0, above = 0.0;
    SolidZRange(chain.solids[0], &below, &above);
    for (size_t j = k; j < m; ++j)
        for (const ModelBody& b : chain.steps[j].bodies)
            for (const ModelPoint& p : b.vertices) {
                below = std::min(below, p.z);
                above = std::max(above, p.z);
            }
    if (!std::isfinite(below) || !std::isfinite(above)) return false;
    below -= 10.0;
    above += 10.0;
    std::vector<ExactSolid> taken;
    if (!RegionsOf(chain.steps[k], below, above, &taken)) return false;
    for (size_t j = k + 1; j < m; ++j) {
        std::vector<ExactSolid> later;
        if (!RegionsOf(chain.steps[j], below, above, &later) || !RegionsApart(taken, later)) return false;
    }
    // Links whose regions meet in no volume commute, and the link's share of the volume is the same wherever it
    // comes: the volume without it is the kept one's at m less its share where it was.
    const VolumeBounds &whole = BoundsAt(m), &before = BoundsAt(k), &after = BoundsAt(k + 1);
    const std::optional<double> v =
        SharedRounding(ET(whole.low + before.low - after.high), ET(whole.high + before.high - after.low));
    if (!v) return false;
    *volume = *v;
    return true;
}

bool EarthworkChain::VolumeFromKept(const std::shared_ptr<const ModelBody>& base, const std::vector<LinkStep>& steps,
                                    double* volume) {
    if (!chain_ || (chain_->base != base && !SameBody(*chain_->base, *base))) return false;
    Chain& chain = *chain_;
    size_t kept = 0;
    while (kept < steps.size() && kept < chain.steps.size() && SameShape(chain.steps[kept], steps[kept])) ++kept;
    if (kept == steps.size()) {
        *volume = VolumeAt(kept);
        return true;
    }
    // One kept link taken out (the calculation takes a feature's cut away before its fill).
    if (VolumeWithoutKeptStep(steps, kept, volume)) return true;
    // The part must hold every column near the bodies past the kept solids, as a run would ask.
    if (chain.partial) {
        const std::vector<PlanBox> boxes = BodyBoxes(steps, kept);
        if (!boxes.empty() && (chain.solids[0].number_of_faces() == 0 || !columns_->Holds(chain.part, boxes)))
            return false;
    }
    std::vector<double> key, shape;
    for (const LinkStep& step : steps) {
        if (!StepShape(step, &shape)) return false;
        key.push_back(double(shape.size()));
        key.insert(key.end(), shape.begin(), shape.end());
    }
    for (const auto& [k, v] : volumesAside_)
        if (k == key) {
            *volume = v;
            return true;
        }
    ExactSolid solid = chain.solids[kept];
    std::string why;
    for (size_t k = kept; k < steps.size(); ++k) {
        bool bodyFault = false;
        // What fails here is left to a run, which fails it as it always has.
        if (ApplyStep(steps[k], &solid, &why, &bodyFault) != NoError) return false;
    }
    *volume = RoundedVolumeOf(solid, chain.partial ? chain.part.restVolume : ET(0));
    constexpr size_t kAside = 16;
    if (volumesAside_.size() == kAside) volumesAside_.erase(volumesAside_.begin());
    volumesAside_.emplace_back(std::move(key), *volume);
    return true;
}

GSErrCode EarthworkChain::VolumeOf(const std::shared_ptr<const ModelBody>& base, int32_t surfaceVertices,
                                   std::vector<LinkStep> steps, double* volume, bool* partial, std::string* why) {
    bool served = false;
    // The polyhedron library refuses what it cannot take by throwing; a run then meets it as it always has.
    try {
        served = VolumeFromKept(base, steps, volume);
    } catch (const std::exception&) {
        served = false;
    }
    if (served) {
        *partial = chain_->partial;
        return NoError;
    }
    const GSErrCode err = Run(base, surfaceVertices, std::move(steps), false, why);
    if (err != NoError) return err;
    *volume = Volume();
    *partial = Partial();
    return NoError;
}

bool EarthworkChain::Body(ModelBody* out, int32_t* surfaceVertices, std::string* why) const {
    if (!chain_) {
        *why = "no solid has been computed";
        return false;
    }
    // The same solid asked again (a model rebuilt for a link that changed nothing) is read back once.
    if (!body_) {
        auto body = std::make_shared<ModelBody>();
        // The polyhedron library refuses a face it cannot take by throwing.
        try {
            if (!ReadBack(body.get(), &bodySurfaceVertices_, why)) return false;
        } catch (const std::exception& ex) {
            *why = std::string("the solid cannot be read back: ") + ex.what();
            return false;
        }
        body_ = std::move(body);
    }
    *out = *body_;
    *surfaceVertices = bodySurfaceVertices_;
    return true;
}

bool EarthworkChain::ReadBack(ModelBody* out, int32_t* surfaceVertices, std::string* why) const {
    const Chain& chain = *chain_;
    const ExactSolid& solid = chain.solids.back();
    // The columns left out, without walls where they meet the part.
    TerrainColumns::Part rest;
    if (chain.partial && !columns_->Boundary(chain.part.held, 0, false, TerrainColumns::Floor::Flat, &rest) &&
        !columns_->Boundary(chain.part.held, 0, false, TerrainColumns::Floor::Copies, &rest)) {
        *why = "the terrain's columns left out have no floor";
        return false;
    }
    const double floorZ = chain.floorZ;
    // Points the part shares with them: those round the part's border.
    std::map<PointKey, size_t> shared;
    std::set<std::pair<int32_t, int32_t>> innerSides;
    if (chain.partial) {
        for (const auto& side : columns_->InnerSides(chain.part.held)) innerSides.insert(side);
        const std::vector<char> corner = columns_->Corners(chain.part.held);
        for (size_t i = 0; i < rest.points.size(); ++i) {
            const int32_t from = rest.from[i];
            if (corner[size_t(from >= 0 ? from : -1 - from)] != 0)
                shared.emplace(PointKey{rest.points[i].x, rest.points[i].y, rest.points[i].z}, i);
        }
    }
    // The solid's points: shared, or its own, on the surface (above the floor or on a face that looks up).
    const size_t nV = solid.number_of_vertices() + solid.number_of_removed_vertices();
    std::vector<int64_t> restOf(nV, -1);
    std::vector<char> onSurface(nV, 0);
    std::vector<ModelPoint> at(nV);
    for (ExactSolid::Vertex_index v : solid.vertices()) {
        PointKey key;
        const bool exact = AsDoubles(solid.point(v), &key);
        at[size_t(v)] = {key[0], key[1], key[2]};
        if (exact) {
            const auto found = shared.find(key);
            if (found != shared.end()) restOf[size_t(v)] = int64_t(found->second);
        }
        onSurface[size_t(v)] = key[2] > floorZ ? 1 : 0;
    }
    std::vector<char> wall(solid.number_of_faces() + solid.number_of_removed_faces(), 0);
    for (ExactSolid::Face_index f : solid.faces()) {
        // A vertical face over a side between the part and the columns left out is a wall between them (the
        // part's skirt stays).
        std::set<int32_t> over;
        for (ExactSolid::Vertex_index v : CGAL::vertices_around_face(solid.halfedge(f), solid)) {
            const int64_t r = restOf[size_t(v)];
            over.insert(r < 0 ? -1 : rest.from[size_t(r)] >= 0 ? rest.from[size_t(r)] : -1 - rest.from[size_t(r)]);
        }
        const ExactKernel::FT nz = PMP::compute_face_normal(f, solid).z();
        if (nz == 0 && over.size() == 2 && *over.begin() >= 0 && innerSides.count({*over.begin(), *over.rbegin()}) != 0)
            wall[size_t(f)] = 1;
        if (nz > 0)
            for (ExactSolid::Vertex_index v : CGAL::vertices_around_face(solid.halfedge(f), solid))
                onSurface[size_t(v)] = 1;
    }
    // Numbers: the surface's points (the columns' then the part's), then the floor's.
    BodyBuilder b;
    std::vector<int32_t> restId(rest.points.size(), 0), ownId(nV, 0);
    for (int pass = 0; pass < 2; ++pass) {
        for (size_t i = 0; i < rest.points.size(); ++i)
            if ((rest.from[i] >= 0) == (pass == 0)) restId[i] = b.AddVertex(rest.points[i]);
        for (ExactSolid::Vertex_index v : solid.vertices())
            if (restOf[size_t(v)] < 0 && (onSurface[size_t(v)] != 0) == (pass == 0))
                ownId[size_t(v)] = b.AddVertex(at[size_t(v)]);
        if (pass == 0) *surfaceVertices = b.VertexCount();
    }
    for (const std::vector<size_t>& ring : rest.polygons) {
        std::vector<int32_t> ids;
        for (size_t i : ring) ids.push_back(restId[i]);
        b.AddPolygon(ids);
    }
    for (ExactSolid::Face_index f : solid.faces()) {
        if (wall[size_t(f)]) continue;
        std::vector<int32_t> ids;
        for (ExactSolid::Vertex_index v : CGAL::vertices_around_face(solid.halfedge(f), solid))
            ids.push_back(restOf[size_t(v)] >= 0 ? restId[size_t(restOf[size_t(v)])] : ownId[size_t(v)]);
        b.AddPolygon(ids);
    }
    *out = b.Finish();
    return true;
}
