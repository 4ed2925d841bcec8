#pragma once
// The progress window's selectors: 'IPWD' opens it, 'SPRP' starts a phase, 'SPRV' sets its value, 'CPWD' closes
// it; 'CANC' answers whether the user asked to stop, which a script arranges after a number of steps. 'ZOOM'
// (zoom to fit) is only counted: the stand-in has no view to zoom.
class HostFunctionSet;

void InstallProgressCalls(HostFunctionSet& set);
