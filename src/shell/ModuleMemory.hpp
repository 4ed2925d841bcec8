#pragma once
// The module's own memory brought back to where a freshly loaded module starts: the host unloads the module and
// loads it again, and a new project must not meet what the last one left.

// Everything the module keeps between calls, as the module starts. FreeData's last step.
void ResetModuleMemory();

// What belongs to the project: elements, library indices and the road a section was prepared for. Run as a
// project is made, opened or closed.
void ForgetProjectMemory();
