#pragma once
// The Environment selectors of the project's stories ('GSTO', 'CSTO').
class HostFunctionSet;

void InstallStoryCalls(HostFunctionSet& set);
