#pragma once
// The module's data stored in the project (ModulData_Store, _Get, _Delete): kept across restarts of the module.
class HostFunctionSet;

void InstallModuleDataCalls(HostFunctionSet& set);
