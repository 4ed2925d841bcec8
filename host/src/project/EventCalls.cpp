#include "project/EventCalls.hpp"

#include "project/ProjectCalls.hpp"
#include "project/ElementEvents.hpp"

namespace {
GSErrCode T_Notify_GetTranParams(API_ActTranPars* tranPars) {
    return ServeDatabaseCall("Notify_GetTranParams",
                             [&](HostCalls& host, ProjectDatabase&) { return host.Events().GetTranParams(tranPars); });
}
GSErrCode T_Notify_GetParentElement(API_Element* element, API_ElementMemo* memo, uint64_t mask,
                                    API_ElementUserData* userData) {
    return ServeDatabaseCall("Notify_GetParentElement", [&](HostCalls& host, ProjectDatabase&) {
        return host.Events().GetParentElement(element, memo, mask, userData);
    });
}
GSErrCode T_Element_AttachObserver(const API_Guid* guid) {
    return ServeDatabaseCall("Element_AttachObserver", [&](HostCalls& host, ProjectDatabase&) {
        return guid == nullptr ? APIERR_BADPARS : host.Events().AttachObserver(*guid);
    });
}
GSErrCode T_Element_DetachObserver(const API_Guid* guid) {
    return ServeDatabaseCall("Element_DetachObserver", [&](HostCalls& host, ProjectDatabase&) {
        return guid == nullptr ? APIERR_BADPARS : host.Events().DetachObserver(*guid);
    });
}
}  // namespace

void InstallEventCalls(HostFunctionSet& set) {
    set.Put("Notify_GetTranParams", &API_HostFunctionTable::Notify_GetTranParams, T_Notify_GetTranParams);
    set.Put("Notify_GetParentElement", &API_HostFunctionTable::Notify_GetParentElement, T_Notify_GetParentElement);
    set.Put("Element_AttachObserver", &API_HostFunctionTable::Element_AttachObserver, T_Element_AttachObserver);
    set.Put("Element_DetachObserver", &API_HostFunctionTable::Element_DetachObserver, T_Element_DetachObserver);
}
