#include "library/LibPartParamCalls.hpp"

#include "HostCalls.hpp"
#include "library/LibraryStore.hpp"

#include <string>

namespace {
GSErrCode OpenParameters(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord("Goodies", call, sizeof(API_ParamOwnerType), 0)) return APIERR_BADPARS;
    const auto* owner = static_cast<const API_ParamOwnerType*>(call->par1);
    // Placed elements' parameters are read through their memo; here only library parts' defaults.
    if (owner->guid != APINULLGuid) {
        host.Log("  host: 'OPAR' refused: parameters of a placed element are read through its memo");
        return APIERR_BADPARS;
    }
    LibraryStore& store = host.Libraries();
    if (store.Part(owner->libInd) == nullptr) return APIERR_BADINDEX;
    if (store.OpenParams() != 0)
        host.Log("  host: 'OPAR' replaces the open parameters of library part " + std::to_string(store.OpenParams()));
    store.SetOpenParams(owner->libInd);
    return NoError;
}

GSErrCode GetParameters(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord("Goodies", call, sizeof(API_GetParamsType), 0)) return APIERR_BADPARS;
    auto* out = static_cast<API_GetParamsType*>(call->par1);
    *out = API_GetParamsType{};
    const LibraryStore& store = host.Libraries();
    const LibPartDef* part = store.OpenParams() != 0 ? store.Part(store.OpenParams()) : nullptr;
    if (part == nullptr) {
        host.Log("  host: 'GPAR' without open parameters");
        return APIERR_GENERAL;
    }
    GetSizeParams(part->params, &out->a, &out->b);
    out->params = store.MakeParamHandle(store.OpenParams());
    if (out->params == nullptr) return ErrMemoryFull;
    out->count = int32_t(part->params.size());
    return NoError;
}

GSErrCode CloseParameters(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord("Goodies", call, 0, 0)) return APIERR_BADPARS;
    host.Libraries().SetOpenParams(0);
    return NoError;
}
}  // namespace

void InstallLibPartParamCalls(HostFunctionSet& set) {
    set.AddSelector(SelectorFamily::Goodies, APIAny_OpenParametersID.code, OpenParameters);
    set.AddSelector(SelectorFamily::Goodies, APIAny_GetActParametersID.code, GetParameters);
    set.AddSelector(SelectorFamily::Goodies, APIAny_CloseParametersID.code, CloseParameters);
}
