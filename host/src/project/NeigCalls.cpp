#include "project/NeigCalls.hpp"

#include "APIInteraction.hpp"
#include "HostCalls.hpp"

#include <string>

namespace {
GSErrCode NeigToElemType(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord("Goodies", call, sizeof(API_NeigID), sizeof(API_ElemTypeID))) return APIERR_BADPARS;
    const API_NeigID kind = *static_cast<const API_NeigID*>(call->par1);
    auto* type = static_cast<API_ElemTypeID*>(call->par2);
    if (kind == APINeig_ElemPoint) {
        *type = API_HotspotID;
        return NoError;
    }
    for (API_ElemTypeID t = 1; t <= API_LastElemTypeID; ++t)
        if (APINeigIDOfElemType(t) == kind && kind != APINeig_None) {
            *type = t;
            return NoError;
        }
    host.Log("  host: 'NTOE' refused: no element type has selection kind " + std::to_string(kind));
    return APIERR_BADPARS;
}
}  // namespace

void InstallNeigCalls(HostFunctionSet& set) {
    set.AddSelector(SelectorFamily::Goodies, APIAny_NeigIDToElemTypeID.code, NeigToElemType);
}
