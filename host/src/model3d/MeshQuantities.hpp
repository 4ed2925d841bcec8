#pragma once
// The volume of a mesh's solid, base to surface, after the solid links that change it, computed on closed
// polyhedra: the solid as its 'SSUD' slabs leave it, minus each 'SSUU' operator's bodies extruded upward, plus each
// 'SADD' operator's bodies, in link order.
#include "APIDefs.hpp"

#include <memory>
#include <string>
#include <vector>

class ModelStore;
class ProjectDatabase;
class TerrainColumns;
struct ModelBody;
struct LinkStep;

// Keeps the solids of the latest volume asked for, the mesh's own and the one after each link, with the bodies
// they were built from: a later question whose mesh body and first links are the same (a volume asked again, or
// asked after its last links were removed) starts from there. Every solid is a function of those bodies alone, so
// the volumes are the same as built from nothing. On a terrain the solids hold only the columns near the links'
// bodies (see TerrainColumns), the others' volume added exactly: the same volumes at the cost of that part.
class MeshVolumes {
public:
    // Whether a terrain's solids may hold only the columns near the links' bodies, or always the whole solid (the
    // same volumes; a check of the parts).
    enum class Solids { NearParts, Whole };
    explicit MeshVolumes(Solids solids = Solids::NearParts);
    ~MeshVolumes();
    MeshVolumes(const MeshVolumes&) = delete;
    MeshVolumes& operator=(const MeshVolumes&) = delete;

    GSErrCode Volume(const ProjectDatabase& db, ModelStore& models, const API_Guid& mesh, double* volume,
                     std::string* why);
    // How many volumes came from a part of the columns (tests see that parts are taken).
    int PartAnswers() const { return partAnswers_; }

private:
    struct Chain;
    // Compute's answer when the columns near the bodies cannot be taken on their own: the whole solid is then.
    static constexpr GSErrCode kRetryWhole = -1;
    bool StartChain(const std::shared_ptr<const ModelBody>& base, int32_t surfaceVertices,
                    const std::vector<LinkStep>& steps, bool whole, std::string* why);
    GSErrCode Compute(const ProjectDatabase& db, ModelStore& models, const API_Guid& mesh, bool whole, double* volume,
                      std::string* why);
    Solids solids_;
    int partAnswers_ = 0;
    std::unique_ptr<Chain> chain_;
    std::unique_ptr<TerrainColumns> columns_;  // of the latest mesh solid asked for
};
