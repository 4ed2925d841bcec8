#pragma once
// The library-part entries of the host table (LibPart_Search, _Get, _GetParams) and the Environment selector
// 'ALIB' that adds a library folder to the project, over the serving host's libraries.
#include <string>

class HostCalls;
class HostFunctionSet;

void InstallLibPartCalls(HostFunctionSet& set);
// Adds a library folder to the project ('ALIB' and the script); false with `why` when refused.
bool AddLibraryFolder(HostCalls& host, const std::string& folder, std::string* why);
