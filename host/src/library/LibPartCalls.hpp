#pragma once
// The library-part entries of the host table (LibPart_Search, _Get, _GetParams) and the Environment selectors
// over the serving host's libraries: 'ALIB' adds a library folder to the project, 'SLIB' replaces the project's
// library list, 'OWNL' names the module's own file (HostSettings::moduleFile).
#include <string>

class HostCalls;
class HostFunctionSet;

void InstallLibPartCalls(HostFunctionSet& set);
// Adds a library folder to the project ('ALIB' and the script); false with `why` when refused.
bool AddLibraryFolder(HostCalls& host, const std::string& folder, std::string* why);
