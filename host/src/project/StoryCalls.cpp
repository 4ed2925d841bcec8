#include "project/StoryCalls.hpp"

#include "project/ProjectCalls.hpp"

namespace {
GSErrCode GetStories(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord("Environment", call, sizeof(API_StoryInfo), 0)) return APIERR_BADPARS;
    return host.Database().GetStories(static_cast<API_StoryInfo*>(call->par1));
}

GSErrCode ChangeStories(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord("Environment", call, sizeof(API_StoryCmdType), 0)) return APIERR_BADPARS;
    const auto* cmd = static_cast<const API_StoryCmdType*>(call->par1);
    return cmd->action == APIStory_GoTo ? host.Database().GoToStory(cmd->index) : APIERR_BADPARS;
}
}  // namespace

void InstallStoryCalls(HostFunctionSet& set) {
    set.AddSelector(SelectorFamily::Environment, APIEnv_GetStorySettingsID.code,
                    ProjectSelector<kUnloggedFamily, GetStories>);
    set.AddSelector(SelectorFamily::Environment, APIEnv_ChangeStorySettingsID.code,
                    ProjectSelector<kUnloggedFamily, ChangeStories>);
}
