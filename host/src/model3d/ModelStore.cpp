#include "model3d/ModelStore.hpp"

#include "APIInteraction.hpp"
#include "HostCalls.hpp"
#include "library/LibraryStore.hpp"
#include "model3d/Daylight.hpp"
#include "model3d/ObjectParams.hpp"
#include "model3d/SurfaceDifference.hpp"
#include "model3d/SurfaceHeight.hpp"
#include "model3d/GroundCut.hpp"
#include "model3d/LinkedSurfaceBox.hpp"
#include "model3d/ObjectBodies.hpp"
#include "model3d/StandingBodies.hpp"
#include "project/ElementTypes.hpp"
#include "project/ProjectDatabase.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <iterator>
#include <limits>
#include <set>

namespace {
uint64_t Bytes(const void* data, size_t size) {
    uint64_t h = 1469598103934665603ull;  // FNV-1a
    const unsigned char* p = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < size; ++i) h = (h ^ p[i]) * 1099511628211ull;
    return h;
}

uint64_t Word(double d) {
    uint64_t w;
    std::memcpy(&w, &d, sizeof w);
    return w;
}

double StoryLevel(const ProjectDatabase& db, int16_t index) {
    for (const API_StoryType& s : db.Model().stories)
        if (s.index == index) return s.level;
    return 0.0;
}

template <typename T>
bool SamePart(const MemoPart<std::vector<T>>& a, const MemoPart<std::vector<T>>& b) {
    if (a.has_value() != b.has_value()) return false;
    return !a ||
        (a->size() == b->size() && (a->empty() || std::memcmp(a->data(), b->data(), a->size() * sizeof(T)) == 0));
}

// Whether two meshes build the same surface: the same mesh record after its head, outline, heights and level
// lines, on stories of the same level.
bool SameSurfaceInputs(const ProjectDatabase& db, const StoredElement& a, const StoredElement& b) {
    if (StoryLevel(db, a.record.header.floorInd) != StoryLevel(db, b.record.header.floorInd)) return false;
    const API_MeshType ma = a.record.Get().mesh, mb = b.record.Get().mesh;
    const size_t from = offsetof(API_MeshType, pen);
    if (std::memcmp(reinterpret_cast<const char*>(&ma) + from, reinterpret_cast<const char*>(&mb) + from,
                    sizeof(API_MeshType) - from) != 0)
        return false;
    return SamePart(a.memo->coords, b.memo->coords) && SamePart(a.memo->pends, b.memo->pends) &&
        SamePart(a.memo->parcs, b.memo->parcs) && SamePart(a.memo->meshPolyZ, b.memo->meshPolyZ) &&
        SamePart(a.memo->meshLevelCoords, b.memo->meshLevelCoords) &&
        SamePart(a.memo->meshLevelEnds, b.memo->meshLevelEnds);
}
// Whether a body lies wholly outside the region of `footprint` in plan: its plan box's corners are outside and
// no side of the region comes near the box.
bool ClearOf(const ModelBody& body, const std::vector<PlanRing>& footprint) {
    if (body.vertices.empty()) return true;
    const PlanBox box = BoxOf(body.vertices);
    for (double x : {box.xMin, box.xMax})
        for (double y : {box.yMin, box.yMax})
            if (InsideRings(footprint, x, y)) return false;
    for (const PlanRing& ring : footprint)
        for (size_t k = 0; k < ring.points.size(); ++k) {
            const ModelPoint& a = ring.points[k];
            const ModelPoint& c = ring.points[(k + 1) % ring.points.size()];
            const PlanBox side = {std::min(a.x, c.x), std::min(a.y, c.y), std::max(a.x, c.x), std::max(a.y, c.y)};
            if (side.Meets(box)) return false;
        }
    return true;
}
}  // namespace

void ModelStore::ForgetOtherProjects() {
    if (db_.Epoch() == epoch_) return;
    epoch_ = db_.Epoch();
    surfaces_.clear();
    models_.clear();
    previous_.clear();
    chains_.clear();
    linkedBoxes_.Clear();
    bodies_.clear();
    currentModel_.reset();
    currentBody_ = nullptr;
}

std::vector<uint64_t> ModelStore::StateOf(const API_Guid& guid) const {
    const StoredElement* e = db_.Find(guid);
    if (e == nullptr) return {};
    // The stamp changes with every change of the element; the record's bytes and the story's level cover what a
    // host-side edit writes directly.
    return {db_.Epoch(), uint64_t(e->record.header.modiStamp), e->record.Hash(),
            Word(StoryLevel(db_, e->record.header.floorInd)), uint64_t(e->bodies.size())};
}

std::shared_ptr<const MeshSurfaceModel> ModelStore::MeshSurfaceOf(const API_Guid& guid, std::string* why) {
    const std::vector<uint64_t> state = StateOf(guid);
    SurfaceEntry& entry = surfaces_[guid];
    if (entry.surface && entry.state == state) return entry.surface;
    entry = SurfaceEntry();
    const StoredElement* e = db_.Find(guid);
    // A copy of a mesh whose surface is built shares it (and its solid): the surface is a function of these inputs.
    for (const auto& [g, other] : surfaces_) {
        if (!other.surface || std::memcmp(&g, &guid, sizeof g) == 0) continue;
        const StoredElement* o = db_.Find(g);
        if (o == nullptr || other.state != StateOf(g) || !SameSurfaceInputs(db_, *e, *o)) continue;
        entry.state = state;
        entry.surface = other.surface;
        entry.solid = other.solid;
        entry.solidFloor = other.solidFloor;
        return entry.surface;
    }
    auto surface = std::make_shared<MeshSurfaceModel>();
    if (!BuildMeshSurface(*e, StoryLevel(db_, e->record.header.floorInd), surface.get(), why)) return nullptr;
    ++surfaceBuilds_;
    entry.state = state;
    entry.surface = surface;
    return surface;
}

