#pragma once
// The composition root: lower subsystems that must reach a higher one declare a port (shell/ModulePorts.hpp); the
// shell makes the ports when the module starts and drops them at release.

class ContourLineRefresh;
class TerrainInputDialogs;

// Ports the caller makes itself instead of the shell's own (a test that watches the point input's palette, or
// the contour lines the upkeep asks for).
struct PortReplacements {
    TerrainInputDialogs* terrainInputDialogs = nullptr;
    ContourLineRefresh* contourLineRefresh = nullptr;
};

// Makes the ports and the model update's steps.
void WireSubsystems(const PortReplacements& replaced = {});
// Drops them again (the module may be unloaded after this).
void UnwireSubsystems();
