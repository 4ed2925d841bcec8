#include "project/SolidLinkCalls.hpp"

#include "APIInteraction.hpp"
#include "project/ProjectCalls.hpp"

namespace {
GSErrCode T_SolidLink_Create(const API_Guid* target, const API_Guid* operatorGuid, uint32_t operation,
                             uint32_t linkFlags) {
    return ServeDatabaseCall("SolidLink_Create", [&](HostCalls&, ProjectDatabase& db) {
        if (target == nullptr || operatorGuid == nullptr) return APIERR_BADPARS;
        return db.CreateSolidLink(*target, *operatorGuid, operation, linkFlags);
    });
}
GSErrCode T_SolidLink_Remove(const API_Guid* target, const API_Guid* operatorGuid) {
    return ServeDatabaseCall("SolidLink_Remove", [&](HostCalls&, ProjectDatabase& db) {
        if (target == nullptr || operatorGuid == nullptr) return APIERR_BADPARS;
        return db.RemoveSolidLink(*target, *operatorGuid);
    });
}
// The elements linked to one element, handed out even when there are none (the answer then says so).
template <typename Linked>
GSErrCode HandOutLinked(const char* name, const API_Guid* guid, GSHandle* out, Linked linked) {
    return ServeDatabaseCall(name, [&](HostCalls&, ProjectDatabase& db) {
        if (guid == nullptr || out == nullptr) return APIERR_BADPARS;
        *out = nullptr;
        std::vector<API_Guid> list;
        const GSErrCode err = linked(db, *guid, &list);
        const GSErrCode handErr = HandOut(list, out);
        return handErr != NoError ? handErr : err;
    });
}
GSErrCode T_SolidLink_GetOperators(const API_Guid* target, GSHandle* operators) {
    return HandOutLinked(
        "SolidLink_GetOperators", target, operators,
        [](ProjectDatabase& db, const API_Guid& g, std::vector<API_Guid>* l) { return db.SolidLinkOperators(g, l); });
}
GSErrCode T_SolidLink_GetTargets(const API_Guid* operatorGuid, GSHandle* targets) {
    return HandOutLinked(
        "SolidLink_GetTargets", operatorGuid, targets,
        [](ProjectDatabase& db, const API_Guid& g, std::vector<API_Guid>* l) { return db.SolidLinkTargets(g, l); });
}

// The link of the two for the three getters; APIERR_LINKNOTEXIST when there is none.
template <typename F>
GSErrCode WithLink(const char* name, const API_Guid* target, const API_Guid* operatorGuid, F&& take) {
    return ServeDatabaseCall(name, [&](HostCalls&, ProjectDatabase& db) -> GSErrCode {
        if (target == nullptr || operatorGuid == nullptr) return APIERR_BADPARS;
        const StoredSolidLink* link = db.FindSolidLink(*target, *operatorGuid);
        if (link == nullptr) return APIERR_LINKNOTEXIST;
        return take(*link);
    });
}
GSErrCode T_SolidLink_GetTime(const API_Guid* target, const API_Guid* operatorGuid, uint32_t* linkTime,
                              uint32_t* linkSubTime) {
    return WithLink("SolidLink_GetTime", target, operatorGuid, [&](const StoredSolidLink& l) {
        if (linkTime == nullptr) return APIERR_BADPARS;
        *linkTime = l.time;
        if (linkSubTime != nullptr) *linkSubTime = l.subTime;
        return NoError;
    });
}
GSErrCode T_SolidLink_GetOperation(const API_Guid* target, const API_Guid* operatorGuid, uint32_t* operation) {
    return WithLink("SolidLink_GetOperation", target, operatorGuid, [&](const StoredSolidLink& l) {
        if (operation == nullptr) return APIERR_BADPARS;
        *operation = l.operation;
        return NoError;
    });
}
GSErrCode T_SolidLink_GetFlags(const API_Guid* target, const API_Guid* operatorGuid, uint32_t* linkFlags) {
    return WithLink("SolidLink_GetFlags", target, operatorGuid, [&](const StoredSolidLink& l) {
        if (linkFlags == nullptr) return APIERR_BADPARS;
        *linkFlags = l.flags;
        return NoError;
    });
}

}  // namespace

void InstallSolidLinkCalls(HostFunctionSet& set) {
    set.Put("SolidLink_Create", &API_HostFunctionTable::SolidLink_Create, T_SolidLink_Create);
    set.Put("SolidLink_Remove", &API_HostFunctionTable::SolidLink_Remove, T_SolidLink_Remove);
    set.Put("SolidLink_GetOperators", &API_HostFunctionTable::SolidLink_GetOperators, T_SolidLink_GetOperators);
    set.Put("SolidLink_GetTargets", &API_HostFunctionTable::SolidLink_GetTargets, T_SolidLink_GetTargets);
    set.Put("SolidLink_GetTime", &API_HostFunctionTable::SolidLink_GetTime, T_SolidLink_GetTime);
    set.Put("SolidLink_GetOperation", &API_HostFunctionTable::SolidLink_GetOperation, T_SolidLink_GetOperation);
    set.Put("SolidLink_GetFlags", &API_HostFunctionTable::SolidLink_GetFlags, T_SolidLink_GetFlags);
}
