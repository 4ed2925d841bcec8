#include "dialogs/tools/AboutDialog.hpp"

#include "foundation/ModuleLog.hpp"

void OpenAboutDialog() { ModuleLog::LogCall("OpenAboutDialog"); }
