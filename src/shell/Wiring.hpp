#pragma once
// The composition root: lower subsystems that must reach a higher one declare a port (shell/ModulePorts.hpp) or a
// hook; the shell makes the ports and hands each hook its function when the module starts, and takes them back at
// release.

class TerrainInputDialogs;

// A port the caller makes itself instead of the shell's own (a test that watches the point input's palette).
struct PortReplacements {
    TerrainInputDialogs* terrainInputDialogs = nullptr;
};

// Makes the ports and sets every hook: the add-on libraries for the library lookup, the curve segmentation dialog
// for the curve division, the element kinds' steps for the model update, the upkeep passes' higher steps.
void WireSubsystems(const PortReplacements& replaced = {});
// Drops the ports and clears every hook again (the module may be unloaded after this).
void UnwireSubsystems();
