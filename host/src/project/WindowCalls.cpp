#include "project/WindowCalls.hpp"

#include "project/ProjectCalls.hpp"

namespace {
template <const char* Family>
GSErrCode ChangeWindow(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord(Family, call, sizeof(API_WindowInfo), 0)) return APIERR_BADPARS;
    return host.Database().ChangeWindow(*static_cast<const API_WindowInfo*>(call->par1));
}

GSErrCode GetCurrentWindow(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord(kDatabaseFamily, call, sizeof(API_WindowInfo), 0)) return APIERR_BADPARS;
    host.Database().GetFrontWindow(static_cast<API_WindowInfo*>(call->par1));
    return NoError;
}

GSErrCode GetCurrentDatabase(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord(kDatabaseFamily, call, sizeof(API_DatabaseInfo), 0)) return APIERR_BADPARS;
    host.Database().GetCurrentDatabase(static_cast<API_DatabaseInfo*>(call->par1));
    return NoError;
}

GSErrCode ChangeCurrentDatabase(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord(kDatabaseFamily, call, sizeof(API_DatabaseInfo), 0)) return APIERR_BADPARS;
    return host.Database().ChangeDatabase(*static_cast<const API_DatabaseInfo*>(call->par1));
}

GSErrCode Rebuild(HostCalls& host, const API_SelectorCall* call) {
    // The record is optional.
    if (call->par1 != nullptr && !host.CheckSelectorRecord(kAutomateFamily, call, sizeof(API_RebuildParams), 0))
        return APIERR_BADPARS;
    const auto* pars = static_cast<const API_RebuildParams*>(call->par1);
    return host.Database().Rebuild(pars != nullptr && pars->regenerate != 0);
}
}  // namespace

void InstallWindowCalls(HostFunctionSet& set) {
    set.AddSelector(SelectorFamily::Database, APIDb_GetCurrentWindowID.code,
                    ProjectSelector<kDatabaseFamily, GetCurrentWindow>);
    set.AddSelector(SelectorFamily::Database, APIDb_GetCurrentDatabaseID.code,
                    ProjectSelector<kDatabaseFamily, GetCurrentDatabase>);
    set.AddSelector(SelectorFamily::Database, APIDb_ChangeCurrentDatabaseID.code,
                    ProjectSelector<kDatabaseFamily, ChangeCurrentDatabase>);
    set.AddSelector(SelectorFamily::Database, APIDb_ChangeWindowID.code,
                    ProjectSelector<kDatabaseFamily, ChangeWindow<kDatabaseFamily>>);
    set.AddSelector(SelectorFamily::Automate, APIDo_ChangeWindowID.code,
                    ProjectSelector<kAutomateFamily, ChangeWindow<kAutomateFamily>>);
    set.AddSelector(SelectorFamily::Automate, APIDo_RebuildID.code, ProjectSelector<kAutomateFamily, Rebuild>);
}
