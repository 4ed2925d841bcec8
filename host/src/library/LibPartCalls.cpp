#include "library/LibPartCalls.hpp"

#include "HostCalls.hpp"
#include "library/LibraryStore.hpp"
#include "APISettingsDialogs.hpp"
#include "APIView3D.hpp"
#include "IO.hpp"
#include "TextFields.hpp"

namespace {
GSErrCode T_LibPartSearch(API_LibPart* libPart) {
    return ServeCall("LibPart_Search", -1, [&](HostCalls& host) {
        if (libPart == nullptr) return APIERR_BADPARS;
        const LibraryStore& store = host.Libraries();
        int32_t index = -1;
        if (libPart->ownUnID[0] != '\0') {
            index = store.FindByUnID(FieldText(libPart->ownUnID, sizeof libPart->ownUnID));
        } else {
            const size_t units = sizeof libPart->docu_UName / sizeof libPart->docu_UName[0];
            index = store.FindByName(Utf8FromField(libPart->docu_UName, units), libPart->typeID);
        }
        if (index < 0 && libPart->ownUnID[0] != '\0') {
            // The hierarchy's root is the host's own: no library lists it.
            std::string id;
            if (ParseLibPartUnID(FieldText(libPart->ownUnID, sizeof libPart->ownUnID), &id) &&
                id == API_LibPartHierarchyRoot) {
                LibPartDef root;
                root.name = "General GDL Object";
                root.guid = id;
                FillLibPartRecord(root, 0, libPart);
                return NoError;
            }
        }
        if (index < 0) {
            libPart->index = -1;
            return APIERR_BADNAME;
        }
        FillLibPartRecord(*store.Part(index), index, libPart);
        return NoError;
    });
}

GSErrCode T_LibPartGet(API_LibPart* libPart) {
    return ServeCall("LibPart_Get", -1, [&](HostCalls& host) {
        if (libPart == nullptr) return APIERR_BADPARS;
        const LibPartDef* part = host.Libraries().Part(libPart->index);
        if (part == nullptr) return APIERR_BADINDEX;
        FillLibPartRecord(*part, libPart->index, libPart);
        return NoError;
    });
}

GSErrCode T_LibPartGetParams(int32_t libInd, double* a, double* b, int32_t* addParNum, GSHandle* addPars) {
    return ServeCall("LibPart_GetParams", -1, [&](HostCalls& host) {
        const LibraryStore& store = host.Libraries();
        const LibPartDef* part = store.Part(libInd);
        if (part == nullptr) return APIERR_BADINDEX;
        double size[2] = {0.0, 0.0};
        GetSizeParams(part->params, &size[0], &size[1]);
        if (addPars != nullptr) {
            *addPars = store.MakeParamHandle(libInd);
            if (*addPars == nullptr) return ErrMemoryFull;
        }
        if (a != nullptr) *a = size[0];
        if (b != nullptr) *b = size[1];
        if (addParNum != nullptr) *addParNum = int32_t(part->params.size());
        return NoError;
    });
}

GSErrCode AddLibraries(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord("Environment", call, sizeof(IO::Location), 0)) return APIERR_BADPARS;
    std::string why;
    return AddLibraryFolder(host, static_cast<const IO::Location*>(call->par1)->ToNativePath(), &why) ? NoError
                                                                                                      : APIERR_REFUSED;
}

GSErrCode GetOwnLocation(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord("Environment", call, sizeof(IO::Location), 0)) return APIERR_BADPARS;
    const std::string& file = host.Settings().moduleFile;
    if (file.empty()) return APIERR_GENERAL;
    *static_cast<IO::Location*>(call->par1) = IO::Location(file.c_str());
    return NoError;
}

// The list is loaded afresh in its order; when one folder is refused the old list comes back.
GSErrCode SetLibraries(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord("Environment", call, sizeof(GS::Array<API_LibraryInfo>), 0)) return APIERR_BADPARS;
    const auto& list = *static_cast<const GS::Array<API_LibraryInfo>*>(call->par1);
    LibraryStore& store = host.Libraries();
    const std::vector<std::string> before = store.Folders();
    store.Clear();
    for (uint32_t i = 0; i < list.GetSize(); ++i) {
        std::string why;
        if (!store.LoadFolder(list[i].location.ToNativePath(), &why)) {
            host.Log("  host: 'SLIB' refused: " + why);
            store.Clear();
            for (const std::string& folder : before) store.LoadFolder(folder, &why);
            return APIERR_REFUSED;
        }
    }
    host.Log("  host: 'SLIB' set " + std::to_string(store.Folders().size()) + " library folders");
    return NoError;
}
}  // namespace

bool AddLibraryFolder(HostCalls& host, const std::string& folder, std::string* why) {
    LibraryStore& store = host.Libraries();
    bool faultyFile = false;
    if (store.LoadFolder(folder, why, &faultyFile)) {
        host.Log("  host: library folder " + folder + " loaded (" + std::to_string(store.PartCount()) +
                 " library parts in the project)");
        return true;
    }
    // A user's folder that holds no library is refused quietly; a broken description is the data's fault.
    if (faultyFile)
        host.ReportHostError("library: " + *why);
    else
        host.Log("  host: library folder refused: " + *why);
    return false;
}

void InstallLibPartCalls(HostFunctionSet& set) {
    set.Put("LibPart_Search", &API_HostFunctionTable::LibPart_Search, T_LibPartSearch);
    set.Put("LibPart_Get", &API_HostFunctionTable::LibPart_Get, T_LibPartGet);
    set.Put("LibPart_GetParams", &API_HostFunctionTable::LibPart_GetParams, T_LibPartGetParams);
    set.AddSelector(SelectorFamily::Environment, APIEnv_AddLibrariesID.code, AddLibraries);
    set.AddSelector(SelectorFamily::Environment, APIEnv_GetOwnLocationID.code, GetOwnLocation);
    set.AddSelector(SelectorFamily::Environment, APIEnv_SetLibrariesID.code, SetLibraries);
}
