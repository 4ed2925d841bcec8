#pragma once
// The host table's library-part section entries: section lists, section reads, updates and adds, parameter
// definition sections with their details, library-part creation and saving, and the overwrite switch 'OWLP' of
// the Environment family. Each serves the serving host's libraries.
class HostFunctionSet;

void InstallLibPartSectionCalls(HostFunctionSet& set);
