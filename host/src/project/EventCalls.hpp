#pragma once
// The element-event entries of the host table: observers, and what the module reads while an event is being
// delivered (the element as it was, the transformation of an edit).
class HostFunctionSet;

void InstallEventCalls(HostFunctionSet& set);