std::shared_ptr<const Model3D> ModelStore::ModelOf(const API_Guid& guid, std::string* why) {
    return Current(guid, true, why);
}

double ModelStore::OperatorsBottom() {
    double bottom = std::numeric_limits<double>::infinity();
    for (const StoredSolidLink& l : db_.SolidLinks()) {
        if (l.operation == APISolid_SubtractDownwards) continue;
        const StoredElement* target = db_.Find(l.target);
        const StoredElement* op = db_.Find(l.operatorGuid);
        if (target == nullptr || op == nullptr || target->record.header.typeID != API_MeshID ||
            op->record.header.typeID == API_MeshID)
            continue;
        std::string ignored;
        const std::shared_ptr<const Model3D> model = ModelOf(l.operatorGuid, &ignored);
        if (!model) continue;
        for (const ModelBody& b : model->bodies)
            for (const ModelPoint& p : b.vertices)
                if (std::isfinite(p.z)) bottom = std::min(bottom, p.z);
    }
    return bottom;
}

EarthworkChain& ModelStore::ChainFor(const ModelBody* base) {
    constexpr size_t kChains = 3;
    ChainSlot* slot = nullptr;
    for (ChainSlot& c : chains_)
        if (c.chain->Base() == base) slot = &c;
    if (slot == nullptr && chains_.size() < kChains) {
        chains_.push_back({std::make_unique<EarthworkChain>(), 0});
        slot = &chains_.back();
    }
    if (slot == nullptr) {
        slot = &chains_[0];
        for (ChainSlot& c : chains_)
            if (c.used < slot->used) slot = &c;
    }
    slot->used = ++chainUses_;
    return *slot->chain;
}

std::shared_ptr<const Model3D> ModelStore::Current(const API_Guid& guid, bool body, std::string* why) {
    ForgetOtherProjects();
    const StoredElement* e = db_.Find(guid);
    if (e == nullptr) {
        *why = "no element " + GuidText(guid);
        return nullptr;
    }
    // The element's state and that of every operator linked to it; a mesh's floor follows the operators' bottom.
    std::vector<uint64_t> state = StateOf(guid);
    for (const StoredSolidLink& l : db_.SolidLinks())
        if (l.target == guid) {
            const std::vector<uint64_t> op = StateOf(l.operatorGuid);
            state.push_back(Bytes(&l, sizeof l));
            state.insert(state.end(), op.begin(), op.end());
        }
    // An object's own bodies follow the terrain they are built on (see GroundOf), not the other meshes it operates
    // on: a copy of the terrain linked to it leaves them as they are.
    if (e->record.header.typeID == API_ObjectID && e->bodies.empty()) {
        const API_Guid ground = GroundGuid(guid);
        const std::vector<uint64_t> target = StateOf(ground);
        state.push_back(Bytes(&ground, sizeof ground));
        state.insert(state.end(), target.begin(), target.end());
        // Its slopes reach past the ground the other earthworks on that terrain may leave.
        for (const StoredSolidLink& l : db_.SolidLinks())
            if (l.target == ground && l.operatorGuid != guid) {
                const std::vector<uint64_t> other = StateOf(l.operatorGuid);
                state.push_back(Bytes(&l, sizeof l));
                state.insert(state.end(), other.begin(), other.end());
            }
    }
    if (e->record.header.typeID == API_MeshID) state.push_back(Word(OperatorsBottom()));
    if (models_[guid].state != state) {
        auto before = previous_.find(guid);
        if (before != previous_.end() && before->second.model && before->second.state == state) {
            std::swap(models_[guid], before->second);
        } else {
            // Models kept for elements that are gone free their memory.
            for (auto it = previous_.begin(); it != previous_.end();)
                it = db_.Find(it->first) == nullptr ? previous_.erase(it) : std::next(it);
            auto model = std::make_shared<Model3D>();
            std::shared_ptr<const ModelBody> meshSolid;
            building_ = MeshWork();
            if (!Build(guid, model.get(), &meshSolid, why)) {
                models_.erase(guid);
                return nullptr;
            }
            ++modelBuilds_;
            ModelEntry& fresh = models_[guid];
            if (fresh.model) previous_[guid] = std::move(fresh);
            fresh = ModelEntry();
            fresh.state = std::move(state);
            fresh.model = model;
            fresh.meshSolid = std::move(meshSolid);
            fresh.work = std::move(building_);
        }
    }
    ModelEntry& entry = models_[guid];
    if (body && entry.work.bodyPending) {
        // The mesh's body: its solid as it is, or as the solid operations leave it.
        MeshWork& w = entry.work;
        ModelBody solid;
        int32_t surfaceVertices = w.surfaceVertices;
        if (w.steps.empty()) {
            solid = *w.solid;
        } else {
            EarthworkChain& chain = ChainFor(w.solid.get());
            const GSErrCode err = chain.Run(w.solid, w.surfaceVertices, w.steps, false, why);
            if (err != NoError || !chain.Body(&solid, &surfaceVertices, why)) return nullptr;
        }
        entry.model->bodies.insert(entry.model->bodies.begin(), std::move(solid));
        entry.model->surfaceVertices = surfaceVertices;
        w.bodyPending = false;
    }
    return entry.model;
}

