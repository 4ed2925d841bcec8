#pragma once
// The memo and user-data entries of the host table, over the serving host's project.
class HostFunctionSet;

void InstallMemoCalls(HostFunctionSet& set);
