#pragma once
// The volume of a mesh's solid, base to surface, after the solid links that change it, computed on closed
// polyhedra: the solid as its 'SSUD' slabs leave it, minus each 'SSUU' operator's bodies extruded upward, plus each
// 'SADD' operator's bodies, in link order.
#include "APIDefs.hpp"

#include <memory>
#include <string>

class ModelStore;
class ProjectDatabase;

// Keeps the solids of the latest volume asked for, the mesh's own and the one after each link, with the bodies
// they were built from: a later question whose mesh body and first links are the same (a volume asked again, or
// asked after its last links were removed) starts from there. Every solid is a function of those bodies alone, so
// the volumes are the same as built from nothing.
class MeshVolumes {
public:
    MeshVolumes();
    ~MeshVolumes();
    MeshVolumes(const MeshVolumes&) = delete;
    MeshVolumes& operator=(const MeshVolumes&) = delete;

    GSErrCode Volume(const ProjectDatabase& db, ModelStore& models, const API_Guid& mesh, double* volume,
                     std::string* why);

private:
    struct Chain;
    GSErrCode Compute(const ProjectDatabase& db, ModelStore& models, const API_Guid& mesh, double* volume,
                      std::string* why);
    std::unique_ptr<Chain> chain_;
};
