#pragma once
// The host's 3D model of the project: each element's model, built once per state of the element and of the
// elements linked to it (a change or an undo gives a new state; asking again for the same state costs nothing),
// the numbering of bodies across the whole model, and the body that component reads count in.
#include "APIDefs.hpp"
#include "APIMesh.hpp"
#include "library/LibraryBody.hpp"
#include "model3d/EarthworkChain.hpp"
#include "model3d/ObjectBodies.hpp"
#include "model3d/ElementModels.hpp"
#include "model3d/LinkedSurfaceBox.hpp"
#include "project/Guids.hpp"

#include <array>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

class LibraryStore;
struct LibPartDef;
class ProjectDatabase;

class ModelStore {
public:
    // Objects whose library part has `body` lines get their bodies from their parameters (none without `libraries`).
    explicit ModelStore(const ProjectDatabase& db, const LibraryStore* libraries = nullptr)
        : db_(db), libraries_(libraries) {}
    ModelStore(const ModelStore&) = delete;
    ModelStore& operator=(const ModelStore&) = delete;

    // The element's current model; null with `why` when the element has none (no such element, a type without
    // a body) or the host cannot build it.
    std::shared_ptr<const Model3D> ModelOf(const API_Guid& guid, std::string* why);
    // The body a mesh's current model starts with (its solid, after the downward subtractions of slabs above it),
    // shared with the model store: it stays the same object while only other links change. Null when the mesh has
    // no model or no solid.
    std::shared_ptr<const ModelBody> MeshSolidOf(const API_Guid& mesh, std::string* why);
    // What the mesh's other links do to that solid, in link order, and the count of its surface's vertices; false
    // with `why` when the mesh has no model.
    bool MeshStepsOf(const API_Guid& mesh, std::vector<LinkStep>* steps, int32_t* surfaceVertices, std::string* why);
    // The volume of the mesh's current model, exact and then rounded (0 without a solid); `partial` tells whether
    // it came from the columns near the links' bodies. False with `why` when it cannot be computed.
    bool VolumeOf(const API_Guid& mesh, double* volume, bool* partial, std::string* why);
    // How many points and triangles the surface of the mesh's model has, counted without reading its body back.
    bool SurfaceCountsOf(const API_Guid& mesh, int64_t* points, int64_t* triangles, std::string* why);
    // What the mesh's links together took from its surface and added to it: the top of its final model against its
    // surface without links. False with `why` when it cannot be computed.
    bool ChangesOf(const API_Guid& mesh, double* removed, double* added, std::string* why);
    // The same, with the faces of the final top that lie lower than the surface without links (`cut`) and those
    // that lie higher (`fill`), each judged at its middle; faces within a millimetre of it are in neither.
    bool ChangedFacesOf(const API_Guid& mesh, std::vector<std::array<ModelPoint, 3>>* cut,
                        std::vector<std::array<ModelPoint, 3>>* fill, double* removed, double* added, std::string* why);
    // The range of the element's bodies in the whole model (firstBody > lastBody when it has none); refused, with the
    // reason, for an object whose library part should build bodies from its parameters and cannot.
    GSErrCode Get3DInfo(const API_Guid& guid, API_ElemInfo3D* info, std::string* why);
    // A body by its number in the whole model (it becomes the current body), or a polygon, polygon edge, edge or
    // vertex of the current body by its number in it.
    GSErrCode GetComponent(API_Component3D* component, std::string* why);
    // The box of the element's model (of a mesh: of its surface, without skirt and floor); false when it has no
    // vertex.
    bool Bounds(const API_Guid& guid, API_Box3D* box);

    // The height of the model's highest face over the plan point (faces seen edge-on left out); false when no
    // face lies over it.
    bool HeightAt(const API_Guid& guid, double x, double y, double* z, std::string* why);

    // Where the cut and the fill an object's parameters build would meet the ground (model3d/Daylight.hpp): the mesh
    // it (or an object of the same parameters in another role) operates on, as the links made before its own leave
    // it; else the mesh under its position. False with `why` when it has neither or builds no body.
    bool DaylightOf(const API_Guid& guid, std::vector<std::vector<ModelPoint>>* lines, std::string* why);

