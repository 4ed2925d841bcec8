#include "terrain/TerrainInputHooks.hpp"

#include "foundation/ModuleLog.hpp"

namespace {
TerrainInputHooks BuiltIn() {
    TerrainInputHooks h;
    h.pointSettings = [](PointSettings&, uint8_t(&)[6]) {
        ModuleLog::LogCall("OpenPointSettingsDialog");
        return false;
    };
    h.constraintSettings = [](ConstraintSettings&, uint8_t(&)[3]) {
        ModuleLog::LogCall("OpenConstraintSettingsDialog");
        return false;
    };
    h.outlineSettings = [](OutlineSettings&, uint8_t(&)[7], OutlineSearchValues&) {
        ModuleLog::LogCall("OpenOutlineSettingsDialog");
        return false;
    };
    h.openPointPalette = [] { ModuleLog::LogCall("OpenPointInputPalette"); };
    h.storePointPalette = [] {};
    h.initPointPalette = [] {};
    h.closePointPalette = [] { ModuleLog::LogCall("ClosePointInputPalette"); };
    h.keepExistingOutline = [] {
        ModuleLog::LogCall("ShowAlert");
        return true;
    };
    h.updateCoordinateFields = [] {};
    h.resetToolInput = [] {};
    return h;
}

TerrainInputHooks& InUse() {
    static TerrainInputHooks hooks = BuiltIn();
    return hooks;
}
}  // namespace

const TerrainInputHooks& DefaultTerrainInputHooks() { return InUse(); }
TerrainInputHooks& WiredTerrainInputHooks() { return InUse(); }
void ResetTerrainInputHooks() { InUse() = BuiltIn(); }