std::shared_ptr<const ModelBody> ModelStore::MeshSolidOf(const API_Guid& mesh, std::string* why) {
    if (!Current(mesh, false, why)) return nullptr;
    return models_[mesh].meshSolid;
}

bool ModelStore::MeshStepsOf(const API_Guid& mesh, std::vector<LinkStep>* steps, int32_t* surfaceVertices,
                             std::string* why) {
    if (!Current(mesh, false, why)) return false;
    *steps = models_[mesh].work.steps;
    *surfaceVertices = models_[mesh].work.surfaceVertices;
    return true;
}

bool ModelStore::SurfaceCountsOf(const API_Guid& mesh, int64_t* points, int64_t* triangles, std::string* why) {
    *points = *triangles = 0;
    if (!Current(mesh, false, why)) return false;
    MeshWork& w = models_[mesh].work;
    if (!w.solid) {
        *why = "the mesh has no solid";
        return false;
    }
    if (w.steps.empty()) {
        *points = w.surfaceVertices;
        for (int32_t p = 1; p <= int32_t(w.solid->pgons.size()); ++p) {
            const std::vector<int32_t> v = w.solid->PolygonVertices(p);
            if (v.size() == 3 && *std::max_element(v.begin(), v.end()) <= w.surfaceVertices) ++*triangles;
        }
        return true;
    }
    EarthworkChain& chain = ChainFor(w.solid.get());
    if (chain.Run(w.solid, w.surfaceVertices, w.steps, false, why) != NoError) return false;
    return chain.SurfaceCounts(points, triangles);
}

bool ModelStore::ChangesOf(const API_Guid& mesh, double* removed, double* added, std::string* why) {
    return ChangedFacesOf(mesh, nullptr, nullptr, removed, added, why);
}

bool ModelStore::ChangedFacesOf(const API_Guid& mesh, std::vector<std::array<ModelPoint, 3>>* cut,
                                std::vector<std::array<ModelPoint, 3>>* fill, double* removed, double* added,
                                std::string* why) {
    *removed = *added = 0.0;
    if (cut != nullptr) cut->clear();
    if (fill != nullptr) fill->clear();
    if (!Current(mesh, false, why)) return false;
    MeshWork& w = models_[mesh].work;
    if (!w.solid || w.steps.empty()) return true;
    const std::shared_ptr<const MeshSurfaceModel> surface = MeshSurfaceOf(mesh, why);
    if (!surface) return false;
    EarthworkChain& chain = ChainFor(w.solid.get());
    if (chain.Run(w.solid, w.surfaceVertices, w.steps, false, why) != NoError) return false;
    // Where the links left the surface as it was, the new top is the old one: only the part they took changes.
    std::vector<std::array<ModelPoint, 3>> top;
    chain.TopFaces(&top);
    const SurfaceChange change = SurfaceDifference(top, surface->surface, *surface->index);
    *removed = change.removed;
    *added = change.added;
    if (cut == nullptr && fill == nullptr) return true;
    // From the faces in an order of their own, so that the same solid gives the same triangles whichever run made it.
    constexpr double kSame = 1e-3;
    std::vector<std::vector<ModelPoint>> rings;
    chain.TopRings(&rings);
    for (const std::vector<ModelPoint>& ring : rings)
        for (size_t k = 1; k + 1 < ring.size(); ++k) {
            const std::array<ModelPoint, 3> f = {ring[0], ring[k], ring[k + 1]};
            const double x = (f[0].x + f[1].x + f[2].x) / 3.0, y = (f[0].y + f[1].y + f[2].y) / 3.0;
            const double z = (f[0].z + f[1].z + f[2].z) / 3.0;
            double ground;
            if (!SurfaceHeightAt(surface->surface, *surface->index, x, y, &ground)) continue;
            if (z < ground - kSame && cut != nullptr) cut->push_back(f);
            if (z > ground + kSame && fill != nullptr) fill->push_back(f);
        }
    return true;
}

bool ModelStore::VolumeOf(const API_Guid& mesh, double* volume, bool* partial, std::string* why) {
    if (!Current(mesh, false, why)) return false;
    MeshWork& w = models_[mesh].work;
    if (!w.hasVolume) {
        w.volume = 0.0;
        w.partial = false;
        if (w.solid) {
            // The volume runs every link: the solids it keeps take the room the box's raster held.
            linkedBoxes_.Clear();
            EarthworkChain& chain = ChainFor(w.solid.get());
            if (chain.VolumeOf(w.solid, w.surfaceVertices, w.steps, &w.volume, &w.partial, why) != NoError)
                return false;
        }
        w.hasVolume = true;
    }
    *volume = w.volume;
    *partial = w.partial;
    return true;
}

