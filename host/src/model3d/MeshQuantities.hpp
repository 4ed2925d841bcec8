#pragma once
// The volume of a mesh's solid, base to surface, after the solid links that change it, computed on closed
// polyhedra: the solid as its 'SSUD' slabs leave it, minus each 'SSUU' operator's bodies extruded upward, plus each
// 'SADD' operator's bodies, in link order.
#include "APIDefs.hpp"

#include <string>

class ModelStore;
class ProjectDatabase;

GSErrCode MeshVolume(const ProjectDatabase& db, ModelStore& models, const API_Guid& mesh, double* volume,
                     std::string* why);
