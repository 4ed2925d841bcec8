#pragma once
// 'NTOE': the element type a selection-record kind of an input stands for (the point kind 50 is a hotspot).
class HostFunctionSet;

void InstallNeigCalls(HostFunctionSet& set);
