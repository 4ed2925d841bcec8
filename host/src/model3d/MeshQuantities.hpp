#pragma once
// The volume of a mesh's solid, base to surface, after the solid links that change it: the volume of the solid
// the host's 3D model is made of (see EarthworkChain), computed exactly on closed polyhedra.
#include "APIDefs.hpp"

#include <memory>
#include <string>

class EarthworkChain;
class ModelStore;
class ProjectDatabase;

// On a terrain the solids hold only the columns near the links' bodies, the others' volume added exactly: the
// same volumes at the cost of that part. The model store keeps the solids of the latest questions, so a volume
// asked again, or after the last links were removed, costs nothing more.
class MeshVolumes {
public:
    // Whether a terrain's volume may come from the columns near the links' bodies (the model's own), or always
    // from the whole solid computed anew (the same volumes; a check of the parts).
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
    Solids solids_;
    int partAnswers_ = 0;
    std::unique_ptr<EarthworkChain> whole_;  // Whole: the latest solids computed anew
};
