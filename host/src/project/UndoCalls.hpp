#pragma once
// CallUndoableCommand: the module's changes as one undo step of the serving host's project.
class HostFunctionSet;

void InstallUndoCalls(HostFunctionSet& set);