bool ModelStore::Build(const API_Guid& guid, Model3D* model, std::shared_ptr<const ModelBody>* meshSolid,
                       std::string* why) {
    const StoredElement* e = db_.Find(guid);
    const API_ElemTypeID type = e->record.header.typeID;
    const double storyLevel = StoryLevel(db_, e->record.header.floorInd);
    if (type == API_MeshID) {
        if (!MeshSurfaceOf(guid, why)) return false;
    } else if (type == API_SlabID) {
        ModelBody body;
        std::vector<PlanRing> footprint;
        if (!BuildSlabBody(*e, storyLevel, &body, &footprint, why)) return false;
        model->bodies.push_back(std::move(body));
    } else if (type == API_ObjectID || type == API_LampID) {
        // A body a script gives replaces the object's own.
        if (!e->bodies.empty() || type != API_ObjectID)
            PlaceGivenBodies(*e, storyLevel, model);
        else
            BuildOwnBodies(guid, *e, storyLevel, model);
    } else {
        *why = "a " + ElementTypeName(type) + " has no 3D model here";
        return false;
    }
    return ApplyLinks(guid, model, meshSolid, why);
}

API_Guid ModelStore::GroundGuid(const API_Guid& guid) const {
    for (const StoredSolidLink& l : db_.SolidLinks()) {
        const StoredElement* target = l.operatorGuid == guid ? db_.Find(l.target) : nullptr;
        if (target != nullptr && target->record.header.typeID == API_MeshID) return l.target;
        // An object that stands on a terrain is the target of the terrain's downward subtraction.
        const StoredElement* op = l.target == guid ? db_.Find(l.operatorGuid) : nullptr;
        if (op != nullptr && op->record.header.typeID == API_MeshID && l.operation == APISolid_SubtractDownwards)
            return l.operatorGuid;
    }
    return API_Guid{};
}

std::shared_ptr<const MeshSurfaceModel> ModelStore::GroundOf(const API_Guid& guid, bool under,
                                                             std::vector<PlanRing>* outline, std::string* why,
                                                             API_Guid* found) {
    std::vector<API_Guid> meshes;
    const API_Guid linked = GroundGuid(guid);
    if (db_.Find(linked) != nullptr) meshes.push_back(linked);
    const StoredElement* object = db_.Find(guid);
    if (meshes.empty() && under && object != nullptr)
        for (const API_Guid& g : db_.AllElements()) {
            const StoredElement* mesh = db_.Find(g);
            std::string ignored;
            if (mesh->record.header.typeID == API_MeshID && ElementRings(*mesh, 0.0, outline, &ignored) &&
                InsideRings(*outline, object->record.Get().object.pos.x, object->record.Get().object.pos.y)) {
                meshes.push_back(g);
                break;
            }
        }
    if (meshes.empty()) return nullptr;
    if (found != nullptr) *found = meshes[0];
    std::shared_ptr<const MeshSurfaceModel> mesh = MeshSurfaceOf(meshes[0], why);
    if (mesh && !ElementRings(*db_.Find(meshes[0]), 0.0, outline, why)) mesh.reset();
    if (!mesh && why->empty()) *why = "the terrain has no outline";
    return mesh;
}

namespace {
// Whether two objects build their bodies from the same parameters, their role aside: the cut, fill and result objects
// of one earthwork.
bool SameBodyParameters(const StoredElement& a, const StoredElement& b, const std::vector<LibBodyItem>& items) {
    const API_ObjectType &oa = a.record.Get().object, &ob = b.record.Get().object;
    if (oa.libInd != ob.libInd || oa.pos.x != ob.pos.x || oa.pos.y != ob.pos.y || oa.angle != ob.angle ||
        oa.level != ob.level || oa.reflected != ob.reflected || a.record.header.floorInd != b.record.header.floorInd)
        return false;
    for (const LibBodyItem& item : items) {
        if (item.kind == LibBodyItem::Kind::Role) continue;
        for (const std::string& name : item.params) {
            std::string ignored;
            std::vector<std::vector<double>> ra, rb;
            double na = 0.0, nb = 0.0;
            if (ObjectNumber(a, name, &na, &ignored) != ObjectNumber(b, name, &nb, &ignored) || na != nb) return false;
            if (ObjectRows(a, name, 1, &ra, &ignored) != ObjectRows(b, name, 1, &rb, &ignored) || ra != rb)
                return false;
        }
    }
    return true;
}
}  // namespace

void ModelStore::AddOtherEarthworks(const API_Guid& mesh, const StoredElement& object, const LibPartDef& part,
                                    EarthworkGround* ground) {
    for (const StoredSolidLink& l : db_.SolidLinks()) {
        if (l.target != mesh || l.operatorGuid == object.record.header.guid) continue;
        if (l.operation != APISolid_Add && l.operation != APISolid_SubtractUpwards) continue;
        const StoredElement* op = db_.Find(l.operatorGuid);
        if (op == nullptr || op->record.header.typeID != API_ObjectID || !op->bodies.empty()) continue;
        const LibPartDef* opPart = libraries_->Part(op->record.Get().object.libInd);
        // Its own cut or fill meets ground its partner leaves as it was.
        if (opPart == nullptr || opPart->body.empty() || SameBodyParameters(object, *op, part.body)) continue;
        EarthworkReach reach;
        if (EarthworkReachOf(*op, StoryLevel(db_, op->record.header.floorInd), opPart->body, *ground,
                             l.operation == APISolid_Add, &reach))
            ground->others.push_back(reach);
    }
}

