#include "module/NotificationCalls.hpp"

#include "HostCalls.hpp"

namespace {
GSErrCode T_CatchProjectEvent(int32_t eventMask, API_ProjectEventHandlerProc* handlerProc) {
    return ServeCall("Notify_CatchProjectEvent", -1, [&](HostCalls& host) {
        host.Session().projectEventHandler = handlerProc;
        host.Session().projectEventMask = handlerProc != nullptr ? eventMask : 0;
        return NoError;
    });
}

GSErrCode T_CatchNewElement(const API_ElemTypeID* elemType, API_ElementEventHandlerProc* handlerProc) {
    return ServeCall("Notify_CatchNewElement", -1, [&](HostCalls& host) {
        ModuleSession& session = host.Session();
        session.newElementHandler = handlerProc;
        session.newElementAllTypes = elemType == nullptr || *elemType == API_ZombieElemID;
        session.newElementType = elemType != nullptr ? *elemType : API_ZombieElemID;
        return NoError;
    });
}

GSErrCode T_InstallElementObserver(API_ElementEventHandlerProc* handlerProc) {
    return ServeCall("Notify_InstallElementObserver", -1, [&](HostCalls& host) {
        host.Session().elementObserver = handlerProc;
        return NoError;
    });
}

GSErrCode T_CatchToolChange(API_ToolChangeHandlerProc* handlerProc) {
    return ServeCall("Notify_CatchToolChange", -1, [&](HostCalls& host) {
        host.Session().toolChangeHandler = handlerProc;
        return NoError;
    });
}
}  // namespace

void InstallNotificationCalls(HostFunctionSet& set) {
    set.Put("Notify_CatchProjectEvent", &API_HostFunctionTable::Notify_CatchProjectEvent, T_CatchProjectEvent);
    set.Put("Notify_CatchNewElement", &API_HostFunctionTable::Notify_CatchNewElement, T_CatchNewElement);
    set.Put("Notify_InstallElementObserver", &API_HostFunctionTable::Notify_InstallElementObserver,
            T_InstallElementObserver);
    set.Put("Notify_CatchToolChange", &API_HostFunctionTable::Notify_CatchToolChange, T_CatchToolChange);
}
