#pragma once
// The Environment selectors of the toolbox ('GTBX', 'STBX').
class HostFunctionSet;

void InstallToolboxCalls(HostFunctionSet& set);
