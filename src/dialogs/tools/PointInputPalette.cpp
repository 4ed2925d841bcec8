#include "dialogs/tools/PointInputPalette.hpp"

#include "foundation/ModuleLog.hpp"

void ResetPointInputPaletteState() { ModuleLog::LogCall("ResetPointInputPaletteState"); }
