#include "model3d/MeshQuantities.hpp"

#include "APIInteraction.hpp"
#include "model3d/EarthworkChain.hpp"
#include "model3d/ModelStore.hpp"
#include "project/Guids.hpp"
#include "project/ProjectDatabase.hpp"

#include <utility>
#include <vector>

MeshVolumes::MeshVolumes(Solids solids) : solids_(solids) {}
MeshVolumes::~MeshVolumes() = default;

GSErrCode MeshVolumes::Volume(const ProjectDatabase& db, ModelStore& models, const API_Guid& mesh, double* volume,
                              std::string* why) {
    const StoredElement* e = db.Find(mesh);
    if (e == nullptr || e->record.header.typeID != API_MeshID) {
        *why = "no mesh " + GuidText(mesh);
        return APIERR_BADID;
    }
    if (solids_ == Solids::NearParts) {
        bool partial = false;
        if (!models.VolumeOf(mesh, volume, &partial, why)) return APIERR_GENERAL;
        partAnswers_ += partial ? 1 : 0;
        return NoError;
    }
    std::shared_ptr<const ModelBody> base = models.MeshSolidOf(mesh, why);
    std::vector<LinkStep> steps;
    int32_t surfaceVertices = -1;
    if (!why->empty() && !base) return APIERR_GENERAL;
    if (!base) {
        *volume = 0.0;
        return NoError;
    }
    if (!models.MeshStepsOf(mesh, &steps, &surfaceVertices, why)) return APIERR_GENERAL;
    if (!whole_) whole_ = std::make_unique<EarthworkChain>();
    const GSErrCode err = whole_->Run(base, surfaceVertices, std::move(steps), true, why);
    if (err != NoError) return err;
    *volume = whole_->Volume();
    return NoError;
}
