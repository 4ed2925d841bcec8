#pragma once
// The project's working-unit preferences ('GPRF').
class HostFunctionSet;

void InstallPreferenceCalls(HostFunctionSet& set);
