#include "project/GroupCalls.hpp"

#include "GSGuid.hpp"
#include "project/ProjectRecords.hpp"
#include "project/ProjectCalls.hpp"

#include <cstring>

namespace {
GSErrCode IsSuspendGroupOn(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord("Environment", call, sizeof(bool), 0)) return APIERR_BADPARS;
    *static_cast<bool*>(call->par1) = host.Records().groupsSuspended;
    return NoError;
}

GSErrCode ToggleSuspendGroup(HostCalls& host, const API_SelectorCall*) {
    host.Records().groupsSuspended = !host.Records().groupsSuspended;
    return NoError;
}

// Every listed element is checked before the first one joins, so a refused list groups nothing.
GSErrCode GroupElements(HostCalls& host, const API_SelectorCall* call) {
    if (!host.CheckSelectorRecord("Database", call, sizeof(API_ElemGuidList), 0)) return APIERR_BADPARS;
    const API_ElemGuidList& list = *static_cast<const API_ElemGuidList*>(call->par1);
    if (list.count < 2 || list.guids == nullptr) return APIERR_BADPARS;
    ProjectDatabase& db = host.Database();
    for (int32_t i = 0; i < list.count; ++i) {
        API_Element e = {};
        e.header.guid = list.guids[i];
        const GSErrCode err = db.GetElement(&e);
        if (err != NoError) return err;
    }
    const GS::Guid fresh = GS::Guid::Generate();
    API_Guid group;
    std::memcpy(&group, &fresh, sizeof group);
    API_Element mask;
    std::memset(static_cast<void*>(&mask), 0, sizeof mask);
    std::memset(&mask.header.groupGuid, 0xFF, sizeof mask.header.groupGuid);
    for (int32_t i = 0; i < list.count; ++i) {
        API_Element e = {};
        e.header.guid = list.guids[i];
        e.header.groupGuid = group;
        const GSErrCode err = db.ChangeElement(&e, &mask, nullptr, 0);
        if (err != NoError) return err;
    }
    return NoError;
}
}  // namespace

void InstallGroupCalls(HostFunctionSet& set) {
    set.AddSelector(SelectorFamily::Environment, APIEnv_IsSuspendGroupOnID.code,
                    ProjectSelector<kUnloggedFamily, IsSuspendGroupOn>);
    set.AddSelector(SelectorFamily::Database, APIDb_ToolSuspendGroupID.code,
                    ProjectSelector<kDatabaseFamily, ToggleSuspendGroup>);
    set.AddSelector(SelectorFamily::Database, APIDb_ToolGroupID.code, ProjectSelector<kDatabaseFamily, GroupElements>);
}
