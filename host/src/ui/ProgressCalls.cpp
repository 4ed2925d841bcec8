#include "ui/ProgressCalls.hpp"

#include "HostCalls.hpp"
#include "UniString.hpp"

namespace {
ModuleSession::ProgressWindow& Window(HostCalls& host) { return host.Session().progress; }

GSErrCode Open(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord("Interface", call, sizeof(GS::UniString), sizeof(int16_t))) return APIERR_BADPARS;
    ModuleSession::ProgressWindow& w = Window(host);
    if (w.open) host.Log("  host: 'IPWD' opens the progress window again before it was closed");
    w.open = true;
    w.title = static_cast<const GS::UniString*>(call->par1)->ToUtf8();
    w.phases = *static_cast<const int16_t*>(call->par2);
    w.phaseText.clear();
    w.maximum = 0;
    w.value = 0;
    ++w.opened;
    return NoError;
}

GSErrCode Phase(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord("Interface", call, sizeof(GS::UniString), sizeof(int32_t))) return APIERR_BADPARS;
    ModuleSession::ProgressWindow& w = Window(host);
    if (!w.open) {
        host.Log("  host: 'SPRP' refused: no progress window is open");
        return APIERR_GENERAL;
    }
    w.phaseText = static_cast<const GS::UniString*>(call->par1)->ToUtf8();
    w.maximum = *static_cast<const int32_t*>(call->par2);
    w.value = 0;
    return NoError;
}

GSErrCode Value(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord("Interface", call, sizeof(int32_t), 0)) return APIERR_BADPARS;
    ModuleSession::ProgressWindow& w = Window(host);
    if (!w.open) {
        host.Log("  host: 'SPRV' refused: no progress window is open");
        return APIERR_GENERAL;
    }
    w.value = *static_cast<const int32_t*>(call->par1);
    return NoError;
}

GSErrCode Close(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord("Interface", call, 0, 0)) return APIERR_BADPARS;
    ModuleSession::ProgressWindow& w = Window(host);
    if (w.open) ++w.closed;
    w.open = false;
    return NoError;
}
}  // namespace

void InstallProgressCalls(HostFunctionSet& set) {
    set.AddSelector(SelectorFamily::Interface, APIIo_InitProcessWindowID.code, Open);
    set.AddSelector(SelectorFamily::Interface, APIIo_SetNextProcessPhaseID.code, Phase);
    set.AddSelector(SelectorFamily::Interface, APIIo_SetProcessValueID.code, Value);
    set.AddSelector(SelectorFamily::Interface, APIIo_CloseProcessWindowID.code, Close);
}
