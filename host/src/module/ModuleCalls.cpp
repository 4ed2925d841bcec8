#include "module/ModuleCalls.hpp"

#include "HostCalls.hpp"
#include "TextFields.hpp"

#include <cstring>

namespace {
GSErrCode T_CommandTest(const API_ModulID* mdid, int32_t cmdID, int32_t cmdVersion) {
    return ServeCall("Command_Test", -1, [&](HostCalls& host) {
        if (mdid == nullptr) return APIERR_BADPARS;
        // The only other add-on this host knows is the suite, when it is present.
        const bool answers = cmdID == APICmd_SuiteID && cmdVersion == 0 && host.Settings().suitePresent;
        host.Log("  host: command test " + SelectorText(uint32_t(cmdID)) + " -> " +
                 (answers ? "answered" : "no module"));
        return answers ? NoError : APIERR_GENERAL;
    });
}

GSResModule T_GetOwnResModule() {
    HostCalls* host = HostCalls::Current();
    GSErrCode err;
    if (host == nullptr || host->InjectedFailure("GetOwnResModule", -1, &err)) return InvalidResModule;
    return host->Session().resModule;
}

GSErrCode T_KeepInMemory(bool keepIt) {
    return ServeCall("KeepInMemory", -1, [&](HostCalls& host) {
        host.Session().keepInMemory = keepIt;
        return NoError;
    });
}

GSErrCode T_RegisterBuiltInLibrary() {
    return ServeCall("Register_BuiltInLibrary", -1, [&](HostCalls& host) {
        host.Session().builtInLibrary = true;
        return NoError;
    });
}

// Not failable: the report log is how a test sees what the module did.
GSErrCode T_WriteReport(const char* text) {
    HostCalls* host = HostCalls::Current();
    if (host == nullptr) return APIERR_GENERAL;
    host->ReceiveModuleReport(text != nullptr ? text : "");
    return NoError;
}

GSErrCode ApplicationInfo(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord("Environment", call, sizeof(API_ServerApplicationInfo), 0)) return APIERR_BADPARS;
    const HostSettings& settings = host.Settings();
    auto* info = static_cast<API_ServerApplicationInfo*>(call->par1);
    std::memset(info, 0, sizeof *info);
    info->mainVersion = settings.mainVersion;
    info->releaseVersion = settings.releaseVersion;
    info->buildNum = settings.buildNum;
    CopyFieldText(info->language, sizeof info->language, settings.language);
    return NoError;
}
}  // namespace

void InstallModuleCalls(HostFunctionSet& set) {
    set.Put("Command_Test", &API_HostFunctionTable::Command_Test, T_CommandTest);
    set.Put("GetOwnResModule", &API_HostFunctionTable::GetOwnResModule, T_GetOwnResModule);
    set.Put("KeepInMemory", &API_HostFunctionTable::KeepInMemory, T_KeepInMemory);
    set.Put("Register_BuiltInLibrary", &API_HostFunctionTable::Register_BuiltInLibrary, T_RegisterBuiltInLibrary);
    set.Put("WriteReport", &API_HostFunctionTable::WriteReport, T_WriteReport);
    set.AddSelector(SelectorFamily::Environment, APIEnv_ApplicationID.code, ApplicationInfo);
}
