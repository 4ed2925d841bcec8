#include "project/ToolboxCalls.hpp"

#include "project/ProjectCalls.hpp"

namespace {
GSErrCode GetToolBoxMode(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord("Environment", call, sizeof(API_ToolBoxItem), 0)) return APIERR_BADPARS;
    return host.Database().GetToolBox(static_cast<API_ToolBoxItem*>(call->par1));
}

GSErrCode SetToolBoxMode(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord("Environment", call, sizeof(API_ToolBoxItem), 0)) return APIERR_BADPARS;
    return host.Database().SetToolBox(*static_cast<const API_ToolBoxItem*>(call->par1));
}
}  // namespace

void InstallToolboxCalls(HostFunctionSet& set) {
    set.AddSelector(SelectorFamily::Environment, APIEnv_GetToolBoxModeID.code,
                    ProjectSelector<kUnloggedFamily, GetToolBoxMode>);
    set.AddSelector(SelectorFamily::Environment, APIEnv_SetToolBoxModeID.code,
                    ProjectSelector<kUnloggedFamily, SetToolBoxMode>);
}
