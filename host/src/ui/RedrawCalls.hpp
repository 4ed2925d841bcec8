#pragma once
// 'RDRW': the module asks the host to redraw the current window (after a cancelled input, so that the feedback
// lines go). The stand-in has nothing to draw; it notes the redraw in its log.
class HostFunctionSet;

void InstallRedrawCalls(HostFunctionSet& set);
