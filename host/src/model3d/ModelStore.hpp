#pragma once
// The host's 3D model of the project: each element's model, built once per state of the element and of the
// elements linked to it (a change or an undo gives a new state; asking again for the same state costs nothing),
// the numbering of bodies across the whole model, and the body that component reads count in.
#include "APIDefs.hpp"
#include "APIMesh.hpp"
#include "model3d/ElementModels.hpp"
#include "project/Guids.hpp"

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

class LibraryStore;
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
    // The body a mesh's current model starts with (its solid, after the downward subtractions), shared with the
    // model store: it stays the same object while only other links change. Null when the mesh has no model or no
    // solid.
    std::shared_ptr<const ModelBody> MeshSolidOf(const API_Guid& mesh, std::string* why);
    // The range of the element's bodies in the whole model (firstBody > lastBody when it has none).
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

    // Where the cut and the fill an object's parameters build would meet the ground (model3d/Daylight.hpp), over the
    // mesh it operates on, else the mesh under its position; false with `why` when it has neither or builds no body.
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
    // What an element's model depends on: the project, its state, its story's level.
    std::vector<uint64_t> StateOf(const API_Guid& guid) const;
    std::shared_ptr<const MeshSurfaceModel> MeshSurfaceOf(const API_Guid& guid, std::string* why);
    bool Build(const API_Guid& guid, Model3D* model, std::shared_ptr<const ModelBody>* meshSolid, std::string* why);
    // An object's bodies from its parameters over the terrain it operates on, as its library part's `body` lines
    // say; what keeps it from having them goes to the notes.
    // The ground an object's bodies meet: the mesh it operates on through a solid link, else (`under`) the first
    // mesh whose outline holds its position. Null with `why` (empty when there is no mesh to take).
    std::shared_ptr<const MeshSurfaceModel> GroundOf(const API_Guid& guid, bool under, std::vector<PlanRing>* outline,
                                                     std::string* why);
    void BuildOwnBodies(const API_Guid& guid, const StoredElement& object, double storyLevel, Model3D* model);
    bool ApplyLinks(const API_Guid& guid, Model3D* model, std::shared_ptr<const ModelBody>* meshSolid,
                    std::string* why);
    void ForgetOtherProjects();

    const ProjectDatabase& db_;
    const LibraryStore* libraries_;
    uint64_t epoch_ = 0;
    struct SurfaceEntry {
        std::vector<uint64_t> state;
        std::shared_ptr<const MeshSurfaceModel> surface;
        std::shared_ptr<const ModelBody> solid;  // of the whole surface, once a model needed it
    };
    struct ModelEntry {
        std::vector<uint64_t> state;
        std::shared_ptr<const Model3D> model;
        std::shared_ptr<const ModelBody> meshSolid;  // the model's first body, when a mesh's solid
        int32_t firstBody = 0;                       // where its bodies are numbered (0: not yet)
    };
    std::map<API_Guid, SurfaceEntry, GuidLess> surfaces_;
    std::map<API_Guid, ModelEntry, GuidLess> models_;
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
