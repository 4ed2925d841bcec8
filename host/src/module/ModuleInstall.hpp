#pragma once
// The module as the host installs it for one run. The host names the module's file in the run's add-on folder
// (<user folder>/Add-Ons) and keeps there a copy of the object library shipped beside the module, so that what
// the module writes beside its own file (the library parts it generates) stays in the run's user folder: the
// shipped library is never written and the next run starts from it as shipped. The module file and its
// resources are linked, not copied: the host reads them where they were built.
#include "HostSettings.hpp"

#include <string>

// The name of the run's add-on folder inside the user folder.
extern const char* const RunAddOnFolderName;

// Installs the module named by `settings` (moduleDir, moduleFile) into the user folder and points the settings at
// the installed copy; `shippedLibrary` keeps the library beside the built module, which the project then refuses
// to write into. A kept user folder keeps the parts an earlier run generated; the shipped ones are refreshed.
// False, with `why`, when the add-on folder cannot be made (the settings stay as they were).
bool InstallModuleForRun(HostSettings* settings, std::string* why);
