#include "model3d/ModelCalls.hpp"

#include "APIMesh.hpp"
#include "model3d/MeshQuantities.hpp"
#include "model3d/ModelStore.hpp"
#include "project/ProjectDatabase.hpp"

namespace {
// Notes of links the host left out of a model go to the log; a refusal is logged with its reason.
template <typename F>
GSErrCode ServeModelCall(const char* name, F&& body) {
    return ServeCall(name, -1, [&](HostCalls& host) {
        ModelStore& models = host.Models();
        std::string why;
        const GSErrCode err = body(models, &why);
        for (const std::string& note : models.TakeNotes()) host.Log("  host: " + note);
        if (err != NoError) host.Log(std::string("  host: ") + name + " refused (" + ErrorText(err) + "): " + why);
        return err;
    });
}

GSErrCode T_Element_Get3DInfo(const API_Elem_Head* head, API_ElemInfo3D* info3D) {
    return ServeModelCall("Element_Get3DInfo", [&](ModelStore& models, std::string* why) {
        if (head == nullptr || info3D == nullptr) return APIERR_BADPARS;
        return models.Get3DInfo(head->guid, info3D, why);
    });
}

GSErrCode T_Get3DComponent(API_Component3D* component) {
    return ServeModelCall("Get3DComponent", [&](ModelStore& models, std::string* why) {
        return component == nullptr ? APIERR_BADPARS : models.GetComponent(component, why);
    });
}

GSErrCode T_Element_GetQuantities(const API_Guid* guid, const API_QuantityPar*, API_ElementQuantity* quantity) {
    return ServeModelCall("Element_GetQuantities", [&](ModelStore& models, std::string* why) {
        if (guid == nullptr || quantity == nullptr) return APIERR_BADPARS;
        HostCalls* host = HostCalls::Current();
        double volume = 0.0;
        const GSErrCode err = host->Volumes().Volume(host->Database(), models, *guid, &volume, why);
        if (err == NoError) quantity->mesh.volume = volume;
        return err;
    });
}
}  // namespace

void InstallModelCalls(HostFunctionSet& set) {
    set.Put("Element_Get3DInfo", &API_HostFunctionTable::Element_Get3DInfo, T_Element_Get3DInfo);
    set.Put("Get3DComponent", &API_HostFunctionTable::Get3DComponent, T_Get3DComponent);
    set.Put("Element_GetQuantities", &API_HostFunctionTable::Element_GetQuantities, T_Element_GetQuantities);
}