void ModelStore::BuildOwnBodies(const API_Guid& guid, const StoredElement& object, double storyLevel, Model3D* model) {
    const LibPartDef* part = libraries_ != nullptr ? libraries_->Part(object.record.Get().object.libInd) : nullptr;
    if (part == nullptr || part->body.empty()) return;
    // The ground: the unmodified surface of the mesh the object operates on.
    EarthworkGround ground;
    std::string why;
    const std::shared_ptr<const MeshSurfaceModel> mesh = GroundOf(guid, false, &ground.outline, &why);
    ground.mesh = mesh.get();
    if (mesh) AddOtherEarthworks(GroundGuid(guid), object, *part, &ground);
    if (!mesh && !why.empty()) {
        model->noBody = "its terrain has no surface (" + why + ")";
        notes_.push_back("the 3D model of " + GuidText(guid) + " has no body: " + model->noBody);
        return;
    }
    std::vector<ModelBody> bodies;
    if (!(DescribesStandingBody(part->body)
              ? BuildStandingBodies(object, storyLevel, part->body, ground, &bodies, &why)
              : BuildObjectBodies(object, storyLevel, part->body, ground, &bodies, &why))) {
        model->noBody = why;
        notes_.push_back("the 3D model of " + GuidText(guid) + " has no body from its parameters: " + why);
        return;
    }
    for (ModelBody& b : bodies) model->bodies.push_back(std::move(b));
}

std::shared_ptr<const MeshSurfaceModel> ModelStore::GroundBefore(const API_Guid& mesh, const API_Guid& object,
                                                                 const std::vector<LibBodyItem>& items,
                                                                 std::string* why) {
    std::vector<LinkStep> steps;
    int32_t surfaceVertices = 0;
    if (!MeshStepsOf(mesh, &steps, &surfaceVertices, why)) return nullptr;
    const StoredElement* e = db_.Find(object);
    size_t before = steps.size();
    for (size_t k = 0; k < steps.size() && before == steps.size(); ++k) {
        const StoredElement* op = db_.Find(steps[k].operatorGuid);
        if (op != nullptr &&
            (GuidText(steps[k].operatorGuid) == GuidText(object) ||
             (op->record.header.typeID == API_ObjectID && SameBodyParameters(*e, *op, items))))
            before = k;
    }
    if (before == 0) return MeshSurfaceOf(mesh, why);
    // The solid after the earlier links, its top as the ground.
    const std::shared_ptr<const ModelBody> solid = MeshSolidOf(mesh, why);
    if (!solid) return nullptr;
    steps.resize(before);
    EarthworkChain& chain = ChainFor(solid.get());
    ModelBody body;
    int32_t top = surfaceVertices;
    if (chain.Run(solid, surfaceVertices, steps, false, why) != NoError || !chain.Body(&body, &top, why))
        return nullptr;
    auto ground = std::make_shared<MeshSurfaceModel>();
    ground->surface.points.assign(body.vertices.begin(), body.vertices.begin() + top);
    for (int32_t p = 1; p <= int32_t(body.pgons.size()); ++p) {
        const std::vector<int32_t> v = body.PolygonVertices(p);
        if (v.size() != 3 || *std::max_element(v.begin(), v.end()) > top) continue;
        const ModelPoint &a = body.vertices[size_t(v[0] - 1)], &b = body.vertices[size_t(v[1] - 1)],
                         &c = body.vertices[size_t(v[2] - 1)];
        // The top's triangles face up; the floor's and the skirt's do not.
        if ((b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x) <= 0.0) continue;
        ground->surface.triangles.push_back({v[0] - 1, v[1] - 1, v[2] - 1});
    }
    ground->surface.ZRange(&ground->floorZ, &ground->zMax);
    ground->index = std::make_unique<SurfaceIndex>(ground->surface);
    return ground;
}

bool ModelStore::DaylightOf(const API_Guid& guid, std::vector<std::vector<ModelPoint>>* lines, std::string* why) {
    ForgetOtherProjects();
    lines->clear();
    const StoredElement* e = db_.Find(guid);
    const LibPartDef* part = e != nullptr && e->record.header.typeID == API_ObjectID && libraries_ != nullptr
        ? libraries_->Part(e->record.Get().object.libInd)
        : nullptr;
    if (part == nullptr || part->body.empty()) {
        *why = "its library part builds no body";
        return false;
    }
    EarthworkGround ground;
    API_Guid meshGuid = {};
    const std::shared_ptr<const MeshSurfaceModel> mesh = GroundOf(guid, true, &ground.outline, why, &meshGuid);
    ground.mesh = mesh.get();
    if (!mesh) {
        if (why->empty()) *why = "no terrain lies under it";
        return false;
    }
    AddOtherEarthworks(meshGuid, *e, *part, &ground);
    // The slopes meet the ground as the earthworks linked before this one (or before its cut and fill) leave it.
    const std::shared_ptr<const MeshSurfaceModel> met = GroundBefore(meshGuid, guid, part->body, why);
    if (!met) return false;
    // The result object carries no body: its slopes are those its cut and fill would build.
    for (const std::u16string role : {u"cut", u"fill"}) {
        std::vector<ModelBody> bodies;
        if (!BuildObjectBodies(*e, StoryLevel(db_, e->record.header.floorInd), part->body, ground, &bodies, why, &role))
            return false;
        for (const ModelBody& b : bodies)
            for (std::vector<ModelPoint>& line : DaylightLines(b, role == u"cut", met->surface, *met->index))
                lines->push_back(std::move(line));
    }
    return true;
}

