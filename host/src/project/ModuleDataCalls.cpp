#include "project/ModuleDataCalls.hpp"

#include "HostCalls.hpp"
#include "project/ProjectRecords.hpp"

#include <cstring>

namespace {
GSErrCode T_ModulDataStore(const API_ModulData* info, const char* modulName) {
    return ServeCall("ModulData_Store", -1, [&](HostCalls& host) {
        if (info == nullptr || modulName == nullptr) return APIERR_BADPARS;
        ProjectRecords::ModuleDataEntry entry;
        entry.dataVersion = info->dataVersion;
        entry.platformSign = info->platformSign;
        if (info->dataHdl != nullptr) {
            const GSSize size = BMGetHandleSize(info->dataHdl);
            if (size > 0) entry.bytes.assign(*info->dataHdl, size_t(size));
        }
        host.Records().moduleData[modulName] = entry;
        return NoError;
    });
}

GSErrCode T_ModulDataGet(API_ModulData* info, const char* modulName) {
    return ServeCall("ModulData_Get", -1, [&](HostCalls& host) {
        if (info == nullptr || modulName == nullptr) return APIERR_BADPARS;
        const auto& data = host.Records().moduleData;
        const auto it = data.find(modulName);
        if (it == data.end()) return APIERR_NOMODULEDATA;
        GSHandle h = nullptr;
        if (HandOut(it->second.bytes.data(), it->second.bytes.size(), &h) != NoError) return APIERR_GENERAL;
        info->dataVersion = it->second.dataVersion;
        info->platformSign = it->second.platformSign;
        info->dataHdl = h;
        return NoError;
    });
}

GSErrCode T_ModulDataDelete(const char* modulName) {
    return ServeCall("ModulData_Delete", -1, [&](HostCalls& host) {
        if (modulName == nullptr) return APIERR_BADPARS;
        return host.Records().moduleData.erase(modulName) > 0 ? NoError : APIERR_NOMODULEDATA;
    });
}
}  // namespace

void InstallModuleDataCalls(HostFunctionSet& set) {
    set.Put("ModulData_Store", &API_HostFunctionTable::ModulData_Store, T_ModulDataStore);
    set.Put("ModulData_Get", &API_HostFunctionTable::ModulData_Get, T_ModulDataGet);
    set.Put("ModulData_Delete", &API_HostFunctionTable::ModulData_Delete, T_ModulDataDelete);
}
