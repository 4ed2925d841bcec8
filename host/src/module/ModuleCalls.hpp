#pragma once
// The entries of the host table about the module itself: its resources, staying in memory, its built-in
// library, its report log, the commands of other add-ons it tests for, and the Environment selector 'APPL' that
// tells it which host it runs in.
class HostFunctionSet;

void InstallModuleCalls(HostFunctionSet& set);