bool ModelStore::ApplyLinks(const API_Guid& guid, Model3D* model, std::shared_ptr<const ModelBody>* meshSolid,
                            std::string* why) {
    const StoredElement* e = db_.Find(guid);
    std::shared_ptr<const MeshSurfaceModel> mesh;
    if (e->record.header.typeID == API_MeshID) mesh = MeshSurfaceOf(guid, why);
    // A slab above a mesh's top that subtracts downwards takes whole columns: it cuts the surface itself, before
    // the other links, and takes its part of what was joined before it from those bodies.
    const Surface* surface = mesh ? &mesh->surface : nullptr;
    Surface clipped;
    double surfaceTop = mesh ? mesh->zMax : 0.0;
    std::vector<LinkStep> steps;
    std::vector<Model3D> added;
    std::vector<API_Guid> grounds;  // terrains that subtract downwards from an object
    for (const StoredSolidLink& l : db_.SolidLinks()) {
        if (l.target != guid) continue;
        const StoredElement* op = db_.Find(l.operatorGuid);
        if (op == nullptr) continue;
        std::string opWhy;
        if (l.operation == APISolid_Add) {
            if (adding_.count(l.operatorGuid) != 0) {
                *why = "solid links that add run in a circle";
                return false;
            }
            adding_.insert(guid);
            std::shared_ptr<const Model3D> opModel = ModelOf(l.operatorGuid, &opWhy);
            adding_.erase(guid);
            if (opModel && mesh) steps.push_back({l.operation, opModel->bodies, {}, l.operatorGuid});
            if (opModel && !mesh) added.push_back(*opModel);
            continue;
        }
        const bool slab = op->record.header.typeID == API_SlabID;
        const double slabTop = StoryLevel(db_, op->record.header.floorInd) + op->record.Get().slab.level;
        if (mesh && l.operation == APISolid_SubtractDownwards && slab && slabTop >= surfaceTop) {
            ModelBody slabBody;
            std::vector<PlanRing> footprint;
            if (!BuildSlabBody(*op, StoryLevel(db_, op->record.header.floorInd), &slabBody, &footprint, why))
                return false;
            for (LinkStep& s : steps) {
                bool clear = true;
                for (const ModelBody& b : s.bodies) clear = clear && ClearOf(b, footprint);
                if (s.operation == APISolid_Add && !clear) s.clips.push_back(slabBody);
            }
            // Later subtractions cut what earlier ones left, through an index of their own.
            std::unique_ptr<SurfaceIndex> own;
            const SurfaceIndex* index = mesh->index.get();
            if (surface != &mesh->surface) {
                own.reset(new SurfaceIndex(*surface));
                index = own.get();
            }
            bool untouched = false;
            Surface next = SurfaceOutside(*surface, *index, footprint, &untouched);
            // A slab that takes nothing (the terrain inside its hole) leaves the surface, and its solid, as they are.
            if (untouched) continue;
            clipped = std::move(next);
            surface = &clipped;
            double zMin;
            clipped.ZRange(&zMin, &surfaceTop);
            continue;
        }
        if (!mesh && l.operation == APISolid_SubtractDownwards && op->record.header.typeID == API_MeshID) {
            grounds.push_back(l.operatorGuid);
            continue;
        }
        if (mesh) {
            std::shared_ptr<const Model3D> opModel = ModelOf(l.operatorGuid, &opWhy);
            if (opModel) {
                steps.push_back({l.operation, opModel->bodies, {}, l.operatorGuid});
                continue;
            }
        }
        notes_.push_back("the 3D model of " + GuidText(guid) + " leaves out the " + SelectorText(l.operation) + " of " +
                         GuidText(l.operatorGuid) + " (" +
                         (mesh ? opWhy : std::string("the stand-in host computes solid operations on meshes")) + ")");
    }
    for (Model3D& m : added)
        for (ModelBody& b : m.bodies) model->bodies.push_back(std::move(b));
    for (const API_Guid& g : grounds) CutByGround(guid, g, model);
    if (!mesh || surface->Empty()) return true;
    // The floor lies below every body that subtracts upwards or joins, so that none reaches through it.
    const double bottom = OperatorsBottom();
    const double floorZ = bottom <= mesh->floorZ ? bottom - 1.0 : mesh->floorZ;
    // The uncut surface's solid does not change with the links: built once per surface and floor.
    SurfaceEntry& entry = surfaces_[guid];
    const bool whole = surface == &mesh->surface;
    std::shared_ptr<const ModelBody> solid = whole && entry.solidFloor == floorZ ? entry.solid : nullptr;
    if (!solid) {
        auto body = std::make_shared<ModelBody>();
        if (!BuildSolidBody(*surface, floorZ, body.get(), why)) return false;
        solid = body;
        if (whole) {
            entry.solid = solid;
            entry.solidFloor = floorZ;
        }
    }
    // Steps without bodies change nothing.
    steps.erase(std::remove_if(steps.begin(), steps.end(), [](const LinkStep& s) { return s.bodies.empty(); }),
                steps.end());
    building_.solid = solid;
    building_.surfaceVertices = int32_t(surface->points.size());
    building_.steps = std::move(steps);
    building_.bodyPending = true;
    model->surfaceVertices = building_.surfaceVertices;
    *meshSolid = std::move(solid);
    return true;
}

