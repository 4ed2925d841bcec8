#pragma once
// The module's modeless windows (palettes): registered with their control callback and unregistered.
class HostFunctionSet;

void InstallPaletteCalls(HostFunctionSet& set);
