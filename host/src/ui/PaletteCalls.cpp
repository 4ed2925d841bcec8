#include "ui/PaletteCalls.hpp"

#include "DGDriver.hpp"
#include "HostCalls.hpp"
#include "project/ElementEvents.hpp"

#include <vector>

namespace {
const char* MessageName(int32_t message) {
    switch (message) {
        case APIPaletteMessage_Close: return "close";
        case APIPaletteMessage_Hide: return "hide";
        case APIPaletteMessage_Show: return "show";
        case APIPaletteMessage_Disable: return "disable";
        case APIPaletteMessage_Enable: return "enable";
        default: return "?";
    }
}

int32_t FlagOf(int32_t message) {
    if (message == APIPaletteMessage_Close) return APIPalette_Close;
    if (message == APIPaletteMessage_Hide || message == APIPaletteMessage_Show) return APIPalette_Hide;
    if (message == APIPaletteMessage_Disable || message == APIPaletteMessage_Enable) return APIPalette_Disable;
    return 0;
}

bool IsOpenModeless(int32_t referenceID) {
    for (int16_t id : DGDriver::OpenModelessDialogs())
        if (id == referenceID) return true;
    return false;
}

GSErrCode T_RegisterModelessWindow(int32_t referenceID, API_PaletteControlCallBackProc* callBackProc,
                                   int32_t controlFlags, const API_Guid* paletteGuid) {
    return ServeCall("RegisterModelessWindow", -1, [&](HostCalls& host) {
        if (callBackProc == nullptr) return APIERR_BADPARS;
        // The reference is the dialog id of the window, which is open while it registers (at its init).
        if (!IsOpenModeless(referenceID)) {
            host.ReportHostError("RegisterModelessWindow: " + std::to_string(referenceID) +
                                 " is no open modeless dialog");
            return APIERR_BADPARS;
        }
        ModuleSession::ModelessWindow w;
        w.callBack = callBackProc;
        w.controlFlags = controlFlags;
        w.guid = paletteGuid != nullptr ? *paletteGuid : APINULLGuid;
        host.Session().modelessWindows[referenceID] = w;
        host.Log("  host: modeless window " + std::to_string(referenceID) + " registered, flags " +
                 std::to_string(controlFlags));
        return NoError;
    });
}

GSErrCode T_UnregisterModelessWindow(int32_t referenceID) {
    return ServeCall("UnregisterModelessWindow", -1, [&](HostCalls& host) {
        if (host.Session().modelessWindows.erase(referenceID) == 0) return APIERR_BADPARS;
        host.Log("  host: modeless window " + std::to_string(referenceID) + " unregistered");
        return NoError;
    });
}
}  // namespace

void InstallPaletteCalls(HostFunctionSet& set) {
    set.Put("RegisterModelessWindow", &API_HostFunctionTable::RegisterModelessWindow, T_RegisterModelessWindow);
    set.Put("UnregisterModelessWindow", &API_HostFunctionTable::UnregisterModelessWindow, T_UnregisterModelessWindow);
}

bool SendPaletteMessage(HostCalls& host, int32_t referenceID, int32_t message, std::string* why) {
    const auto& windows = host.Session().modelessWindows;
    const auto it = windows.find(referenceID);
    if (it == windows.end()) {
        *why = "no modeless window " + std::to_string(referenceID) + " is registered";
        return false;
    }
    const int32_t flag = FlagOf(message);
    if (flag == 0 || (it->second.controlFlags & flag) == 0) {
        *why = "modeless window " + std::to_string(referenceID) + " (flags " + std::to_string(it->second.controlFlags) +
            ") takes no " + MessageName(message) + " message";
        return false;
    }
    API_PaletteControlCallBackProc* callBack = it->second.callBack;
    GSErrCode err;
    {
        const ElementEvents::ModuleCall call(host.Events());
        err = callBack(referenceID, message, 0);
    }
    host.Log("  host: palette " + std::string(MessageName(message)) + " to " + std::to_string(referenceID) + " -> " +
             std::to_string(err));
    return true;
}

void ClosePalettesForRelease(HostCalls& host) {
    std::vector<int32_t> closing;
    for (const auto& [ref, window] : host.Session().modelessWindows)
        if ((window.controlFlags & APIPalette_Close) != 0) closing.push_back(ref);
    std::string why;
    for (int32_t ref : closing)
        if (host.Session().modelessWindows.count(ref) != 0)
            SendPaletteMessage(host, ref, APIPaletteMessage_Close, &why);
}

void CheckPalettesAfterRelease(HostCalls& host) {
    for (const auto& entry : host.Session().modelessWindows)
        host.ReportHostError("modeless window " + std::to_string(entry.first) +
                             " was still registered when the module was released");
    for (int16_t id : DGDriver::ForgetOpenDialogs())
        host.ReportHostError("dialog " + std::to_string(id) + " was still open when the module was released");
}
