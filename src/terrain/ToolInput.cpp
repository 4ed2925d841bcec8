#include "terrain/ToolInput.hpp"

#include "foundation/ModuleLog.hpp"

void ResetToolInput(CToolsPlt&) { ModuleLog::LogCall("ResetToolInput"); }