GSErrCode ModelStore::Get3DInfo(const API_Guid& guid, API_ElemInfo3D* info, std::string* why) {
    std::shared_ptr<const Model3D> model = ModelOf(guid, why);
    if (!model) return db_.Find(guid) == nullptr ? APIERR_BADID : APIERR_GENERAL;
    // An object whose parameters build no body has no 3D model to read, which is not an empty one.
    if (!model->noBody.empty()) {
        *why = "it has no body: " + model->noBody;
        return APIERR_GENERAL;
    }
    ModelEntry& entry = models_[guid];
    const int32_t count = int32_t(model->bodies.size());
    if (entry.firstBody == 0 && count > 0) {
        entry.firstBody = int32_t(bodies_.size()) + 1;
        for (int32_t b = 0; b < count; ++b) bodies_.push_back({guid, model, size_t(b)});
    }
    std::memset(info, 0, sizeof *info);
    info->firstBody = count > 0 ? entry.firstBody : 1;
    info->lastBody = count > 0 ? entry.firstBody + count - 1 : 0;
    return NoError;
}

GSErrCode ModelStore::GetComponent(API_Component3D* c, std::string* why) {
    ForgetOtherProjects();
    const int32_t i = c->header.index;
    if (c->header.typeID == API_BodyID) {
        if (i < 1 || size_t(i) > bodies_.size()) {
            *why = "no body " + std::to_string(i) + " in the 3D model";
            return APIERR_BADINDEX;
        }
        // A body of a model that the element's changes have replaced is gone.
        const BodySlot& slot = bodies_[size_t(i - 1)];
        std::shared_ptr<const Model3D> model = slot.model.lock();
        std::string ignored;
        if (!model || ModelOf(slot.element, &ignored) != model) {
            *why = "body " + std::to_string(i) + " belongs to a 3D model that has been rebuilt since";
            return APIERR_BADINDEX;
        }
        currentModel_ = model;
        currentBody_ = &model->bodies[bodies_[size_t(i - 1)].body];
        std::memset(&c->body, 0, sizeof c->body);
        c->body.polygonCount = int32_t(currentBody_->pgons.size());
        c->body.edgeCount = int32_t(currentBody_->edges.size());
        c->body.vertexCount = int32_t(currentBody_->vertices.size());
        return NoError;
    }
    if (currentBody_ == nullptr) {
        *why = "no body has been read";
        return APIERR_BADPARS;
    }
    const ModelBody& b = *currentBody_;
    const auto inRange = [&](size_t n) {
        if (i >= 1 && size_t(i) <= n) return true;
        *why = "no component " + std::to_string(i) + " of type " + std::to_string(c->header.typeID) + " in the body";
        return false;
    };
    switch (c->header.typeID) {
        case API_PgonID:
            if (!inRange(b.pgons.size())) return APIERR_BADINDEX;
            std::memset(&c->pgon, 0, sizeof c->pgon);
            c->pgon.firstPedg = b.pgons[size_t(i - 1)].first;
            c->pgon.lastPedg = b.pgons[size_t(i - 1)].second;
            return NoError;
        case API_PedgID:
            if (!inRange(b.pedges.size())) return APIERR_BADINDEX;
            std::memset(&c->pedg, 0, sizeof c->pedg);
            c->pedg.edgeIndex = b.pedges[size_t(i - 1)];
            return NoError;
        case API_EdgeID:
            if (!inRange(b.edges.size())) return APIERR_BADINDEX;
            std::memset(&c->edge, 0, sizeof c->edge);
            c->edge.firstVertex = b.edges[size_t(i - 1)].first;
            c->edge.secondVertex = b.edges[size_t(i - 1)].second;
            return NoError;
        case API_VertID:
            if (!inRange(b.vertices.size())) return APIERR_BADINDEX;
            c->vert.x = b.vertices[size_t(i - 1)].x;
            c->vert.y = b.vertices[size_t(i - 1)].y;
            c->vert.z = b.vertices[size_t(i - 1)].z;
            return NoError;
        default: *why = "no component type " + std::to_string(c->header.typeID); return APIERR_BADPARS;
    }
}

namespace {
void ExtendBox(const ModelPoint* points, size_t n, bool* any, API_Box3D* box) {
    for (size_t i = 0; i < n; ++i) {
        const ModelPoint& p = points[i];
        if (!*any) *box = {p.x, p.y, p.z, p.x, p.y, p.z};
        *any = true;
        box->xMin = std::min(box->xMin, p.x);
        box->yMin = std::min(box->yMin, p.y);
        box->zMin = std::min(box->zMin, p.z);
        box->xMax = std::max(box->xMax, p.x);
        box->yMax = std::max(box->yMax, p.y);
        box->zMax = std::max(box->zMax, p.z);
    }
}
}  // namespace

