#include "settings/Settings.hpp"

#include "foundation/ModuleLog.hpp"

void Settings::LoadFromProject() { ModuleLog::LogCall("Settings::LoadFromProject"); }
