#pragma once
// The Database and Automate selectors of windows and databases (front window, current database, rebuild),
// over the serving host's project.
class HostFunctionSet;

void InstallWindowCalls(HostFunctionSet& set);