    // How often a mesh surface and a model were built (tests see that queries reuse them).
    int SurfaceBuilds() const { return surfaceBuilds_; }
    int ModelBuilds() const { return modelBuilds_; }
    // What the host left out of models it built (links it does not compute), oldest first; taken once.
    std::vector<std::string> TakeNotes() {
        std::vector<std::string> n;
        n.swap(notes_);
        return n;
    }

private:
    // The surface of the mesh as the links made before the object's (or before those of the objects that build from
    // the same parameters in other roles) leave it.
    std::shared_ptr<const MeshSurfaceModel> GroundBefore(const API_Guid& mesh, const API_Guid& object,
                                                         const std::vector<LibBodyItem>& items, std::string* why);
    // The other earthworks linked to the mesh, but the object's partners in other roles, into its ground.
    void AddOtherEarthworks(const API_Guid& mesh, const StoredElement& object, const LibPartDef& part,
                            EarthworkGround* ground);
    // What an element's model depends on: the project, its state, its story's level.
    std::vector<uint64_t> StateOf(const API_Guid& guid) const;
    std::shared_ptr<const MeshSurfaceModel> MeshSurfaceOf(const API_Guid& guid, std::string* why);
    // The element's current model, its mesh body read back from the solid operations when `body` is asked.
    std::shared_ptr<const Model3D> Current(const API_Guid& guid, bool body, std::string* why);
    // The lowest point of the bodies that subtract upwards from or join any mesh (a mesh's floor lies below it,
    // the same for every mesh, so that volumes with and without a link differ by that link alone).
    double OperatorsBottom();
    EarthworkChain& ChainFor(const ModelBody* base);
    bool Build(const API_Guid& guid, Model3D* model, std::shared_ptr<const ModelBody>* meshSolid, std::string* why);
    // An object's bodies from its parameters over the terrain it operates on, as its library part's `body` lines
    // say; what keeps it from having them goes to the notes.
    // The ground an object's bodies meet: the mesh it operates on through a solid link, else (`under`) the first
    // mesh whose outline holds its position. Null with `why` (empty when there is no mesh to take).
    // The mesh an object's bodies are built on through its links (the first it operates on, or that cuts it
    // downwards); a null guid when there is none.
    API_Guid GroundGuid(const API_Guid& guid) const;
    // `found` (optional) takes the mesh's guid.
    std::shared_ptr<const MeshSurfaceModel> GroundOf(const API_Guid& guid, bool under, std::vector<PlanRing>* outline,
                                                     std::string* why, API_Guid* found = nullptr);
    void BuildOwnBodies(const API_Guid& guid, const StoredElement& object, double storyLevel, Model3D* model);
    bool ApplyLinks(const API_Guid& guid, Model3D* model, std::shared_ptr<const ModelBody>* meshSolid,
                    std::string* why);
    // The object's bodies less the terrain's solid extruded down (the terrain subtracts downwards from it); what
    // keeps that from being computed leaves it no body, with the reason in the notes.
    void CutByGround(const API_Guid& guid, const API_Guid& terrain, Model3D* model);
    void ForgetOtherProjects();

    const ProjectDatabase& db_;
    const LibraryStore* libraries_;
    uint64_t epoch_ = 0;
    struct SurfaceEntry {
        std::vector<uint64_t> state;
        std::shared_ptr<const MeshSurfaceModel> surface;
        std::shared_ptr<const ModelBody> solid;  // of the whole surface, once a model needed it
        double solidFloor = 0.0;                 // where that solid's floor lies
    };
    // A mesh's solid and what its links do to it, until its body is read back from the solid operations.
    struct MeshWork {
        std::shared_ptr<const ModelBody> solid;
        int32_t surfaceVertices = -1;
        std::vector<LinkStep> steps;
        bool bodyPending = false;
        bool hasVolume = false;
        double volume = 0.0;
        bool partial = false;
        int boxKnown = -1;  // whether the box is known from the solid and the bodies (-1: not yet asked)
        API_Box3D box = {};
    };
    struct ModelEntry {
        std::vector<uint64_t> state;
        std::shared_ptr<Model3D> model;
        std::shared_ptr<const ModelBody> meshSolid;  // the solid a mesh's model starts with
        MeshWork work;
        int32_t firstBody = 0;  // where its bodies are numbered (0: not yet)
    };
    std::map<API_Guid, SurfaceEntry, GuidLess> surfaces_;
    std::map<API_Guid, ModelEntry, GuidLess> models_;
    // The model each element had before its current one: a link made and taken away again (a height probe)
    // finds it unchanged.
    std::map<API_Guid, ModelEntry, GuidLess> previous_;
    MeshWork building_;  // what ApplyLinks leaves for the model being built
    // The latest solid operations, by the solid they start from (a terrain and its copy share one).
    struct ChainSlot {
        std::unique_ptr<EarthworkChain> chain;
        uint64_t used = 0;
    };
    std::vector<ChainSlot> chains_;
    LinkedSurfaceCache linkedBoxes_;  // the raster of the solid whose box was found last
    uint64_t chainUses_ = 0;
    // Body numbers of the whole model: the model and the body in it.
    struct BodySlot {
        API_Guid element;
        std::weak_ptr<const Model3D> model;
        size_t body = 0;
    };
    std::vector<BodySlot> bodies_;
    std::shared_ptr<const Model3D> currentModel_;
    const ModelBody* currentBody_ = nullptr;
    std::set<API_Guid, GuidLess> adding_;  // targets whose adding operators are being built
    std::vector<std::string> notes_;
    int surfaceBuilds_ = 0;
    int modelBuilds_ = 0;
};
