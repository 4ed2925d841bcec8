#include "project/MemoCalls.hpp"

#include "project/ProjectCalls.hpp"

namespace {
GSErrCode T_Element_GetMemo(const API_Guid* guid, API_ElementMemo* memo, uint64_t mask) {
    return ServeDatabaseCall("Element_GetMemo", [&](HostCalls&, ProjectDatabase& db) {
        return guid == nullptr ? APIERR_BADPARS : db.GetMemo(*guid, memo, mask);
    });
}
GSErrCode T_DisposeElemMemoHdls(API_ElementMemo* memo) {
    return ServeDatabaseCall("DisposeElemMemoHdls", [&](HostCalls&, ProjectDatabase&) {
        if (memo == nullptr) return APIERR_BADPARS;
        DisposeApiMemo(memo);
        return NoError;
    });
}
GSErrCode T_Element_GetUserData(const API_Elem_Head* head, API_ElementUserData* userData) {
    return ServeDatabaseCall("Element_GetUserData", [&](HostCalls&, ProjectDatabase& db) {
        return head == nullptr ? APIERR_BADPARS : db.GetUserData(*head, userData);
    });
}
GSErrCode T_Element_SetUserData(const API_Elem_Head* head, const API_ElementUserData* userData) {
    return ServeDatabaseCall("Element_SetUserData", [&](HostCalls&, ProjectDatabase& db) {
        return head == nullptr || userData == nullptr ? APIERR_BADPARS : db.SetUserData(*head, *userData);
    });
}
GSErrCode T_Element_DeleteUserData(const API_Elem_Head* head) {
    return ServeDatabaseCall("Element_DeleteUserData", [&](HostCalls&, ProjectDatabase& db) {
        return head == nullptr ? APIERR_BADPARS : db.DeleteUserData(*head);
    });
}
}  // namespace

void InstallMemoCalls(HostFunctionSet& set) {
    set.Put("Element_GetMemo", &API_HostFunctionTable::Element_GetMemo, T_Element_GetMemo);
    set.Put("DisposeElemMemoHdls", &API_HostFunctionTable::DisposeElemMemoHdls, T_DisposeElemMemoHdls);
    set.Put("Element_GetUserData", &API_HostFunctionTable::Element_GetUserData, T_Element_GetUserData);
    set.Put("Element_SetUserData", &API_HostFunctionTable::Element_SetUserData, T_Element_SetUserData);
    set.Put("Element_DeleteUserData", &API_HostFunctionTable::Element_DeleteUserData, T_Element_DeleteUserData);
}
