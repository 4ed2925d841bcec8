#include "shell/PaletteServices.hpp"

#include "foundation/ModuleLog.hpp"

void ResetOperatorsLayer() { ModuleLog::LogCall("ResetOperatorsLayer"); }
void RefreshRoads() { ModuleLog::LogCall("RefreshRoads"); }
void RefreshRailways() { ModuleLog::LogCall("RefreshRailways"); }
void EnsureAddOnLayers() { ModuleLog::LogCall("EnsureAddOnLayers"); }
