#pragma once
// The progress window's selectors: 'IPWD' opens it, 'SPRP' starts a phase, 'SPRV' sets its value, 'CPWD' closes
// it. The stand-in keeps what the window would show; it has no cancel button.
class HostFunctionSet;

void InstallProgressCalls(HostFunctionSet& set);
