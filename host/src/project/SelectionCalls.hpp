#pragma once
// The selection entries of the host table, over the serving host's project.
class HostFunctionSet;

void InstallSelectionCalls(HostFunctionSet& set);