bool ModelStore::Bounds(const API_Guid& guid, API_Box3D* box) {
    // What is kept belongs to this project from here on: a surface built for the box is the one a later model
    // reuses, not one dropped as another project's.
    ForgetOtherProjects();
    std::string why;
    bool any = false;
    // A mesh is bounded by its surface: its skirt and floor are left out, as the box is the terrain's extent. An
    // uncut mesh's surface is kept as long as the mesh does not change, while its solid is built again whenever
    // links come and go: its box comes from the surface alone.
    const StoredElement* e = db_.Find(guid);
    bool cut = false;
    for (const StoredSolidLink& l : db_.SolidLinks()) cut = cut || l.target == guid;
    if (e != nullptr && e->record.header.typeID == API_MeshID && !cut) {
        std::shared_ptr<const MeshSurfaceModel> mesh = MeshSurfaceOf(guid, &why);
        if (!mesh) return false;
        ExtendBox(mesh->surface.points.data(), mesh->surface.points.size(), &any, box);
        return any;
    }
    std::shared_ptr<const Model3D> model = Current(guid, false, &why);
    if (!model) return false;
    // A mesh whose links are not computed yet: its box from its solid and the links' bodies, where that is exact.
    MeshWork& w = models_[guid].work;
    if (w.bodyPending && w.solid && model->bodies.empty()) {
        if (w.boxKnown < 0)
            w.boxKnown = LinkedSurfaceBox(w.solid, w.surfaceVertices, w.steps, &w.box, &linkedBoxes_) ? 1 : 0;
        if (w.boxKnown == 1) {
            *box = w.box;
            return true;
        }
    }
    model = ModelOf(guid, &why);
    if (!model) return false;
    for (size_t k = 0; k < model->bodies.size(); ++k) {
        const ModelBody& b = model->bodies[k];
        const size_t n = k == 0 && model->surfaceVertices >= 0 ? size_t(model->surfaceVertices) : b.vertices.size();
        ExtendBox(b.vertices.data(), n, &any, box);
    }
    return any;
}

bool ModelStore::HeightAt(const API_Guid& guid, double x, double y, double* z, std::string* why) {
    std::shared_ptr<const Model3D> model = ModelOf(guid, why);
    if (!model) return false;
    bool found = false;
    for (const ModelBody& b : model->bodies)
        for (int32_t p = 1; p <= int32_t(b.pgons.size()); ++p) {
            const std::vector<int32_t> ring = b.PolygonVertices(p);
            if (ring.size() < 3) continue;
            // In the polygon's plan (even-odd, edges included), then on the plane of its first three corners.
            bool inside = false, onEdge = false;
            for (size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
                const ModelPoint& a = b.vertices[size_t(ring[i] - 1)];
                const ModelPoint& c = b.vertices[size_t(ring[j] - 1)];
                const double cross = (c.x - a.x) * (y - a.y) - (c.y - a.y) * (x - a.x);
                if (std::abs(cross) <= 1e-12 * (1.0 + std::abs(c.x - a.x) + std::abs(c.y - a.y)) &&
                    x >= std::min(a.x, c.x) && x <= std::max(a.x, c.x) && y >= std::min(a.y, c.y) &&
                    y <= std::max(a.y, c.y))
                    onEdge = true;
                if ((a.y > y) != (c.y > y) && x < (c.x - a.x) * (y - a.y) / (c.y - a.y) + a.x) inside = !inside;
            }
            if (!inside && !onEdge) continue;
            const ModelPoint& p0 = b.vertices[size_t(ring[0] - 1)];
            const ModelPoint& p1 = b.vertices[size_t(ring[1] - 1)];
            const ModelPoint& p2 = b.vertices[size_t(ring[2] - 1)];
            const double nx = (p1.y - p0.y) * (p2.z - p0.z) - (p1.z - p0.z) * (p2.y - p0.y);
            const double ny = (p1.z - p0.z) * (p2.x - p0.x) - (p1.x - p0.x) * (p2.z - p0.z);
            const double nz = (p1.x - p0.x) * (p2.y - p0.y) - (p1.y - p0.y) * (p2.x - p0.x);
            if (std::abs(nz) <= 1e-12 * (std::abs(nx) + std::abs(ny) + std::abs(nz))) continue;
            const double h = p0.z - (nx * (x - p0.x) + ny * (y - p0.y)) / nz;
            *z = found ? std::max(*z, h) : h;
            found = true;
        }
    if (!found) *why = "no face of the model lies over that point";
    return found;
}

void ModelStore::CutByGround(const API_Guid& guid, const API_Guid& terrain, Model3D* model) {
    if (model->bodies.empty()) return;
    std::string why;
    const std::shared_ptr<const MeshSurfaceModel> ground = MeshSurfaceOf(terrain, &why);
    if (ground && CutBelowGround(*ground, &model->bodies, &why)) return;
    model->bodies.clear();
    model->noBody = "the terrain " + GuidText(terrain) + " cannot be taken from it (" + why + ")";
    notes_.push_back("the 3D model of " + GuidText(guid) + " has no body: " + model->noBody);
}
