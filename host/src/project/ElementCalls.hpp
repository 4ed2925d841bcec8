#pragma once
// The element entries of the host table (read, create, change, delete, defaults, lists, filters) and the
// Database selectors on one element ('CABO' bounds, 'GEIS' element information), over the serving host's project.
class HostFunctionSet;

void InstallElementCalls(HostFunctionSet& set);
