#include "project/DisplayOptionCalls.hpp"

#include "project/ProjectRecords.hpp"
#include "project/ProjectCalls.hpp"

#include <cstring>

namespace {
GSErrCode GetDisplayOptions(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord("Environment", call, sizeof(API_DisplayOptions), 0)) return APIERR_BADPARS;
    API_DisplayOptions options;
    std::memset(&options, 0, sizeof options);
    options.cameraDisplay = host.Records().cameraDisplay;
    std::memcpy(call->par1, &options, sizeof options);
    return NoError;
}

GSErrCode ChangeDisplayOptions(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord("Environment", call, sizeof(API_DisplayOptions), 0)) return APIERR_BADPARS;
    API_DisplayOptions options;
    std::memcpy(&options, call->par1, sizeof options);
    if (options.cameraDisplay > 2) return APIERR_BADPARS;
    host.Records().cameraDisplay = options.cameraDisplay;
    return NoError;
}
}  // namespace

void InstallDisplayOptionCalls(HostFunctionSet& set) {
    set.AddSelector(SelectorFamily::Environment, APIEnv_GetDisplayOptionsID.code,
                    ProjectSelector<kUnloggedFamily, GetDisplayOptions>);
    set.AddSelector(SelectorFamily::Environment, APIEnv_ChangeDisplayOptionsID.code,
                    ProjectSelector<kUnloggedFamily, ChangeDisplayOptions>);
}
