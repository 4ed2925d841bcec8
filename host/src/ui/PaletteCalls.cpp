#include "ui/PaletteCalls.hpp"

#include "HostCalls.hpp"

namespace {
GSErrCode T_RegisterModelessWindow(int32_t referenceID, API_PaletteControlCallBackProc* callBackProc,
                                   int32_t controlFlags, const API_Guid* paletteGuid) {
    return ServeCall("RegisterModelessWindow", -1, [&](HostCalls& host) {
        if (callBackProc == nullptr) return APIERR_BADPARS;
        ModuleSession::ModelessWindow w;
        w.callBack = callBackProc;
        w.controlFlags = controlFlags;
        w.guid = paletteGuid != nullptr ? *paletteGuid : APINULLGuid;
        host.Session().modelessWindows[referenceID] = w;
        return NoError;
    });
}

GSErrCode T_UnregisterModelessWindow(int32_t referenceID) {
    return ServeCall("UnregisterModelessWindow", -1, [&](HostCalls& host) {
        return host.Session().modelessWindows.erase(referenceID) > 0 ? NoError : APIERR_BADPARS;
    });
}
}  // namespace

void InstallPaletteCalls(HostFunctionSet& set) {
    set.Put("RegisterModelessWindow", &API_HostFunctionTable::RegisterModelessWindow, T_RegisterModelessWindow);
    set.Put("UnregisterModelessWindow", &API_HostFunctionTable::UnregisterModelessWindow, T_UnregisterModelessWindow);
}
