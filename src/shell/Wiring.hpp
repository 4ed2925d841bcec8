#pragma once
// The composition root: lower subsystems that must reach a higher one declare a hook; the shell hands each its
// function when the module starts and takes them back at release.

// Sets every hook: the add-on libraries for the library lookup, the curve segmentation dialog for the curve
// division, the element kinds' steps for the model update, the upkeep passes' higher steps.
void WireSubsystems();
// Clears every hook again (the module may be unloaded after this).
void UnwireSubsystems();
