#include "project/PreferenceCalls.hpp"

#include "project/ProjectRecords.hpp"
#include "project/ProjectCalls.hpp"

#include <cstring>

namespace {
GSErrCode GetPreferences(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord("Environment", call, sizeof(API_WorkingUnitPrefs), 0)) return APIERR_BADPARS;
    API_WorkingUnitPrefs prefs;
    std::memset(&prefs, 0, sizeof prefs);
    prefs.angleDecimals = 2;
    prefs.lengthDecimals = host.Records().lengthDecimals;
    prefs.areaDecimals = 2;
    prefs.volumeDecimals = 2;
    std::memcpy(call->par1, &prefs, sizeof prefs);
    return NoError;
}
}  // namespace

void InstallPreferenceCalls(HostFunctionSet& set) {
    set.AddSelector(SelectorFamily::Environment, APIEnv_GetPreferencesID.code,
                    ProjectSelector<kUnloggedFamily, GetPreferences>);
}
