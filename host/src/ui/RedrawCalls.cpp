#include "ui/RedrawCalls.hpp"

#include "HostCalls.hpp"
#include "project/ProjectCalls.hpp"

namespace {
GSErrCode Redraw(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord(kAutomateFamily, call, 0, 0)) return APIERR_BADPARS;
    host.Log("  host: window redrawn ('RDRW')");
    return NoError;
}
}  // namespace

void InstallRedrawCalls(HostFunctionSet& set) {
    set.AddSelector(SelectorFamily::Automate, APIDo_RedrawID.code, ProjectSelector<kAutomateFamily, Redraw>);
}
