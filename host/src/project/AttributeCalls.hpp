#pragma once
// The attribute entries of the host table, over the serving host's project.
class HostFunctionSet;

void InstallAttributeCalls(HostFunctionSet& set);
