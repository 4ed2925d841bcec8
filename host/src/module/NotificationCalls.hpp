#pragma once
// The entries of the host table by which the module catches notifications: project events, new elements, the
// element observer and tool changes (what it registers is kept in the session).
class HostFunctionSet;

void InstallNotificationCalls(HostFunctionSet& set);
