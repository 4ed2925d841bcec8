#pragma once
// The floor plan's display options ('GDOP' reads them, 'CDOP' changes them).
class HostFunctionSet;

void InstallDisplayOptionCalls(HostFunctionSet& set);
