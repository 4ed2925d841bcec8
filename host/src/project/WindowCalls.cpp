#include "project/WindowCalls.hpp"

#include "HostCalls.hpp"

namespace {
template <const char* Family>
GSErrCode ChangeWindow(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord(Family, call, sizeof(API_WindowInfo), 0)) return APIERR_BADPARS;
    return host.Database().ChangeWindow(*static_cast<const API_WindowInfo*>(call->par1));
}
constexpr char kDatabase[] = "Database";
constexpr char kAutomate[] = "Automate";

GSErrCode GetCurrentWindow(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord(kDatabase, call, sizeof(API_WindowInfo), 0)) return APIERR_BADPARS;
    host.Database().GetFrontWindow(static_cast<API_WindowInfo*>(call->par1));
    return NoError;
}

GSErrCode GetCurrentDatabase(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord(kDatabase, call, sizeof(API_DatabaseInfo), 0)) return APIERR_BADPARS;
    host.Database().GetCurrentDatabase(static_cast<API_DatabaseInfo*>(call->par1));
    return NoError;
}

GSErrCode ChangeCurrentDatabase(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord(kDatabase, call, sizeof(API_DatabaseInfo), 0)) return APIERR_BADPARS;
    return host.Database().ChangeDatabase(*static_cast<const API_DatabaseInfo*>(call->par1));
}

GSErrCode Rebuild(HostCalls& host, const API_SelectorCall* call) {
    // The record is optional.
    if (call->par1 != nullptr && !host.CheckSelectorRecord(kAutomate, call, sizeof(API_RebuildParams), 0))
        return APIERR_BADPARS;
    const auto* pars = static_cast<const API_RebuildParams*>(call->par1);
    return host.Database().Rebuild(pars != nullptr && pars->regenerate != 0);
}
}  // namespace

void InstallWindowCalls(HostFunctionSet& set) {
    set.AddSelector(SelectorFamily::Database, APIDb_GetCurrentWindowID.code, GetCurrentWindow);
    set.AddSelector(SelectorFamily::Database, APIDb_GetCurrentDatabaseID.code, GetCurrentDatabase);
    set.AddSelector(SelectorFamily::Database, APIDb_ChangeCurrentDatabaseID.code, ChangeCurrentDatabase);
    set.AddSelector(SelectorFamily::Database, APIDb_ChangeWindowID.code, ChangeWindow<kDatabase>);
    set.AddSelector(SelectorFamily::Automate, APIDo_ChangeWindowID.code, ChangeWindow<kAutomate>);
    set.AddSelector(SelectorFamily::Automate, APIDo_RebuildID.code, Rebuild);
}
