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
    if (w.breakAfter > 0) --w.breakAfter;
    return NoError;
}

GSErrCode Cancelled(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord("Interface", call, 0, 0)) return APIERR_BADPARS;
    const ModuleSession::ProgressWindow& w = Window(host);
    return w.open && w.breakAfter == 0 ? APIERR_CANCEL : NoError;
}

GSErrCode Zoom(HostCalls& host, const API_SelectorCall* call) {
    if (call->par1 != nullptr && !host.CheckSelectorRecord("Automate", call, sizeof(API_Box), 0)) return APIERR_BADPARS;
    ++Window(host).zooms;
    return NoError;
}

GSErrCode Close(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord("Interface", call, 0, 0)) return APIERR_BADPARS;
    ModuleSession::ProgressWindow& w = Window(host);
    if (w.open) ++w.closed;
    w.open = false;
    // The break stopped the operation it was meant for.
    if (w.breakAfter == 0) w.breakAfter = -1;
    return NoError;
}
}  // namespace

void InstallProgressCalls(HostFunctionSet& set) {
    set.AddSelector(SelectorFamily::Interface, APIIo_InitProcessWindowID.code, Open);
    set.AddSelector(SelectorFamily::Interface, APIIo_SetNextProcessPhaseID.code, Phase);
    set.AddSelector(SelectorFamily::Interface, APIIo_SetProcessValueID.code, Value);
    set.AddSelector(SelectorFamily::Interface, APIIo_CloseProcessWindowID.code, Close);
    set.AddSelector(SelectorFamily::Interface, APIIo_IsProcessCanceledID.code, Cancelled);
    set.AddSelector(SelectorFamily::Automate, APIDo_ZoomID.code, Zoom);
}
