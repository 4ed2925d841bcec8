#include "project/WindowCalls.hpp"

#include "project/ProjectCalls.hpp"

#include <algorithm>

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

GSErrCode GetWorksheetDatabases(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord(kDatabaseFamily, call, sizeof(GSHandle), 0)) return APIERR_BADPARS;
    GSHandle* out = static_cast<GSHandle*>(call->par1);
    *out = nullptr;
    return HandOut(host.Database().WorksheetDatabases(), out);
}

GSErrCode GetDatabaseInfo(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord(kDatabaseFamily, call, sizeof(API_DatabaseInfo), 0)) return APIERR_BADPARS;
    return host.Database().GetDatabaseInfo(static_cast<API_DatabaseInfo*>(call->par1));
}

GSErrCode NewDatabase(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord(kDatabaseFamily, call, sizeof(API_DatabaseInfo), 0)) return APIERR_BADPARS;
    return host.Database().NewWorksheet(static_cast<API_DatabaseInfo*>(call->par1));
}

GSErrCode ModifyDatabase(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord(kDatabaseFamily, call, sizeof(API_DatabaseInfo), 0)) return APIERR_BADPARS;
    return host.Database().ModifyWorksheet(*static_cast<const API_DatabaseInfo*>(call->par1));
}

GSErrCode Rebuild(HostCalls& host, const API_SelectorCall* call) {
    // The record is optional.
    if (call->par1 != nullptr && !host.CheckSelectorRecord(kAutomateFamily, call, sizeof(API_RebuildParams), 0))
        return APIERR_BADPARS;
    const auto* pars = static_cast<const API_RebuildParams*>(call->par1);
    return host.Database().Rebuild(pars != nullptr && pars->regenerate != 0);
}
// The plan window shows the whole drawing: its zoom box is the elements' extent with a margin of a twentieth
// on each side. An empty drawing has nothing to zoom to.
GSErrCode GetZoom(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord(kDatabaseFamily, call, sizeof(API_Box), 0)) return APIERR_BADPARS;
    bool any = false;
    API_Box box = {};
    for (const API_Guid& guid : host.Database().AllElements()) {
        API_Box3D b = {};
        if (host.Database().CalcBounds(guid, &b) != NoError) continue;
        if (!any) box = {b.xMin, b.yMin, b.xMax, b.yMax};
        box = {std::min(box.xMin, b.xMin), std::min(box.yMin, b.yMin), std::max(box.xMax, b.xMax),
               std::max(box.yMax, b.yMax)};
        any = true;
    }
    if (!any) return APIERR_GENERAL;
    const double mx = (box.xMax - box.xMin) / 20.0, my = (box.yMax - box.yMin) / 20.0;
    *static_cast<API_Box*>(call->par1) = {box.xMin - mx, box.yMin - my, box.xMax + mx, box.yMax + my};
    return NoError;
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
    set.AddSelector(SelectorFamily::Database, APIDb_GetZoomID.code, ProjectSelector<kDatabaseFamily, GetZoom>);
    set.AddSelector(SelectorFamily::Database, APIDb_GetWorksheetDatabasesID.code,
                    ProjectSelector<kDatabaseFamily, GetWorksheetDatabases>);
    set.AddSelector(SelectorFamily::Database, APIDb_GetDatabaseInfoID.code,
                    ProjectSelector<kDatabaseFamily, GetDatabaseInfo>);
    set.AddSelector(SelectorFamily::Database, APIDb_NewDatabaseID.code, ProjectSelector<kDatabaseFamily, NewDatabase>);
    set.AddSelector(SelectorFamily::Database, APIDb_ModifyDatabaseID.code,
                    ProjectSelector<kDatabaseFamily, ModifyDatabase>);
}
